#include <limits>
#include <optional>
#include <sstream>
#include <unordered_map>

#include "check/casella.h"
#include "check/codicefiscale.h"
#include "check/coerenza.h"
#include "check/controllo.h"
#include "check/forme.h"
#include "check/invii.h"
#include "check/numeri.h"
#include "check/recordb.h"
#include "storage/certificati.h"
#include "storage/cp1252.h"
#include "storage/elenchi.h"
#include "storage/reporter.h"
#include "storage/row.h"
#include "telematic/campi.h"
#include "telematic/record.h"
#include "telematic/tracciato.h"

namespace check {

namespace {

using storage::Columns;
using storage::Row;
using telematic::CampoSezione;
using telematic::CodiceDellaColonna;
using telematic::Regola;
using telematic::Rifila;
using telematic::Sezione;
using telematic::TipoCampo;

using storage::Vuoto;

std::string chiave(std::string_view v) {
    std::string k(Rifila(v));
    for (char& c : k)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return k;
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
    Controllore(storage::Connection& conn, const OpzioniControllo& opz, const Ricevitore& ricevi, const Avanzamento& av)
        : conn_(conn), opz_(opz), ricevi_(ricevi), avanzamento_(av) {}

    void esegui();
    // What the whole archive's check compares with: the agent's tax code.
    void leggiSostituto() { cfSostituto_ = chiave(storage::LeggiSostituto(conn_).text("CodiceFiscale")); }
    void dipendente(const storage::Certificato& cert);
    void professionista(const Row& riga);
    // A row checked alone: the certificate of lower number with its tax code and kind, which the
    // whole check would have met first.
    void ricordaPrecedente(const std::string& b01, const std::string& tipo, std::int64_t id, bool professionista) {
        const std::string cf = chiave(b01), k = chiave(tipo);
        if (cf.empty()) return;
        // A row not yet saved will come after every other.
        const auto precedente = storage::PrecedenteConCodice(
            conn_, professionista ? storage::Elenco::Professionisti : storage::Elenco::Dipendenti,
            id > 0 ? id : std::numeric_limits<std::int64_t>::max(), cf, k);
        if (precedente) visti_.emplace(cf + "|" + (professionista ? "professionista" : k), *precedente);
    }
    // The kind of the certificate last checked, which the whole check finds by a query.
    void tipo(std::string_view tipo) {
        const std::string p = ProblemaTipo(tipo);
        if (!p.empty()) aggiungi(Gravita::Avviso, "tipo", "", p);
    }

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

    void segnala(const Segnalazioni& s, const std::string& colonna, const std::string& campo) {
        for (const auto& x : s) aggiungi(x.gravita, colonna, campo, x.testo);
    }
    // Problems that name their columns, with the field codes of that section.
    void segnalaColonne(const std::vector<SegnalazioneColonna>& s, Sezione sezione);
    void casella(const Row& st, const CampoSezione& c, const std::vector<int>& ix, const std::string& prefisso = {});
    void sezione(const Row& st, Sezione s);
    void codiceFiscale(Gravita g, const std::string& colonna, const std::string& campo, std::string_view v,
                       const std::string& chi);
    void sostituto();
    void tagliRecordB(const Row& s);
    void quadroCt(std::int64_t certificatiDipendenti);
    std::int64_t certificatiDipendenti(bool& interrotto);
    void professionisti(bool& interrotto);
    void percipiente(const Row& st, const std::string& tipo);
    // The rules on what was sent go to the certificate (or supply) su() named.
    Segnala qui() {
        return [this](Gravita g, const std::string& col, const std::string& campo, const std::string& t) {
            aggiungi(g, col, campo, t);
        };
    }
    // false: the supply does not carry the certificate. One certificate checked alone is always carried.
    bool nellaFornitura(storage::Elenco elenco, std::int64_t id) {
        return !invii_ || invii_->certificato(elenco, id, qui());
    }
    // The number the D record carries. A row checked alone before its first save has none yet.
    void numero(std::int64_t id) {
        if (!invii_ && id == 0) return;
        const std::string p = ProblemaNumeroCertificato(id);
        if (!p.empty()) aggiungi(Gravita::Errore, "", telematic::Posizioni('D', "ID"), p);
    }
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
    std::unique_ptr<ControlloInvii> invii_;  // the whole archive's check only
    // Column positions, resolved again only when a table's layout changes.
    struct Posizioni {
        std::shared_ptr<const Columns> c1, c2;
        int iTipo = -1, iC001 = -1, iC002 = -1, iC004 = -1, iC008 = -1;
    } pos_;
    // Each section's box positions in the row the layout reads it from.
    struct IndiciSezione {
        std::shared_ptr<const Columns> colonne;
        Indici ix;
    };
    std::unordered_map<Sezione, IndiciSezione> indici_;
    const Indici& indici(const Row& st, Sezione s);
    // Tax code and kind of the certificates seen, with the first one's number.
    std::unordered_map<std::string, std::int64_t> visti_;
};

// Values record B holds in fewer characters than the archive does: what passes is cut. A cut text
// is a warning, a cut number an error.
void Controllore::tagliRecordB(const Row& s) {
    const struct {
        const char* colonna;  // the agent's box
        const char* campo;    // its field in record B
        const char* cosa;
    } tagli[] = {
        {"CognomeDenominazione", "CognomeDenominazione", "Il cognome o la denominazione"},
        {"email", "email", "L'indirizzo di posta elettronica"},
        {"telefono", "TelefonoPref", "Il telefono (prefisso e numero)"},
        {"CognomeRapp", "CognomeRapp", "Il cognome del firmatario"},
        {"NomeRapp", "NomeRapp", "Il nome del firmatario"},
        {"CodCar", "CodCar", "Il codice carica del firmatario"},
        {"A1", "A1", "Il numero di certificati di lavoro dipendente"},
        {"A2", "A2", "Il numero di certificati di lavoro autonomo"},
    };
    for (const auto& t : tagli) {
        const auto& campo = telematic::CampoDi('B', t.campo);
        // A field the layout fills from two columns (area code and number) holds them joined.
        const std::string valore = s.text(campo.nome) + (*campo.testo ? s.text(campo.testo) : std::string());
        const bool numero = campo.posa == telematic::Posa::Zeri;
        std::string nelFile = storage::aWindows1252(numero ? std::string(Rifila(valore)) : valore);
        if (numero) std::erase(nelFile, '.');  // the writer drops the thousands' points
        while (!nelFile.empty() && nelFile.back() == ' ') nelFile.pop_back();
        if (nelFile.size() > campo.larghezza())
            aggiungi(numero ? Gravita::Errore : Gravita::Avviso, t.colonna, inB(t.campo),
                     std::string(t.cosa) + " " + Tra(valore) + " ha " + std::to_string(nelFile.size()) +
                         " caratteri: il record B ne contiene " + std::to_string(campo.larghezza()) +
                         ", i restanti saranno tagliati.");
    }
}

void Controllore::codiceFiscale(Gravita g, const std::string& colonna, const std::string& campo, std::string_view v,
                                const std::string& chi) {
    Segnalazioni s;
    ProblemiCodiceFiscale(v, g, chi, s);
    segnala(s, colonna, campo);
}

void Controllore::sostituto() {
    const Row s = storage::LeggiSostituto(conn_);
    su(Origine::Sostituto, 0, chiave(s.text("CognomeDenominazione") + " " + s.text("Nome")), s.text("CodiceFiscale"));
    if (s.empty()) {
        aggiungi(Gravita::Errore, "", "", "Mancano i dati del sostituto d'imposta: compilare il frontespizio.");
        return;
    }
    cfSostituto_ = chiave(s.text("CodiceFiscale"));
    tagliRecordB(s);

    // The frontispiece counts, as the agent screen computes them.
    // Both supplies carry them in record B; a supply that leaves certificates out writes its own.
    if ((dipendenti() || opz_.professionisti) && !(invii_ && invii_->parziale())) {
        const auto archivio = storage::ContaCertificati(conn_);
        const struct {
            const char* colonna;
            std::string campo;
            const char* cosa;
            std::int64_t atteso;
        } conteggi[] = {{"A1", inB("A1"), "certificati di lavoro dipendente", archivio.A1},
                        {"A2", inB("A2"), "certificati di lavoro autonomo", archivio.A2}};
        for (const auto& c : conteggi) {
            const long long n = Conteggio(s.text(c.colonna));
            if (n >= 0 && n != c.atteso)
                aggiungi(Gravita::Avviso, c.colonna, c.campo,
                         std::string("Il frontespizio indica ") + storage::Conteggio(static_cast<std::uint64_t>(n)) +
                             " " + c.cosa + ", l'archivio ne ha " +
                             storage::Conteggio(static_cast<std::uint64_t>(c.atteso)) + ".");
        }
    }

    // Record B's own rules judge the record the writer makes of this row.
    std::ostringstream nessunFile;
    telematic::ContestoCampi campi;
    telematic::ContestoRecord ctx{nessunFile, campi, {}, nullptr};
    RegoleRecordB(telematic::ComponiRecordB(ctx, s), &s,
                  [&](Gravita g, const std::string& colonna, int, const std::string& campo, const std::string& testo) {
                      aggiungi(g, colonna, campo, testo);
                  });

    const bool a3 = !Vuoto(s.text("A3"));
    // A correction writes the box empty, whatever the agent's row says.
    if (a3 && !opz_.quadroCt && opz_.fornitura == telematic::TipoFornitura::Ordinaria)
        aggiungi(Gravita::Avviso, "A3", inB("A3"),
                 "Il frontespizio indica il Quadro CT ma il record C non è richiesto.");
    if (!a3 && opz_.quadroCt)
        aggiungi(Gravita::Avviso, "A3", inB("A3"),
                 "Il record C è richiesto ma la casella Quadro CT del frontespizio è vuota.");
    if (opz_.quadroCt && (!Vuoto(s.text("Annullamento")) || !Vuoto(s.text("sostituzione")))) {
        corrente_.origine = Origine::QuadroCt;
        aggiungi(Gravita::Errore, !Vuoto(s.text("Annullamento")) ? "Annullamento" : "sostituzione", "C",
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
    // The other boxes of its own row, as record C will carry them.
    if (!q.empty()) {
        const auto& campi = telematic::Campi(Sezione::QuadroCt);
        const Indici ix = posizioni(*q.columns(), Sezione::QuadroCt);
        for (std::size_t i = 0; i < campi.size(); ++i)
            if (campi[i].riga == telematic::Riga::Sezione && !campi[i].colonne.empty() && campi[i].colonna() != "B1")
                casella(q, campi[i], ix[i]);
    }
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
void Controllore::percipiente(const Row& st, const std::string& tipo) {
    const Columns& col = *st.columns();
    const std::string_view b01 = leggi(st, col.indexOf("B01"));
    if (Vuoto(leggi(st, col.indexOf("B02"))))
        aggiungi(Gravita::Errore, "B02", CodiceDellaColonna(Sezione::Anagrafica, "B02"),
                 "Manca il cognome del percipiente.");
    if (Vuoto(b01)) {
        aggiungi(Gravita::Errore, "B01", CodiceDellaColonna(Sezione::Anagrafica, "B01"),
                 "Manca il codice fiscale del percipiente.");
    } else {
        auto [it, nuovo] = visti_.try_emplace(chiave(b01) + "|" + tipo, corrente_.id);
        if (!nuovo)
            aggiungi(Gravita::Avviso, "B01", CodiceDellaColonna(Sezione::Anagrafica, "B01"),
                     "Stesso codice fiscale e stesso tipo (" + tipo + ") del certificato " +
                         std::to_string(it->second) + ": importazione ripetuta?");
    }
    const std::string_view a01 = leggi(st, col.indexOf("A01"));
    if (Vuoto(a01))
        aggiungi(Gravita::Avviso, "A01", CodiceDellaColonna(Sezione::Anagrafica, "A01"),
                 "Manca il codice fiscale del sostituto nel certificato.");
    else if (!cfSostituto_.empty() && chiave(a01) != cfSostituto_ && ErroreCodiceFiscale(Rifila(a01)).empty())
        aggiungi(Gravita::Avviso, "A01", CodiceDellaColonna(Sezione::Anagrafica, "A01"),
                 "Il codice fiscale del sostituto nel certificato " + Tra(Rifila(a01)) +
                     " è diverso da quello del frontespizio.");
    Segnalazioni sesso;
    ProblemiColonna("B04", leggi(st, col.indexOf("B04")), sesso);
    segnala(sesso, "B04", CodiceDellaColonna(Sezione::Anagrafica, "B04"));
    sezione(st, Sezione::Anagrafica);
    std::vector<SegnalazioneColonna> coerenza;
    CoerenzaCodiceFiscale(b01, leggi(st, col.indexOf("B02")), leggi(st, col.indexOf("B03")),
                          leggi(st, col.indexOf("B04")), leggi(st, col.indexOf("B05")), coerenza);
    segnalaColonne(coerenza, Sezione::Anagrafica);
}

void Controllore::segnalaColonne(const std::vector<SegnalazioneColonna>& s, Sezione sezione) {
    for (const auto& x : s)
        aggiungi(x.segnalazione.gravita, x.colonna, CodiceDellaColonna(sezione, x.colonna), x.segnalazione.testo);
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
    if (Vuoto(v) && c.regola != Regola::Unione) return;
    Segnalazioni s;
    ProblemiCasella(c, v, s, c.regola == Regola::Unione ? leggi(st, ix[1]) : std::string_view());
    if (!s.empty()) segnala(s, prefisso + c.colonna(), c.regola == Regola::Percentuale ? c.codice2 : c.codice);
}

const Indici& Controllore::indici(const Row& st, Sezione s) {
    IndiciSezione& x = indici_[s];
    if (x.colonne != st.columns()) {
        x.colonne = st.columns();
        x.ix = posizioni(*x.colonne, s);
    }
    return x.ix;
}

void Controllore::sezione(const Row& st, Sezione s) {
    const auto& t = telematic::Campi(s);
    const Indici& ix = indici(st, s);
    const std::string prefisso = telematic::ColonnaDellaSezione(s, "");
    for (std::size_t i = 0; i < t.size(); ++i) casella(st, t[i], ix[i], prefisso);
}

std::int64_t Controllore::certificatiDipendenti(bool& interrotto) {
    // Unselectable certificates first: the run never writes them, whatever is ticked.
    {
        for (auto& r : storage::CertificatiSenzaTipo(conn_)) {
            su(Origine::Dipendente, r.id, r.cognome + " " + r.nome, std::move(r.codiceFiscale));
            aggiungi(Gravita::Avviso, "tipo", "", kTestoSenzaTipo);
        }
    }
    storage::ScorriCertificati scorri(conn_, opz_.tipi);
    const std::size_t totale = scorri.totale();
    std::size_t fatti = 0;
    while (scorri.prossimo()) {
        dipendente(scorri.corrente());
        if (!avanza(++fatti, totale)) {
            interrotto = true;
            break;
        }
    }
    return static_cast<std::int64_t>(totale);
}

void Controllore::dipendente(const storage::Certificato& cert) {
    const Row &z1 = cert.zefo1, &z2 = cert.zefo2, &z3 = cert.zefo3;
    Posizioni& p = pos_;
    if (z1.columns() != p.c1) {
        p.c1 = z1.columns();
        p.iC001 = p.c1->indexOf("C001");
        p.iC002 = p.c1->indexOf("C002");
        p.iC004 = p.c1->indexOf("C004");
        p.iC008 = p.c1->indexOf("C008");
    }
    if (!z2.empty() && z2.columns() != p.c2) {
        p.c2 = z2.columns();
        p.iTipo = p.c2->indexOf("tipo");
    }
    // Each section of the certificate from the row the layout reads it from.
    const auto riga = [&](Sezione s) -> const Row& { return telematic::RigaDellaSezione(s, z1, z2, z3); };
    su(Origine::Dipendente, cert.id,
       std::string(leggi(z1, p.c1->indexOf("B02"))) + " " + std::string(leggi(z1, p.c1->indexOf("B03"))),
       std::string(leggi(z1, p.c1->indexOf("B01"))));
    const bool con2 = !z2.empty();
    if (!nellaFornitura(storage::Elenco::Dipendenti, cert.id)) return;
    numero(cert.id);

    percipiente(riga(Sezione::Anagrafica), con2 ? chiave(leggi(z2, p.iTipo)) : std::string());

    // The two checks the employees' run writes in its log.
    const std::string_view c001 = leggi(z1, p.iC001), c004 = leggi(z1, p.iC004), c002 = leggi(z1, p.iC002);
    if (telematic::MancaDataInizioLavoro(c001, c004, leggi(z1, p.iC008)))
        aggiungi(Gravita::Errore, "C008", CodiceDellaColonna(Sezione::FiscaleZefo1, "C008"),
                 "La data di inizio lavoro (punto 8) è obbligatoria se sono compilati i punti 1 o 4.");
    const bool c002Segnalato = telematic::Punto2NonValido(c002);
    if (c002Segnalato) {
        const std::string& campo = CodiceDellaColonna(Sezione::FiscaleZefo1, "C002");
        Segnalazioni s;
        ProblemiColonna("C002", c002, s);
        segnala(s, "C002", campo);
        if (c002.empty() && !Vuoto(c001))
            aggiungi(Gravita::Errore, "C002", campo,
                     "Manca il punto 2 (1 tempo indeterminato, 2 determinato), obbligatorio con il punto 1.");
        else if (c002.empty())
            aggiungi(Gravita::Avviso, "C002", campo,
                     "Il punto 2 è vuoto: il file di log lo segnalerà (ammessi 1 o 2).");
    }
    const auto& fiscali = telematic::Campi(Sezione::FiscaleZefo1);
    const Indici& fisc1 = indici(riga(Sezione::FiscaleZefo1), Sezione::FiscaleZefo1);
    for (std::size_t i = 0; i < fiscali.size(); ++i)
        if (fiscali[i].colonna() != "C002" || !c002Segnalato)
            casella(riga(Sezione::FiscaleZefo1), fiscali[i], fisc1[i]);
    if (con2) {
        sezione(riga(Sezione::FiscaleZefo2), Sezione::FiscaleZefo2);
        sezione(riga(Sezione::Familiari), Sezione::Familiari);
        std::vector<SegnalazioneColonna> familiari;
        FamiliariSenzaRelazione([&](std::string_view c) { return std::string(leggi(z2, p.c2->indexOf(c))); },
                                familiari);
        segnalaColonne(familiari, Sezione::Familiari);
        sezione(riga(Sezione::PrevidenzialePrima), Sezione::PrevidenzialePrima);
    }
    if (!z3.empty()) {
        sezione(riga(Sezione::PrevidenzialeUlteriore), Sezione::PrevidenzialeUlteriore);
        if (cert.sezioniUlteriori > 1)
            aggiungi(Gravita::Avviso, "Zefo3", "",
                     "Il certificato ha " + std::to_string(cert.sezioniUlteriori) +
                         " sezioni previdenziali ulteriori: nel file va solo la prima.");
    }
}

void Controllore::professionisti(bool& interrotto) {
    const auto totale = static_cast<std::size_t>(storage::ContaProfessionisti(conn_));
    storage::ScorriProfessionisti righe(conn_);
    std::size_t fatti = 0;
    while (righe.prossimo()) {
        professionista(righe.riga());
        if (!avanza(++fatti, totale)) {
            interrotto = true;
            break;
        }
    }
}

void Controllore::professionista(const Row& st) {
    const Columns& col = *st.columns();
    su(Origine::Professionista, st.integer("ID"),
       std::string(leggi(st, col.indexOf("B02"))) + " " + std::string(leggi(st, col.indexOf("B03"))),
       std::string(leggi(st, col.indexOf("B01"))));
    if (!nellaFornitura(storage::Elenco::Professionisti, corrente_.id)) return;
    numero(corrente_.id);
    percipiente(st, "professionista");
    sezione(st, Sezione::Autonomi);
}

void Controllore::esegui() {
    storage::Lettura lettura(conn_);
    invii_ = std::make_unique<ControlloInvii>(conn_, opz_);
    sostituto();
    // The Quadro CT's problems come before the certificates and depend on whether there are any.
    const std::int64_t nDipendenti = dipendenti() ? storage::ContaDeiTipi(conn_, opz_.tipi) : 0;
    quadroCt(nDipendenti);
    su(Origine::Sostituto, 0, "", cfSostituto_);
    if (dipendenti()) invii_->generale(true, qui());
    if (opz_.professionisti) invii_->generale(false, qui());
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
    ControllaArchivio(
        conn, opz, [&](const Problema& p) { problemi.push_back(p); }, avanzamento);
    return problemi;
}

void ControllaArchivio(storage::Connection& conn, const OpzioniControllo& opz, const Ricevitore& ricevi,
                       const Avanzamento& avanzamento) {
    Controllore(conn, opz, ricevi, avanzamento).esegui();
}

namespace {

// One row checked alone, against the archive's agent.
std::vector<Problema> controllaUno(storage::Connection& conn, const std::function<void(Controllore&)>& controlla) {
    std::vector<Problema> problemi;
    const Ricevitore ricevi = [&](const Problema& p) { problemi.push_back(p); };
    const OpzioniControllo opz;
    const Avanzamento nessuno;
    Controllore c(conn, opz, ricevi, nessuno);
    c.leggiSostituto();
    controlla(c);
    return problemi;
}

}  // namespace

std::vector<Problema> ControllaCertificato(storage::Connection& conn, const storage::Certificato& cert) {
    return controllaUno(conn, [&](Controllore& c) {
        const std::string& tipo = cert.zefo2.text("tipo");
        // A certificate of no kind is in no supply, and compared with none.
        if (ProblemaTipo(tipo).empty()) c.ricordaPrecedente(cert.zefo1.text("B01"), tipo, cert.id, false);
        c.dipendente(cert);
        c.tipo(tipo);
    });
}

std::vector<Problema> ControllaProfessionista(storage::Connection& conn, const storage::Row& riga) {
    return controllaUno(conn, [&](Controllore& c) {
        c.ricordaPrecedente(riga.text("B01"), "", riga.integer("ID"), true);
        c.professionista(riga);
    });
}

}  // namespace check
