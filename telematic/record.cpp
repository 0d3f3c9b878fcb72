#include "telematic/record.h"

#include <algorithm>
#include <array>

#include "storage/cp1252.h"

namespace telematic {

using storage::Row;

namespace {

std::string vuoto(std::size_t n) { return std::string(n, ' '); }

bool spuntato(std::string_view v) { return !Rifila(v).empty(); }

void aggiungi(std::vector<std::string>& campi, std::string elemento) {
    if (!elemento.empty()) campi.push_back(std::move(elemento));
}

}  // namespace

std::string Valore(ContestoRecord& ctx, const Row& riga, std::string_view colonna) {
    return Valore(ctx, riga.text(colonna), colonna);
}

std::string Valore(ContestoRecord& ctx, const std::string& t, std::string_view colonna) {
    if (storage::soloAscii(t)) return t;
    std::size_t persi = 0;
    std::string out = storage::aWindows1252(t, &persi);
    if (persi > 0 && ctx.campi.segnalatore) {
        std::string chi = ctx.CertificatoCorrente.empty()
                              ? std::string("Dati del sostituto")
                              : "Certificato " + ctx.CertificatoCorrente + " (" +
                                    ctx.campi.NominativoCorrente + ")";
        ctx.campi.segnalatore->segnala(chi + ": la colonna " + std::string(colonna) +
                                       " contiene caratteri non rappresentabili in Windows-1252, "
                                       "scritti come \"?\"");
    }
    return out;
}

void ScriviRecord(std::ostream& FileInvio, std::string_view corpo) {
    std::string r = AllineaSinistra(corpo, kCorpoRecord);
    r += "A\r\n";
    FileInvio.write(r.data(), static_cast<std::streamsize>(r.size()));
}

void ScriviRecordA(ContestoRecord& ctx, std::string_view tipoFornitore, const Row& s) {
    std::string r = "A";
    r += vuoto(14);
    r += "CUR15";
    r += AllineaSinistra(tipoFornitore, 2);
    r += AllineaSinistra(Valore(ctx, s, "CodiceFiscale"), 16);
    ScriviRecord(ctx.FileInvio, r);  // positions 39-1897 are blanks
}

void ScriviRecordB(ContestoRecord& ctx, const Row& s) {
    const std::string cf = Valore(ctx, s, "CodiceFiscale");
    std::string r = "B";
    r += AllineaSinistra(cf, 16);
    r += "00000001";
    r += vuoto(65);
    r += spuntato(s.text("Annullamento")) ? '1' : '0';
    r += spuntato(s.text("sostituzione")) ? '1' : '0';
    r += vuoto(44);
    r += AllineaSinistra(Valore(ctx, s, "CognomeDenominazione"), 60);
    r += AllineaSinistra(Valore(ctx, s, "email"), 100);
    r += AllineaSinistra(Valore(ctx, s, "TelefonoPref") + Valore(ctx, s, "telefono"), 12);
    r += vuoto(12);
    r += AllineaSinistra(Valore(ctx, s, "CFRapp"), 16);
    r += RiempiZeri(Valore(ctx, s, "CodCar"), 2);
    r += AllineaSinistra(Valore(ctx, s, "CognomeRapp"), 24);
    r += AllineaSinistra(Valore(ctx, s, "NomeRapp"), 20);
    r += AllineaSinistra(cf, 11);
    r += RiempiZeri(Valore(ctx, s, "A1"), 8);
    r += RiempiZeri(Valore(ctx, s, "A2"), 8);
    r += spuntato(s.text("A3")) ? '1' : '0';
    r += '1';
    const std::string a4 = Valore(ctx, s, "A4");
    if (!a4.empty()) {
        r += AllineaSinistra(a4, 16);
        r += RiempiZeri(Valore(ctx, s, "A8"), 1);
        r += AllineaSinistra(Valore(ctx, s, "A5"), 2);
        r += AllineaSinistra(Valore(ctx, s, "A6"), 2);
        r += AllineaSinistra(Valore(ctx, s, "A7"), 4);
        r += '1';
    } else {
        r += vuoto(16);
        r += "0000000000";
    }
    ScriviRecord(ctx.FileInvio, r);  // positions 438-1897 are blanks
}

void ScriviRecordC(ContestoRecord& ctx, const Row& s, const Row& q) {
    auto& c = ctx.campi;
    std::string r = "C";
    r += AllineaSinistra(Valore(ctx, s, "CodiceFiscale"), 16);
    r += "00000001";
    r += vuoto(64);
    r += CampoNonPosizionale(c, "CT001001", "CF", Valore(ctx, s, "CodiceFiscale"));
    r += CampoNonPosizionale(c, "CT001002", "AN", Valore(ctx, q, "NumCellulare"));
    const std::string email = Valore(ctx, s, "email");
    if (email.size() <= 16) r += CampoNonPosizionale(c, "CT001003", "AN", email);
    r += CampoNonPosizionale(c, "CT002001", "CB", Valore(ctx, q, "B5"));
    r += CampoNonPosizionale(c, "CT002002", "AN", Valore(ctx, q, "B6"));
    r += CampoNonPosizionale(c, "CT003001", "CF", Valore(ctx, q, "B1"));
    r += CampoNonPosizionale(c, "CT003002", "AN", Valore(ctx, q, "B2"));
    r += CampoNonPosizionale(c, "CT003003", "AN", Valore(ctx, q, "B3"));
    r += CampoNonPosizionale(c, "CT003005", "CB", "1");
    ScriviRecord(ctx.FileInvio, r);
}

void ScriviRecordZ(ContestoRecord& ctx, const Contatori& n) {
    std::string r = "Z";
    r += vuoto(14);
    for (long v : {n.ContaB, n.ContaC, n.ContaD, n.ContaG, n.ContaH}) r += RiempiZeri(std::to_string(v), 9);
    ScriviRecord(ctx.FileInvio, r);  // positions 61-1897 are blanks
}

std::string TestaCertificato(char tipo, std::string_view modulo, std::string_view cfSostituto,
                             std::string_view cfPercipiente, std::string_view id) {
    std::string t(1, tipo);
    t += AllineaSinistra(cfSostituto, 16);
    t += modulo;
    t += AllineaSinistra(cfPercipiente, 16);
    t += RiempiZeri(id, 5);
    if (tipo == 'D')
        t += std::string(17, '0') + std::string(6, '0') + vuoto(14) + vuoto(1) + vuoto(4) + "0";
    else
        t += vuoto(43);
    return t;
}

int ScriviRecordCertificato(std::ostream& FileInvio, const std::string& testa,
                            const std::vector<std::string>& campi) {
    int scritti = 0;
    std::string area;
    auto chiudi = [&] {
        ScriviRecord(FileInvio, testa + area);
        area.clear();
        ++scritti;
    };
    for (const auto& campo : campi) {
        if (area.size() + campo.size() <= kAreaNonPosizionale) {
            area += campo;
            continue;
        }
        if (!area.empty()) chiudi();
        if (campo.size() <= kAreaNonPosizionale) {
            area = campo;
            continue;
        }
        // A text too long for a whole record: split between its 24-character elements.
        for (std::size_t i = 0; i < campo.size(); i += 24) {
            std::string_view pezzo = std::string_view(campo).substr(i, 24);
            if (area.size() + pezzo.size() > kAreaNonPosizionale) chiudi();
            area += pezzo;
        }
    }
    if (!area.empty() || scritti == 0) chiudi();
    return scritti;
}


namespace {

// One box of a certificate section, in writing order.
enum class Regola {
    Semplice,   // the column through the encoder with its type
    Lettera,    // family row 2-9: "F", "A" (rows 3-9) or "D" from columns 1, 2, 3
    Percentuale,  // family column 7: exactly "C" goes under B07, anything else under A07
    Mesi,       // twelve month columns as one flag field
    D19,        // "6003" under A19, "6001" under B19, nothing else
    Unione,     // two columns joined into one value
};

struct Voce {
    Regola regola = Regola::Semplice;
    std::vector<std::string> colonne;  // one, or several for Lettera, Mesi, Unione
    std::string codice;                // B07 code for Percentuale
    std::string codice2;               // A07 code for Percentuale
    const char* tipo = "AN";
    bool daZefo2 = false;              // fiscal points 201-409 come from the Zefo2 row
};

std::string tre(int n) {
    std::string s = std::to_string(n);
    return std::string(3 - std::min<std::size_t>(3, s.size()), '0') + s;
}

Voce semplice(std::string colonna, std::string codice, const char* tipo, bool daZefo2 = false) {
    Voce v;
    v.colonne = {std::move(colonna)};
    v.codice = std::move(codice);
    v.tipo = tipo;
    v.daZefo2 = daZefo2;
    return v;
}

const std::vector<Voce>& vociAnagrafiche() {
    static const std::vector<Voce> voci = [] {
        std::vector<Voce> v;
        for (int n = 1; n <= 11; ++n)
            v.push_back(semplice((n < 10 ? "A0" : "A") + std::to_string(n), "DA001" + tre(n), n == 1 ? "CF" : "AN"));
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 21, 22, 23, 24, 25, 30, 40, 41, 42, 43})
            v.push_back(semplice((n < 10 ? "B0" : "B") + std::to_string(n), "DA002" + tre(n),
                                 n == 1 ? "CF" : n == 5 ? "DT" : "AN"));
        v.push_back(semplice("B44", "DA003001", "DT"));
        return v;
    }();
    return voci;
}

