#include "check/casella.h"

#include <optional>
#include <unordered_map>

#include "check/codicefiscale.h"
#include "check/coerenza.h"
#include "check/completamento.h"
#include "check/forme.h"
#include "storage/certificati.h"
#include "storage/cp1252.h"
#include "telematic/campi.h"
#include "telematic/record.h"

namespace check {

using telematic::CampoSezione;
using telematic::Regola;
using telematic::Rifila;
using telematic::Sezione;
using telematic::TipoCampo;

const char* const kTestoSenzaTipo = "Il certificato non ha un tipo DIP, AMM o CoC: non sarà incluso in nessun file.";

std::string Tra(std::string_view v) { return "«" + std::string(v) + "»"; }

std::string MaiuscolaIniziale(std::string s) {
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

long long Conteggio(std::string_view v) {
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

namespace {

using storage::Vuoto;

void aggiungi(Segnalazioni& out, Gravita g, std::string testo) { out.push_back({g, std::move(testo)}); }

// One value through its type: characters the file cannot hold, its form, what the encoder reports.
void problemiValore(const std::string& codice, TipoCampo tipo, std::string_view v, Segnalazioni& out,
                    telematic::Forma f = telematic::Forma::Libera) {
    if (Vuoto(v)) return;
    std::string scritto;
    std::string_view nelFile = v;
    if (!storage::soloAsciiStampabile(v)) {
        std::size_t persi = 0;
        scritto = storage::valorePerFile(v, &persi);
        nelFile = scritto;
        const std::size_t controlli = storage::contaControlli(v);
        if (controlli > 0)
            aggiungi(out, Gravita::Errore,
                     "Il valore " + Tra(storage::daWindows1252(scritto)) +
                         " contiene caratteri di controllo: saranno scritti come \"?\".");
        if (persi > controlli)
            aggiungi(out, Gravita::Avviso,
                     "Il valore " + Tra(v) +
                         " contiene caratteri che il file non può rappresentare: "
                         "saranno scritti come \"?\".");
    }
    std::string forma = ErroreValoreArchivio(tipo, v);
    if (forma.empty()) forma = ErroreForma(f, Rifila(v));
    // What the encoder will report: too many or too few digits outrank a wrong length.
    std::optional<telematic::ErroreCampo> errore;
    for (const auto& p : telematic::Codifica(codice, tipo, nelFile).problemi)
        if (!errore || p.errore == telematic::ErroreCampo::Cifre) errore = p.errore;
    const std::string nota = errore ? " (nel file: errore " + std::to_string(static_cast<int>(*errore)) + ")" : "";
    if (!forma.empty())
        aggiungi(out, Gravita::Errore, MaiuscolaIniziale(forma) + nota + ".");
    else if (errore == telematic::ErroreCampo::Cifre)
        aggiungi(out, Gravita::Errore,
                 "Il valore " + Tra(v) + " ha troppe o troppo poche cifre per il campo" + nota + ".");
    else if (errore)
        aggiungi(out, Gravita::Errore,
                 "Il valore " + Tra(v) + " non occupa esattamente i 16 caratteri del campo" + nota + ".");
    if (forma.empty()) {
        const std::string avviso = AvvisoForma(f, Rifila(v));
        if (!avviso.empty()) aggiungi(out, Gravita::Avviso, MaiuscolaIniziale(avviso) + ".");
    }
}

// Whose tax code a column of the certificate holds; nullptr for a code checked by its form alone.
const char* diChi(std::string_view colonna) {
    if (colonna == "A01") return "codice fiscale del sostituto";
    if (colonna == "B01") return "codice fiscale del percipiente";
    if (colonna.substr(0, 3) == "fam") return "codice fiscale del familiare";
    return nullptr;
}

char minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string chiave(std::string_view colonna) {
    std::string k(colonna);
    for (char& c : k) c = minuscola(c);
    return k;
}

}  // namespace

void ProblemiCodiceFiscale(std::string_view v, Gravita g, std::string_view chi, Segnalazioni& out) {
    if (Vuoto(v)) return;
    const std::string e = ErroreCodiceFiscale(Rifila(v));
    if (!e.empty()) aggiungi(out, g, MaiuscolaIniziale(std::string(chi)) + ": " + e + ".");
    const std::string a = AvvisoCodiceFiscale(Rifila(v));
    if (!a.empty()) aggiungi(out, Gravita::Avviso, MaiuscolaIniziale(std::string(chi)) + ": " + a + ".");
}

void ProblemiColonna(std::string_view colonna, std::string_view v, Segnalazioni& out) {
    if (colonna == "B04") {
        const std::string_view sesso = Rifila(v);
        if (!sesso.empty() && sesso != "M" && sesso != "F")
            aggiungi(out, Gravita::Errore, "Il sesso vale M o F, non " + Tra(sesso) + ".");
    } else if (colonna == "C002") {
        if (!v.empty() && telematic::Punto2NonValido(v))
            aggiungi(out, Gravita::Errore, "Il punto 2 vale 1 o 2, non " + Tra(v) + ".");
    }
}

void ProblemiCasella(const CampoSezione& c, std::string_view v, Segnalazioni& out, std::string_view secondo) {
    // Boxes written only as ticked or not, month flags and constants have no form.
    if (c.regola == Regola::Costante || c.regola == Regola::Lettera || c.regola == Regola::Mesi ||
        c.regola == Regola::TestoBreve)
        return;
    // Most boxes are empty: nothing to check.
    if (Vuoto(v) && c.regola != Regola::Unione) return;
    switch (c.regola) {
    case Regola::Semplice:
        if (c.tipo == TipoCampo::CF && diChi(c.colonna())) {
            ProblemiCodiceFiscale(v, Gravita::Errore, diChi(c.colonna()), out);
            break;
        }
        problemiValore(c.codice, c.tipo, v, out, c.forma);
        ProblemiAggiunti(c, v, out);
        if ((c.colonna() == "C006" || c.colonna() == "C007") && Conteggio(v) > 365 &&
            ErroreValoreArchivio(TipoCampo::N3, v).empty())
            aggiungi(out, Gravita::Avviso, "Più di 365 giorni " + Tra(v) + " in un anno.");
        if (c.tipo == TipoCampo::N2 && c.colonna().substr(0, 3) == "fam" && Conteggio(v) > 12)
            aggiungi(out, Gravita::Errore, "Più di 12 mesi " + Tra(v) + " in un anno.");
        break;
    case Regola::Percentuale:
        if (v != "C") problemiValore(c.codice2, c.tipo, v, out);
        break;
    case Regola::Codice19:
        if (v == "6003" || v == "6001") break;
        aggiungi(out, Gravita::Avviso,
                 "Il codice " + Tra(v) + " del punto 19 non viene scritto nel file: ammessi 6001 e 6003.");
        break;
    case Regola::Unione: {
        if (Vuoto(v) && Vuoto(secondo)) break;
        const std::string insieme = std::string(v) + std::string(secondo);
        if (!ErroreValoreArchivio(c.tipo, insieme).empty())
            aggiungi(out, Gravita::Errore,
                     "Data INAIL: giorno " + Tra(v) + " e mese " + Tra(secondo) +
                         " non formano una data valida (attesi GG e MM).");
        break;
    }
    case Regola::Costante:
    case Regola::Lettera:
    case Regola::Mesi:
    case Regola::TestoBreve: break;
    }
}

std::string ProblemaTipo(std::string_view tipo) {
    return storage::TipoDelCodice(tipo) ? std::string() : std::string(kTestoSenzaTipo);
}

const CampoSezione* CasellaDellaColonna(Tabella tabella, std::string_view colonna) {
    using Indice = std::unordered_map<std::string, const CampoSezione*>;
    static const auto indici = [] {
        std::vector<Indice> v(static_cast<std::size_t>(Tabella::QuadroCt) + 1);
        for (char record : {'C', 'D', 'G', 'H'})
            for (int modulo : {1, 2})
                for (Sezione s : telematic::SezioniDelRecord(record, modulo))
                    for (bool professionista : {false, true}) {
                        Indice& m = v[static_cast<std::size_t>(telematic::TabellaDellaSezione(s, professionista))];
                        for (const auto& c : telematic::Campi(s))
                            if (c.riga == telematic::Riga::Sezione)
                                for (const auto& nome : c.colonne)
                                    if (!nome.empty()) m.emplace(chiave(nome), &c);
                    }
        return v;
    }();
    const Indice& m = indici[static_cast<std::size_t>(tabella)];
    const auto it = m.find(chiave(colonna));
    return it == m.end() ? nullptr : it->second;
}

bool ColonnaCodiceFiscale(Tabella tabella, std::string_view colonna) {
    const CampoSezione* c = CasellaDellaColonna(tabella, colonna);
    return c && c->regola == Regola::Semplice && c->tipo == TipoCampo::CF;
}

bool Giudizio::errore() const {
    for (const auto& p : problemi)
        if (p.gravita == Gravita::Errore) return true;
    return false;
}

std::string Giudizio::messaggio() const {
    std::string m;
    for (const auto& p : problemi) {
        if (!m.empty()) m += '\n';
        m += TestoGravita(p.gravita);
        m += ": " + p.testo;
    }
    return m;
}

Giudizio GiudicaCasella(Tabella tabella, std::string_view colonna, std::string_view valore,
                        const LetturaColonna& altra) {
    Giudizio g;
    g.valore = std::string(valore);
    const CampoSezione* c = CasellaDellaColonna(tabella, colonna);
    if (!c) return g;
    // What is typed the usual way is completed (a tax code in capitals, "1000" as "1.000,00").
    g.valore = Completa(*c, valore);
    g.normalizzato = g.valore != valore;
    // The layout's own spelling of the column, which the single-column rules name.
    const std::string* trovata = &c->colonna();
    for (const auto& n : c->colonne)
        if (chiave(n) == chiave(colonna)) trovata = &n;
    const std::string& nome = *trovata;
    ProblemiColonna(nome, g.valore, g.problemi);
    // A point 2 that is neither 1 nor 2 has said all there is to say.
    if (nome == "C002" && !g.problemi.empty()) return g;
    if (c->regola == Regola::Unione) {
        const bool primo = &nome == &c->colonne[0];
        const std::string altro = altra ? altra(c->colonne[primo ? 1 : 0]) : std::string();
        ProblemiCasella(*c, primo ? std::string_view(g.valore) : altro, g.problemi, primo ? altro : g.valore);
    } else {
        ProblemiCasella(*c, g.valore, g.problemi);
    }
    return g;
}

}  // namespace check
