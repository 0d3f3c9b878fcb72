#include <optional>
#include <unordered_map>

#include "check/codicefiscale.h"
#include "check/controllo.h"
#include "check/forme.h"
#include "storage/certificati.h"
#include "storage/cp1252.h"
#include "storage/row.h"
#include "telematic/campi.h"
#include "telematic/tracciato.h"

namespace check {

namespace {

using storage::Columns;
using storage::Row;
using storage::Statement;
using telematic::CampoSezione;
using telematic::CodiceDellaColonna;
using telematic::Regola;
using telematic::Rifila;
using telematic::Sezione;
using telematic::TipoCampo;

bool vuoto(std::string_view v) { return Rifila(v).empty(); }

std::string tra(std::string_view v) { return "«" + std::string(v) + "»"; }

std::string maiuscolaIniziale(std::string s) {
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

std::string chiave(std::string_view v) {
    std::string k(Rifila(v));
    for (char& c : k)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return k;
}

// A count typed in a box: digits, "." allowed as the writer drops them; -1 otherwise.
long long conteggio(std::string_view v) {
    long long n = 0;
    bool cifre = false;
    for (char c : Rifila(v)) {
        if (c == '.') continue;
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
        cifre = true;
    }
    return cifre || Rifila(v).empty() ? n : -1;
}

// Column positions of a section's boxes in a statement's result, read once per query.
using Indici = std::vector<std::vector<int>>;
Indici posizioni(const Columns& col, Sezione s) {
    Indici p;
    for (const auto& c : telematic::Campi(s)) {
        std::vector<int> ix;
        for (const auto& nome : c.colonne) ix.push_back(nome.empty() ? -1 : col.indexOf(nome));
        p.push_back(std::move(ix));
    }
    return p;
}

// The labels of the frontispiece's fields in the problems.
std::string inB(std::string_view primo, std::string_view ultimo = {}) {
    return telematic::Posizioni('B', primo, ultimo);
}

std::string_view leggi(const Row& r, int i) {
    return i < 0 || r.empty() ? std::string_view() : std::string_view(r.at(static_cast<std::size_t>(i)));
}

class Controllore {
public:
    Controllore(storage::Connection& conn, const OpzioniControllo& opz, const Ricevitore& ricevi,
                const Avanzamento& av)
        : conn_(conn), opz_(opz), ricevi_(ricevi), avanzamento_(av) {}

    void esegui();

private:
    bool dipendenti() const { return !opz_.tipi.nessuno(); }

    void su(Origine o, std::int64_t id, std::string nominativo, std::string cf) {
        corrente_ = Problema{};
        corrente_.origine = o;
        corrente_.id = id;
        corrente_.nominativo = storage::senzaControlli(std::move(nominativo));
        corrente_.codiceFiscale = std::move(cf);
    }
    void aggiungi(Gravita g, std::string colonna, std::string campo, std::string testo) {
        Problema p = corrente_;
        p.gravita = g;
        p.colonna = std::move(colonna);
        p.campo = std::move(campo);
        p.testo = std::move(testo);
        ricevi_(p);
    }

    void valore(const std::string& colonna, const std::string& codice, TipoCampo tipo, std::string_view v);
    void casella(const Row& st, const CampoSezione& c, const std::vector<int>& ix,
                 const std::string& prefisso = {});
    void sezione(const Row& st, Sezione s, const Indici& ix, const std::string& prefisso = {});
    void codiceFiscale(Gravita g, const std::string& colonna, const std::string& campo, std::string_view v,
                       const std::string& chi);
    void sostituto();
    void tagliRecordB(const Row& s);
    void quadroCt(std::int64_t certificatiDipendenti);
    std::int64_t certificatiDipendenti(bool& interrotto);
    void professionisti(bool& interrotto);
    void percipiente(const Row& st, const Columns& col, const Indici& anag,
                     std::unordered_map<std::string, std::int64_t>& visti, const std::string& tipo);
    bool avanza(std::size_t fatti, std::size_t totale) {
        if (!avanzamento_ || fatti % 256 != 0) return true;
        return avanzamento_(fatti, totale);
    }

    storage::Connection& conn_;
    const OpzioniControllo& opz_;
    const Ricevitore& ricevi_;
    const Avanzamento& avanzamento_;
    Problema corrente_;
    std::string cfSostituto_;
};

// One box: characters the file cannot hold, the form of its type, what the encoder reports.
void Controllore::valore(const std::string& colonna, const std::string& codice, TipoCampo tipo,
                         std::string_view v) {
    if (vuoto(v)) return;
    std::string scritto;
    std::string_view nelFile = v;
    if (!storage::soloAsciiStampabile(v)) {
        std::size_t persi = 0;
        scritto = storage::valorePerFile(v, &persi);
        nelFile = scritto;
        const std::size_t controlli = storage::contaControlli(v);
        if (controlli > 0)
            aggiungi(Gravita::Errore, colonna, codice,
                     "Il valore " + tra(storage::daWindows1252(scritto)) +
                         " contiene caratteri di controllo: saranno scritti come \"?\".");
        if (persi > controlli)
            aggiungi(Gravita::Avviso, colonna, codice,
                     "Il valore " + tra(v) + " contiene caratteri che il file non può rappresentare: "
                     "saranno scritti come \"?\".");
    }
    const std::string forma = ErroreValoreArchivio(tipo, v);
    // What the encoder will report: too many or too few digits outrank a wrong length.
    std::optional<telematic::ErroreCampo> errore;
    for (const auto& p : telematic::Codifica(codice, tipo, nelFile).problemi)
        if (!errore || p.errore == telematic::ErroreCampo::Cifre) errore = p.errore;
    const std::string nota =
        errore ? " (nel file: errore " + std::to_string(static_cast<int>(*errore)) + ")" : "";
    if (!forma.empty())
        aggiungi(Gravita::Errore, colonna, codice, maiuscolaIniziale(forma) + nota + ".");
    else if (errore == telematic::ErroreCampo::Cifre)
        aggiungi(Gravita::Errore, colonna, codice, "Il valore " + tra(v) + " ha troppe o troppo poche cifre per il campo" + nota + ".");
    else if (errore)
        aggiungi(Gravita::Errore, colonna, codice,
                 "Il valore " + tra(v) + " non occupa esattamente i 16 caratteri del campo" + nota + ".");
}

// Texts record B holds in fewer characters than the archive does: what passes is cut.
void Controllore::tagliRecordB(const Row& s) {
    const struct {
        const char* colonna;
        const char* campo;
        std::size_t larghezza;
        std::string valore;
        const char* cosa;
    } tagli[] = {
        {"CognomeDenominazione", "B 137-196", 60, s.text("CognomeDenominazione"), "Il cognome o la denominazione"},
        {"email", "B 197-296", 100, s.text("email"), "L'indirizzo di posta elettronica"},
        {"telefono", "B 297-308", 12, s.text("TelefonoPref") + s.text("telefono"), "Il telefono (prefisso e numero)"},
        {"CognomeRapp", "B 339-362", 24, s.text("CognomeRapp"), "Il cognome del firmatario"},
        {"NomeRapp", "B 363-382", 20, s.text("NomeRapp"), "Il nome del firmatario"},
    };
    for (const auto& t : tagli) {
        std::string nelFile = storage::aWindows1252(t.valore);
        while (!nelFile.empty() && nelFile.back() == ' ') nelFile.pop_back();
        if (nelFile.size() > t.larghezza)
            aggiungi(Gravita::Avviso, t.colonna, t.campo,
                     std::string(t.cosa) + " " + tra(t.valore) + " ha " + std::to_string(nelFile.size()) +
                         " caratteri: il record B ne contiene " + std::to_string(t.larghezza) +
                         ", i restanti saranno tagliati.");
    }
}

void Controllore::codiceFiscale(Gravita g, const std::string& colonna, const std::string& campo,
                                std::string_view v, const std::string& chi) {
    if (vuoto(v)) return;
    const std::string e = ErroreCodiceFiscale(Rifila(v));
    if (!e.empty()) aggiungi(g, colonna, campo, maiuscolaIniziale(chi) + ": " + e + ".");
    const std::string a = AvvisoCodiceFiscale(Rifila(v));
    if (!a.empty()) aggiungi(Gravita::Avviso, colonna, campo, maiuscolaIniziale(chi) + ": " + a + ".");
}

void Controllore::sostituto() {
    const Row s = storage::LeggiSostituto(conn_);
    su(Origine::Sostituto, 0, chiave(s.text("CognomeDenominazione") + " " + s.text("Nome")), s.text("CodiceFiscale"));
    if (s.empty()) {
        aggiungi(Gravita::Errore, "", "", "Mancano i dati del sostituto d'imposta: compilare il frontespizio.");
        return;
    }
    cfSostituto_ = chiave(s.text("CodiceFiscale"));
    if (cfSostituto_.empty())
        aggiungi(Gravita::Errore, "CodiceFiscale", inB("CodiceFiscale"), "Manca il codice fiscale del sostituto d'imposta.");
    codiceFiscale(Gravita::Errore, "CodiceFiscale", inB("CodiceFiscale"), s.text("CodiceFiscale"), "codice fiscale del sostituto");
    if (vuoto(s.text("CognomeDenominazione")))
        aggiungi(Gravita::Avviso, "CognomeDenominazione", inB("CognomeDenominazione"), "Manca il cognome o la denominazione del sostituto d'imposta.");
    if (!vuoto(s.text("Annullamento")) && !vuoto(s.text("sostituzione")))
        aggiungi(Gravita::Errore, "sostituzione", inB("sostituzione"),
                 "Annullamento e sostituzione non possono essere indicati insieme.");
    tagliRecordB(s);

    codiceFiscale(Gravita::Errore, "CFRapp", inB("CFRapp"), s.text("CFRapp"), "codice fiscale del firmatario");
    const std::string_view carica = Rifila(s.text("CodCar"));
    if (!carica.empty()) {
        const long long n = conteggio(carica);
        if (n < 1 || n > 15 || carica.find('.') != std::string_view::npos)
            aggiungi(Gravita::Errore, "CodCar", inB("CodCar"),
                     "Il codice carica del firmatario " + tra(carica) + " deve essere un numero da 1 a 15.");
    } else if (!vuoto(s.text("CFRapp"))) {
        aggiungi(Gravita::Avviso, "CodCar", inB("CodCar"), "Manca il codice carica del firmatario.");
    }

    // The frontispiece counts, as the agent screen computes them.
    // Both supplies carry them in record B.
    if (dipendenti() || opz_.professionisti) {
        const auto archivio = storage::ContaCertificati(conn_);
        const struct {
            const char* colonna;
            std::string campo;
            const char* cosa;
            std::int64_t atteso;
        } conteggi[] = {{"A1", inB("A1"), "certificati di lavoro dipendente", archivio.A1},
                        {"A2", inB("A2"), "certificati di lavoro autonomo", archivio.A2}};
        for (const auto& c : conteggi) {
            const long long n = conteggio(s.text(c.colonna));
            if (n < 0)
                aggiungi(Gravita::Errore, c.colonna, c.campo,
                         std::string("Il numero di ") + c.cosa + " " + tra(s.text(c.colonna)) + " contiene caratteri non numerici.");
            else if (n != c.atteso)
                aggiungi(Gravita::Avviso, c.colonna, c.campo,
                         std::string("Il frontespizio indica ") + std::to_string(n) + " " + c.cosa + ", l'archivio ne ha " +
                             std::to_string(c.atteso) + ".");
        }
    }

    // The intermediary block is written whenever A4 is not the empty text.
    if (!s.text("A4").empty()) {
        if (vuoto(s.text("A4")))
            aggiungi(Gravita::Errore, "A4", inB("A4"), "Il codice fiscale dell'intermediario contiene solo spazi.");
        codiceFiscale(Gravita::Errore, "A4", inB("A4"), s.text("A4"), "codice fiscale dell'intermediario");
        const std::string_view impegno = Rifila(s.text("A8"));
        if (impegno != "1" && impegno != "2")
            aggiungi(Gravita::Errore, "A8", inB("A8"), "L'impegno a trasmettere dell'intermediario vale 1 o 2, non " + tra(impegno) + ".");
        const std::string g(Rifila(s.text("A5"))), m(Rifila(s.text("A6"))), a(Rifila(s.text("A7")));
        if (g.empty() && m.empty() && a.empty()) {
            aggiungi(Gravita::Avviso, "A5", inB("A5", "A7"), "Manca la data dell'impegno a trasmettere.");
        } else if (a.size() != 4 || conteggio(a) < 0) {
            aggiungi(Gravita::Errore, "A7", inB("A7"), "L'anno dell'impegno " + tra(a) + " deve avere quattro cifre.");
        } else {
            const std::string e = ErroreData(g + "/" + m + "/" + a);
            if (!e.empty()) aggiungi(Gravita::Errore, "A5", inB("A5", "A7"), "Data dell'impegno: " + e + ".");
        }
    }

    const bool a3 = !vuoto(s.text("A3"));
    if (a3 && !opz_.quadroCt)
        aggiungi(Gravita::Avviso, "A3", inB("A3"), "Il frontespizio indica il Quadro CT ma il record C non è richiesto.");
    if (!a3 && opz_.quadroCt)
        aggiungi(Gravita::Avviso, "A3", inB("A3"), "Il record C è richiesto ma la casella Quadro CT del frontespizio è vuota.");
    if (opz_.quadroCt && (!vuoto(s.text("Annullamento")) || !vuoto(s.text("sostituzione")))) {
        corrente_.origine = Origine::QuadroCt;
        aggiungi(Gravita::Errore, !vuoto(s.text("Annullamento")) ? "Annullamento" : "sostituzione", "C",
                 "Il Quadro CT (record C) non può accompagnare un annullamento o una sostituzione: "
                 "l'Agenzia scarta l'intera fornitura.");
    }
}

void Controllore::quadroCt(std::int64_t certificatiDipendenti) {
    const Row q = storage::LeggiQuadroCt(conn_);
    su(Origine::QuadroCt, 0, "", q.text("B1"));
    codiceFiscale(opz_.quadroCt ? Gravita::Errore : Gravita::Avviso, "B1", "CT003001", q.text("B1"),
                  "codice fiscale dell'intermediario del Quadro CT");
    if (!opz_.quadroCt) return;
    if (opz_.professionisti)
        aggiungi(Gravita::Errore, "", "C",
                 "Il Quadro CT (record C) non può accompagnare la fornitura dei professionisti, che non ha "
                 "record G: l'Agenzia scarta l'intera fornitura.");
    if (dipendenti() && certificatiDipendenti == 0)
        aggiungi(Gravita::Errore, "", "C",
                 "Il Quadro CT (record C) è richiesto ma la fornitura non ha certificati di dipendenti "
                 "(nessun record G): l'Agenzia scarta l'intera fornitura.");
}

// The recipient's part, shared by employees and professionals: names, codes, anagraphic boxes.
void Controllore::percipiente(const Row& st, const Columns& col, const Indici& anag,
                              std::unordered_map<std::string, std::int64_t>& visti, const std::string& tipo) {
    const std::string_view b01 = leggi(st, col.indexOf("B01"));
    if (vuoto(leggi(st, col.indexOf("B02"))))
        aggiungi(Gravita::Errore, "B02", CodiceDellaColonna(Sezione::Anagrafica, "B02"), "Manca il cognome del percipiente.");
    if (vuoto(b01)) {
        aggiungi(Gravita::Errore, "B01", CodiceDellaColonna(Sezione::Anagrafica, "B01"), "Manca il codice fiscale del percipiente.");
    } else {
        auto [it, nuovo] = visti.try_emplace(chiave(b01) + "|" + tipo, corrente_.id);
        if (!nuovo)
            aggiungi(Gravita::Avviso, "B01", CodiceDellaColonna(Sezione::Anagrafica, "B01"),
                     "Stesso codice fiscale e stesso tipo (" + tipo + ") del certificato " + std::to_string(it->second) +
                         ": importazione ripetuta?");
    }
    const std::string_view a01 = leggi(st, col.indexOf("A01"));
    if (vuoto(a01))
        aggiungi(Gravita::Avviso, "A01", CodiceDellaColonna(Sezione::Anagrafica, "A01"), "Manca il codice fiscale del sostituto nel certificato.");
    else if (!cfSostituto_.empty() && chiave(a01) != cfSostituto_ && ErroreCodiceFiscale(Rifila(a01)).empty())
        aggiungi(Gravita::Avviso, "A01", CodiceDellaColonna(Sezione::Anagrafica, "A01"),
                 "Il codice fiscale del sostituto nel certificato " + tra(Rifila(a01)) + " è diverso da quello del frontespizio.");
    const std::string_view sesso = Rifila(leggi(st, col.indexOf("B04")));
    if (!sesso.empty() && sesso != "M" && sesso != "F")
        aggiungi(Gravita::Errore, "B04", CodiceDellaColonna(Sezione::Anagrafica, "B04"), "Il sesso vale M o F, non " + tra(sesso) + ".");
    const auto& t = telematic::Campi(Sezione::Anagrafica);
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i].regola == Regola::Semplice && t[i].tipo == TipoCampo::CF)
            codiceFiscale(Gravita::Errore, t[i].colonna(), t[i].codice, leggi(st, anag[i][0]),
                          t[i].colonna() == "A01" ? "codice fiscale del sostituto" : "codice fiscale del percipiente");
        else
            casella(st, t[i], anag[i]);
    }
}