void vociPrevidenziali(std::vector<Voce>& v, bool primaSezione) {
    auto mesi = [&](const std::string& prefisso, const std::string& dicembre, std::string codice) {
        Voce m;
        m.regola = Regola::Mesi;
        for (int i = 1; i <= 11; ++i) m.colonne.push_back(prefisso + std::to_string(i));
        m.colonne.push_back(dicembre);
        m.codice = std::move(codice);
        v.push_back(m);
    };
    v.push_back(semplice("D01", "DC001001", "N10"));
    v.push_back(semplice("D02", "DC001002", "CB"));
    v.push_back(semplice("D03", "DC001003", "CB"));
    for (int n = 4; n <= 6; ++n) v.push_back(semplice("D0" + std::to_string(n), "DC001" + tre(n), "VP"));
    v.push_back(semplice("D07", "DC001007", "CB"));
    mesi("D08_", "d08_12", "DC001008");
    for (int n = 9; n <= 12; ++n)
        v.push_back(semplice((n < 10 ? "D0" : "D") + std::to_string(n), "DC001" + tre(n), "VP"));
    v.push_back(semplice("D13", "DC001013", "CB"));
    mesi("D14_", "D14_12", "DC001014");
    v.push_back(semplice("D15", "DC001015", "CN"));
    v.push_back(semplice("D16", "DC001016", "AN"));
    v.push_back(semplice("D17", "DC001017", "AN"));
    v.push_back(semplice("D18", "DC001018", "NP"));
    Voce d19 = semplice("D19", "", "NP");
    d19.regola = Regola::D19;
    v.push_back(d19);
    v.push_back(semplice("D20", "DC001020", "NP"));
    v.push_back(semplice("D21", "DC001021", "NP"));
    v.push_back(semplice("D22", "DC001022", "DA"));
    for (int n = 23; n <= 32; ++n) v.push_back(semplice("D" + std::to_string(n), "DC001" + tre(n), "VN"));
    v.push_back(semplice("D33", "DC001033", "CB"));
    mesi("D34_", "D34_12", "DC001034");
    if (!primaSezione) return;
    v.push_back(semplice("D35", "DC001035", "AN"));
    // The INAIL position and dates travel as numbers right-aligned in 16; dates as DDMM.
    v.push_back(semplice("D36", "DC001036", "NU"));
    for (const char* n : {"7", "8"}) {
        Voce u;
        u.regola = Regola::Unione;
        u.colonne = {std::string("D3") + n + "_1", std::string("D3") + n + "_2"};
        u.codice = std::string("DC00103") + n;
        u.tipo = "NU";
        v.push_back(u);
    }
    v.push_back(semplice("D39", "DC001039", "AN"));
    v.push_back(semplice("D40", "DC001040", "CB"));
}

