#include "telematic/tracciato.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <unordered_map>

namespace telematic {

namespace {

constexpr std::array<std::string_view, 17> kNomiTipi = {"CF", "AN", "NU", "CB", "DT", "VP",  "DA",   "NP", "CN",
                                                        "PC", "VN", "N1", "N2", "N3", "N10", "MESI", "GM"};
constexpr std::size_t kTipiDelCodificatore = 15;

std::string tre(int n) {
    std::string s = std::to_string(n);
    return std::string(s.size() < 3 ? 3 - s.size() : 0, '0') + s;
}

std::string due(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

CampoSezione semplice(std::string colonna, std::string codice, TipoCampo tipo) {
    CampoSezione c;
    c.colonne = {std::move(colonna)};
    c.codice = std::move(codice);
    c.tipo = tipo;
    if (tipo == TipoCampo::CF) c.forma = Forma::CodiceFiscale;
    return c;
}

CampoSezione conForma(CampoSezione c, Forma forma) {
    c.forma = forma;
    return c;
}

CampoSezione speciale(Regola regola, TipoCampo tipo, std::string codice, std::vector<std::string> colonne,
                      std::string codice2 = {}) {
    CampoSezione c;
    c.regola = regola;
    c.tipo = tipo;
    c.codice = std::move(codice);
    c.codice2 = std::move(codice2);
    c.colonne = std::move(colonne);
    return c;
}

CampoSezione costante(std::string codice, TipoCampo tipo, std::string valore) {
    CampoSezione c = speciale(Regola::Costante, tipo, std::move(codice), {});
    c.costante = std::move(valore);
    return c;
}

// The boxes of the anagraphic section that have a form of their own.
Forma formaAnagrafica(char parte, int n) {
    if (n == 1) return Forma::CodiceFiscale;
    if (parte == 'A') {
        switch (n) {
        case 5: return Forma::Provincia;
        case 6: return Forma::Cap;
        case 8: return Forma::Telefono;
        default: return Forma::Libera;
        }
    }
    switch (n) {
    case 7:
    case 21:
    case 24: return Forma::Provincia;
    case 22:
    case 25: return Forma::CodiceComune;
    case 30: return Forma::CodiceFiscale;  // the representative's, written as a text
    default: return Forma::Libera;
    }
}

std::vector<CampoSezione> anagrafica() {
    using T = TipoCampo;
    std::vector<CampoSezione> v;
    for (int n = 1; n <= 11; ++n)
        v.push_back(
            conForma(semplice("A" + due(n), "DA001" + tre(n), n == 1 ? T::CF : T::AN), formaAnagrafica('A', n)));
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 21, 22, 23, 24, 25, 30, 40, 41, 42, 43})
        v.push_back(conForma(semplice("B" + due(n), "DA002" + tre(n),
                                      n == 1   ? T::CF
                                      : n == 5 ? T::DT
                                               : T::AN),
                             formaAnagrafica('B', n)));
    v.push_back(semplice("B44", "DA003001", T::DT));
    v.push_back(costante("DA003002", T::CB, "1"));  // the certificate is always signed
    return v;
}

// The points of the fiscal section in writing order: 1-192 stored in Zefo1, 201-409 in Zefo2.
constexpr int kPuntiZefo1[] = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  16,  17,  19,  20,  21,  23,
                               24,  31,  32,  33,  34,  35,  36,  37,  38,  51,  52,  53,  54,  55,  56,  57,  58,  61,
                               62,  63,  64,  65,  66,  67,  68,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,
                               82,  101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117,
                               118, 119, 120, 121, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152, 153, 161,
                               162, 163, 164, 166, 171, 172, 173, 174, 175, 184, 186, 191, 192};
constexpr int kPuntiZefo2[] = {201, 202, 203, 204, 205, 221, 222, 223, 241, 242, 243, 244, 245, 246, 261, 262, 263,
                               264, 301, 302, 303, 304, 305, 308, 309, 310, 311, 312, 313, 314, 315, 316, 317, 323,
                               324, 326, 327, 328, 329, 330, 331, 401, 402, 403, 404, 405, 406, 407, 408, 409};

