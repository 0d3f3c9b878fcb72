#include "import/lettura.h"

#include <cstdlib>

#include "storage/cp1252.h"
#include "storage/error.h"

namespace importazione {

LettoreRighe::LettoreRighe(std::istream& in, std::string nomeFile)
    : in_(in), nome_(std::move(nomeFile)) {
    const auto inizio = in_.tellg();
    if (inizio != std::istream::pos_type(-1)) {
        in_.seekg(0, std::ios::end);
        const auto fine = in_.tellg();
        if (fine != std::istream::pos_type(-1) && fine >= inizio)
            totale_ = static_cast<std::uint64_t>(fine - inizio);
        in_.clear();
        in_.seekg(inizio);
    }
}

bool LettoreRighe::leggi() {
    if (finito_) return false;
    if (!std::getline(in_, riga_)) {
        finito_ = true;
        if (in_.bad()) throw storage::Error("Errore nella lettura del file " + nome_ + ".");
        return false;
    }
    ++numero_;
    const bool conFineRiga = !in_.eof();
    letti_ += riga_.size() + (conFineRiga ? 1 : 0);
    if (auto z = riga_.find('\x1a'); z != std::string::npos) {
        riga_.resize(z);
        finito_ = true;
    } else if (conFineRiga && !riga_.empty() && riga_.back() == '\r') {
        riga_.pop_back();
    }
    if (!conFineRiga) finito_ = true;
    return true;
}

std::string_view Colonne(std::string_view riga, std::size_t da, std::size_t a) {
    if (da == 0 || da > riga.size() || a < da) return {};
    return riga.substr(da - 1, a - da + 1);
}

std::string_view Pulisci(std::string_view testo) {
    std::size_t i = 0, j = testo.size();
    while (i < j && static_cast<unsigned char>(testo[i]) <= 0x20) ++i;
    while (j > i && static_cast<unsigned char>(testo[j - 1]) <= 0x20) --j;
    return testo.substr(i, j - i);
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
    if (campo.front() != '0') return std::string(Pulisci(campo));
    const std::size_t primo = campo.find_first_not_of('0');
    if (primo == std::string_view::npos) return std::string();
    std::string preso(campo.substr(primo, 10));
    if (preso.front() == ',') preso.insert(preso.begin(), '0');
    std::string_view t = Pulisci(preso);
    if (t.empty()) return std::string();

    bool negativo = false;
    if (t.front() == '-' || t.front() == '+') {
        negativo = t.front() == '-';
        t.remove_prefix(1);
    }
    const std::size_t virgola = t.find(',');
    const std::string_view intera = t.substr(0, virgola);
    const std::string_view decimali =
        virgola == std::string_view::npos ? std::string_view() : t.substr(virgola + 1);
    if (intera.empty() && decimali.empty()) return std::nullopt;
    for (char c : intera)
        if (!cifra(c)) return std::nullopt;
    for (char c : decimali)
        if (!cifra(c)) return std::nullopt;

    // At most 11 digits in all (10 taken and a "0" put in front): int64 holds them as cents.
    std::int64_t centesimi = 0;
    for (char c : intera) centesimi = centesimi * 10 + (c - '0');
    for (std::size_t k = 0; k < 2; ++k)
        centesimi = centesimi * 10 + (k < decimali.size() ? decimali[k] - '0' : 0);
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
    const std::string_view t = Pulisci(campo);
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
        while (fine < codice.size() && (static_cast<unsigned char>(codice[fine]) & 0xC0) == 0x80)
            ++fine;
    }
    return std::string(codice.substr(0, fine));
}

void ErroreCampo(const LettoreRighe& lettore, std::string_view campo, std::size_t da,
                 std::size_t a, std::string_view valore, std::string_view cosa) {
    std::string colonne = da == a ? "colonna " + std::to_string(da)
                                  : "colonne " + std::to_string(da) + "-" + std::to_string(a);
    throw storage::Error("Errore alla riga " + std::to_string(lettore.numero()) + " del file " +
                         lettore.nomeFile() + ": il campo " + std::string(campo) + " (" + colonne +
                         ") contiene «" + InUtf8(valore) + "», che non è " + std::string(cosa) +
                         ".");
}

std::string InUtf8(std::string_view bytes) {
    if (storage::soloAscii(bytes)) return std::string(bytes);
    return storage::daWindows1252(bytes);
}

}  // namespace importazione