const char* tipoPunto(int n) {
    switch (n) {
        case 2: case 119: return "N1";
        case 6: case 7: case 115: return "N3";
        case 8: case 9: case 145: return "DT";
        case 10: case 166: case 191: case 204: case 326: return "CB";
        case 71: case 73: case 75: case 77: case 79: case 81: case 141: case 150: return "NP";
        case 116: return "DA";
        case 192: return "AN";
        case 305: return "CF";
        case 408: return "PC";
        default: return "VP";
    }
}

// Everything after the fiscal points of the first G record: family rows, then the section.
const std::vector<Voce>& vociFamigliaEPrevidenza() {
    static const std::vector<Voce> voci = [] {
        std::vector<Voce> v;
        v.push_back(semplice("fam1_1", "DB801001", "CB", true));
        v.push_back(semplice("fam1_4", "DB801004", "CF", true));
        v.push_back(semplice("fam1_5", "DB801005", "N2", true));
        for (int n = 2; n <= 9; ++n) {
            const std::string f = "fam" + std::to_string(n) + "_";
            const std::string db = "DB80" + std::to_string(n);
            Voce l;
            l.regola = Regola::Lettera;
            l.colonne = {f + "1", f + "2", f + "3"};
            l.codice = db + "001";
            l.codice2 = n >= 3 ? "A" : "";  // row 2 has no "other relative" box
            v.push_back(l);
            v.push_back(semplice(f + "4", db + "004", "CF"));
            v.push_back(semplice(f + "5", db + "005", "N2"));
            v.push_back(semplice(f + "6", db + "006", "N2"));
            Voce p;
            p.regola = Regola::Percentuale;
            p.colonne = {f + "7"};
            p.codice = db + "B07";
            p.codice2 = db + "A07";
            v.push_back(p);
            v.push_back(semplice(f + "8", db + "008", "CB"));
        }
        v.push_back(semplice("fam10_1", "DB810001", "PC"));
        vociPrevidenziali(v, true);
        for (auto& x : v) x.daZefo2 = true;
        return v;
    }();
    return voci;
}