// Every point is an amount (VP) but these.
const struct {
    TipoCampo tipo;
    std::vector<int> punti;
} kTipiDeiPunti[] = {
    {TipoCampo::N1, {2, 119}},
    {TipoCampo::N3, {6, 7, 115}},
    {TipoCampo::DT, {8, 9, 145}},
    {TipoCampo::CB, {10, 166, 191, 204, 326}},
    {TipoCampo::NP, {71, 73, 75, 77, 79, 81, 141, 150}},
    {TipoCampo::DA, {116}},
    {TipoCampo::AN, {192}},
    {TipoCampo::CF, {305}},
    {TipoCampo::PC, {408}},
};

TipoCampo tipoPunto(int n) {
    for (const auto& t : kTipiDeiPunti)
        for (int p : t.punti)
            if (p == n) return t.tipo;
    return TipoCampo::VP;
}

template <std::size_t N>
std::vector<CampoSezione> fiscale(const int (&punti)[N]) {
    std::vector<CampoSezione> v;
    // Columns C001-C010 have a capital C, the others a small one.
    for (int n : punti) v.push_back(semplice((n <= 10 ? "C" : "c") + tre(n), "DB001" + tre(n), tipoPunto(n)));
    return v;
}

std::vector<CampoSezione> familiari() {
    using T = TipoCampo;
    std::vector<CampoSezione> v;
    v.push_back(semplice("fam1_1", "DB801001", T::CB));
    v.push_back(semplice("fam1_4", "DB801004", T::CF));
    v.push_back(semplice("fam1_5", "DB801005", T::N2));
    for (int n = 2; n <= 9; ++n) {
        const std::string f = "fam" + std::to_string(n) + "_", db = "DB80" + std::to_string(n);
        // Row 2 (the first child) has no "other relative" box.
        v.push_back(speciale(Regola::Lettera, T::AN, db + "001", {f + "1", n >= 3 ? f + "2" : "", f + "3"}));
        v.push_back(semplice(f + "4", db + "004", T::CF));
        v.push_back(semplice(f + "5", db + "005", T::N2));
        v.push_back(semplice(f + "6", db + "006", T::N2));
        v.push_back(speciale(Regola::Percentuale, T::PC, db + "B07", {f + "7"}, db + "A07"));
        v.push_back(semplice(f + "8", db + "008", T::CB));
    }
    v.push_back(semplice("fam10_1", "DB810001", T::PC));
    return v;
}

std::vector<CampoSezione> previdenziale(bool prima) {
    using T = TipoCampo;
    std::vector<CampoSezione> v;
    auto mesi = [&](const std::string& prefisso, const std::string& dicembre, std::string codice) {
        std::vector<std::string> colonne;
        for (int i = 1; i <= 11; ++i) colonne.push_back(prefisso + std::to_string(i));
        colonne.push_back(dicembre);
        v.push_back(speciale(Regola::Mesi, T::Mesi, std::move(codice), std::move(colonne)));
    };
    auto punto = [&](int n, T tipo) { v.push_back(semplice("D" + due(n), "DC001" + tre(n), tipo)); };
    punto(1, T::N10);
    punto(2, T::CB);
    punto(3, T::CB);
    for (int n = 4; n <= 6; ++n) punto(n, T::VP);
    punto(7, T::CB);
    mesi("D08_", "d08_12", "DC001008");
    for (int n = 9; n <= 12; ++n) punto(n, T::VP);
    punto(13, T::CB);
    mesi("D14_", "D14_12", "DC001014");
    punto(15, T::CN);
    punto(16, T::AN);
    punto(17, T::AN);
    punto(18, T::NP);
    v.push_back(speciale(Regola::Codice19, T::NP, "DC001A19", {"D19"}, "DC001B19"));
    punto(20, T::NP);
    punto(21, T::NP);
    punto(22, T::DA);
    for (int n = 23; n <= 32; ++n) punto(n, T::VN);
    punto(33, T::CB);
    mesi("D34_", "D34_12", "DC001034");
    if (!prima) return v;
    punto(35, T::AN);
    punto(36, T::NU);  // the INAIL position, as a number right-aligned in 16
    v.push_back(speciale(Regola::Unione, T::GiornoMese, "DC001037", {"D37_1", "D37_2"}));
    v.push_back(speciale(Regola::Unione, T::GiornoMese, "DC001038", {"D38_1", "D38_2"}));
    punto(39, T::AN);
    punto(40, T::CB);
    return v;
}

