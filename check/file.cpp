#include <algorithm>
#include <fstream>
#include <limits>
#include <unordered_set>

#include "check/casella.h"
#include "check/codicefiscale.h"
#include "check/controllo.h"
#include "check/forme.h"
#include "storage/cp1252.h"
#include "storage/error.h"
#include "telematic/record.h"
#include "telematic/tracciato.h"

namespace check {

namespace {

using telematic::CampoDi;
using telematic::CampoPosizionale;
using telematic::Posizioni;

constexpr std::size_t kMassimoProblemi = 100000;
constexpr std::size_t kDaArea = telematic::kInizioArea - 1;  // 0-based start of the non-positional area
constexpr std::size_t kDopoArea = telematic::kFineArea;      // 0-based: just past it (position 1890)

// A positional field as it stands in the record.
std::string_view in(std::string_view r, const CampoPosizionale& c) { return r.substr(c.inizio(), c.larghezza()); }

int pos(const CampoPosizionale& c) { return c.da; }

// The fields of the certificate records' head that the check reads.
struct Testa {
    const CampoPosizionale &sostituto = CampoDi('D', "CodiceFiscale"), &modulo = CampoDi('D', telematic::kModulo),
                           &percipiente = CampoDi('D', "B01"), &numero = CampoDi('D', "ID"),
                           &protocollo = CampoDi('D', telematic::kProtocollo),
                           &progressivo = CampoDi('D', telematic::kProgressivo), &riservato = CampoDi('D', "riservato");
    // The recipient's tax code travels in the head and again as the anagraphic field.
    const std::string& codicePercipiente = telematic::CodiceDellaColonna(telematic::Sezione::Anagrafica, "B01");
};
const Testa& testa() {
    static const Testa t;
    return t;
}

bool cifre(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool spazi(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

std::string_view senzaSpaziFinali(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string tra(std::string_view v) { return "«" + storage::daWindows1252(v) + "»"; }

long long numero(std::string_view s) {
    long long n = 0;
    for (char c : s) n = n * 10 + (c - '0');
    return n;
}

bool codiceCampo(std::string_view c) {
    if (c.size() != 8) return false;
    for (std::size_t i = 0; i < 8; ++i) {
        const char x = c[i];
        const bool lettera = x >= 'A' && x <= 'Z', cifra = x >= '0' && x <= '9';
        if (i < 2 ? !lettera : !(lettera || cifra)) return false;
    }
    return true;
}

class ControlloFile {
public:
    std::vector<Problema> esegui(std::istream& in);

private:
    void aggiungi(Gravita g, int posizione, std::string campo, std::string testo) {
        if (out_.size() >= kMassimoProblemi) return;
        Problema p;
        p.gravita = g;
        p.origine = Origine::File;
        p.record = numeroRecord_;
        p.posizione = posizione;
        p.tipoRecord = tipoRecord_;
        p.modulo = modulo_;
        p.id = id_;
        p.nominativo = nominativo_;
        p.codiceFiscale = cf_;
        p.campo = std::move(campo);
        p.testo = std::move(testo);
        out_.push_back(std::move(p));
    }
    void record(std::string_view r, bool lunghezzaGiusta);
    void codiceFiscale(char tipoRecord, const CampoPosizionale& c, std::string_view r, const std::string& chi,
                       const std::string& campo = {});
    void controlli(std::string_view r);
    void recordA(std::string_view r);
    void recordB(std::string_view r);
    void testaCertificato(std::string_view r);
    void identificativi(std::string_view r);
    void area(std::string_view r);
    void nome(std::string_view r);
    void fine();
    void mancaSeguito();
    void contesto(std::string_view r);

    std::vector<Problema> out_;
    std::int64_t numeroRecord_ = 0;
    // The certificate the current record belongs to, for the problems' columns.
    std::int64_t id_ = 0;
    std::string nominativo_, cf_;
    char tipoRecord_ = 0;
    int modulo_ = 0;

    long conta_[5] = {0, 0, 0, 0, 0};  // B, C, D, G, H
    int fase_ = 0;                     // 0 before A, 1 after A, 2 after B or C, 3 certificates, 4 after Z
    bool visteA_ = false, vistoZ_ = false, annullaOSostituisce_ = false;
    std::string cfSostituto_;
    long long a1_ = -1, a2_ = -1;
    // The certificate being read: its head (type aside) and the kinds of record seen.
    std::string chiaveCertificato_;
    char ultimoTipo_ = 0;
    bool haSeguito_ = true;
    std::int64_t certificati_ = 0;
    std::unordered_set<std::string> numeri_;
    struct {
        std::int64_t record = 0, id = 0;
        std::string nominativo, cf;
    } ultimo_;
};

void ControlloFile::recordA(std::string_view r) {
    static const CampoPosizionale &fornitura = CampoDi('A', "codice fornitura"),
                                  &tipoFornitore = CampoDi('A', telematic::kTipoFornitore),
                                  &fornitore = CampoDi('A', "CodiceFiscale");
    if (in(r, fornitura) != fornitura.testo)
        aggiungi(Gravita::Errore, pos(fornitura), Posizioni('A', fornitura.nome),
                 "Il codice fornitura è " + tra(in(r, fornitura)) + " invece di " + fornitura.testo + ".");
    const auto tipo = in(r, tipoFornitore);
    if (tipo != "01" && tipo != "10")
        aggiungi(Gravita::Errore, pos(tipoFornitore), Posizioni('A', tipoFornitore.nome),
                 "Il tipo fornitore vale 01 o 10, non " + tra(tipo) + ".");
    codiceFiscale('A', fornitore, r, "Codice fiscale del fornitore");
}

// A tax code in a positional field: its form and its birth date, as the archive check judges it.
void ControlloFile::codiceFiscale(char tipoRecord, const CampoPosizionale& c, std::string_view r, const std::string& chi,
                                  const std::string& campo) {
    const std::string etichetta = campo.empty() ? Posizioni(tipoRecord, c.nome) : campo;
    const std::string codice = storage::daWindows1252(senzaSpaziFinali(in(r, c)));
    const std::string e = ErroreForma(c.forma, codice);
    if (!e.empty()) aggiungi(Gravita::Errore, pos(c), etichetta, chi + ": " + e + ".");
    const std::string a = AvvisoForma(c.forma, codice);
    if (!a.empty()) aggiungi(Gravita::Avviso, pos(c), etichetta, chi + ": " + a + ".");
}

void ControlloFile::recordB(std::string_view r) {
    static const CampoPosizionale &sostituto = CampoDi('B', "CodiceFiscale"), &modulo = CampoDi('B', telematic::kModulo),
                                  &annullamento = CampoDi('B', "Annullamento"),
                                  &sostituzione = CampoDi('B', "sostituzione"), &quadroCt = CampoDi('B', "A3"),
                                  &firmatario = CampoDi('B', "CFRapp"), &carica = CampoDi('B', "CodCar"),
                                  &intermediario = CampoDi('B', "A4"), &impegno = CampoDi('B', "A8"),
                                  &fineImpegno = CampoDi('B', "firma intermediario"),
                                  &telefono = CampoDi('B', "TelefonoPref"), &giornoImpegno = CampoDi('B', "A5");
    static const CampoPosizionale* const conteggi[] = {&CampoDi('B', "A1"), &CampoDi('B', "A2")};
    cfSostituto_ = std::string(in(r, sostituto));
    codiceFiscale('B', sostituto, r, "Codice fiscale del sostituto");
    if (in(r, modulo) != modulo.testo)
        aggiungi(Gravita::Errore, pos(modulo), Posizioni('B', modulo.nome),
                 "Il numero di modulo del frontespizio è " + tra(in(r, modulo)) + " invece di " + modulo.testo + ".");
    for (const auto* c : {&annullamento, &sostituzione, &quadroCt})
        if (in(r, *c) != "0" && in(r, *c) != "1")
            aggiungi(Gravita::Errore, pos(*c), Posizioni('B', c->nome), "La casella vale 0 o 1, non " + tra(in(r, *c)) + ".");
    annullaOSostituisce_ = in(r, annullamento) == "1" || in(r, sostituzione) == "1";
    if (!spazi(in(r, firmatario))) codiceFiscale('B', firmatario, r, "Codice fiscale del firmatario");
    if (!spazi(in(r, telefono))) {
        const std::string e = ErroreForma(telefono.forma, storage::daWindows1252(telematic::Rifila(in(r, telefono))));
        if (!e.empty()) aggiungi(Gravita::Errore, pos(telefono), Posizioni('B', telefono.nome), MaiuscolaIniziale(e) + ".");
    }
    if (!cifre(in(r, carica)))
        aggiungi(Gravita::Errore, pos(carica), Posizioni('B', carica.nome), "Il codice carica " + tra(in(r, carica)) + " non è numerico.");
    long long* const dove[] = {&a1_, &a2_};
    for (std::size_t k = 0; k < 2; ++k) {
        const auto v = in(r, *conteggi[k]);
        if (cifre(v))
            *dove[k] = numero(v);
        else
            aggiungi(Gravita::Errore, pos(*conteggi[k]), Posizioni('B', conteggi[k]->nome),
                     "Il numero di certificati " + tra(v) + " non è numerico.");
    }
    // The commitment and its date, from the kind of commitment to the intermediary's signature.
    const std::size_t da = impegno.inizio(), n = fineImpegno.inizio() + fineImpegno.larghezza() - da;
    const std::string bloccoImpegno = Posizioni('B', impegno.nome, fineImpegno.nome);
    if (!spazi(in(r, intermediario))) {
        codiceFiscale('B', intermediario, r, "Codice fiscale dell'intermediario");
        const auto d = r.substr(giornoImpegno.inizio(), 8);
        if (spazi(d)) {
            aggiungi(Gravita::Errore, pos(giornoImpegno), Posizioni('B', "A5", "A7"), "Manca la data dell'impegno a trasmettere.");
        } else if (!cifre(r.substr(da, n))) {
            aggiungi(Gravita::Errore, pos(impegno), bloccoImpegno, "Impegno e data dell'impegno " + tra(r.substr(da, n)) + " non numerici.");
        } else {
            const std::string e = ErroreData(std::string(d.substr(0, 2)) + "/" + std::string(d.substr(2, 2)) + "/" +
                                             std::string(d.substr(4)));
            if (!e.empty()) aggiungi(Gravita::Errore, pos(giornoImpegno), Posizioni('B', "A5", "A7"), "Data dell'impegno: " + e + ".");
        }
    } else if (r.substr(da, n) != std::string(n, impegno.senzaIntermediario)) {
        aggiungi(Gravita::Errore, pos(impegno), bloccoImpegno,
                 "Senza intermediario le posizioni " + bloccoImpegno.substr(2) + " devono valere " +
                     std::string(n, impegno.senzaIntermediario) + ".");
    }
}

void ControlloFile::nome(std::string_view r) {
    std::string cognome, nomeProprio;
    static const std::string &codiceCognome = telematic::CodiceDellaColonna(telematic::Sezione::Anagrafica, "B02"),
                             &codiceNome = telematic::CodiceDellaColonna(telematic::Sezione::Anagrafica, "B03");
    for (std::size_t i = kDaArea; i + 24 <= std::min(kDopoArea, r.size()); i += 24) {
        const auto codice = r.substr(i, 8);
        if (spazi(codice)) break;
        auto v = r.substr(i + 8, 16);
        std::string* dove = codice == codiceCognome ? &cognome : codice == codiceNome ? &nomeProprio : nullptr;
        if (!dove) continue;
        if (!dove->empty() && !v.empty() && v[0] == '+') v.remove_prefix(1);
        *dove += std::string(v);
    }
    nominativo_ = storage::senzaControlli(storage::daWindows1252(senzaSpaziFinali(cognome)) + " " +
                                          storage::daWindows1252(senzaSpaziFinali(nomeProprio)));
    // The same rule as the archive check's.
    if (telematic::Rifila(cognome).empty())
        aggiungi(Gravita::Errore, static_cast<int>(kDaArea + 1), codiceCognome, "Manca il cognome del percipiente.");
}

void ControlloFile::testaCertificato(std::string_view r) {
    const char tipo = r[0];
    const Testa& t = testa();
    const std::string_view modulo = in(r, t.modulo), cf = in(r, t.percipiente), num = in(r, t.numero);
    const std::string chiave = std::string(in(r, t.sostituto)) + std::string(cf) + std::string(num);

    // Which certificate the record belongs to; a D starts one (several D in a row when its fields overflow).
    const bool stesso = chiave == chiaveCertificato_;
    const bool nuovoCertificato = !stesso || (tipo == 'D' && ultimoTipo_ != 'D');
    if (tipo == 'D') {
        if (!(stesso && ultimoTipo_ == 'D')) {
            if (!haSeguito_) mancaSeguito();
            if (stesso) aggiungi(Gravita::Errore, 1, "", "Record D ripetuto dopo i record G o H dello stesso certificato.");
            if (!numeri_.insert(std::string(cf) + std::string(num)).second && !stesso)
                aggiungi(Gravita::Errore, pos(t.numero), "", "Il certificato " + tra(num) + " dello stesso percipiente compare più volte nel file.");
            chiaveCertificato_ = chiave;
            haSeguito_ = false;
            ++certificati_;
            nome(r);
        }
        if (modulo != "00000001")
            aggiungi(Gravita::Errore, pos(t.modulo), "", "Il numero di modulo del record D è " + tra(modulo) + " invece di 00000001.");
    } else {
        if (!stesso) {
            aggiungi(Gravita::Errore, 1, "",
                     std::string("Il record ") + tipo + " non segue il record D del suo certificato (percipiente e numero diversi).");
        } else if ((tipo == 'G' && ultimoTipo_ == 'H') || (tipo == 'H' && ultimoTipo_ == 'G')) {
            aggiungi(Gravita::Errore, 1, "", "Record G e H nello stesso certificato.");
        }
        haSeguito_ = true;
        if (tipo == 'H' ? modulo != "00000001" : (modulo != "00000001" && modulo != "00000002"))
            aggiungi(Gravita::Errore, pos(t.modulo), "", std::string("Il numero di modulo del record ") + tipo + " è " + tra(modulo) + ".");
    }
    ultimoTipo_ = tipo;
    ultimo_ = {numeroRecord_, id_, nominativo_, cf_};

    if (in(r, t.sostituto) != cfSostituto_)
        aggiungi(Gravita::Errore, pos(t.sostituto), "",
                 "Il codice fiscale del sostituto " + tra(in(r, t.sostituto)) + " è diverso da quello del record B.");
    // The recipient's code once per certificate: its later records repeat the same head.
    if (!nuovoCertificato) {
    } else if (spazi(cf)) {
        aggiungi(Gravita::Errore, pos(t.percipiente), t.codicePercipiente, "Manca il codice fiscale del percipiente.");
    } else {
        codiceFiscale('D', t.percipiente, r, "Codice fiscale del percipiente", t.codicePercipiente);
    }
    if (!cifre(num)) aggiungi(Gravita::Errore, pos(t.numero), "", "Il numero del certificato " + tra(num) + " non è di cinque cifre.");
    identificativi(r);
    // The reserved positions run from the first reserved field to the end of the head, as the writer fills them.
    static const std::string riservatoD = telematic::TestaCertificato('D', "", "", "", "").substr(t.riservato.inizio()),
                             riservatoGH = telematic::TestaCertificato('G', "", "", "", "").substr(t.riservato.inizio());
    const std::string_view riservato = r.substr(t.riservato.inizio(), riservatoD.size());
    if (riservato != (tipo == 'D' ? riservatoD : riservatoGH))
        aggiungi(Gravita::Errore, pos(t.riservato), "",
                 "Le posizioni riservate " + std::to_string(t.riservato.da) + "-" +
                     std::to_string(telematic::kTestaCertificato) + " del record " + tipo + " non hanno il contenuto atteso.");
}

// Protocol and progressive: blanks in G and H; in D zeros in an ordinary supply, the sending
// being replaced or cancelled in a correction.
void ControlloFile::identificativi(std::string_view r) {
    const Testa& t = testa();
    const std::string_view prot = in(r, t.protocollo), prog = in(r, t.progressivo);
    const std::string dove = Posizioni('D', telematic::kProtocollo, telematic::kProgressivo);
    if (r[0] != 'D') {
        if (!spazi(prot) || !spazi(prog))
            aggiungi(Gravita::Errore, pos(t.protocollo), dove,
                     std::string("Le posizioni 47-69 del record ") + r[0] + " devono essere vuote.");
        return;
    }
    if (!cifre(prot) || !cifre(prog)) {
        aggiungi(Gravita::Errore, pos(t.protocollo), dove, "Protocollo e progressivo del record D devono essere cifre.");
        return;
    }
    const bool zeri = prot.find_first_not_of('0') == std::string_view::npos && prog.find_first_not_of('0') == std::string_view::npos;
    if (annullaOSostituisce_ && zeri)
        aggiungi(Gravita::Errore, pos(t.protocollo), dove,
                 "Manca il protocollo dell'invio da sostituire o annullare: la fornitura di sostituzione o di "
                 "annullamento lo richiede in ogni certificato.");
    else if (!annullaOSostituisce_ && !zeri)
        aggiungi(Gravita::Errore, pos(t.protocollo), dove,
                 "Protocollo e progressivo sono indicati in una fornitura ordinaria: vanno lasciati a zero.");
}

void ControlloFile::area(std::string_view r) {
    const char tipo = r[0];
    std::string_view precedente;
    for (std::size_t i = kDaArea; i + 24 <= kDopoArea; i += 24) {
        const int posizione = static_cast<int>(i + 1);
        const std::string_view codice = r.substr(i, 8), v = r.substr(i + 8, 16);
        if (spazi(r.substr(i, 24))) {
            const auto resto = r.substr(i, telematic::kCorpoRecord - i);
            const auto altro = resto.find_first_not_of(' ');
            if (altro != std::string_view::npos)
                aggiungi(Gravita::Errore, static_cast<int>(i + altro + 1), "",
                         "Campo spezzato o fuori allineamento: dopo un campo vuoto il record prosegue con " +
                             tra(resto.substr(altro, 24)) + ".");
            return;
        }
        if (!codiceCampo(codice) || !telematic::CodiceDelRecord(tipo, codice)) {
            aggiungi(Gravita::Errore, posizione, std::string(),
                     "Campo spezzato o fuori allineamento: " + tra(codice) + " non è un codice di campo del record " + tipo +
                         " (i campi seguenti del record non sono controllati).");
            return;
        }
        const std::string c(codice);
        const auto t = telematic::TipoDelCodice(codice);
        // The same code as the head's was judged there.
        if (c == testa().codicePercipiente && senzaSpaziFinali(v) == senzaSpaziFinali(in(r, testa().percipiente))) {
            precedente = codice;
            continue;
        }
        using telematic::TipoCampo;
        if (!v.empty() && v[0] == '+' && codice == precedente && (!t || t == TipoCampo::AN || t == TipoCampo::CF)) {
            if (t == TipoCampo::CF) aggiungi(Gravita::Errore, posizione, c, "Codice fiscale più lungo di 16 caratteri.");
        } else if (!t) {
            // Every code of the layout is known here: any other is a damaged one, and the Agency rejects it.
            aggiungi(Gravita::Errore, posizione, c,
                     "Codice di campo " + tra(codice) + " sconosciuto: il campo è danneggiato o non previsto dal tracciato.");
        } else {
            const auto forma = telematic::FormaDelCodice(codice);
            const std::string valore = storage::daWindows1252(telematic::Rifila(v));
            std::string e = ErroreValoreFile(*t, v);
            if (e.empty()) e = ErroreForma(forma, valore);
            const std::string a = e.empty() ? AvvisoForma(forma, valore) : std::string();
            if (!e.empty()) aggiungi(Gravita::Errore, posizione, c, MaiuscolaIniziale(e) + ".");
            if (!a.empty()) aggiungi(Gravita::Avviso, posizione, c, MaiuscolaIniziale(a) + ".");
        }
        precedente = codice;
    }
    const auto coda = r.substr(kDopoArea, telematic::kCorpoRecord - kDopoArea);
    if (!spazi(coda))
        aggiungi(Gravita::Errore, static_cast<int>(kDopoArea + 1), "",
                 "Campo spezzato a fine record: le posizioni " + std::to_string(kDopoArea + 1) + "-" +
                     std::to_string(telematic::kCorpoRecord) + " devono essere vuote.");
}

// The certificate a record names in its head, so that every problem of the record shows it.
void ControlloFile::contesto(std::string_view r) {
    const char tipo = r.empty() ? ' ' : r[0];
    const Testa& t = testa();
    tipoRecord_ = r.empty() ? 0 : tipo;
    modulo_ = 0;
    if ((tipo != 'D' && tipo != 'G' && tipo != 'H') || r.size() < static_cast<std::size_t>(t.numero.a)) {
        id_ = 0;
        nominativo_.clear();
        cf_.clear();
        return;
    }
    const std::string_view cf = in(r, t.percipiente), num = in(r, t.numero);
    const std::string chiave = std::string(in(r, t.sostituto)) + std::string(cf) + std::string(num);
    if (chiave != chiaveCertificato_) nominativo_.clear();
    cf_ = storage::daWindows1252(senzaSpaziFinali(cf));
    id_ = cifre(num) ? numero(num) : 0;
    if (cifre(in(r, t.modulo))) modulo_ = static_cast<int>(numero(in(r, t.modulo)));
}

// A control character has no place in a record before its closing CR LF; the first one is enough.
void ControlloFile::controlli(std::string_view r) {
    const std::size_t fine = std::min<std::size_t>(r.size(), telematic::kLunghezzaRecord - 2);
    for (std::size_t i = 0; i < fine; ++i) {
        const auto b = static_cast<unsigned char>(r[i]);
        if (b >= 32 && b != 0x7F) continue;
        if (b == '\r' && i + 1 == r.size()) return;
        aggiungi(Gravita::Errore, static_cast<int>(i + 1), "",
                 "Il record contiene un carattere di controllo (codice " + std::to_string(b) + ") alla posizione " +
                     std::to_string(i + 1) + ".");
        return;
    }
}

void ControlloFile::record(std::string_view r, bool lunghezzaGiusta) {
    const char tipo = r.empty() ? ' ' : r[0];
    auto fuoriPosto = [&](const char* atteso) {
        aggiungi(Gravita::Errore, 1, "", std::string("Record ") + tipo + " fuori posto: " + atteso + ".");
    };
    switch (tipo) {
        case 'A':
            if (fase_ != 0) fuoriPosto("il record A è solo il primo");
            fase_ = std::max(fase_, 1);
            visteA_ = true;
            if (lunghezzaGiusta) recordA(r);
            return;
        case 'B':
            ++conta_[0];
            if (fase_ != 1) fuoriPosto(fase_ == 0 ? "manca il record A prima del B" : "il record B segue solo il record A");
            fase_ = std::max(fase_, 2);
            if (lunghezzaGiusta) recordB(r);
            return;
        case 'C':
            ++conta_[1];
            if (fase_ != 2 || conta_[1] > 1) fuoriPosto("il record C segue il record B, una volta sola");
            if (lunghezzaGiusta) area(r);
            return;
        case 'D':
        case 'G':
        case 'H':
            ++conta_[tipo == 'D' ? 2 : tipo == 'G' ? 3 : 4];
            if (fase_ < 2 || fase_ > 3) fuoriPosto(fase_ < 2 ? "mancano i record A e B" : "segue il record Z");
            fase_ = std::max(fase_, 3);
            // A cut record keeps its head: the certificate it belongs to is still known.
            if (r.size() >= telematic::kTestaCertificato) testaCertificato(r);
            if (lunghezzaGiusta) area(r);
            return;
        case 'Z': {
            if (fase_ == 4) fuoriPosto("il record Z è uno solo");
            if (fase_ < 2) fuoriPosto("mancano i record A e B");
            if (!haSeguito_) mancaSeguito();
            haSeguito_ = true;
            fase_ = 4;
            vistoZ_ = true;
            if (!lunghezzaGiusta) return;
            static const char* nomi[] = {"B", "C", "D", "G", "H"};
            for (int k = 0; k < 5; ++k) {
                const CampoPosizionale& conta = CampoDi('Z', telematic::kContatori[k]);
                const auto v = in(r, conta);
                const std::string campo = Posizioni('Z', conta.nome);
                if (!cifre(v))
                    aggiungi(Gravita::Errore, pos(conta), campo,
                             std::string("Il numero di record ") + nomi[k] + " " + tra(v) + " non è numerico.");
                else if (numero(v) != conta_[k])
                    aggiungi(Gravita::Errore, pos(conta), campo,
                             std::string("Il record Z conta ") + std::to_string(numero(v)) + " record " + nomi[k] +
                                 ", il file ne contiene " + std::to_string(conta_[k]) + ".");
            }
            return;
        }
        default:
            aggiungi(Gravita::Errore, 1, "", "Tipo di record sconosciuto " + tra(r.substr(0, 1)) + ".");
    }
}

void ControlloFile::mancaSeguito() {
    Problema p;
    p.origine = Origine::File;
    p.record = ultimo_.record;
    p.posizione = 1;
    p.tipoRecord = 'D';
    p.modulo = 1;
    p.id = ultimo_.id;
    p.nominativo = ultimo_.nominativo;
    p.codiceFiscale = ultimo_.cf;
    p.testo = "Il certificato ha il record D ma nessun record G o H.";
    if (out_.size() < kMassimoProblemi) out_.push_back(std::move(p));
}

void ControlloFile::fine() {
    id_ = 0;
    tipoRecord_ = 0;
    modulo_ = 0;
    nominativo_.clear();
    cf_.clear();
    numeroRecord_ = 0;
    if (!visteA_) aggiungi(Gravita::Errore, 0, "", "Manca il record A di testa.");
    if (conta_[0] == 0) aggiungi(Gravita::Errore, 0, "", "Manca il record B del frontespizio.");
    if (!vistoZ_) {
        if (!haSeguito_) mancaSeguito();
        aggiungi(Gravita::Errore, 0, "", "Manca il record Z di coda.");
    }
    if (conta_[1] > 0 && conta_[3] == 0)
        aggiungi(Gravita::Errore, 0, "C",
                 "Il Quadro CT (record C) è in una fornitura senza record G: l'Agenzia scarta l'intera fornitura.");
    if (conta_[1] > 0 && annullaOSostituisce_)
        aggiungi(Gravita::Errore, 0, "C",
                 "Il Quadro CT (record C) è in un annullamento o in una sostituzione: l'Agenzia scarta l'intera fornitura.");
    if (a1_ >= 0 && a2_ >= 0 && a1_ + a2_ != certificati_)
        aggiungi(Gravita::Avviso, 0, Posizioni('B', "A1", "A2"),
                 "Il frontespizio indica " + std::to_string(a1_ + a2_) + " certificati, il file ne contiene " +
                     std::to_string(certificati_) + ".");
    if (out_.size() >= kMassimoProblemi) {
        out_.resize(kMassimoProblemi - 1);
        aggiungi(Gravita::Avviso, 0, "", "Troppi problemi: l'elenco si ferma qui.");
    }
}

std::vector<Problema> ControlloFile::esegui(std::istream& in) {
    // A line longer than any record is cut here, so a file of another kind cannot fill memory.
    constexpr std::streamsize kMassimo = 4096;
    std::string buf(static_cast<std::size_t>(kMassimo), '\0');
    while (out_.size() < kMassimoProblemi) {
        in.getline(buf.data(), kMassimo);
        std::streamsize n = in.gcount();
        bool aCapo = true, troppoLunga = false;
        if (in.bad()) throw storage::Error("Errore di lettura del file.");
        if (in.eof()) {
            if (n == 0) break;
            aCapo = false;
        } else if (in.fail()) {
            in.clear();
            troppoLunga = true;
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        } else {
            --n;  // gcount counted the line feed
        }
        ++numeroRecord_;
        const std::string_view riga(buf.data(), static_cast<std::size_t>(n));
        contesto(riga);
        const std::size_t lunghezza = riga.size() + (aCapo ? 1 : 0);
        bool giusto = lunghezza == telematic::kLunghezzaRecord && riga.back() == '\r' && riga[telematic::kCorpoRecord] == 'A';
        if (troppoLunga) {
            aggiungi(Gravita::Errore, 0, "", "Il record è più lungo di 1900 caratteri.");
        } else if (lunghezza != telematic::kLunghezzaRecord) {
            aggiungi(Gravita::Errore, 0, "",
                     "Il record è lungo " + std::to_string(lunghezza) + " caratteri invece di 1900" +
                         (aCapo ? "" : " e non termina con CR LF") + ".");
        } else if (!giusto) {
            aggiungi(Gravita::Errore, 1898, "", "Il record non termina con \"A\" seguito da CR LF.");
        }
        if (lunghezza == 0 || (riga.size() == 1 && riga[0] == '\r')) continue;
        record(riga, giusto);
        controlli(riga);
    }
    fine();
    return std::move(out_);
}

}  // namespace

std::vector<Problema> ControllaFile(std::istream& in) { return ControlloFile().esegui(in); }

std::vector<Problema> ControllaFile(const std::string& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    if (!in) throw storage::Error("Impossibile aprire il file " + percorso + ".");
    return ControllaFile(in);
}

}  // namespace check
