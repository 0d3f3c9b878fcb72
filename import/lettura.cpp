#include "import/lettura.h"

#include <algorithm>
#include <cstdlib>

#include "storage/cp1252.h"
#include "storage/error.h"

namespace importazione {

namespace {

constexpr std::size_t kBlocco = 1 << 20;  // bytes read from the stream at a time

void aggiungiUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Strict UTF-8 (no overlong forms, surrogates or code points past U+10FFFF), fed in pieces up
// to the Ctrl-Z that ends the data.
class ValidatoreUtf8 {
public:
    // False at the first byte that cannot be UTF-8; sets fine() at a Ctrl-Z.
    bool aggiungi(std::string_view s) {
        for (unsigned char c : s) {
            if (manca_ > 0) {
                if (c < min_ || c > max_) return false;
                min_ = 0x80;
                max_ = 0xBF;
                --manca_;
                continue;
            }
            if (c == 0x1A) {
                fine_ = true;
                return true;
            }
            if (c < 0x80) continue;
            if (c >= 0xC2 && c <= 0xDF) {
                manca_ = 1;
            } else if (c >= 0xE0 && c <= 0xEF) {
                manca_ = 2;
                if (c == 0xE0) min_ = 0xA0;
                if (c == 0xED) max_ = 0x9F;
            } else if (c >= 0xF0 && c <= 0xF4) {
                manca_ = 3;
                if (c == 0xF0) min_ = 0x90;
                if (c == 0xF4) max_ = 0x8F;
            } else {
                return false;
            }
        }
        return true;
    }
    bool fine() const { return fine_; }
    bool completo() const { return manca_ == 0; }

private:
    int manca_ = 0;
    unsigned char min_ = 0x80, max_ = 0xBF;
    bool fine_ = false;
};

}  // namespace

LettoreRighe::LettoreRighe(std::istream& in, std::string nomeFile, LunghezzaTracciato lunghezzaTracciato,
                           std::size_t pezzo)
    : in_(in),
      nome_(std::move(nomeFile)),
      lunghezzaTracciato_(lunghezzaTracciato),
      pezzo_(std::max<std::size_t>(pezzo, 8)) {
    const auto inizio = in_.tellg();
    if (inizio != std::istream::pos_type(-1)) {
        in_.seekg(0, std::ios::end);
        const auto fine = in_.tellg();
        if (fine != std::istream::pos_type(-1) && fine >= inizio) totale_ = static_cast<std::uint64_t>(fine - inizio);
        in_.clear();
        in_.seekg(inizio);
    }
    riempi();
    const auto inizia = [&](std::string_view bom) { return buf_.compare(0, bom.size(), bom) == 0; };
    if (inizia("\xEF\xBB\xBF")) {
        pos_ = 3;
        codifica_ = Codifica::Utf8;
        deciso_ = true;
    } else if (inizia("\xFF\xFE") || inizia("\xFE\xFF")) {
        codifica_ = buf_[0] == '\xFF' ? Codifica::Utf16LE : Codifica::Utf16BE;
        deciso_ = true;
        utf16_ = buf_.substr(2);
        buf_.clear();
        decodifica();
    }
}

// A UTF-16 file's bytes waiting in utf16_ become UTF-8 in buf_; a unit without its pair (or an
// odd last byte) becomes U+FFFD, which the line's conversion then turns into "?".
void LettoreRighe::decodifica() {
    const bool le = codifica_ == Codifica::Utf16LE;
    const auto unita = [&](std::size_t k) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(utf16_[k]);
        const auto b = static_cast<unsigned char>(utf16_[k + 1]);
        return le ? (a | b << 8) : (a << 8 | b);
    };
    std::size_t i = 0;
    const std::size_t n = utf16_.size();
    while (i + 2 <= n) {
        const std::uint32_t u = unita(i);
        std::uint32_t cp = u;
        std::size_t passo = 2;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 4 > n && !esaurito_) break;
            const std::uint32_t v = i + 4 <= n ? unita(i + 2) : 0;
            if (v >= 0xDC00 && v <= 0xDFFF) {
                cp = 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00);
                passo = 4;
            } else {
                cp = 0xFFFD;
            }
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            cp = 0xFFFD;
        }
        aggiungiUtf8(buf_, cp);
        i += passo;
    }
    utf16_.erase(0, i);
    if (esaurito_ && !utf16_.empty()) {
        aggiungiUtf8(buf_, 0xFFFD);
        utf16_.clear();
    }
}

