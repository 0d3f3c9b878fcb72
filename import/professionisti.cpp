// The professionals' imports: the 770 Semplificato file (two layouts) and the financial
// procedure's export.

#include <array>

#include "import/lettori.h"
#include "import/lettura.h"
#include "import/tabelle.h"
#include "storage/certificati.h"
#include "storage/error.h"
#include "storage/invii.h"
#include "storage/sostituto.h"

namespace importazione {

namespace {

constexpr const char* kTipo770 = "770 Semplificato";
constexpr const char* kTipoFinanziaria = "della procedura finanziaria";

bool lettera(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool cifra(char c) { return c >= '0' && c <= '9'; }

// An "H" record holds the professional's tax code (letters and digits) where the layout puts
// it: without one the file is of the other layout, or not a 770 at all.
std::string_view CodiceFiscale770(const LettoreRighe& lettore, std::string_view riga, std::size_t cfDa) {
    ControllaTroncata(lettore, riga, "codice fiscale", cfDa, cfDa + 15);
    const std::string_view cf = ControllaTesto(lettore, riga, "codice fiscale", cfDa, cfDa + 15);
    bool buono = !cf.empty();
    for (char c : cf) buono = buono && (lettera(c) || cifra(c) || c == ' ');
    if (!buono)
        ErroreTracciato(
            lettore, kTipo770, "codice fiscale", cfDa, cfDa + 15,
            cf.empty() ? "manca il codice fiscale del percipiente" : "«" + InUtf8(cf) + "» non è un codice fiscale");
    return cf;
}

// 1234,56 or 1.234,56: what the financial procedure writes, with or without leading zeros.
bool importoFinanziaria(std::string_view t) {
    const std::size_t virgola = t.find(',');
    if (virgola == std::string_view::npos || virgola == 0 || t.size() != virgola + 3 || !cifra(t[virgola + 1]) ||
        !cifra(t[virgola + 2]))
        return false;
    const std::string_view intera = t.substr(0, virgola);
    const bool punti = intera.find('.') != std::string_view::npos;
    for (std::size_t k = 0; k < intera.size(); ++k) {
        // With separators the groups are of three digits from the comma back.
        const bool separatore = punti && (intera.size() - k) % 4 == 0;
        if (separatore ? intera[k] != '.' || k == 0 : !cifra(intera[k])) return false;
    }
    return true;
}

// The financial procedure's line: each field's columns, how it is read, and where it goes. The
// fields past the amounts are free to end early: the procedure drops trailing blanks.
enum class Genere { Testo, Data, Importo };
struct CampoFinanziaria {
    int colonna;
    std::size_t da, a;
    Genere genere;
    bool fineLibera;
};
constexpr CampoFinanziaria kFinanziaria[] = {
    {pr::B01, 6, 21, Genere::Testo, false},      {pr::B02, 23, 46, Genere::Testo, false},
    {pr::B03, 48, 67, Genere::Testo, false},     {pr::B04, 69, 69, Genere::Testo, false},
    {pr::B05, 71, 80, Genere::Data, false},      {pr::B06, 82, 111, Genere::Testo, false},
    {pr::B07, 113, 114, Genere::Testo, false},   {pr::E04, 327, 337, Genere::Importo, false},
    {pr::E09, 339, 349, Genere::Importo, false}, {pr::B44, 435, 444, Genere::Testo, true},
    {pr::A10, 446, 451, Genere::Testo, true},    {pr::BFirma, 435, 469, Genere::Testo, true},
};

// One field of the line into its column, refusing a line of another layout: a birth date that
// is not DD/MM/YYYY, 00/00/0000 or blank, an amount that is not digits, a comma and two decimals.
void LeggiCampoFinanziaria(const LettoreRighe& lettore, std::string_view riga, const CampoFinanziaria& c,
                           NuovaRiga& prof) {
    const char* nome = prof.nome(c.colonna);
    if (!c.fineLibera) ControllaTroncata(lettore, riga, nome, c.da, c.a);
    if (c.genere == Genere::Testo) {
        prof.daFile(c.colonna, ControllaTesto(lettore, riga, nome, c.da, c.a));
        return;
    }
    SenzaControllo(lettore, riga, nome, c.da, c.a);
    const std::string_view campo = Colonne(riga, c.da, c.a);
    const std::string_view valore = Rifila(campo);
    if (c.genere == Genere::Data) {
        bool ok = valore.empty() || (valore.size() == 10 && valore[2] == '/' && valore[5] == '/');
        for (std::size_t k : {0, 1, 3, 4, 6, 7, 8, 9}) ok = ok && (valore.empty() || cifra(valore[k]));
        if (!ok)
            ErroreTracciato(lettore, kTipoFinanziaria, nome, c.da, c.a,
                            "«" + InUtf8(campo) + "» invece della data di nascita GG/MM/AAAA (o 00/00/0000)");
        if (valore != "00/00/0000") prof.daFile(c.colonna, valore);
        return;
    }
    const auto v = ConvertiImporto(valore);
    if (!v) ErroreCampo(lettore, nome, c.da, c.a, campo, "un importo");
    if (!valore.empty() && !importoFinanziaria(*v))
        ErroreTracciato(lettore, kTipoFinanziaria, nome, c.da, c.a,
                        "«" + InUtf8(campo) + "» invece di un importo 00000000,00");
    prof.daFile(c.colonna, *v);
}

// The known "AU" codes and their columns.
int colonnaAU(std::string_view codice) {
    if (codice.size() != 8 || codice.substr(0, 6) != "AU0010") return -1;
    const char d = codice[6], u = codice[7];
    if (d < '0' || d > '9' || u < '0' || u > '9') return -1;
    const int numero = (d - '0') * 10 + (u - '0');
    switch (numero) {
    case 2: return pr::B02;
    case 3: return pr::B03;
    case 4: return pr::B04;
    case 5: return pr::B05;
    case 6: return pr::B06;
    case 7: return pr::B07;
    case 8: return pr::B20;
    default: break;
    }
    if (numero >= 19 && numero <= 41) return pr::E01 + (numero - 19);
    return -1;
}

// One element of the non-positional area, found at column da: code (8) and value (16, trimmed).
// A value beginning with "+" continues what the column holds. Unknown codes, blank or any other
// filler included, are passed over.
void LeggiElementoAU(const LettoreRighe& lettore, NuovaRiga& prof, std::string_view elemento, std::size_t da) {
    const std::string_view codice = elemento.substr(0, 8);
    const int colonna = colonnaAU(codice);
    if (colonna < 0) return;
    const std::string_view valore = ControllaTesto(lettore, elemento, prof.nome(colonna), da + 8, da + 23, da);
    if (colonna == pr::B05) {
        // DDMMYYYY to DD/MM/YYYY; a shorter value is kept as it stands.
        if (valore.size() < 8) {
            prof.daFile(colonna, valore);
        } else {
            std::string d;
            d.append(valore.substr(0, 2)).append("/").append(valore.substr(2, 2));
            d.append("/").append(valore.substr(4, 4));
            prof.daFile(colonna, d);
        }
    } else if (!valore.empty() && valore.front() == '+') {
        prof.imposta(colonna, prof.valore(colonna) + InUtf8(valore.substr(1)));
    } else {
        prof.daFile(colonna, valore);
    }
}

// The area from column `area` to the line's end, every 24 characters, read piece by piece: an
// element split between two pieces is joined first. The last element may be shorter, but not
// cut inside its code.
void LeggiCampiAU(LettoreRighe& lettore, NuovaRiga& prof, std::size_t area) {
    std::string dati;         // the area not yet read
    std::size_t base = area;  // dati's first column
    auto aggiungi = [&] {
        const std::string_view pezzo = lettore.riga();
        const std::size_t colonna = lettore.colonna();
        if (colonna + pezzo.size() > area) dati.append(pezzo.substr(std::max(area, colonna) - colonna));
    };
    aggiungi();
    for (;;) {
        std::size_t k = 0;
        for (; k + 24 <= dati.size(); k += 24)
            LeggiElementoAU(lettore, prof, std::string_view(dati).substr(k, 24), base + k);
        dati.erase(0, k);
        base += k;
        if (!lettore.continua()) break;
        aggiungi();
    }
    if (dati.empty()) return;
    ControllaTroncata(lettore, dati, "codice di campo", base, base + 7, base);
    LeggiElementoAU(lettore, prof, dati, base);
}

}  // namespace

bool Importa770(storage::Connection& conn, std::istream& in, const std::string& nomeFile, int tracciato,
                const DatiAggiuntivi& dati, storage::Reporter& reporter, const Registrazione* reg) {
    if (tracciato != 1 && tracciato != 2) {
        reporter.error("Tracciato del 770 Semplificato sconosciuto: " + std::to_string(tracciato) +
                       " (ammessi 1 e 2).");
        return false;
    }
    const std::size_t cfDa = tracciato == 1 ? 30 : 14;
    const std::size_t area = tracciato == 1 ? 90 : 58;

    LettoreRighe lettore(in, nomeFile);
    Corsa corsa(conn, lettore, storage::Elenco::Professionisti, reporter);
    const auto sostituto = storage::ParteADelPrimoCertificato(conn);
    NuovaRiga prof(conn, storage::Tabella::Professionisti, kNomiProfessionisti.data(), kNomiProfessionisti.size());
    std::size_t certificati = 0;
    while (corsa.prossima()) {
        const std::string_view riga = lettore.riga();
        // Every line but an "H" record is passed over: other records, titles.
        if (riga.front() != 'H') continue;
        const std::string_view cf = CodiceFiscale770(lettore, riga, cfDa);
        prof.pulisci();
        for (int i = 0; i < 9; ++i) prof.imposta(pr::A01 + i, sostituto[static_cast<std::size_t>(i)]);
        prof.imposta(pr::A10, dati.codiceAttivita);
        prof.imposta(pr::A11, dati.codiceSede);
        prof.imposta(pr::E02, "2014");
        prof.daFile(pr::B01, cf);
        LeggiCampiAU(lettore, prof, area);
        prof.imposta(pr::B23, prof.valore(pr::B20));
        prof.inserisci();
        ++certificati;
    }
    return corsa.concludi(certificati, std::nullopt, reg);
}

bool ImportaFinanziaria(storage::Connection& conn, std::istream& in, const std::string& nomeFile, bool daCuDipendenti,
                        const DatiAggiuntivi& dati, storage::Reporter& reporter, const Registrazione* reg) {
    LettoreRighe lettore(in, nomeFile);
    Corsa corsa(conn, lettore, storage::Elenco::Professionisti, reporter);
    std::array<std::string, 9> sostituto;  // A01 to A09
    if (daCuDipendenti) {
        sostituto = storage::ParteADelPrimoCertificato(conn);
    } else {
        // "A0n" goes to place n - 1.
        for (auto& [colonna, valore] : storage::ParteADelSostituto(storage::LeggiSostituto(conn)))
            sostituto[static_cast<std::size_t>(colonna[2] - '1')] = std::move(valore);
    }

    NuovaRiga prof(conn, storage::Tabella::Professionisti, kNomiProfessionisti.data(), kNomiProfessionisti.size());
    std::size_t certificati = 0;
    while (corsa.prossima()) {
        const std::string_view riga = lettore.riga();
        prof.pulisci();
        for (int i = 0; i < 9; ++i) {
            // Not from the certificates: A04 to A07 are not filled.
            if (!daCuDipendenti && i >= 3 && i <= 6) continue;
            prof.imposta(pr::A01 + i, sostituto[static_cast<std::size_t>(i)]);
        }
        if (daCuDipendenti) prof.imposta(pr::A11, "");
        for (int c : {pr::B08, pr::B09, pr::B10, pr::B22, pr::B25, pr::B30, pr::B40, pr::B41, pr::B42, pr::B43})
            prof.imposta(c, "");
        for (int c = pr::E01; c <= pr::E23; ++c) prof.imposta(c, "");
        prof.imposta(pr::E01, "A");
        prof.imposta(pr::E02, "2014");
        for (const auto& campo : kFinanziaria) LeggiCampoFinanziaria(lettore, riga, campo, prof);
        prof.imposta(pr::E08, prof.valore(pr::E04));
        if (prof.valore(pr::A10).empty()) prof.imposta(pr::A10, dati.codiceAttivita);
        prof.inserisci();
        ++certificati;
    }
    return corsa.concludi(certificati, std::nullopt, reg);
}

}  // namespace importazione
