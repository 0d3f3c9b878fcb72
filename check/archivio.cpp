#include <unordered_map>

#include "check/codicefiscale.h"
#include "check/controllo.h"
#include "check/forme.h"
#include "check/tracciato.h"
#include "storage/cp1252.h"
#include "storage/row.h"
#include "telematic/campi.h"
#include "telematic/generazione.h"

namespace check {

namespace {

using storage::Columns;
using storage::Row;
using storage::Statement;
using telematic::Rifila;

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

// Keeps the encoder's reports for the value being checked.
struct Raccolta : telematic::SegnalatoreErrori {
    std::vector<std::string> testi;
    void segnala(const std::string& t) override { testi.push_back(t); }
};

// Column positions of a list of fields in a statement's result, read once per query.
std::vector<int> posizioni(const Columns& col, const std::vector<CampoColonna>& campi) {
    std::vector<int> p;
    for (const auto& c : campi) p.push_back(col.indexOf(c.colonna));
    return p;
}

std::string_view leggi(const Statement& st, int i) { return i < 0 ? std::string_view() : st.text(i); }

Row primaRiga(storage::Connection& conn, const std::string& tabella) {
    Statement st(conn, "select * from " + tabella + " order by ID limit 1");
    auto colonne = Columns::of(st);
    if (st.step()) return Row::from(st, colonne);
    return Row();
}

std::int64_t conta(storage::Connection& conn, const std::string& sql) {
    Statement st(conn, sql);
    st.step();
    return st.integer(0);
}

class Controllore {
public:
    Controllore(storage::Connection& conn, const OpzioniControllo& opz, const Avanzamento& av)
        : conn_(conn), opz_(opz), avanzamento_(av) {}

    std::vector<Problema> esegui();

private:
    bool dipendenti() const { return opz_.dipendenti || opz_.amministratori || opz_.collaboratori; }

    void su(Origine o, std::int64_t id, std::string nominativo, std::string cf) {
        corrente_ = Problema{};
        corrente_.origine = o;
        corrente_.id = id;
        corrente_.nominativo = std::move(nominativo);
        corrente_.codiceFiscale = std::move(cf);
    }
    void aggiungi(Gravita g, std::string colonna, std::string campo, std::string testo) {
        Problema p = corrente_;
        p.gravita = g;
        p.colonna = std::move(colonna);
        p.campo = std::move(campo);
        p.testo = std::move(testo);
        out_.push_back(std::move(p));
    }

    void valore(const std::string& colonna, const std::string& codice, const std::string& tipo,
                std::string_view v);
    void codiceFiscale(Gravita g, const std::string& colonna, const std::string& campo, std::string_view v,
                       const std::string& chi);
    void sostituto();
    void quadroCt(std::int64_t certificatiDipendenti);
    std::int64_t certificatiDipendenti(bool& interrotto);
    void professionisti(bool& interrotto);
    void percipiente(const Statement& st, const Columns& col, const std::vector<int>& anag,
                     std::unordered_map<std::string, std::int64_t>& visti, const std::string& tipo);
    void previdenziali(const Statement& st, const Columns& col, bool prima, const std::string& prefisso);
    bool avanza(std::size_t fatti, std::size_t totale) {
        if (!avanzamento_ || fatti % 256 != 0) return true;
        return avanzamento_(fatti, totale);
    }