std::vector<CampoSezione> autonomi() {
    using T = TipoCampo;
    std::vector<CampoSezione> v;
    const T tipi[] = {T::AN, T::DA, T::CB, T::VP, T::VP, T::NP};
    for (int n = 1; n <= 23; ++n) v.push_back(semplice("E" + due(n), "AU001" + tre(n), n <= 6 ? tipi[n - 1] : T::VP));
    return v;
}

std::vector<CampoSezione> quadroCt() {
    using T = TipoCampo;
    std::vector<CampoSezione> v;
    v.push_back(semplice("CodiceFiscale", "CT001001", T::CF));
    v.back().riga = Riga::Sostituto;
    v.push_back(conForma(semplice("NumCellulare", "CT001002", T::AN), Forma::Telefono));
    v.push_back(speciale(Regola::TestoBreve, T::AN, "CT001003", {"email"}));  // a longer address is left out
    v.back().riga = Riga::Sostituto;
    v.push_back(semplice("B5", "CT002001", T::CB));
    v.push_back(semplice("B6", "CT002002", T::AN));
    v.push_back(semplice("B1", "CT003001", T::CF));
    v.push_back(semplice("B2", "CT003002", T::AN));
    v.push_back(conForma(semplice("B3", "CT003003", T::AN), Forma::Telefono));
    v.push_back(costante("CT003005", T::CB, "1"));
    return v;
}

using P = Posa;

constexpr Sezione kSezioni[] = {
    Sezione::Anagrafica,         Sezione::FiscaleZefo1,           Sezione::FiscaleZefo2, Sezione::Familiari,
    Sezione::PrevidenzialePrima, Sezione::PrevidenzialeUlteriore, Sezione::Autonomi,     Sezione::QuadroCt};

const std::vector<CampoPosizionale>& recordA() {
    static const std::vector<CampoPosizionale> v = {
        {"A", 1, 1, P::Testo, "A"},
        {"riservato", 2, 15, P::Spazi},
        {"codice fornitura", 16, 20, P::Testo, "CUR15"},
        {kTipoFornitore, 21, 22, P::Sinistra},
        {"CodiceFiscale", 23, 38, P::Sinistra, "", 0, Forma::CodiceFiscale},
        {"riservato", 39, 521, P::Spazi},
        {"riservato", 522, 525, P::Spazi},
        {"riservato", 526, 529, P::Spazi},
        {"riservato", 530, 629, P::Spazi},
        {"riservato", 630, 1697, P::Spazi},
        {"riservato", 1698, 1897, P::Spazi},
    };
    return v;
}

const std::vector<CampoPosizionale>& recordB() {
    static const std::vector<CampoPosizionale> v = {
        {"B", 1, 1, P::Testo, "B"},
        {"CodiceFiscale", 2, 17, P::Sinistra, "", 0, Forma::CodiceFiscale},
        {kModulo, 18, 25, P::Testo, "00000001"},
        {"riservato", 26, 90, P::Spazi},  // fields of 1, 8, 25, 14, 16 and 1 characters
        {"Annullamento", 91, 91, P::Casella},
        {"sostituzione", 92, 92, P::Casella},
        {"riservato", 93, 136, P::Spazi},  // fields of 24 and 20 characters
        {"CognomeDenominazione", 137, 196, P::Sinistra},
        {"email", 197, 296, P::Sinistra},
        {"TelefonoPref", 297, 308, P::Sinistra, "telefono", 0, Forma::Telefono},
        {"riservato", 309, 320, P::Spazi},
        {"CFRapp", 321, 336, P::Sinistra, "", 0, Forma::CodiceFiscale},
        {"CodCar", 337, 338, P::Zeri},
        {"CognomeRapp", 339, 362, P::Sinistra},
        {"NomeRapp", 363, 382, P::Sinistra},
        {"CodiceFiscale", 383, 393, P::Sinistra},  // its first 11 characters
        {"A1", 394, 401, P::Zeri},                 // employee certificates
        {"A2", 402, 409, P::Zeri},                 // self-employment certificates
        {"A3", 410, 410, P::Casella},              // Quadro CT
        {"firma", 411, 411, P::Testo, "1"},
        {"A4", 412, 427, P::Sinistra, "", ' ', Forma::CodiceFiscale},  // intermediary's tax code
        {"A8", 428, 428, P::Zeri, "", '0'},                            // kind of commitment
        {"A5", 429, 430, P::Sinistra, "", '0'},                        // day, month and year of the commitment
        {"A6", 431, 432, P::Sinistra, "", '0'},
        {"A7", 433, 436, P::Sinistra, "", '0'},
        {"firma intermediario", 437, 437, P::Testo, "1", '0'},
        {"riservato", 438, 1897, P::Spazi},
    };
    return v;
}

