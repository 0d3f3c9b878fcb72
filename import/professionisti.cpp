// The professionals' imports: the 770 Semplificato file (two layouts) and the financial
// procedure's export.

#include <array>

#include "import/lettori.h"
#include "import/lettura.h"
#include "import/tabelle.h"
#include "storage/certificati.h"
#include "storage/error.h"
#include "storage/invii.h"

namespace importazione {

namespace {

constexpr std::size_t kOgniRighe = 1024;
constexpr const char* kTipo770 = "770 Semplificato";
constexpr const char* kTipoFinanziaria = "della procedura finanziaria";

bool lettera(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool cifra(char c) { return c >= '0' && c <= '9'; }

std::string colonne(std::size_t da, std::size_t a) {
    return "colonne " + std::to_string(da) + "-" + std::to_string(a);
}

// A 770 line begins with its record type, a letter; an "H" record holds the professional's tax
// code (letters and digits) where the layout puts it, and the codes of its non-positional
// elements (two letters and six digits, or blanks) every 24 columns from the area's start.
void Controlla770(const LettoreRighe& lettore, std::string_view riga, std::size_t cfDa,
                  std::size_t area) {
    if (!lettera(riga.front()))
        ErroreTracciato(lettore, kTipo770,
                        "colonna 1: «" + InUtf8(riga.substr(0, 1)) + "» non è un tipo di record");
    if (riga.front() != 'H') return;
    ControllaTroncata(lettore, riga, "codice fiscale", cfDa, cfDa + 15);
    const std::string_view cf = Pulisci(Colonne(riga, cfDa, cfDa + 15));
    bool buono = !cf.empty();
    for (char c : cf) buono = buono && (lettera(c) || cifra(c) || c == ' ');
    if (!buono)
        ErroreTracciato(lettore, kTipo770,
                        colonne(cfDa, cfDa + 15) +
                            (cf.empty() ? ": manca il codice fiscale del percipiente"
                                        : ": «" + InUtf8(cf) + "» non è un codice fiscale"));
    for (std::size_t da = area; da <= riga.size(); da += 24) {
        ControllaTroncata(lettore, riga, "codice di campo", da, da + 7);
        const std::string_view codice = Colonne(riga, da, da + 7);
        if (Pulisci(codice).empty()) continue;
        bool ok = codice.size() == 8 && lettera(codice[0]) && lettera(codice[1]);
        for (std::size_t k = 2; ok && k < 8; ++k) ok = cifra(codice[k]);
        if (!ok)
            ErroreTracciato(lettore, kTipo770,
                            colonne(da, da + 7) + ": «" + InUtf8(codice) +
                                "» non è il codice di un campo (il tracciato scelto è giusto?)");
    }
}

// The financial procedure always writes the birth date (or 00/00/0000) and the two amounts as
// 00000000,00: a line without those marks comes from another file. Its lines may go on past
// the columns read, so their length says nothing.
void ControllaFinanziaria(const LettoreRighe& lettore, std::string_view riga) {
    static constexpr struct {
        const char* nome;
        std::size_t da, a;
    } kCampi[] = {{"B01", 6, 21},   {"B02", 23, 46},   {"B03", 48, 67},   {"B05", 71, 80},
                  {"B06", 82, 111}, {"B07", 113, 114}, {"E04", 327, 337}, {"E09", 339, 349},
                  {"B44", 435, 444}, {"A10", 446, 451}};
    for (const auto& c : kCampi) ControllaTroncata(lettore, riga, c.nome, c.da, c.a);
    if (Pulisci(Colonne(riga, 6, 21)).empty())
        ErroreTracciato(lettore, kTipoFinanziaria, colonne(6, 21) + ": manca il codice fiscale");
    const std::string_view data = Colonne(riga, 71, 80);
    bool ok = data.size() == 10 && data[2] == '/' && data[5] == '/';
    for (std::size_t k : {0, 1, 3, 4, 6, 7, 8, 9}) ok = ok && cifra(data[k]);
    if (!ok)
        ErroreTracciato(lettore, kTipoFinanziaria,
                        colonne(71, 80) + ": «" + InUtf8(data) +
                            "» invece della data di nascita GG/MM/AAAA (o 00/00/0000)");
}

// After its conversion: an amount of the financial procedure is digits, a comma and two decimals.
void ControllaImportoFinanziaria(const LettoreRighe& lettore, std::string_view campo,
                                 std::size_t da, std::size_t a) {
    const std::string_view t = Pulisci(campo);
    const std::size_t virgola = t.find(',');
    bool ok = virgola != std::string_view::npos && virgola > 0 && t.size() == virgola + 3;
    for (std::size_t k = 0; ok && k < t.size(); ++k) ok = k == virgola || cifra(t[k]);
    if (!ok)
        ErroreTracciato(lettore, kTipoFinanziaria,
                        colonne(da, a) + ": «" + InUtf8(campo) + "» invece di un importo 00000000,00");
}

// A01 to A09 of the employees' certificate with the lowest key: the agent's data as the payroll
// import stored them; empty when there is none.
std::array<std::string, 9> sostitutoDaZefo1(storage::Connection& conn) {
    std::array<std::string, 9> a;
    storage::Statement st(conn,
                          "select A01, A02, A03, A04, A05, A06, A07, A08, A09 from Zefo1 "
                          "order by ID limit 1");
    if (st.step())
        for (int i = 0; i < 9; ++i) a[static_cast<std::size_t>(i)] = std::string(st.text(i));
    return a;
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

// The non-positional area: 24-character elements, code (8) and value (16, trimmed). A value
// beginning with "+" continues what the column holds.
void LeggiCampiAU(NuovaRiga& prof, std::string_view area) {
    for (std::size_t inizio = 0; inizio < area.size(); inizio += 24) {
        const std::string_view elemento = area.substr(inizio, 24);
        const int colonna = colonnaAU(elemento.substr(0, 8));
        if (colonna < 0) continue;
        const std::string_view valore = Pulisci(Colonne(elemento, 9, 24));
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
}

}  // namespace

bool Importa770(storage::Connection& conn, std::istream& in, const std::string& nomeFile,
                int tracciato, const DatiAggiuntivi& dati, storage::Reporter& reporter,
                const Registrazione* reg) {
    if (tracciato != 1 && tracciato != 2) {
        reporter.error("Tracciato del 770 Semplificato sconosciuto: " + std::to_string(tracciato) +
                       " (ammessi 1 e 2).");
        return false;
    }
    const std::size_t cfDa = tracciato == 1 ? 30 : 14;
    const std::size_t area = tracciato == 1 ? 90 : 58;

    LettoreRighe lettore(in, nomeFile);
    storage::Transaction transazione(conn);
    const std::int64_t ultimo = storage::UltimoNumero(conn, storage::Elenco::Professionisti);
    const auto sostituto = sostitutoDaZefo1(conn);
    NuovaRiga prof(conn, "Professionisti", kNomiProfessionisti.data(), kNomiProfessionisti.size());
    std::size_t certificati = 0;
    while (lettore.leggi()) {
        if (lettore.numero() % kOgniRighe == 0 &&
            !reporter.progress(lettore.letti(), lettore.totale()))
            return false;
        const std::string_view riga = lettore.riga();
        if (RigaVuota(riga)) continue;
        Controlla770(lettore, riga, cfDa, area);
        if (riga.front() != 'H') continue;
        prof.pulisci();
        for (int i = 0; i < 9; ++i) prof.imposta(pr::A01 + i, sostituto[static_cast<std::size_t>(i)]);
        prof.imposta(pr::A10, dati.codiceAttivita);
        prof.imposta(pr::A11, dati.codiceSede);
        prof.imposta(pr::E02, "2014");
        prof.daFile(pr::B01, Pulisci(Colonne(riga, cfDa, cfDa + 15)));
        if (riga.size() >= area) LeggiCampiAU(prof, riga.substr(area - 1));
        prof.imposta(pr::B23, prof.valore(pr::B20));
        prof.inserisci();
        ++certificati;
    }
    storage::SegnaModificatiDa(conn, storage::Elenco::Professionisti, ultimo);
    Concludi(conn, transazione, lettore, reporter, certificati, std::nullopt, reg);
    return true;
}

bool ImportaFinanziaria(storage::Connection& conn, std::istream& in, const std::string& nomeFile,
                        bool daCuDipendenti, const DatiAggiuntivi& dati,
                        storage::Reporter& reporter, const Registrazione* reg) {
    LettoreRighe lettore(in, nomeFile);
    storage::Transaction transazione(conn);
    const std::int64_t ultimo = storage::UltimoNumero(conn, storage::Elenco::Professionisti);

    std::array<std::string, 9> sostituto;  // A01 to A09
    if (daCuDipendenti) {
        sostituto = sostitutoDaZefo1(conn);
    } else {
        // "A0n" goes to place n - 1.
        for (auto& [colonna, valore] : storage::ParteADelSostituto(storage::LeggiSostituto(conn)))
            sostituto[static_cast<std::size_t>(colonna[2] - '1')] = std::move(valore);
    }

    NuovaRiga prof(conn, "Professionisti", kNomiProfessionisti.data(), kNomiProfessionisti.size());
    std::size_t certificati = 0;
    auto importo = [&](int colonna, std::size_t da, std::size_t a) {
        const std::string_view campo = Colonne(lettore.riga(), da, a);
        auto v = ConvertiImporto(Pulisci(campo));
        if (!v) ErroreCampo(lettore, prof.nome(colonna), da, a, campo, "un importo");
        ControllaImportoFinanziaria(lettore, campo, da, a);
        return *v;
    };
    auto testo = [&](int colonna, std::size_t da, std::size_t a) {
        prof.daFile(colonna, Pulisci(Colonne(lettore.riga(), da, a)));
    };

    while (lettore.leggi()) {
        if (lettore.numero() % kOgniRighe == 0 &&
            !reporter.progress(lettore.letti(), lettore.totale()))
            return false;
        const std::string_view riga = lettore.riga();
        if (RigaVuota(riga)) continue;
        ControllaFinanziaria(lettore, riga);
        prof.pulisci();
        for (int i = 0; i < 9; ++i) {
            // Not from the certificates: A04 to A07 are not filled.
            if (!daCuDipendenti && i >= 3 && i <= 6) continue;
            prof.imposta(pr::A01 + i, sostituto[static_cast<std::size_t>(i)]);
        }
        if (daCuDipendenti) {
            prof.imposta(pr::A10, "");
            prof.imposta(pr::A11, "");
        }
        testo(pr::B01, 6, 21);
        testo(pr::B02, 23, 46);
        testo(pr::B03, 48, 67);
        testo(pr::B04, 69, 69);
        if (const auto nascita = Pulisci(Colonne(riga, 71, 80)); nascita != "00/00/0000")
            prof.daFile(pr::B05, nascita);
        testo(pr::B06, 82, 111);
        testo(pr::B07, 113, 114);
        for (int c : {pr::B08, pr::B09, pr::B10, pr::B22, pr::B25, pr::B30, pr::B40, pr::B41,
                      pr::B42, pr::B43})
            prof.imposta(c, "");
        testo(pr::B44, 435, 444);
        testo(pr::BFirma, 435, 469);
        if (const auto attivita = Pulisci(Colonne(riga, 446, 451)); !attivita.empty())
            prof.daFile(pr::A10, attivita);
        else
            prof.imposta(pr::A10, dati.codiceAttivita);
        for (int c = pr::E01; c <= pr::E23; ++c) prof.imposta(c, "");
        prof.imposta(pr::E01, "A");
        prof.imposta(pr::E02, "2014");
        const std::string compenso = importo(pr::E04, 327, 337);
        prof.daFile(pr::E04, compenso);
        prof.daFile(pr::E08, compenso);
        prof.daFile(pr::E09, importo(pr::E09, 339, 349));
        prof.inserisci();
        ++certificati;
    }
    storage::SegnaModificatiDa(conn, storage::Elenco::Professionisti, ultimo);
    Concludi(conn, transazione, lettore, reporter, certificati, std::nullopt, reg);
    return true;
}

}  // namespace importazione