    storage::Connection& conn_;
    const OpzioniControllo& opz_;
    const Avanzamento& avanzamento_;
    std::vector<Problema> out_;
    Problema corrente_;
    Raccolta raccolta_;
    telematic::ContestoCampi campi_{&raccolta_, nullptr, telematic::Fornitura::Dipendenti, {}};
    std::string cfSostituto_;
};

// One box: characters the file cannot hold, the form of its type, what the encoder reports.
void Controllore::valore(const std::string& colonna, const std::string& codice, const std::string& tipo,
                         std::string_view v) {
    if (vuoto(v)) return;
    std::string scritto;
    std::string_view nelFile = v;
    if (!storage::soloAscii(v)) {
        std::size_t persi = 0;
        scritto = storage::aWindows1252(v, &persi);
        nelFile = scritto;
        if (persi > 0)
            aggiungi(Gravita::Avviso, colonna, codice,
                     "Il valore " + tra(v) + " contiene caratteri che il file non può rappresentare: "
                     "saranno scritti come \"?\".");
    }
    const std::string forma = ErroreValoreArchivio(tipo, v);
    int errore = 0;
    if (tipo != "AN" && tipo != "CF" && tipo != "CB" && tipo != "NU" && tipo != "GM") {
        raccolta_.testi.clear();
        telematic::CampoNonPosizionale(campi_, codice, tipo, nelFile);
        for (const auto& t : raccolta_.testi) {
            if (t.rfind("Errore 47156", 0) == 0) errore = 47156;
            else if (t.rfind("Errore 47812", 0) == 0 && errore == 0) errore = 47812;
        }
    }
    const std::string nota = errore ? " (nel file: errore " + std::to_string(errore) + ")" : "";
    if (!forma.empty())
        aggiungi(Gravita::Errore, colonna, codice, maiuscolaIniziale(forma) + nota + ".");
    else if (errore == 47156)
        aggiungi(Gravita::Errore, colonna, codice, "Il valore " + tra(v) + " ha troppe o troppo poche cifre per il campo" + nota + ".");
    else if (errore)
        aggiungi(Gravita::Errore, colonna, codice,
                 "Il valore " + tra(v) + " non occupa esattamente i 16 caratteri del campo" + nota + ".");
}

void Controllore::codiceFiscale(Gravita g, const std::string& colonna, const std::string& campo,
                                std::string_view v, const std::string& chi) {
    if (vuoto(v)) return;
    const std::string e = ErroreCodiceFiscale(Rifila(v));
    if (!e.empty()) aggiungi(g, colonna, campo, maiuscolaIniziale(chi) + ": " + e + ".");
}

void Controllore::sostituto() {
    const Row s = primaRiga(conn_, "SostitutoImposta");
    su(Origine::Sostituto, 0, chiave(s.text("CognomeDenominazione") + " " + s.text("Nome")), s.text("CodiceFiscale"));
    if (s.empty()) {
        aggiungi(Gravita::Errore, "", "", "Mancano i dati del sostituto d'imposta: compilare il frontespizio.");
        return;
    }
    cfSostituto_ = chiave(s.text("CodiceFiscale"));
    if (cfSostituto_.empty())
        aggiungi(Gravita::Errore, "CodiceFiscale", "B 2-17", "Manca il codice fiscale del sostituto d'imposta.");
    codiceFiscale(Gravita::Errore, "CodiceFiscale", "B 2-17", s.text("CodiceFiscale"), "codice fiscale del sostituto");
    if (vuoto(s.text("CognomeDenominazione")))
        aggiungi(Gravita::Avviso, "CognomeDenominazione", "B 137-196", "Manca il cognome o la denominazione del sostituto d'imposta.");
    if (!vuoto(s.text("Annullamento")) && !vuoto(s.text("sostituzione")))
        aggiungi(Gravita::Errore, "sostituzione", "B 92",
                 "Annullamento e sostituzione non possono essere indicati insieme.");

    codiceFiscale(Gravita::Errore, "CFRapp", "B 321-336", s.text("CFRapp"), "codice fiscale del firmatario");
    const std::string_view carica = Rifila(s.text("CodCar"));
    if (!carica.empty()) {
        const long long n = conteggio(carica);
        if (n < 1 || n > 15 || carica.find('.') != std::string_view::npos)
            aggiungi(Gravita::Errore, "CodCar", "B 337-338",
                     "Il codice carica del firmatario " + tra(carica) + " deve essere un numero da 1 a 15.");
    } else if (!vuoto(s.text("CFRapp"))) {
        aggiungi(Gravita::Avviso, "CodCar", "B 337-338", "Manca il codice carica del firmatario.");
    }

    // The frontispiece counts, as the agent screen computes them.
    if (dipendenti()) {
        const auto tutti = conta(conn_, "select count(*) from Zefo1");
        const auto conC001 = conta(conn_, "select count(*) from Zefo1 where trim(coalesce(C001, '')) <> ''");
        const struct {
            const char* colonna;
            const char* campo;
            const char* cosa;
            std::int64_t atteso;
        } conteggi[] = {{"A1", "B 394-401", "certificati di lavoro dipendente", conC001},
                        {"A2", "B 402-409", "certificati di lavoro autonomo", tutti - conC001}};
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
            aggiungi(Gravita::Errore, "A4", "B 412-427", "Il codice fiscale dell'intermediario contiene solo spazi.");
        codiceFiscale(Gravita::Errore, "A4", "B 412-427", s.text("A4"), "codice fiscale dell'intermediario");
        const std::string_view impegno = Rifila(s.text("A8"));
        if (impegno != "1" && impegno != "2")
            aggiungi(Gravita::Errore, "A8", "B 428", "L'impegno a trasmettere dell'intermediario vale 1 o 2, non " + tra(impegno) + ".");
        const std::string g(Rifila(s.text("A5"))), m(Rifila(s.text("A6"))), a(Rifila(s.text("A7")));
        if (g.empty() && m.empty() && a.empty()) {
            aggiungi(Gravita::Avviso, "A5", "B 429-436", "Manca la data dell'impegno a trasmettere.");
        } else if (a.size() != 4 || conteggio(a) < 0) {
            aggiungi(Gravita::Errore, "A7", "B 433-436", "L'anno dell'impegno " + tra(a) + " deve avere quattro cifre.");
        } else {
            const std::string e = ErroreData(g + "/" + m + "/" + a);
            if (!e.empty()) aggiungi(Gravita::Errore, "A5", "B 429-436", "Data dell'impegno: " + e + ".");
        }
    }

    const bool a3 = !vuoto(s.text("A3"));
    if (a3 && !opz_.quadroCt)
        aggiungi(Gravita::Avviso, "A3", "B 410", "Il frontespizio indica il Quadro CT ma il record C non è richiesto.");
    if (!a3 && opz_.quadroCt)
        aggiungi(Gravita::Avviso, "A3", "B 410", "Il record C è richiesto ma la casella Quadro CT del frontespizio è vuota.");
    if (opz_.quadroCt && (!vuoto(s.text("Annullamento")) || !vuoto(s.text("sostituzione")))) {
        corrente_.origine = Origine::QuadroCt;
        aggiungi(Gravita::Errore, !vuoto(s.text("Annullamento")) ? "Annullamento" : "sostituzione", "C",
                 "Il Quadro CT (record C) non può accompagnare un annullamento o una sostituzione: "
                 "l'Agenzia scarta l'intera fornitura.");
    }
}

void Controllore::quadroCt(std::int64_t certificatiDipendenti) {
    const Row q = primaRiga(conn_, "QuadroCt");
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
void Controllore::percipiente(const Statement& st, const Columns& col, const std::vector<int>& anag,
                              std::unordered_map<std::string, std::int64_t>& visti, const std::string& tipo) {
    const std::string_view b01 = leggi(st, col.indexOf("B01"));
    if (vuoto(leggi(st, col.indexOf("B02"))))
        aggiungi(Gravita::Errore, "B02", "DA002002", "Manca il cognome del percipiente.");
    if (vuoto(b01)) {
        aggiungi(Gravita::Errore, "B01", "DA002001", "Manca il codice fiscale del percipiente.");
    } else {
        auto [it, nuovo] = visti.try_emplace(chiave(b01) + "|" + tipo, corrente_.id);
        if (!nuovo)
            aggiungi(Gravita::Avviso, "B01", "DA002001",
                     "Stesso codice fiscale e stesso tipo (" + tipo + ") del certificato " + std::to_string(it->second) +
                         ": importazione ripetuta?");
    }
    const std::string_view a01 = leggi(st, col.indexOf("A01"));
    if (vuoto(a01))
        aggiungi(Gravita::Avviso, "A01", "DA001001", "Manca il codice fiscale del sostituto nel certificato.");
    else if (!cfSostituto_.empty() && chiave(a01) != cfSostituto_ && ErroreCodiceFiscale(Rifila(a01)).empty())
        aggiungi(Gravita::Avviso, "A01", "DA001001",
                 "Il codice fiscale del sostituto nel certificato " + tra(Rifila(a01)) + " è diverso da quello del frontespizio.");
    const std::string_view sesso = Rifila(leggi(st, col.indexOf("B04")));
    if (!sesso.empty() && sesso != "M" && sesso != "F")
        aggiungi(Gravita::Errore, "B04", "DA002004", "Il sesso vale M o F, non " + tra(sesso) + ".");
    const auto& t = Campi().anagrafici;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i].tipo == "CF") {
            codiceFiscale(Gravita::Errore, t[i].colonna, t[i].codice, leggi(st, anag[i]),
                          t[i].colonna == "A01" ? "codice fiscale del sostituto" : "codice fiscale del percipiente");
            continue;
        }
        valore(t[i].colonna, t[i].codice, t[i].tipo, leggi(st, anag[i]));
    }
}