// More bytes into buf_ (already decoded for a UTF-16 file); every byte read feeds the digest.
bool LettoreRighe::riempi() {
    if (esaurito_) return false;
    if (pos_ > 0) {
        buf_.erase(0, pos_);
        pos_ = 0;
    }
    const std::size_t prima = buf_.size();
    const bool utf16 = codifica_ == Codifica::Utf16LE || codifica_ == Codifica::Utf16BE;
    // Read straight into buf_'s tail; a UTF-16 file's bytes go through blocco_ to be decoded.
    std::string& dove = utf16 ? blocco_ : buf_;
    const std::size_t base = utf16 ? 0 : prima;
    // A small file is not read into a megabyte: what is left of its known size, and one byte
    // more to see its end (or that it grew).
    std::size_t chiesti = kBlocco;
    if (totale_ > 0)
        chiesti = static_cast<std::size_t>(
            std::clamp<std::uint64_t>(totale_ > letti_ ? totale_ - letti_ + 1 : 1, 4096, kBlocco));
    dove.resize(base + chiesti);
    in_.read(dove.data() + base, static_cast<std::streamsize>(chiesti));
    if (in_.bad()) throw storage::Error("Errore nella lettura del file " + nome_ + ".");
    const auto n = static_cast<std::size_t>(in_.gcount());
    if (n < chiesti) esaurito_ = true;
    dove.resize(base + n);
    sha_.aggiungi(std::string_view(dove).substr(base));
    letti_ += n;
    if (utf16) {
        utf16_ += blocco_;
        decodifica();
    }
    return n > 0 || buf_.size() > prima;
}

// Met on the first line holding a byte past ASCII: the file is UTF-8 when every byte of its
// data is. The rest of the stream is read ahead and the stream put back where it was.
void LettoreRighe::decidiCodifica() {
    deciso_ = true;
    ValidatoreUtf8 v;
    bool ok = v.aggiungi(grezza_) && v.completo();
    ok = ok && v.aggiungi(std::string_view(buf_).substr(pos_));
    if (ok && !v.fine() && !esaurito_) {
        const auto qui = in_.tellg();
        if (qui != std::istream::pos_type(-1)) {
            std::string& blocco = blocco_;
            blocco.resize(kBlocco);
            while (ok && !v.fine()) {
                in_.read(blocco.data(), static_cast<std::streamsize>(kBlocco));
                const auto n = static_cast<std::size_t>(in_.gcount());
                if (n == 0) break;
                ok = v.aggiungi(std::string_view(blocco).substr(0, n));
            }
            in_.clear();
            in_.seekg(qui);
        }
    }
    if (ok && (v.fine() || esaurito_) && !v.completo()) ok = false;
    codifica_ = ok ? Codifica::Utf8 : Codifica::Windows1252;
}

// Appends to grezza_ the bytes of the current line up to its end, the end of the data, or a
// piece's size (never inside a UTF-8 sequence).
LettoreRighe::Fine LettoreRighe::leggiPezzo() {
    grezza_.clear();
    alto_ = false;
    for (;;) {
        if (pos_ >= buf_.size()) {
            if (!riempi() && pos_ >= buf_.size()) {
                finito_ = true;
                return Fine::Dati;
            }
            continue;
        }
        if (grezza_.size() >= pezzo_) {
            // A piece ends on a character: at most three bytes of a UTF-8 sequence follow.
            if ((static_cast<unsigned char>(buf_[pos_]) & 0xC0) != 0x80 || grezza_.size() >= pezzo_ + 3)
                return Fine::Pezzo;
            grezza_ += buf_[pos_++];
            continue;
        }
        const char* b = buf_.data();
        const std::size_t n = std::min(buf_.size(), pos_ + (pezzo_ - grezza_.size()));
        std::size_t i = pos_;
        bool alto = false;
        while (i < n) {
            const auto c = static_cast<unsigned char>(b[i]);
            if (c < 0x20 && c != '\t') break;
            alto |= c >= 0x80;
            ++i;
        }
        alto_ |= alto;
        grezza_.append(b + pos_, i - pos_);
        pos_ = i;
        if (i == n) continue;
        const char c = b[i];
        ++pos_;
        if (c == '\n') return Fine::Riga;
        if (c == '\x1a') {
            finito_ = true;
            return Fine::Riga;
        }
        if (c == '\r') {
            if (pos_ >= buf_.size()) riempi();
            if (pos_ < buf_.size() && buf_[pos_] == '\n') {
                ++pos_;
                return Fine::Riga;
            }
            if (finisceConCR()) return Fine::Riga;
        }
        grezza_ += c;
    }
}