const std::vector<Voce>& vociSecondaSezione() {
    static const std::vector<Voce> voci = [] {
        std::vector<Voce> v;
        vociPrevidenziali(v, false);
        return v;
    }();
    return voci;
}

const std::vector<Voce>& vociAutonomi() {
    static const std::vector<Voce> voci = [] {
        std::vector<Voce> v;
        v.push_back(semplice("E01", "AU001001", "AN"));
        v.push_back(semplice("E02", "AU001002", "DA"));
        v.push_back(semplice("E03", "AU001003", "CB"));
        v.push_back(semplice("E04", "AU001004", "VP"));
        v.push_back(semplice("E05", "AU001005", "VP"));
        v.push_back(semplice("E06", "AU001006", "NP"));
        for (int n = 7; n <= 23; ++n)
            v.push_back(semplice((n < 10 ? "E0" : "E") + std::to_string(n), "AU001" + tre(n), "VP"));
        return v;
    }();
    return voci;
}

}  // namespace

// Positions of a list of boxes' columns in one result layout, kept with the layout they
// were resolved for.
struct PosizioniColonne {
    struct Voce {
        const void* elenco;
        std::shared_ptr<const storage::Columns> colonne;
        std::vector<std::vector<int>> indici;
    };
    std::vector<Voce> risolte;
};