void Controllore::previdenziali(const Statement& st, const Columns& col, bool prima, const std::string& prefisso) {
    for (const auto& c : Campi().previdenziali) {
        const std::string_view v = leggi(st, col.indexOf(c.colonna));
        if (c.colonna == "D19") {
            if (v == "6003" || v == "6001" || vuoto(v)) continue;
            aggiungi(Gravita::Avviso, prefisso + "D19", "DC001A19",
                     "Il codice " + tra(v) + " del punto 19 non viene scritto nel file: ammessi 6001 e 6003.");
            continue;
        }
        valore(prefisso + c.colonna, c.codice, c.tipo, v);
    }
    if (!prima) return;
    valore("D36", "DC001036", "NU", leggi(st, col.indexOf("D36")));
    for (const char* d : {"D37", "D38"}) {
        const std::string g(leggi(st, col.indexOf(std::string(d) + "_1")));
        const std::string m(leggi(st, col.indexOf(std::string(d) + "_2")));
        if (vuoto(g) && vuoto(m)) continue;
        const std::string e = ErroreValoreArchivio("GM", g + m);
        if (!e.empty())
            aggiungi(Gravita::Errore, std::string(d) + "_1", std::string("DC001") + (d + 1),
                     "Data INAIL: giorno " + tra(g) + " e mese " + tra(m) + " non formano una data valida (attesi GG e MM).");
    }
}