// One box as the writer reads it: what reaches the file through the encoder is checked by its
// type; boxes written only as ticked or not, and month flags, have no form.
void Controllore::casella(const Row& st, const CampoSezione& c, const std::vector<int>& ix,
                          const std::string& prefisso) {
    // Boxes written only as ticked or not, month flags and constants are not even read.
    if (c.regola == Regola::Costante || c.regola == Regola::Lettera || c.regola == Regola::Mesi ||
        c.regola == Regola::TestoBreve)
        return;
    const std::string_view v = leggi(st, ix[0]);
    // Most boxes are empty: nothing to check, and no label to build.
    if (vuoto(v) && c.regola != Regola::Unione) return;
    switch (c.regola) {
        case Regola::Semplice: valore(prefisso + c.colonna(), c.codice, c.tipo, v); break;
        case Regola::Percentuale:
            if (v != "C") valore(prefisso + c.colonna(), c.codice2, c.tipo, v);
            break;
        case Regola::Codice19:
            if (v == "6003" || v == "6001" || vuoto(v)) break;
            aggiungi(Gravita::Avviso, prefisso + c.colonna(), c.codice,
                     "Il codice " + tra(v) + " del punto 19 non viene scritto nel file: ammessi 6001 e 6003.");
            break;
        case Regola::Unione: {
            const std::string g(v), m(leggi(st, ix[1]));
            if (vuoto(g) && vuoto(m)) break;
            if (!ErroreValoreArchivio(c.tipo, g + m).empty())
                aggiungi(Gravita::Errore, prefisso + c.colonna(), c.codice,
                         "Data INAIL: giorno " + tra(g) + " e mese " + tra(m) + " non formano una data valida (attesi GG e MM).");
            break;
        }
        case Regola::Costante:
        case Regola::Lettera:
        case Regola::Mesi:
        case Regola::TestoBreve: break;
    }
}