// A lone CR ends the line unless it comes before the end of the reader's layout in a file whose
// lines end with LF: a file without any LF ends its lines with lone CRs, short ones included.
bool LettoreRighe::finisceConCR() {
    if (!lunghezzaTracciato_) return true;
    if (senzaLF_ < 0) senzaLF_ = cercaLF() ? 0 : 1;
    if (senzaLF_) return true;
    std::size_t caratteri = grezza_.size();
    if (alto_ && deciso_ && codifica_ != Codifica::Windows1252)
        caratteri = static_cast<std::size_t>(std::count_if(
            grezza_.begin(), grezza_.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    const std::string_view inizio =
        colonna_ == 1 && riga_.empty() && !aperta_ ? std::string_view(grezza_).substr(0, 4) : std::string_view(inizio_);
    return colonna_ - 1 + caratteri >= lunghezzaTracciato_(inizio);
}

// Whether an LF follows in the data (up to a Ctrl-Z); the stream is put back where it was.
bool LettoreRighe::cercaLF() {
    for (std::size_t i = pos_; i < buf_.size(); ++i) {
        if (buf_[i] == '\n') return true;
        if (buf_[i] == '\x1a') return false;
    }
    if (esaurito_) return false;
    const bool utf16 = codifica_ == Codifica::Utf16LE || codifica_ == Codifica::Utf16BE;
    const auto qui = in_.tellg();
    if (qui == std::istream::pos_type(-1)) return true;
    bool trovato = false;
    std::string blocco(kBlocco, '\0');
    for (bool finito = false; !trovato && !finito;) {
        in_.read(blocco.data(), static_cast<std::streamsize>(kBlocco));
        const auto n = static_cast<std::size_t>(in_.gcount());
        if (n == 0) break;
        for (std::size_t i = 0; i < n && !finito; ++i) {
            // In UTF-16 an LF is a 0x0A byte beside a 0x00: close enough to tell the convention.
            if (blocco[i] == '\n') trovato = true;
            if (blocco[i] == '\x1a' && !utf16) finito = true;
            if (trovato) break;
        }
    }
    in_.clear();
    in_.seekg(qui);
    return trovato;
}

// The piece read becomes riga_, in Windows-1252.
void LettoreRighe::converti() {
    if (alto_ && !deciso_) decidiCodifica();
    if (!alto_ || codifica_ == Codifica::Windows1252) {
        riga_.swap(grezza_);
        return;
    }
    std::size_t sostituiti = 0;
    riga_ = storage::aWindows1252(grezza_, &sostituiti);
    if (!sostituiti) return;
    if (!sostituzioni_.empty() && sostituzioni_.back().first == numero_)
        sostituzioni_.back().second += sostituiti;
    else
        sostituzioni_.emplace_back(numero_, sostituiti);
}

bool LettoreRighe::leggi() {
    while (aperta_) continua();  // what is left of the line before is not read
    if (finito_) return false;
    riga_.clear();
    colonna_ = 1;
    const Fine fine = leggiPezzo();
    if (fine == Fine::Dati && grezza_.empty()) return false;
    aperta_ = fine == Fine::Pezzo;
    ++numero_;
    converti();
    inizio_.assign(riga_, 0, 4);
    return true;
}

bool LettoreRighe::continua() {
    if (!aperta_) return false;
    colonna_ += riga_.size();
    const Fine fine = leggiPezzo();
    aperta_ = fine == Fine::Pezzo;
    converti();
    return !riga_.empty();
}

std::string LettoreRighe::impronta() {
    while (!esaurito_) {
        pos_ = buf_.size();
        riempi();
    }
    return sha_.esadecimale();
}

std::string_view Colonne(std::string_view riga, std::size_t da, std::size_t a) {
    if (da == 0 || da > riga.size() || a < da) return {};
    return riga.substr(da - 1, a - da + 1);
}

namespace {

bool cifra(char c) { return c >= '0' && c <= '9'; }

// "1234567" (already without sign) to "1.234.567".
std::string conPunti(std::string_view cifre) {
    std::string out;
    out.reserve(cifre.size() + cifre.size() / 3);
    const std::size_t n = cifre.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += '.';
        out += cifre[i];
    }
    return out;
}

}  // namespace

std::optional<std::string> ConvertiImporto(std::string_view campo) {
    if (campo.empty() || campo == "0000000,00") return std::string();
    if (campo.front() != '0') return std::string(Rifila(campo));
    const std::size_t primo = campo.find_first_not_of('0');
    if (primo == std::string_view::npos) return std::string();
    std::string preso(campo.substr(primo, 10));
    if (preso.front() == ',') preso.insert(preso.begin(), '0');
    std::string_view t = Rifila(preso);
    if (t.empty()) return std::string();

    bool negativo = false;
    if (t.front() == '-' || t.front() == '+') {
        negativo = t.front() == '-';
        t.remove_prefix(1);
    }
    const std::size_t virgola = t.find(',');
    const std::string_view intera = t.substr(0, virgola);
    const std::string_view decimali = virgola == std::string_view::npos ? std::string_view() : t.substr(virgola + 1);
    if (intera.empty() && decimali.empty()) return std::nullopt;
    for (char c : intera)
        if (!cifra(c)) return std::nullopt;
    for (char c : decimali)
        if (!cifra(c)) return std::nullopt;

    // At most 11 digits in all (10 taken and a "0" put in front): int64 holds them as cents.
    std::int64_t centesimi = 0;
    for (char c : intera) centesimi = centesimi * 10 + (c - '0');
    for (std::size_t k = 0; k < 2; ++k) centesimi = centesimi * 10 + (k < decimali.size() ? decimali[k] - '0' : 0);
    if (decimali.size() > 2 && decimali[2] >= '5') ++centesimi;

    const std::string interi = std::to_string(centesimi / 100);
    const int cent = static_cast<int>(centesimi % 100);
    std::string out = (negativo && centesimi != 0) ? "-" : "";
    out += conPunti(interi);
    out += ',';
    out += static_cast<char>('0' + cent / 10);
    out += static_cast<char>('0' + cent % 10);
    return out;
}

std::optional<std::string> LeggiConteggio(std::string_view campo, bool& ok) {
    ok = true;
    const std::string_view t = Rifila(campo);
    if (t.empty()) return std::nullopt;
    for (char c : t)
        if (!cifra(c)) {
            ok = false;
            return std::nullopt;
        }
    const std::size_t primo = t.find_first_not_of('0');
    if (primo == std::string_view::npos) return std::nullopt;
    return std::string(t.substr(primo));
}

std::optional<std::string> CodiceAzienda(std::string_view percorso) {
    const std::size_t sep = percorso.find_last_of("/\\");
    const std::string_view nome = sep == std::string_view::npos ? percorso : percorso.substr(sep + 1);
    const std::size_t punto = nome.find('.');
    if (punto == std::string_view::npos || punto == 0) return std::nullopt;
    const std::string_view codice = nome.substr(punto + 1);
    // Ten characters, not ten bytes: a UTF-8 name is never cut inside a character.
    std::size_t fine = 0;
    for (int caratteri = 0; fine < codice.size() && caratteri < 10; ++caratteri) {
        ++fine;
        while (fine < codice.size() && (static_cast<unsigned char>(codice[fine]) & 0xC0) == 0x80) ++fine;
    }
    return std::string(codice.substr(0, fine));
}

ErroreLettura::ErroreLettura(Tipo tipo, const LettoreRighe& lettore, std::size_t colonna, std::string campo,
                             const std::string& cosa)
    : storage::Error("File " + lettore.nomeFile() + ", riga " + std::to_string(lettore.numero()) + ": " + cosa + "."),
      tipo_(tipo),
      file_(lettore.nomeFile()),
      riga_(lettore.numero()),
      colonna_(colonna),
      campo_(std::move(campo)) {}

std::string NomeColonne(std::size_t da, std::size_t a) {
    return da == a ? "colonna " + std::to_string(da) : "colonne " + std::to_string(da) + "-" + std::to_string(a);
}

namespace {

[[noreturn]] void erroreControllo(const LettoreRighe& lettore, char c, std::size_t colonna, std::string_view campo,
                                  std::size_t da, std::size_t a) {
    static constexpr char kEsa[] = "0123456789ABCDEF";
    const auto b = static_cast<unsigned char>(c);
    throw ErroreLettura(ErroreLettura::Tipo::Controllo, lettore, colonna, std::string(campo),
                        std::string("carattere di controllo (0x") + kEsa[b >> 4] + kEsa[b & 15] + ") alla colonna " +
                            std::to_string(colonna) + ", nel campo " + std::string(campo) + " (" + NomeColonne(da, a) +
                            ")");
}

}  // namespace

std::string_view ControllaTesto(const LettoreRighe& lettore, std::string_view riga, std::string_view campo,
                                std::size_t da, std::size_t a, std::size_t colonna) {
    const std::string_view grezzo = Colonne(riga, da - colonna + 1, a - colonna + 1);
    const std::string_view testo = Rifila(grezzo);
    for (std::size_t k = 0; k < testo.size(); ++k)
        if (Controllo(testo[k]))
            erroreControllo(lettore, testo[k], da + static_cast<std::size_t>(testo.data() - grezzo.data()) + k, campo,
                            da, a);
    return testo;
}

void SenzaControllo(const LettoreRighe& lettore, std::string_view riga, std::string_view campo, std::size_t da,
                    std::size_t a, std::size_t colonna) {
    const std::string_view grezzo = Colonne(riga, da - colonna + 1, a - colonna + 1);
    for (std::size_t k = 0; k < grezzo.size(); ++k)
        if (Controllo(grezzo[k])) erroreControllo(lettore, grezzo[k], da + k, campo, da, a);
}

void ErroreTracciato(const LettoreRighe& lettore, std::string_view tipo, std::string_view campo, std::size_t da,
                     std::size_t a, std::string_view cosa) {
    throw ErroreLettura(
        ErroreLettura::Tipo::Tracciato, lettore, da, std::string(campo),
        "non sembra un file " + std::string(tipo) + ": " + NomeColonne(da, a) + ", " + std::string(cosa));
}

void ControllaTroncata(const LettoreRighe& lettore, std::string_view riga, std::string_view campo, std::size_t da,
                       std::size_t a, std::size_t colonna) {
    const std::size_t fine = colonna - 1 + riga.size();  // the line's last column
    if (fine < da || fine >= a) return;
    const std::string_view presente = riga.substr(da - colonna);
    if (Rifila(presente).empty()) return;
    throw ErroreLettura(ErroreLettura::Tipo::Troncata, lettore, fine, std::string(campo),
                        "la riga finisce alla colonna " + std::to_string(fine) + ", dentro il campo " +
                            std::string(campo) + " (" + NomeColonne(da, a) + "), di cui contiene solo «" +
                            InUtf8(presente) + "»");
}

void ControllaLunghezza(const LettoreRighe& lettore, std::string_view riga, std::size_t minima) {
    if (riga.size() >= minima) return;
    throw ErroreLettura(ErroreLettura::Tipo::Corta, lettore, riga.size() + 1, "",
                        "la riga è lunga " + std::to_string(riga.size()) + " colonne, meno delle " +
                            std::to_string(minima) + " del suo tracciato: il file è tagliato o " +
                            "non è un file delle paghe");
}

void ErroreCampo(const LettoreRighe& lettore, std::string_view campo, std::size_t da, std::size_t a,
                 std::string_view valore, std::string_view cosa) {
    throw ErroreLettura(ErroreLettura::Tipo::Valore, lettore, da, std::string(campo),
                        "il campo " + std::string(campo) + " (" + NomeColonne(da, a) + ") contiene «" + InUtf8(valore) +
                            "», che non è " + std::string(cosa));
}

std::string InUtf8(std::string_view bytes) {
    if (storage::soloAscii(bytes)) return std::string(bytes);
    return storage::daWindows1252(bytes);
}

}  // namespace importazione
