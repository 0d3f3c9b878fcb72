#include "check/coerenza.h"

#include <algorithm>
#include <array>

#include "check/codicefiscale.h"
#include "check/forme.h"
#include "telematic/campi.h"

namespace check {

using telematic::Rifila;

namespace {

// The causali of the self-employment section in the CU 2015 instructions (Agenzia delle
// Entrate, "Istruzioni per la compilazione della Certificazione Unica 2015", punto 1), sorted.
constexpr std::array<std::string_view, 27> kCausali = {"A",  "B", "C",  "D", "E",  "G",  "H", "I", "L",
                                                       "L1", "M", "M1", "N", "O",  "O1", "P", "Q", "R",
                                                       "S",  "T", "U",  "V", "V1", "W",  "X", "Y", "Z"};

// The letters of a name in capitals, accented ones as their plain letter; blanks, apostrophes
// and other signs left out. A letter of another alphabet (Ł, Ő) makes it empty: how the tax
// code spelt it cannot be known.
std::string lettere(std::string_view s) {
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 'a' && c <= 'z') {
            r += static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            r += static_cast<char>(c);
        } else if (c == 0xC3 && i + 1 < s.size()) {
            const auto d = static_cast<unsigned char>(s[++i]) & 0xDF;  // the capital of the pair
            if (d >= 0x80 && d <= 0x85)
                r += 'A';
            else if (d == 0x87)
                r += 'C';
            else if (d >= 0x88 && d <= 0x8B)
                r += 'E';
            else if (d >= 0x8C && d <= 0x8F)
                r += 'I';
            else if (d == 0x91)
                r += 'N';
            else if (d >= 0x92 && d <= 0x96)
                r += 'O';
            else if (d >= 0x99 && d <= 0x9C)
                r += 'U';
            else
                return {};
        } else if (c >= 0x80) {
            return {};
        }
    }
    return r;
}

bool vocale(char c) { return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U'; }

// The three letters a tax code gives a surname, or a first name (which skips the second
// consonant when there are four or more).
std::string codiceNome(std::string_view testo, bool nome) {
    std::string consonanti, vocali;
    for (char c : lettere(testo)) (vocale(c) ? vocali : consonanti) += c;
    if (nome && consonanti.size() >= 4) return {consonanti[0], consonanti[2], consonanti[3]};
    return (consonanti + vocali + "XXX").substr(0, 3);
}

int numero(std::string_view s) {
    int n = 0;
    for (char c : s) {
        const int d = CifraDelCodice(c);
        if (d < 0) return -1;
        n = n * 10 + d;
    }
    return n;
}

std::string due(int n) { return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)}; }

void avviso(std::vector<SegnalazioneColonna>& out, const char* colonna, std::string testo) {
    out.push_back({colonna, {Gravita::Avviso, std::move(testo)}});
}

}  // namespace

void CoerenzaCodiceFiscale(std::string_view codiceGrezzo, std::string_view cognome, std::string_view nome,
                           std::string_view sesso, std::string_view nascita, std::vector<SegnalazioneColonna>& out) {
    std::string codice(Rifila(codiceGrezzo));
    for (char& c : codice)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (codice.size() != 16 || !ErroreCodiceFiscale(codice).empty()) return;
    const std::string_view cf(codice);
    if (!lettere(cognome).empty() && codiceNome(cognome, false) != cf.substr(0, 3))
        avviso(out, "B02",
               "Il cognome " + Tra(Rifila(cognome)) + " dà le lettere " + codiceNome(cognome, false) +
                   ", il codice fiscale " + std::string(cf.substr(0, 3)) + ".");
    if (!lettere(nome).empty() && codiceNome(nome, true) != cf.substr(3, 3))
        avviso(out, "B03",
               "Il nome " + Tra(Rifila(nome)) + " dà le lettere " + codiceNome(nome, true) + ", il codice fiscale " +
                   std::string(cf.substr(3, 3)) + ".");
    const int giorno = numero(cf.substr(9, 2));
    if (giorno < 0) return;
    const char sessoCodice = giorno > 40 ? 'F' : 'M';
    const std::string_view s = Rifila(sesso);
    if ((s == "M" || s == "F") && s[0] != sessoCodice)
        avviso(out, "B04", "Il sesso " + Tra(s) + " non è quello del codice fiscale (" + sessoCodice + ").");
    const int mese = MeseDelCodice(cf[8]);
    const int anno = numero(cf.substr(6, 2));
    const std::string_view d = Rifila(nascita);
    if (mese == 0 || anno < 0 || !ErroreData(d).empty()) return;
    const std::string atteso = due(giorno % 40) + "/" + due(mese) + "/.." + due(anno);
    if (d.substr(0, 6) != std::string_view(atteso).substr(0, 6) ||
        d.substr(8, 2) != std::string_view(atteso).substr(8, 2))
        avviso(out, "B05",
               "La data di nascita " + Tra(d) + " non è quella del codice fiscale (" + due(giorno % 40) + "/" +
                   due(mese) + "/.." + due(anno) + ").");
}

void FamiliariSenzaRelazione(const LetturaColonna& leggi, std::vector<SegnalazioneColonna>& out) {
    static const struct {
        const char* colonna;
        const char* relazione;
        std::vector<std::string> caselle;
    } righe[] = {{"fam1_1", "C", {"fam1_1"}},
                 {"fam2_1", "F1 o D", {"fam2_1", "fam2_3"}},
                 {"fam3_1", "F, A o D", {"fam3_1", "fam3_2", "fam3_3"}},
                 {"fam4_1", "F, A o D", {"fam4_1", "fam4_2", "fam4_3"}},
                 {"fam5_1", "F, A o D", {"fam5_1", "fam5_2", "fam5_3"}},
                 {"fam6_1", "F, A o D", {"fam6_1", "fam6_2", "fam6_3"}},
                 {"fam7_1", "F, A o D", {"fam7_1", "fam7_2", "fam7_3"}},
                 {"fam8_1", "F, A o D", {"fam8_1", "fam8_2", "fam8_3"}},
                 {"fam9_1", "F, A o D", {"fam9_1", "fam9_2", "fam9_3"}}};
    for (std::size_t n = 0; n < std::size(righe); ++n) {
        const auto& r = righe[n];
        const std::string riga = std::to_string(n + 1);
        if (Rifila(leggi("fam" + riga + "_4")).empty()) continue;
        if (std::any_of(r.caselle.begin(), r.caselle.end(),
                        [&](const std::string& c) { return !Rifila(leggi(c)).empty(); }))
            continue;
        avviso(out, r.colonna,
               "Il familiare della riga " + riga + " ha il codice fiscale ma non la relazione (" + r.relazione + ").");
    }
}

bool CausaleValida(std::string_view causale) { return std::binary_search(kCausali.begin(), kCausali.end(), causale); }

void ProblemiAggiunti(const telematic::CampoSezione& c, std::string_view v, Segnalazioni& out) {
    const std::string_view t = Rifila(v);
    if (c.codice == "AU001001" && !CausaleValida(t))
        out.push_back({Gravita::Avviso, "La causale " + Tra(t) +
                                            " non è tra quelle del modello (A, B, C, D, E, G, H, I, L, L1, M, M1, N, "
                                            "O, O1, P, Q, R, S, T, U, V, V1, W, X, Y, Z)."});
    if (c.codice == "DC001039") {
        const std::string e = ErroreForma(telematic::Forma::CodiceComune, t);
        if (!e.empty()) out.push_back({Gravita::Avviso, MaiuscolaIniziale(e) + "."});
    }
}

}  // namespace check