void Controllore::sezione(const Row& st, Sezione s, const Indici& ix, const std::string& prefisso) {
    const auto& t = telematic::Campi(s);
    for (std::size_t i = 0; i < t.size(); ++i) casella(st, t[i], ix[i], prefisso);
}

std::int64_t Controllore::certificatiDipendenti(bool& interrotto) {
    // Unselectable certificates first: the run never writes them, whatever is ticked.
    {
        Statement st(conn_, "select ID, B01, B02, B03 from Zefo1 where ID not in (" +
                                storage::SqlNumeriDeiTipi(storage::Tipi::tutti()) + ") order by ID");
        while (st.step()) {
            su(Origine::Dipendente, st.integer(0), std::string(st.text(2)) + " " + std::string(st.text(3)),
               std::string(st.text(1)));
            aggiungi(Gravita::Avviso, "tipo", "",
                     "Il certificato non ha un tipo DIP, AMM o CoC: non sarà incluso in nessun file.");
        }
    }
    storage::ScorriCertificati scorri(conn_, opz_.tipi);
    const std::size_t totale = scorri.totale();
    const auto& fiscali = telematic::Campi(Sezione::FiscaleZefo1);
    const auto& familiari = telematic::Campi(Sezione::Familiari);
    // Column positions, resolved again only when a table's layout changes.
    std::shared_ptr<const Columns> c1, c2, c3;
    Indici anag, fisc1, fisc2, fam, prev2, prev3;
    int iTipo = -1, iC001 = -1, iC002 = -1, iC004 = -1, iC008 = -1;
    std::unordered_map<std::string, std::int64_t> visti;
    std::size_t fatti = 0;
    while (scorri.prossimo()) {
        const storage::Certificato& cert = scorri.corrente();
        const Row &z1 = cert.zefo1, &z2 = cert.zefo2, &z3 = cert.zefo3;
        if (z1.columns() != c1) {
            c1 = z1.columns();
            anag = posizioni(*c1, Sezione::Anagrafica);
            fisc1 = posizioni(*c1, Sezione::FiscaleZefo1);
            iC001 = c1->indexOf("C001");
            iC002 = c1->indexOf("C002");
            iC004 = c1->indexOf("C004");
            iC008 = c1->indexOf("C008");
        }
        if (!z2.empty() && z2.columns() != c2) {
            c2 = z2.columns();
            fisc2 = posizioni(*c2, Sezione::FiscaleZefo2);
            fam = posizioni(*c2, Sezione::Familiari);
            prev2 = posizioni(*c2, Sezione::PrevidenzialePrima);
            iTipo = c2->indexOf("tipo");
        }
        if (!z3.empty() && z3.columns() != c3) {
            c3 = z3.columns();
            prev3 = posizioni(*c3, Sezione::PrevidenzialeUlteriore);
        }
        const std::int64_t id = cert.id;
        su(Origine::Dipendente, id,
           std::string(leggi(z1, c1->indexOf("B02"))) + " " + std::string(leggi(z1, c1->indexOf("B03"))),
           std::string(leggi(z1, c1->indexOf("B01"))));
        const bool con2 = !z2.empty();

        percipiente(z1, *c1, anag, visti, con2 ? chiave(leggi(z2, iTipo)) : std::string());

        // The two checks the employees' run writes in its log.
        const std::string_view c001 = leggi(z1, iC001), c004 = leggi(z1, iC004), c002 = leggi(z1, iC002);
        if ((!c001.empty() || !c004.empty()) && leggi(z1, iC008).empty())
            aggiungi(Gravita::Errore, "C008", CodiceDellaColonna(Sezione::FiscaleZefo1, "C008"),
                     "La data di inizio lavoro (punto 8) è obbligatoria se sono compilati i punti 1 o 4.");
        const bool c002Segnalato = c002 != "1" && c002 != "2";
        if (c002Segnalato) {
            if (!c002.empty())
                aggiungi(Gravita::Errore, "C002", CodiceDellaColonna(Sezione::FiscaleZefo1, "C002"), "Il punto 2 vale 1 o 2, non " + tra(c002) + ".");
            else if (!vuoto(c001))
                aggiungi(Gravita::Errore, "C002", CodiceDellaColonna(Sezione::FiscaleZefo1, "C002"),
                         "Manca il punto 2 (1 tempo indeterminato, 2 determinato), obbligatorio con il punto 1.");
            else
                aggiungi(Gravita::Avviso, "C002", CodiceDellaColonna(Sezione::FiscaleZefo1, "C002"),
                         "Il punto 2 è vuoto: il file di log lo segnalerà (ammessi 1 o 2).");
        }
        for (std::size_t i = 0; i < fiscali.size(); ++i) {
            const auto& c = fiscali[i];
            if (c.colonna() == "C002" && c002Segnalato) continue;
            casella(z1, c, fisc1[i]);
            if (c.colonna() != "C006" && c.colonna() != "C007") continue;
            const std::string_view v = leggi(z1, fisc1[i][0]);
            if (conteggio(v) > 365 && ErroreValoreArchivio(TipoCampo::N3, v).empty())
                aggiungi(Gravita::Avviso, c.colonna(), c.codice, "Più di 365 giorni " + tra(v) + " in un anno.");
        }
        if (con2) {
            sezione(z2, Sezione::FiscaleZefo2, fisc2);
            for (std::size_t i = 0; i < familiari.size(); ++i) {
                const auto& c = familiari[i];
                const bool semplice = c.regola == Regola::Semplice;
                if (semplice && c.tipo == TipoCampo::CF) {
                    codiceFiscale(Gravita::Errore, c.colonna(), c.codice, leggi(z2, fam[i][0]), "codice fiscale del familiare");
                    continue;
                }
                casella(z2, c, fam[i]);
                if (semplice && c.tipo == TipoCampo::N2 && conteggio(leggi(z2, fam[i][0])) > 12)
                    aggiungi(Gravita::Errore, c.colonna(), c.codice, "Più di 12 mesi " + tra(leggi(z2, fam[i][0])) + " in un anno.");
            }
            sezione(z2, Sezione::PrevidenzialePrima, prev2);
        }
        if (!z3.empty()) {
            sezione(z3, Sezione::PrevidenzialeUlteriore, prev3, "Zefo3.");
            if (cert.sezioniUlteriori > 1)
                aggiungi(Gravita::Avviso, "Zefo3", "",
                         "Il certificato ha " + std::to_string(cert.sezioniUlteriori) +
                             " sezioni previdenziali ulteriori: nel file va solo la prima.");
        }
        if (!avanza(++fatti, totale)) {
            interrotto = true;
            break;
        }
    }
    return static_cast<std::int64_t>(totale);
}