const std::vector<CampoPosizionale>& recordC() {
    static const std::vector<CampoPosizionale> v = {
        {"C", 1, 1, P::Testo, "C"},
        {"CodiceFiscale", 2, 17, P::Sinistra},
        {kModulo, 18, 25, P::Testo, "00000001"},
        {"riservato", 26, 89, P::Spazi},  // fields of 16, 8, 17, 6, 14, 1, 1 and 1 characters
    };
    return v;
}

const std::vector<CampoPosizionale>& recordZ() {
    static const std::vector<CampoPosizionale> v = {
        {"Z", 1, 1, P::Testo, "Z"},       {"riservato", 2, 15, P::Spazi},   {kContatori[0], 16, 24, P::Zeri},
        {kContatori[1], 25, 33, P::Zeri}, {kContatori[2], 34, 42, P::Zeri}, {kContatori[3], 43, 51, P::Zeri},
        {kContatori[4], 52, 60, P::Zeri}, {"riservato", 61, 87, P::Spazi},  {"riservato", 88, 1897, P::Spazi},
    };
    return v;
}

// The head of D, G and H: the certificate row's B01 and ID, the agent's CodiceFiscale, and in D
// the identifiers a substitution or cancellation names.
const std::vector<CampoPosizionale>& testaCertificato() {
    static const std::vector<CampoPosizionale> v = {
        {kTipoRecord, 1, 1, P::Sinistra},
        {"CodiceFiscale", 2, 17, P::Sinistra},
        {kModulo, 18, 25, P::Sinistra},
        {"B01", 26, 41, P::Sinistra, "", 0, Forma::CodiceFiscale},
        {"ID", 42, 46, P::Zeri},
        {kProtocollo, 47, 63, P::ZeriInD},  // zeros in an ordinary supply
        {kProgressivo, 64, 69, P::ZeriInD},
        {"riservato", 70, 83, P::Spazi},
        {"riservato", 84, 84, P::Spazi},
        {"riservato", 85, 88, P::Spazi},
        {"riservato", 89, 89, P::TestoInD, "0"},
    };
    return v;
}

}  // namespace

std::string_view NomeTipo(TipoCampo t) { return kNomiTipi[static_cast<std::size_t>(t)]; }

std::optional<TipoCampo> TipoDaNome(std::string_view nome) {
    for (std::size_t i = 0; i < kTipiDelCodificatore; ++i)
        if (kNomiTipi[i] == nome) return static_cast<TipoCampo>(i);
    return std::nullopt;
}

const std::vector<CampoSezione>& Campi(Sezione s) {
    static const std::vector<CampoSezione> sezioni[] = {
        anagrafica(),        fiscale(kPuntiZefo1), fiscale(kPuntiZefo2), familiari(),
        previdenziale(true), previdenziale(false), autonomi(),           quadroCt(),
    };
    return sezioni[static_cast<std::size_t>(s)];
}

Tabella TabellaDellaSezione(Sezione s, bool professionista) {
    switch (s) {
    case Sezione::Anagrafica: return professionista ? Tabella::Professionisti : Tabella::Zefo1;
    case Sezione::FiscaleZefo1: return Tabella::Zefo1;
    case Sezione::FiscaleZefo2:
    case Sezione::Familiari:
    case Sezione::PrevidenzialePrima: return Tabella::Zefo2;
    case Sezione::PrevidenzialeUlteriore: return Tabella::Zefo3;
    case Sezione::Autonomi: return Tabella::Professionisti;
    case Sezione::QuadroCt: return Tabella::QuadroCt;
    }
    return Tabella::Zefo1;
}