namespace {

template <class V>
const std::vector<std::vector<int>>& posizioni(ContestoRecord& ctx, const std::vector<V>& voci,
                                               const Row& riga) {
    if (!ctx.posizioni) ctx.posizioni = std::make_shared<PosizioniColonne>();
    for (const auto& r : ctx.posizioni->risolte)
        if (r.elenco == &voci && r.colonne == riga.columns()) return r.indici;
    PosizioniColonne::Voce nuova{&voci, riga.columns(), {}};
    for (const auto& v : voci) {
        std::vector<int> ix;
        for (const auto& c : v.colonne) ix.push_back(riga.columns() ? riga.columns()->require(c) : -1);
        nuova.indici.push_back(std::move(ix));
    }
    ctx.posizioni->risolte.push_back(std::move(nuova));
    return ctx.posizioni->risolte.back().indici;
}

const std::string kNiente;

const std::string& testoA(const Row& r, int i) {
    return (i < 0 || r.empty()) ? kNiente : r.at(static_cast<std::size_t>(i));
}

// Appends the fields of the boxes to campi, reading each from its row.
void codifica(ContestoRecord& ctx, const std::vector<Voce>& voci, const Row& riga,
              std::vector<std::string>& campi) {
    auto& c = ctx.campi;
    const auto& pos = posizioni(ctx, voci, riga);
    for (std::size_t k = 0; k < voci.size(); ++k) {
        const Voce& v = voci[k];
        const auto& ix = pos[k];
        auto val = [&](std::size_t j) { return Valore(ctx, testoA(riga, ix[j]), v.colonne[j]); };
        switch (v.regola) {
            case Regola::Semplice:
                aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, val(0)));
                break;
            case Regola::Lettera: {
                const char* lettera = nullptr;
                if (spuntato(testoA(riga, ix[0])))
                    lettera = "F";
                else if (!v.codice2.empty() && spuntato(testoA(riga, ix[1])))
                    lettera = "A";
                else if (spuntato(testoA(riga, ix[2])))
                    lettera = "D";
                if (lettera) aggiungi(campi, CampoNonPosizionale(c, v.codice, "AN", lettera));
                break;
            }
            case Regola::Percentuale:
                if (testoA(riga, ix[0]) == "C")  // exact and case-sensitive
                    aggiungi(campi, CampoNonPosizionale(c, v.codice, "AN", "C"));
                else
                    aggiungi(campi, CampoNonPosizionale(c, v.codice2, "PC", val(0)));
                break;
            case Regola::Mesi: {
                std::array<std::string_view, 12> mesi;
                for (std::size_t m = 0; m < 12; ++m) mesi[m] = testoA(riga, ix[m]);
                aggiungi(campi, CampoMesi(v.codice, mesi));
                break;
            }
            case Regola::D19: {
                const std::string& d19 = testoA(riga, ix[0]);  // compared exactly, untrimmed
                if (d19 == "6003")
                    aggiungi(campi, CampoNonPosizionale(c, "DC001A19", "NP", val(0)));
                else if (d19 == "6001")
                    aggiungi(campi, CampoNonPosizionale(c, "DC001B19", "NP", val(0)));
                break;
            }
            case Regola::Unione:
                aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, val(0) + val(1)));
                break;
        }
    }
}

std::string testaDa(ContestoRecord& ctx, char tipo, std::string_view modulo, const Row& sostituto,
                    const Row& certificato) {
    return TestaCertificato(tipo, modulo, Valore(ctx, sostituto, "CodiceFiscale"),
                            Valore(ctx, certificato, "B01"), certificato.text("ID"));
}

const std::vector<Voce>& vociFiscali(bool daZefo2) {
    static const auto costruisci = [](bool z2) {
        std::vector<Voce> v;
        for (const auto& p : PuntiFiscali())
            if (p.daZefo2 == z2)
                v.push_back(semplice((p.numero <= 10 ? "C" : "c") + tre(p.numero), "DB001" + tre(p.numero),
                                     p.tipo, z2));
        return v;
    };
    static const std::vector<Voce> zefo1 = costruisci(false), zefo2 = costruisci(true);
    return daZefo2 ? zefo2 : zefo1;
}

}  // namespace

