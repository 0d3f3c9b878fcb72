#include "check/recordb.h"

#include "check/casella.h"
#include "check/forme.h"
#include "storage/cp1252.h"
#include "telematic/campi.h"

namespace check {

namespace {

using telematic::CampoDi;
using telematic::CampoPosizionale;
using telematic::Posizioni;
using telematic::Rifila;

bool cifre(std::string_view s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos; }

bool spazi(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

long long numero(std::string_view s) {
    long long n = 0;
    for (char c : s) n = n * 10 + (c - '0');
    return n;
}

class Regole {
public:
    Regole(std::string_view r, const storage::Row* s, const SegnalaB& segnala) : r_(r), s_(s), segnala_(segnala) {}

    void esegui();

private:
    std::string_view in(const CampoPosizionale& c) const { return r_.substr(c.inizio(), c.larghezza()); }
    // The field's text as a sentence quotes it: the stored value when the row is at hand.
    std::string mostra(const CampoPosizionale& c) const {
        if (s_) return std::string(Rifila(s_->text(c.nome)));
        return storage::daWindows1252(in(c));
    }
    std::string testo(const CampoPosizionale& c) const { return storage::daWindows1252(Rifila(in(c))); }
    void errore(Gravita g, const std::string& colonna, const std::string& campo, const std::string& t) const {
        segnala_(g, colonna, std::stoi(campo.substr(2)), campo, t);  // "B 337-338" starts at 337
    }
    void codiceFiscale(const CampoPosizionale& c, const char* chi) const {
        Segnalazioni out;
        ProblemiCodiceFiscale(testo(c), Gravita::Errore, chi, out);
        for (const auto& x : out) errore(x.gravita, c.nome, Posizioni('B', c.nome), x.testo);
    }
    void intermediario();

    std::string_view r_;
    const storage::Row* s_;
    const SegnalaB& segnala_;
};

void Regole::esegui() {
    static const CampoPosizionale &sostituto = CampoDi('B', "CodiceFiscale"),
                                  &modulo = CampoDi('B', telematic::kModulo),
                                  &annullamento = CampoDi('B', "Annullamento"),
                                  &sostituzione = CampoDi('B', "sostituzione"), &quadroCt = CampoDi('B', "A3"),
                                  &denominazione = CampoDi('B', "CognomeDenominazione"),
                                  &telefono = CampoDi('B', "TelefonoPref"), &firmatario = CampoDi('B', "CFRapp"),
                                  &carica = CampoDi('B', "CodCar");
    const std::string cbSostituto = Posizioni('B', sostituto.nome);
    if (spazi(in(sostituto)))
        errore(Gravita::Errore, sostituto.nome, cbSostituto, "Manca il codice fiscale del sostituto d'imposta.");
    codiceFiscale(sostituto, "codice fiscale del sostituto");
    if (in(modulo) != modulo.testo)
        errore(Gravita::Errore, "", Posizioni('B', modulo.nome),
               "Il numero di modulo del frontespizio è " + Tra(in(modulo)) + " invece di " + modulo.testo + ".");
    if (spazi(in(denominazione)))
        errore(Gravita::Avviso, denominazione.nome, Posizioni('B', denominazione.nome),
               "Manca il cognome o la denominazione del sostituto d'imposta.");
    for (const auto* c : {&annullamento, &sostituzione, &quadroCt})
        if (in(*c) != "0" && in(*c) != "1")
            errore(Gravita::Errore, c->nome, Posizioni('B', c->nome),
                   "La casella vale 0 o 1, non " + Tra(in(*c)) + ".");
    if (in(annullamento) == "1" && in(sostituzione) == "1")
        errore(Gravita::Errore, sostituzione.nome, Posizioni('B', sostituzione.nome),
               "Annullamento e sostituzione non possono essere indicati insieme.");

    if (!spazi(in(telefono))) {
        const std::string e = ErroreForma(telefono.forma, testo(telefono));
        if (!e.empty()) errore(Gravita::Errore, "telefono", Posizioni('B', telefono.nome), MaiuscolaIniziale(e) + ".");
    }

    if (!spazi(in(firmatario))) codiceFiscale(firmatario, "codice fiscale del firmatario");
    const std::string_view codice = in(carica);
    if (codice == std::string(carica.larghezza(), '0')) {
        if (!spazi(in(firmatario)))
            errore(Gravita::Avviso, carica.nome, Posizioni('B', carica.nome), "Manca il codice carica del firmatario.");
    } else if (!cifre(codice) || numero(codice) < 1 || numero(codice) > kCodiceCaricaMassimo) {
        errore(Gravita::Errore, carica.nome, Posizioni('B', carica.nome),
               "Il codice carica del firmatario " + Tra(mostra(carica)) + " deve essere un numero da 1 a " +
                   std::to_string(kCodiceCaricaMassimo) + ".");
    }

    const struct {
        const CampoPosizionale& campo;
        const char* cosa;
    } conteggi[] = {{CampoDi('B', "A1"), "certificati di lavoro dipendente"},
                    {CampoDi('B', "A2"), "certificati di lavoro autonomo"}};
    for (const auto& c : conteggi)
        if (!cifre(in(c.campo)))
            errore(Gravita::Errore, c.campo.nome, Posizioni('B', c.campo.nome),
                   std::string("Il numero di ") + c.cosa + " " + Tra(mostra(c.campo)) +
                       " contiene caratteri non numerici.");

    intermediario();
}

// The commitment to transmit: with the intermediary's code its kind and date, without it the
// block's filler.
void Regole::intermediario() {
    static const CampoPosizionale &codice = CampoDi('B', "A4"), &impegno = CampoDi('B', "A8"),
                                  &giorno = CampoDi('B', "A5"), &anno = CampoDi('B', "A7"),
                                  &fine = CampoDi('B', "firma intermediario");
    const std::size_t da = impegno.inizio(), n = fine.inizio() + fine.larghezza() - da;
    const std::string blocco = Posizioni('B', impegno.nome, fine.nome), data = Posizioni('B', giorno.nome, anno.nome);
    if (spazi(in(codice))) {
        if (r_.substr(da, n) != std::string(n, impegno.senzaIntermediario))
            errore(Gravita::Errore, codice.nome, blocco,
                   "Senza il codice fiscale dell'intermediario le posizioni " + blocco.substr(2) + " devono valere " +
                       std::string(n, impegno.senzaIntermediario) + ".");
        return;
    }
    codiceFiscale(codice, "codice fiscale dell'intermediario");
    if (in(impegno) != "1" && in(impegno) != "2")
        errore(Gravita::Errore, impegno.nome, Posizioni('B', impegno.nome),
               "L'impegno a trasmettere dell'intermediario vale 1 o 2, non " + Tra(mostra(impegno)) + ".");
    const std::string_view d = r_.substr(giorno.inizio(), anno.inizio() + anno.larghezza() - giorno.inizio());
    if (spazi(d)) {
        errore(Gravita::Errore, giorno.nome, data, "Manca la data dell'impegno a trasmettere.");
        return;
    }
    const std::string e = ErroreData(storage::daWindows1252(
        std::string(d.substr(0, 2)) + "/" + std::string(d.substr(2, 2)) + "/" + std::string(d.substr(4))));
    if (!e.empty()) errore(Gravita::Errore, giorno.nome, data, "Data dell'impegno: " + e + ".");
}

}  // namespace

void RegoleRecordB(std::string_view r, const storage::Row* sostituto, const SegnalaB& segnala) {
    Regole(r, sostituto, segnala).esegui();
}

}  // namespace check