std::string ColonnaDellaSezione(Sezione s, std::string_view colonna) {
    return (TabellaDellaSezione(s) == Tabella::Zefo3 ? "Zefo3." : "") + std::string(colonna);
}

std::optional<TipoCampo> TipoDelCodice(std::string_view codice) {
    static const std::unordered_map<std::string_view, TipoCampo> tipi = [] {
        std::unordered_map<std::string_view, TipoCampo> m;
        for (auto s : kSezioni)
            for (const auto& c : Campi(s)) {
                const bool testo = c.regola == Regola::Percentuale;  // exactly "C" goes as text
                m.emplace(c.codice, testo ? TipoCampo::AN : c.tipo);
                if (!c.codice2.empty()) m.emplace(c.codice2, c.tipo);
            }
        return m;
    }();
    const auto it = tipi.find(codice);
    if (it == tipi.end()) return std::nullopt;
    return it->second;
}

Forma FormaDelCodice(std::string_view codice) {
    static const std::unordered_map<std::string_view, Forma> forme = [] {
        std::unordered_map<std::string_view, Forma> m;
        for (auto s : kSezioni)
            for (const auto& c : Campi(s))
                if (c.forma != Forma::Libera) m.emplace(c.codice, c.forma);
        return m;
    }();
    const auto it = forme.find(codice);
    return it == forme.end() ? Forma::Libera : it->second;
}

const std::string& CodiceDellaColonna(Sezione s, std::string_view colonna) {
    for (const auto& c : Campi(s))
        if (!c.colonne.empty() && c.colonna() == colonna) return c.codice;
    throw std::logic_error("colonna " + std::string(colonna) + " non nella sezione");
}

const std::vector<Sezione>& SezioniDelRecord(char record, int modulo) {
    static const std::vector<Sezione> c = {Sezione::QuadroCt}, d = {Sezione::Anagrafica},
                                      g1 = {Sezione::FiscaleZefo1, Sezione::FiscaleZefo2, Sezione::Familiari,
                                            Sezione::PrevidenzialePrima},
                                      g2 = {Sezione::PrevidenzialeUlteriore}, h = {Sezione::Autonomi}, nessuna;
    switch (record) {
    case 'C': return c;
    case 'D': return d;
    case 'G': return modulo == 2 ? g2 : g1;
    case 'H': return h;
    default: return nessuna;
    }
}

bool CodiceDelRecord(char record, std::string_view codice) {
    // The sections each certificate record carries, in any module, reduced to their codes' first two letters.
    static const std::vector<std::pair<char, std::string>> prefissi = [] {
        std::vector<std::pair<char, std::string>> v;
        for (char r : {'C', 'D', 'G', 'H'})
            for (int modulo : {1, 2})
                for (auto s : SezioniDelRecord(r, modulo))
                    for (const auto& c : Campi(s)) {
                        std::pair<char, std::string> p{r, c.codice.substr(0, 2)};
                        if (std::find(v.begin(), v.end(), p) == v.end()) v.push_back(std::move(p));
                    }
        return v;
    }();
    const std::string_view prefisso = codice.substr(0, 2);
    for (const auto& [r, p] : prefissi)
        if (r == record && p == prefisso) return true;
    return false;
}

const std::vector<CampoPosizionale>& CampiPosizionali(char record) {
    switch (record) {
    case 'A': return recordA();
    case 'B': return recordB();
    case 'C': return recordC();
    case 'Z': return recordZ();
    case 'D': return testaCertificato();
    default: throw std::logic_error(std::string("record senza tracciato posizionale: ") + record);
    }
}

const CampoPosizionale& CampoDi(char record, std::string_view nome) {
    for (const auto& c : CampiPosizionali(record))
        if (nome == c.nome) return c;
    throw std::logic_error("campo " + std::string(nome) + " non nel record " + record);
}

std::string Posizioni(char record, std::string_view primo, std::string_view ultimo) {
    const int da = CampoDi(record, primo).da, a = CampoDi(record, ultimo.empty() ? primo : ultimo).a;
    std::string s(1, record);
    s += ' ' + std::to_string(da);
    if (a != da) s += '-' + std::to_string(a);
    return s;
}

}  // namespace telematic
