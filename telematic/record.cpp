#include "telematic/record.h"

#include <cstdio>

#include "storage/cp1252.h"

namespace telematic {

using storage::Row;

namespace {

std::string vuoto(std::size_t n) { return std::string(n, ' '); }

bool spuntato(std::string_view v) { return !Rifila(v).empty(); }

std::string nomeColonna(const char* prefisso, int numero) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s%03d", prefisso, numero);
    return buf;
}

std::string codiceCampo(const char* prefisso, int numero) { return nomeColonna(prefisso, numero); }

void aggiungi(std::vector<std::string>& campi, std::string elemento) {
    if (!elemento.empty()) campi.push_back(std::move(elemento));
}

}  // namespace

std::string Valore(ContestoRecord& ctx, const Row& riga, std::string_view colonna) {
    const std::string& t = riga.text(colonna);
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

std::string testaDa(ContestoRecord& ctx, char tipo, std::string_view modulo, const Row& sostituto,
                    const Row& certificato) {
    return TestaCertificato(tipo, modulo, Valore(ctx, sostituto, "CodiceFiscale"),
                            Valore(ctx, certificato, "B01"), certificato.text("ID"));
}

struct CampoAnagrafico {
    const char* colonna;
    const char* codice;
    const char* tipo;
};

const CampoAnagrafico kAnagrafici[] = {
    {"A01", "DA001001", "CF"}, {"A02", "DA001002", "AN"}, {"A03", "DA001003", "AN"},
    {"A04", "DA001004", "AN"}, {"A05", "DA001005", "AN"}, {"A06", "DA001006", "AN"},
    {"A07", "DA001007", "AN"}, {"A08", "DA001008", "AN"}, {"A09", "DA001009", "AN"},
    {"A10", "DA001010", "AN"}, {"A11", "DA001011", "AN"}, {"B01", "DA002001", "CF"},
    {"B02", "DA002002", "AN"}, {"B03", "DA002003", "AN"}, {"B04", "DA002004", "AN"},
    {"B05", "DA002005", "DT"}, {"B06", "DA002006", "AN"}, {"B07", "DA002007", "AN"},
    {"B08", "DA002008", "AN"}, {"B09", "DA002009", "AN"}, {"B10", "DA002010", "AN"},
    {"B20", "DA002020", "AN"}, {"B21", "DA002021", "AN"}, {"B22", "DA002022", "AN"},
    {"B23", "DA002023", "AN"}, {"B24", "DA002024", "AN"}, {"B25", "DA002025", "AN"},
    {"B30", "DA002030", "AN"}, {"B40", "DA002040", "AN"}, {"B41", "DA002041", "AN"},
    {"B42", "DA002042", "AN"}, {"B43", "DA002043", "AN"}, {"B44", "DA003001", "DT"},
};

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

// The social-security fields of one section; the first section also has D35 to D40.
void campiPrevidenziali(ContestoRecord& ctx, const Row& r, bool primaSezione,
                        std::vector<std::string>& campi) {
    auto& c = ctx.campi;
    auto campo = [&](const char* colonna, const char* codice, const char* tipo) {
        aggiungi(campi, CampoNonPosizionale(c, codice, tipo, Valore(ctx, r, colonna)));
    };
    auto mesi = [&](const char* prefisso, const char* dicembre, const char* codice) {
        std::array<std::string, 12> valori;
        for (int m = 1; m <= 12; ++m)
            valori[m - 1] = r.text(m == 12 && dicembre ? std::string(dicembre)
                                                       : std::string(prefisso) + std::to_string(m));
        std::array<std::string_view, 12> viste;
        for (int m = 0; m < 12; ++m) viste[m] = valori[m];
        aggiungi(campi, CampoMesi(codice, viste));
    };
    campo("D01", "DC001001", "N10");
    campo("D02", "DC001002", "CB");
    campo("D03", "DC001003", "CB");
    campo("D04", "DC001004", "VP");
    campo("D05", "DC001005", "VP");
    campo("D06", "DC001006", "VP");
    campo("D07", "DC001007", "CB");
    mesi("D08_", "d08_12", "DC001008");
    campo("D09", "DC001009", "VP");
    campo("D10", "DC001010", "VP");
    campo("D11", "DC001011", "VP");
    campo("D12", "DC001012", "VP");
    campo("D13", "DC001013", "CB");
    mesi("D14_", nullptr, "DC001014");
    campo("D15", "DC001015", "CN");
    campo("D16", "DC001016", "AN");
    campo("D17", "DC001017", "AN");
    campo("D18", "DC001018", "NP");
    const std::string& d19 = r.text("D19");  // compared exactly, untrimmed
    if (d19 == "6003")
        campo("D19", "DC001A19", "NP");
    else if (d19 == "6001")
        campo("D19", "DC001B19", "NP");
    campo("D20", "DC001020", "NP");
    campo("D21", "DC001021", "NP");
    campo("D22", "DC001022", "DA");
    for (int n = 23; n <= 32; ++n) {
        const std::string colonna = "D" + std::to_string(n);
        campo(colonna.c_str(), codiceCampo("DC001", n).c_str(), "VN");
    }
    campo("D33", "DC001033", "CB");
    mesi("D34_", nullptr, "DC001034");
    if (!primaSezione) return;
    campo("D35", "DC001035", "AN");
    // The INAIL position and dates travel as numbers right-aligned in 16; dates as DDMM.
    campo("D36", "DC001036", "NU");
    aggiungi(campi, CampoNonPosizionale(c, "DC001037", "NU", Valore(ctx, r, "D37_1") + Valore(ctx, r, "D37_2")));
    aggiungi(campi, CampoNonPosizionale(c, "DC001038", "NU", Valore(ctx, r, "D38_1") + Valore(ctx, r, "D38_2")));
    campo("D39", "DC001039", "AN");
    campo("D40", "DC001040", "CB");
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
    for (const auto& a : kAnagrafici)
        aggiungi(campi, CampoNonPosizionale(ctx.campi, a.codice, a.tipo, Valore(ctx, cert, a.colonna)));
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
    for (const auto& p : PuntiFiscali()) {
        if (p.numero == 2) {
            const std::string& c002 = z1.text("C002");
            if (c002 != "1" && c002 != "2" && c.segnalatore)
                c.segnalatore->segnala(z1.text("B01") + ": Campo DB001002 non in (1,2)");
        }
        const std::string colonna = nomeColonna(p.numero <= 10 ? "C" : "c", p.numero);
        aggiungi(campi, CampoNonPosizionale(c, codiceCampo("DB001", p.numero), p.tipo,
                                            Valore(ctx, p.daZefo2 ? z2 : z1, colonna)));
    }
    // Family members: row 1 the spouse, rows 2 to 9 children and other relatives, row 10.
    aggiungi(campi, CampoNonPosizionale(c, "DB801001", "CB", Valore(ctx, z2, "fam1_1")));
    aggiungi(campi, CampoNonPosizionale(c, "DB801004", "CF", Valore(ctx, z2, "fam1_4")));
    aggiungi(campi, CampoNonPosizionale(c, "DB801005", "N2", Valore(ctx, z2, "fam1_5")));
    for (int n = 2; n <= 9; ++n) {
        const std::string f = "fam" + std::to_string(n) + "_";
        const std::string db = "DB80" + std::to_string(n);
        const char* lettera = nullptr;
        if (spuntato(z2.text(f + "1")))
            lettera = "F";
        else if (n >= 3 && spuntato(z2.text(f + "2")))
            lettera = "A";
        else if (spuntato(z2.text(f + "3")))
            lettera = "D";
        if (lettera) aggiungi(campi, CampoNonPosizionale(c, db + "001", "AN", lettera));
        aggiungi(campi, CampoNonPosizionale(c, db + "004", "CF", Valore(ctx, z2, f + "4")));
        aggiungi(campi, CampoNonPosizionale(c, db + "005", "N2", Valore(ctx, z2, f + "5")));
        aggiungi(campi, CampoNonPosizionale(c, db + "006", "N2", Valore(ctx, z2, f + "6")));
        const std::string& f7 = z2.text(f + "7");
        if (f7 == "C")
            aggiungi(campi, CampoNonPosizionale(c, db + "B07", "AN", "C"));
        else
            aggiungi(campi, CampoNonPosizionale(c, db + "A07", "PC", Valore(ctx, z2, f + "7")));
        aggiungi(campi, CampoNonPosizionale(c, db + "008", "CB", Valore(ctx, z2, f + "8")));
    }
    aggiungi(campi, CampoNonPosizionale(c, "DB810001", "PC", Valore(ctx, z2, "fam10_1")));
    campiPrevidenziali(ctx, z2, true, campi);
    return ScriviRecordCertificato(ctx.FileInvio, testa, campi);
}

int ScriviRecordG2(ContestoRecord& ctx, const Row& sostituto, const Row& z1, const Row& z3) {
    std::vector<std::string> campi;
    campiPrevidenziali(ctx, z3, false, campi);
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'G', "00000002", sostituto, z1), campi);
}

int ScriviRecordH(ContestoRecord& ctx, const Row& sostituto, const Row& p) {
    auto& c = ctx.campi;
    std::vector<std::string> campi;
    aggiungi(campi, CampoNonPosizionale(c, "AU001001", "AN", Valore(ctx, p, "E01")));
    aggiungi(campi, CampoNonPosizionale(c, "AU001002", "DA", Valore(ctx, p, "E02")));
    aggiungi(campi, CampoNonPosizionale(c, "AU001003", "CB", Valore(ctx, p, "E03")));
    aggiungi(campi, CampoNonPosizionale(c, "AU001004", "VP", Valore(ctx, p, "E04")));
    aggiungi(campi, CampoNonPosizionale(c, "AU001005", "VP", Valore(ctx, p, "E05")));
    aggiungi(campi, CampoNonPosizionale(c, "AU001006", "NP", Valore(ctx, p, "E06")));
    for (int n = 7; n <= 23; ++n) {
        char col[8];
        std::snprintf(col, sizeof col, "E%02d", n);
        aggiungi(campi, CampoNonPosizionale(c, codiceCampo("AU001", n), "VP", Valore(ctx, p, col)));
    }
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'H', "00000001", sostituto, p), campi);
}

}  // namespace telematic