void Controllore::professionisti(bool& interrotto) {
    const auto totale = static_cast<std::size_t>(storage::ContaProfessionisti(conn_));
    Statement righe(conn_, "select * from Professionisti order by ID");
    const auto col = Columns::of(righe);
    Row st;
    const auto anag = posizioni(*col, Sezione::Anagrafica), aut = posizioni(*col, Sezione::Autonomi);
    std::unordered_map<std::string, std::int64_t> visti;
    std::size_t fatti = 0;
    while (righe.step()) {
        st.assegna(righe, col);
        su(Origine::Professionista, st.integer("ID"),
           std::string(leggi(st, col->indexOf("B02"))) + " " + std::string(leggi(st, col->indexOf("B03"))),
           std::string(leggi(st, col->indexOf("B01"))));
        percipiente(st, *col, anag, visti, "professionista");
        sezione(st, Sezione::Autonomi, aut);
        if (!avanza(++fatti, totale)) {
            interrotto = true;
            break;
        }
    }
}

void Controllore::esegui() {
    storage::Lettura lettura(conn_);
    sostituto();
    // The Quadro CT's problems come before the certificates and depend on whether there are any.
    const std::int64_t nDipendenti =
        dipendenti() ? storage::ContaDeiTipi(conn_, opz_.tipi) : 0;
    quadroCt(nDipendenti);
    bool interrotto = false;
    if (dipendenti()) certificatiDipendenti(interrotto);
    if (opz_.professionisti && !interrotto) professionisti(interrotto);
    if (interrotto) {
        su(Origine::Sostituto, 0, "", "");
        aggiungi(Gravita::Avviso, "", "", "Controllo interrotto: l'elenco è incompleto.");
    }
}

}  // namespace

std::vector<Problema> ControllaArchivio(storage::Connection& conn, const OpzioniControllo& opz,
                                        const Avanzamento& avanzamento) {
    std::vector<Problema> problemi;
    ControllaArchivio(conn, opz, [&](const Problema& p) { problemi.push_back(p); }, avanzamento);
    return problemi;
}

void ControllaArchivio(storage::Connection& conn, const OpzioniControllo& opz, const Ricevitore& ricevi,
                       const Avanzamento& avanzamento) {
    Controllore(conn, opz, ricevi, avanzamento).esegui();
}

}  // namespace check