std::int64_t Controllore::certificatiDipendenti(bool& interrotto) {
    // Unselectable certificates first: the run never writes them, whatever is ticked.
    {
        Statement st(conn_,
                     "select ID, B01, B02, B03 from Zefo1 where ID not in "
                     "(select ID from Zefo2 where tipo in ('DIP', 'AMM', 'CoC')) order by ID");
        while (st.step()) {
            su(Origine::Dipendente, st.integer(0), std::string(st.text(2)) + " " + std::string(st.text(3)),
               std::string(st.text(1)));
            aggiungi(Gravita::Avviso, "tipo", "",
                     "Il certificato non ha un tipo DIP, AMM o CoC: non sarà incluso in nessun file.");
        }
    }
    const std::string selezione =
        telematic::QuerySelezioneDipendenti(opz_.dipendenti, opz_.amministratori, opz_.collaboratori);
    const auto totale = static_cast<std::size_t>(conta(conn_, "select count(*) from (" + selezione + ")"));

    Statement z1(conn_, selezione);
    // The row of Zefo2 the run writes is the one with the lowest key; likewise for Zefo3.
    Statement z2(conn_, "select * from Zefo2 where IdNooo in (select min(IdNooo) from Zefo2 group by ID) order by ID");
    Statement z3(conn_, "select * from Zefo3 order by Id, IDNoooo");
    const auto c1 = Columns::of(z1), c2 = Columns::of(z2), c3 = Columns::of(z3);
    const auto& t = Campi();
    const auto anag = posizioni(*c1, t.anagrafici), fisc1 = posizioni(*c1, t.fiscaliZefo1),
               fisc2 = posizioni(*c2, t.fiscaliZefo2), fam = posizioni(*c2, t.familiari);
    const int iTipo = c2->indexOf("tipo"), iId2 = c2->require("ID"), iId3 = c3->require("Id");
    const int iC001 = c1->indexOf("C001"), iC002 = c1->indexOf("C002"), iC004 = c1->indexOf("C004"),
              iC008 = c1->indexOf("C008");
    bool ha2 = z2.step(), ha3 = z3.step();
    std::unordered_map<std::string, std::int64_t> visti;
    std::size_t fatti = 0;
    while (z1.step()) {
        const std::int64_t id = z1.integer(c1->require("ID"));
        su(Origine::Dipendente, id,
           std::string(leggi(z1, c1->indexOf("B02"))) + " " + std::string(leggi(z1, c1->indexOf("B03"))),
           std::string(leggi(z1, c1->indexOf("B01"))));
        while (ha2 && z2.integer(iId2) < id) ha2 = z2.step();
        while (ha3 && z3.integer(iId3) < id) ha3 = z3.step();
        const bool con2 = ha2 && z2.integer(iId2) == id;

        percipiente(z1, *c1, anag, visti, con2 ? chiave(leggi(z2, iTipo)) : std::string());

        // The two checks the employees' run writes in its log.
        const std::string_view c001 = leggi(z1, iC001), c004 = leggi(z1, iC004), c002 = leggi(z1, iC002);
        if ((!c001.empty() || !c004.empty()) && leggi(z1, iC008).empty())
            aggiungi(Gravita::Errore, "C008", "DB001008",
                     "La data di inizio lavoro (punto 8) è obbligatoria se sono compilati i punti 1 o 4.");
        const bool c002Segnalato = c002 != "1" && c002 != "2";
        if (c002Segnalato) {
            if (!c002.empty())
                aggiungi(Gravita::Errore, "C002", "DB001002", "Il punto 2 vale 1 o 2, non " + tra(c002) + ".");
            else if (!vuoto(c001))
                aggiungi(Gravita::Errore, "C002", "DB001002",
                         "Manca il punto 2 (1 tempo indeterminato, 2 determinato), obbligatorio con il punto 1.");
            else
                aggiungi(Gravita::Avviso, "C002", "DB001002",
                         "Il punto 2 è vuoto: il file di log lo segnalerà (ammessi 1 o 2).");
        }
        for (std::size_t i = 0; i < t.fiscaliZefo1.size(); ++i) {
            const auto& c = t.fiscaliZefo1[i];
            if (c.colonna == "C002" && c002Segnalato) continue;
            const std::string_view v = leggi(z1, fisc1[i]);
            valore(c.colonna, c.codice, c.tipo, v);
            if ((c.colonna == "C006" || c.colonna == "C007") && conteggio(v) > 365 && ErroreValoreArchivio("N3", v).empty())
                aggiungi(Gravita::Avviso, c.colonna, c.codice, "Più di 365 giorni " + tra(v) + " in un anno.");
        }
        if (con2) {
            for (std::size_t i = 0; i < t.fiscaliZefo2.size(); ++i)
                valore(t.fiscaliZefo2[i].colonna, t.fiscaliZefo2[i].codice, t.fiscaliZefo2[i].tipo, leggi(z2, fisc2[i]));
            for (std::size_t i = 0; i < t.familiari.size(); ++i) {
                const auto& c = t.familiari[i];
                const std::string_view v = leggi(z2, fam[i]);
                if (c.tipo == "CF") {
                    codiceFiscale(Gravita::Errore, c.colonna, c.codice, v, "codice fiscale del familiare");
                    continue;
                }
                if (c.codice.ends_with("A07") && v == "C") continue;
                valore(c.colonna, c.codice, c.tipo, v);
                if (c.tipo == "N2" && conteggio(v) > 12)
                    aggiungi(Gravita::Errore, c.colonna, c.codice, "Più di 12 mesi " + tra(v) + " in un anno.");
            }
            previdenziali(z2, *c2, true, "");
        }
        if (ha3 && z3.integer(iId3) == id) {
            previdenziali(z3, *c3, false, "Zefo3.");
            int ulteriori = 0;
            while ((ha3 = z3.step()) && z3.integer(iId3) == id) ++ulteriori;
            if (ulteriori > 0)
                aggiungi(Gravita::Avviso, "Zefo3", "",
                         "Il certificato ha " + std::to_string(ulteriori + 1) +
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
    const auto totale = static_cast<std::size_t>(conta(conn_, "select count(*) from Professionisti"));
    Statement st(conn_, "select * from Professionisti order by ID");
    const auto col = Columns::of(st);
    const auto& t = Campi();
    const auto anag = posizioni(*col, t.anagrafici), aut = posizioni(*col, t.autonomi);
    std::unordered_map<std::string, std::int64_t> visti;
    std::size_t fatti = 0;
    campi_.fornitura = telematic::Fornitura::Professionisti;
    while (st.step()) {
        su(Origine::Professionista, st.integer(col->require("ID")),
           std::string(leggi(st, col->indexOf("B02"))) + " " + std::string(leggi(st, col->indexOf("B03"))),
           std::string(leggi(st, col->indexOf("B01"))));
        percipiente(st, *col, anag, visti, "professionista");
        for (std::size_t i = 0; i < t.autonomi.size(); ++i)
            valore(t.autonomi[i].colonna, t.autonomi[i].codice, t.autonomi[i].tipo, leggi(st, aut[i]));
        if (!avanza(++fatti, totale)) {
            interrotto = true;
            break;
        }
    }
}

// A read transaction: one consistent view of the archive, and faster reads.
class Lettura {
public:
    explicit Lettura(storage::Connection& c) : c_(c) { c_.exec("BEGIN"); }
    ~Lettura() {
        try {
            c_.exec("COMMIT");
        } catch (...) {
        }
    }

private:
    storage::Connection& c_;
};

std::vector<Problema> Controllore::esegui() {
    Lettura lettura(conn_);
    sostituto();
    bool interrotto = false;
    std::int64_t nDipendenti = 0;
    const std::size_t dopoSostituto = out_.size();
    if (dipendenti()) nDipendenti = certificatiDipendenti(interrotto);
    std::vector<Problema> certificati(out_.begin() + static_cast<std::ptrdiff_t>(dopoSostituto), out_.end());
    out_.resize(dopoSostituto);
    quadroCt(nDipendenti);
    out_.insert(out_.end(), certificati.begin(), certificati.end());
    if (opz_.professionisti && !interrotto) professionisti(interrotto);
    if (interrotto) {
        su(Origine::Sostituto, 0, "", "");
        aggiungi(Gravita::Avviso, "", "", "Controllo interrotto: l'elenco è incompleto.");
    }
    return std::move(out_);
}

}  // namespace

std::vector<Problema> ControllaArchivio(storage::Connection& conn, const OpzioniControllo& opz,
                                        const Avanzamento& avanzamento) {
    return Controllore(conn, opz, avanzamento).esegui();
}

}  // namespace check