const std::vector<PuntoFiscale>& PuntiFiscali() {
    static const std::vector<PuntoFiscale> punti = [] {
        const int zefo1[] = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  16,  17,
                             19,  20,  21,  23,  24,  31,  32,  33,  34,  35,  36,  37,  38,  51,
                             52,  53,  54,  55,  56,  57,  58,  61,  62,  63,  64,  65,  66,  67,
                             68,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,  82,  101,
                             102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115,
                             116, 117, 118, 119, 120, 121, 141, 142, 143, 144, 145, 146, 147, 148,
                             149, 150, 151, 152, 153, 161, 162, 163, 164, 166, 171, 172, 173, 174,
                             175, 184, 186, 191, 192};
        const int zefo2[] = {201, 202, 203, 204, 205, 221, 222, 223, 241, 242, 243, 244, 245,
                             246, 261, 262, 263, 264, 301, 302, 303, 304, 305, 308, 309, 310,
                             311, 312, 313, 314, 315, 316, 317, 323, 324, 326, 327, 328, 329,
                             330, 331, 401, 402, 403, 404, 405, 406, 407, 408, 409};
        std::vector<PuntoFiscale> v;
        for (int n : zefo1) v.push_back({n, tipoPunto(n), false});
        for (int n : zefo2) v.push_back({n, tipoPunto(n), true});
        return v;
    }();
    return punti;
}

int ScriviRecordD(ContestoRecord& ctx, const Row& sostituto, const Row& cert) {
    std::vector<std::string> campi;
    campi.reserve(40);
    codifica(ctx, vociAnagrafiche(), cert, campi);
    aggiungi(campi, CampoNonPosizionale(ctx.campi, "DA003002", "CB", "1"));
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'D', "00000001", sostituto, cert), campi);
}

int ScriviRecordG(ContestoRecord& ctx, const Row& sostituto, const Row& z1, const Row& z2) {
    auto& c = ctx.campi;
    // The start-date check comes first, so its line precedes the encoder's reports.
    if ((!z1.text("C001").empty() || !z1.text("C004").empty()) && z1.text("C008").empty() && c.segnalatore)
        c.segnalatore->segnala(c.NominativoCorrente +
                               ": La data di inizio lavoro è obbligatoria se prensenti i campi "
                               "DB001001 o DB001004\r");
    const std::string testa = testaDa(ctx, 'G', "00000001", sostituto, z1);
    std::vector<std::string> campi;
    campi.reserve(80);
    const auto& fiscali = vociFiscali(false);
    // Point 1, then the point-002 check, then every other point of Zefo1.
    const auto& pos = posizioni(ctx, fiscali, z1);
    for (std::size_t k = 0; k < fiscali.size(); ++k) {
        const Voce& v = fiscali[k];
        if (k == 1) {
            const std::string& c002 = z1.text("C002");
            if (c002 != "1" && c002 != "2" && c.segnalatore)
                c.segnalatore->segnala(z1.text("B01") + ": Campo DB001002 non in (1,2)");
        }
        aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo,
                                            Valore(ctx, testoA(z1, pos[k][0]), v.colonne[0])));
    }
    codifica(ctx, vociFiscali(true), z2, campi);
    codifica(ctx, vociFamigliaEPrevidenza(), z2, campi);
    return ScriviRecordCertificato(ctx.FileInvio, testa, campi);
}

int ScriviRecordG2(ContestoRecord& ctx, const Row& sostituto, const Row& z1, const Row& z3) {
    std::vector<std::string> campi;
    codifica(ctx, vociSecondaSezione(), z3, campi);
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'G', "00000002", sostituto, z1), campi);
}

int ScriviRecordH(ContestoRecord& ctx, const Row& sostituto, const Row& p) {
    std::vector<std::string> campi;
    codifica(ctx, vociAutonomi(), p, campi);
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'H', "00000001", sostituto, p), campi);
}

const std::vector<CampoAnagrafico>& CampiAnagrafici() {
    static const std::vector<CampoAnagrafico> campi = [] {
        std::vector<CampoAnagrafico> c;
        for (const auto& v : vociAnagrafiche()) c.push_back({v.colonne[0].c_str(), v.codice.c_str(), v.tipo});
        return c;
    }();
    return campi;
}

}  // namespace telematic
