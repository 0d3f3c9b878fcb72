// Every column of every import layout holds a value of its own and each must land in its own
// column of the archive; every other column of the row must stay empty. The columns a reader
// does not read hold "#", so a field read one column too early, too late, too short or too long
// picks up a neighbour's character and fails, and so does a field stored in the wrong column.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>

#include "import/importazione.h"
#include "prova_import.h"
#include "storage/sistema.h"

namespace {

namespace fs = std::filesystem;
using Tracciato = storage::Tipo;
using Attesi = std::map<std::string, std::string>;  // "tabella.colonna" (lower case) -> text

// How a field of a line is stored.
enum class Tipo {
    Testo,      // trimmed text
    Importo,    // "0000000,00" amount: stored as 1.234,56
    Codice,     // converted code: stored as the amount conversion gives it
    Data,       // DD/MM/YYYY, stored as read
    Conteggio,  // three digits, stored without leading zeros
    Flag,       // C002: "2" when the column holds "2"
    Grezzo,     // stored untrimmed (family entries)
};

// Which payroll readers store a field.
enum : unsigned { DIP = 1, AMM = 2, COC = 4, ALTRO = 8, TUTTI = DIP | AMM | COC | ALTRO };

struct Campo {
    std::size_t da, a;  // columns of the line, 1-based, inclusive
    Tipo tipo;
    std::string dove;  // "Tabella.colonna"; "Tabella.-" for columns no reader stores
    unsigned lettori = TUTTI;
    const char* valore = nullptr;  // the value in the line; generated when null
};

std::string minuscolo(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The k-th field's value, as wide as the field, first and last character not blank, and what
// the archive must hold for it.
std::pair<std::string, std::string> valore(const Campo& c, int k) {
    const std::size_t w = c.a - c.da + 1;
    if (c.valore) {
        std::string v = c.valore;
        EXPECT_EQ(v.size(), w) << c.dove;
        return {v, v};
    }
    const std::string n = std::to_string(100 + k);  // three digits, one per field
    switch (c.tipo) {
    case Tipo::Importo: {
        // "0" + six digits, comma, two decimals: 0123456,78 is stored as 123.456,78.
        const std::string intero = "1" + std::string(2, n[1]) + n;
        const std::string dec = n.substr(1);
        return {"0" + intero + "," + dec, intero.substr(0, 3) + "." + intero.substr(3) + "," + dec};
    }
    case Tipo::Data: {
        const std::string g = std::to_string(10 + k % 18);
        return {g + "/0" + std::to_string(1 + k % 9) + "/2014", g + "/0" + std::to_string(1 + k % 9) + "/2014"};
    }
    case Tipo::Conteggio: return {"0" + n.substr(1), std::to_string(std::stoi(n.substr(1)))};
    default: break;
    }
    std::string v;
    if (w == 1) {
        v = std::string(1, static_cast<char>('A' + k % 26));
    } else {
        v = static_cast<char>('A' + k % 26) + n;
        while (v.size() < w) v += static_cast<char>('a' + v.size() % 26);
        v.resize(w);
        v.back() = 'Z';
    }
    return {v, v};
}

// Writes the fields into a line whose other columns hold "#"; returns what each reader stores.
struct Costruita {
    std::string riga;
    std::map<unsigned, Attesi> perLettore;  // for a payroll reader bit; 0 for the others
};

Costruita costruisci(std::size_t lunghezza, const std::vector<Campo>& campi, int primo = 0) {
    Costruita out{std::string(lunghezza, '#'), {}};
    int k = primo;
    for (const Campo& c : campi) {
        const auto [scritto, atteso] = valore(c, k++);
        out.riga.replace(c.da - 1, scritto.size(), scritto);
        for (unsigned l : {0u, unsigned(DIP), unsigned(AMM), unsigned(COC), unsigned(ALTRO)})
            if (l == 0 || (c.lettori & l)) out.perLettore[l][minuscolo(c.dove)] = atteso;
    }
    return out;
}

// The certificate line of the payroll export: every field of every reader.
const std::vector<Campo>& certificato() {
    using T = Tipo;
    static const std::vector<Campo> c = {
        {1, 16, T::Testo, "Zefo1.A01"},
        {18, 57, T::Testo, "Zefo1.A02"},
        {59, 88, T::Testo, "Zefo1.A04"},
        {90, 91, T::Testo, "Zefo1.A05"},
        {93, 97, T::Testo, "Zefo1.A06"},
        {99, 128, T::Testo, "Zefo1.A07"},
        {130, 142, T::Testo, "Zefo1.A08"},
        {156, 211, T::Testo, "Zefo1.A09"},
        {221, 224, T::Testo, "Zefo2.MatrDip"},
        {226, 241, T::Testo, "Zefo1.B01", TUTTI, "RSSMRA71C12H501Z"},
        {243, 262, T::Testo, "Zefo1.B02"},
        {264, 283, T::Testo, "Zefo1.B03"},
        {285, 285, T::Testo, "Zefo1.B04", TUTTI, "F"},
        {287, 296, T::Testo, "Zefo1.B05", TUTTI, "12/03/1971"},
        {298, 327, T::Testo, "Zefo1.B06"},
        {329, 330, T::Testo, "Zefo1.B07"},
        {345, 374, T::Testo, "Zefo1.B20"},
        {376, 377, T::Testo, "Zefo1.B21"},
        {379, 382, T::Testo, "Zefo1.B22"},
        {384, 413, T::Testo, "Zefo1.B23"},
        {415, 416, T::Testo, "Zefo1.B24"},
        {418, 421, T::Testo, "Zefo1.B25"},
        {462, 471, T::Importo, "Zefo1.C001", DIP | ALTRO},
        {473, 482, T::Importo, "Zefo1.C004", DIP | AMM | ALTRO},
        {484, 486, T::Conteggio, "Zefo1.C006", DIP | ALTRO},
        {492, 501, T::Importo, "Zefo1.c011", DIP | AMM | ALTRO},
        {503, 512, T::Importo, "Zefo1.c012", DIP | AMM | ALTRO},
        {514, 523, T::Importo, "Zefo1.c016", DIP | ALTRO},
        {525, 534, T::Importo, "Zefo1.c017", DIP | ALTRO},
        {536, 545, T::Importo, "Zefo1.c019", DIP | ALTRO},
        {547, 556, T::Importo, "Zefo1.c031", DIP | ALTRO},
        {558, 567, T::Importo, "Zefo1.c032", DIP | ALTRO},
        {569, 578, T::Importo, "Zefo1.c033", DIP | ALTRO},
        {679, 688, T::Importo, "Zefo1.c101", DIP | AMM | ALTRO},
        {690, 699, T::Importo, "Zefo1.c102", DIP | ALTRO},
        {745, 754, T::Importo, "Zefo1.c107", DIP | ALTRO},
        {811, 820, T::Importo, "Zefo1.c113", DIP | ALTRO},
        {1094, 1103, T::Importo, "Zefo2.c261", DIP | ALTRO},
        {1116, 1125, T::Importo, "Zefo2.c263", DIP | ALTRO},
        {1281, 1294, T::Codice, "Zefo2.D01", ALTRO, "98765432109876"},
        {1296, 1296, T::Codice, "Zefo2.D02", ALTRO, "4"},
        {1300, 1309, T::Importo, "Zefo2.D04", ALTRO},
        {1317, 1326, T::Importo, "Zefo2.D06", ALTRO},
        {1328, 1328, T::Codice, "Zefo2.D07", ALTRO, "5"},
        {1354, 1363, T::Importo, "Zefo2.D09", COC},
        {1365, 1374, T::Importo, "Zefo2.D10", COC},
        {1376, 1385, T::Importo, "Zefo2.D11", COC},
        {1387, 1396, T::Importo, "Zefo2.D12", COC},
        {1424, 1439, T::Testo, "Zefo2.D15", DIP | ALTRO},
        {1455, 1455, T::Testo, "Zefo2.D18", DIP | ALTRO},
        {1457, 1460, T::Testo, "Zefo2.D19", DIP | ALTRO},
        {1462, 1462, T::Testo, "Zefo2.D20", DIP | ALTRO},
        {1466, 1469, T::Testo, "Zefo2.D22", DIP | ALTRO},
        {1471, 1480, T::Importo, "Zefo2.D23", DIP | ALTRO},
        {1482, 1491, T::Importo, "Zefo2.D24", DIP | ALTRO},
        {1493, 1502, T::Importo, "Zefo2.D25", DIP | ALTRO},
        {1504, 1513, T::Importo, "Zefo2.D26", DIP | ALTRO},
        {1515, 1524, T::Importo, "Zefo2.D27", DIP | ALTRO},
        {1526, 1535, T::Importo, "Zefo2.D28", DIP | ALTRO},
        {1537, 1546, T::Importo, "Zefo2.D29", DIP | ALTRO},
        {1548, 1557, T::Importo, "Zefo2.D30", DIP | ALTRO},
        {2201, 2210, T::Testo, "Zefo1.B44", TUTTI, "31/03/2015"},
        {2212, 2256, T::Testo, "Zefo1.BFirma"},
        {2258, 2258, T::Flag, "Zefo1.C002", DIP | ALTRO, "2"},
        {2260, 2260, T::Codice, "Zefo1.c119", DIP | ALTRO, "7"},
        {2262, 2271, T::Importo, "Zefo1.c120", DIP | ALTRO},
        {2273, 2282, T::Importo, "Zefo1.c121", DIP | ALTRO},
        {2284, 2293, T::Data, "Zefo1.C008"},
        {2295, 2304, T::Data, "Zefo1.C009"},
    };
    return c;
}

// The family block from column 1758: a spouse, a first child and seven further members fill
// rows 1 to 9 (item 1 of each becomes "X"); the entry after them ("####") ends the walk. A
// spouse's percentage is not read.
std::vector<Campo> famiglia() {
    static const char* kTipi[] = {"C   ", "F1  ", "F   ", "S   ", "F   ", "S   ", "F   ", "S   ", "F   "};
    std::vector<Campo> c = {{1750, 1757, Tipo::Grezzo, "Zefo2.-", DIP | ALTRO, "Nota BO:"}};
    for (std::size_t r = 1; r <= 9; ++r) {
        const std::size_t inizio = 1758 + 33 * (r - 1);
        const std::string fam = "Zefo2.fam" + std::to_string(r) + "_";
        c.push_back({inizio, inizio + 3, Tipo::Grezzo, "Zefo2.-", DIP | ALTRO, kTipi[r - 1]});
        c.push_back({inizio + 4, inizio + 19, Tipo::Grezzo, fam + "4", DIP | ALTRO});
        c.push_back({inizio + 21, inizio + 22, Tipo::Grezzo, fam + "5", DIP | ALTRO});
        c.push_back({inizio + 24, inizio + 29, Tipo::Grezzo, r == 1 ? "Zefo2.-" : fam + "7", DIP | ALTRO});
    }
    return c;
}

// A continuation line: one further social-security section.
const std::vector<Campo>& continuazione() {
    using T = Tipo;
    static const std::vector<Campo> c = {
        {1, 4, T::Grezzo, "Zefo3.-", DIP, "||||"},
        {10, 13, T::Testo, "Zefo3.matricola", DIP},
        {15, 30, T::Testo, "Zefo3.Cf", DIP, "BNCLCU80A01F205Y"},
        {167, 182, T::Testo, "Zefo3.D15", DIP},
        {198, 198, T::Codice, "Zefo3.D18", DIP, "3"},
        {200, 203, T::Codice, "Zefo3.D19", DIP, "2014"},
        {205, 205, T::Codice, "Zefo3.D20", DIP, "6"},
        {209, 212, T::Codice, "Zefo3.D22", DIP, "0125"},
        {214, 223, T::Importo, "Zefo3.D23", DIP},
        {225, 234, T::Importo, "Zefo3.D24", DIP},
        {236, 245, T::Importo, "Zefo3.D25", DIP},
        {247, 256, T::Importo, "Zefo3.D26", DIP},
        {258, 267, T::Importo, "Zefo3.D27", DIP},
        {269, 278, T::Importo, "Zefo3.D28", DIP},
        {280, 289, T::Importo, "Zefo3.D29", DIP},
        {291, 300, T::Importo, "Zefo3.D30", DIP},
    };
    return c;
}

class Tracciati : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("palio_tracciati_" + std::to_string(storage::sistema::idProcesso()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string scrivi(const std::string& nome, const std::vector<std::string>& righe) {
        std::ofstream((dir / nome).string(), std::ios::binary) << prova::file(righe);
        return (dir / nome).string();
    }

    // Every row of the table, every column but the key, null and "" alike.
    std::vector<Attesi> righe(const std::string& tabella, const std::string& chiave) {
        storage::Statement st(a.conn, "select * from " + tabella + " order by " + chiave);
        std::vector<Attesi> out;
        while (st.step()) {
            Attesi r;
            for (int i = 0; i < st.columnCount(); ++i)
                if (minuscolo(st.columnName(i)) != minuscolo(chiave))
                    r[minuscolo(tabella + "." + st.columnName(i))] = std::string(st.text(i));
            out.push_back(std::move(r));
        }
        return out;
    }

    // The row holds exactly the expected values of its table, and nothing in any other column.
    static void confronta(const Attesi& riga, const Attesi& attesi, const std::string& tabella) {
        const std::string prefisso = minuscolo(tabella) + ".";
        for (const auto& [colonna, v] : attesi) {
            if (colonna.rfind(prefisso, 0) == 0 && colonna.find(".-") == std::string::npos) {
                EXPECT_TRUE(riga.count(colonna)) << "colonna inesistente " << colonna;
            }
        }
        for (const auto& [colonna, v] : riga) {
            auto it = attesi.find(colonna);
            EXPECT_EQ(v, it == attesi.end() ? std::string() : it->second) << colonna;
        }
    }

    prova::Archivio a;
    prova::Reporter r;
    importazione::DatiAggiuntivi dati{"ATT001", "SEDE9", "MATRAZ0001"};
    fs::path dir;
};

TEST_F(Tracciati, PagheOgniColonnaNelSuoPosto) {
    std::vector<Campo> campi = certificato();
    const auto fam = famiglia();
    campi.insert(campi.end(), fam.begin(), fam.end());
    const Costruita riga = costruisci(2304, campi);
    const Costruita cont = costruisci(300, continuazione(), 500);

    struct Caso {
        const char* nome;
        unsigned lettore;
        Tracciato tracciato;
        Attesi costanti;  // what the reader stores besides the line's fields
    } casi[] = {
        {"dipendenti", DIP, Tracciato::DIP, {{"zefo2.tipo", "DIP"}, {"zefo2.d01", "MATRAZ0001"}, {"zefo2.d33", "X"}}},
        {"amministratori",
         AMM,
         Tracciato::AMM,
         {{"zefo2.tipo", "AMM"}, {"zefo2.d01", "MATRAZ0001"}, {"zefo1.c002", "2"}, {"zefo1.c119", "2"}}},
        {"collaboratori",
         COC,
         Tracciato::CoC,
         {{"zefo2.tipo", "CoC"}, {"zefo2.d01", "MATRAZ0001"}, {"zefo1.c002", "2"}, {"zefo2.d13", "X"}}},
        {"altro", ALTRO, Tracciato::DIP, {{"zefo2.tipo", "DIP"}, {"zefo2.d33", "X"}}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        // The same file for every reader: forget the earlier runs, or it would ask to import again.
        a.conn.exec(
            "delete from Zefo1; delete from Zefo2; delete from Zefo3; "
            "delete from sqlite_sequence; delete from Importazioni");
        const std::string f = scrivi("zefo.43", c.lettore == DIP ? std::vector<std::string>{riga.riga, cont.riga}
                                                                 : std::vector<std::string>{riga.riga});
        r.infos.clear();
        const bool ok = c.lettore == ALTRO ? importazione::ImportaAltro(a.conn, f, false, dati, r)
                                           : importazione::ImportaPaghe(a.conn, f, c.tracciato, false, dati, r);
        ASSERT_TRUE(ok);
        EXPECT_EQ(r.infos,
                  std::vector<std::string>{"Operazione terminata.\nImportato 1 certificato (" +
                                           std::string(c.lettore == DIP ? "1 riga aggiuntiva" : "0 righe aggiuntive") +
                                           ") dal file " + f + "."});

        Attesi attesi = riga.perLettore.at(c.lettore);
        for (const auto& [k, v] : c.costanti) attesi[k] = v;
        if (c.lettore & (DIP | ALTRO))
            for (int n = 1; n <= 9; ++n) attesi["zefo2.fam" + std::to_string(n) + "_1"] = "X";
        for (const auto& [k, v] : Attesi{{"zefo1.azienda", "43"},
                                         {"zefo2.ditta", "43"},
                                         {"zefo1.a10", "ATT001"},
                                         {"zefo1.a11", "SEDE9"},
                                         {"zefo2.id", "1"}})
            attesi[k] = v;

        const auto zefo1 = righe("Zefo1", "ID");
        const auto zefo2 = righe("Zefo2", "IdNooo");
        ASSERT_EQ(zefo1.size(), 1u);
        ASSERT_EQ(zefo2.size(), 1u);
        confronta(zefo1[0], attesi, "Zefo1");
        confronta(zefo2[0], attesi, "Zefo2");

        const auto zefo3 = righe("Zefo3", "IDNoooo");
        if (c.lettore != DIP) {
            EXPECT_TRUE(zefo3.empty());
            continue;
        }
        ASSERT_EQ(zefo3.size(), 1u);
        Attesi attesi3 = cont.perLettore.at(DIP);
        attesi3["zefo3.d22"] = "125,00";  // a converted code with a leading zero is an amount
        attesi3["zefo3.id"] = "1";
        attesi3["zefo3.d01"] = "MATRAZ0001";
        attesi3["zefo3.d33"] = "X";
        confronta(zefo3[0], attesi3, "Zefo3");
    }
}

// The 770 Semplificato's "H" record: the codice fiscale and the non-positional area where each
// layout puts them, every known code with its own value, unknown codes passed over.
TEST_F(Tracciati, Semplificato770OgniCodiceNellaSuaColonna) {
    a.conn.exec(
        "insert into Zefo1 (A01, A02, A03, A04, A05, A06, A07, A08, A09) values "
        "('S01', 'S02', 'S03', 'S04', 'S05', 'S06', 'S07', 'S08', 'S09'), "
        "('X01', 'X02', 'X03', 'X04', 'X05', 'X06', 'X07', 'X08', 'X09')");
    Attesi attesi = {
        {"professionisti.a01", "S01"},    {"professionisti.a02", "S02"},   {"professionisti.a03", "S03"},
        {"professionisti.a04", "S04"},    {"professionisti.a05", "S05"},   {"professionisti.a06", "S06"},
        {"professionisti.a07", "S07"},    {"professionisti.a08", "S08"},   {"professionisti.a09", "S09"},
        {"professionisti.a10", "ATT001"}, {"professionisti.a11", "SEDE9"}, {"professionisti.b01", "VRDLGI60A01L219X"}};
    // Known codes, each with a value as long as the field; the unknown ones would land nowhere.
    std::string area;
    auto elemento = [&](const std::string& codice, std::string v) {
        v.resize(16, ' ');
        area += codice + v;
    };
    const std::map<int, std::string> noti = {{2, "B02"}, {3, "B03"}, {4, "B04"}, {6, "B06"}, {7, "B07"}, {8, "B20"}};
    for (int n = 1; n <= 43; ++n) {
        char codice[9];
        std::snprintf(codice, sizeof codice, "AU0010%02d", n);
        const std::string v = "V" + std::to_string(n) + "-abcdefghijklm";
        if (n == 5) {
            elemento(codice, "12031971");
            attesi["professionisti.b05"] = "12/03/1971";
        } else if (noti.count(n)) {
            elemento(codice, v.substr(0, 16));
            attesi["professionisti." + minuscolo(noti.at(n))] = v.substr(0, 16);
        } else if (n >= 19 && n <= 41) {
            elemento(codice, v.substr(0, 16));
            attesi["professionisti.e" + std::string(n - 18 < 10 ? "0" : "") + std::to_string(n - 18)] = v.substr(0, 16);
        } else {
            elemento(codice, "NON-LETTO-" + std::to_string(n));
        }
    }
    attesi["professionisti.b23"] = attesi["professionisti.b20"];

    for (int tracciato : {1, 2}) {
        SCOPED_TRACE(tracciato);
        a.conn.exec("delete from Professionisti");
        const std::size_t cf = tracciato == 1 ? 30 : 14, inizio = tracciato == 1 ? 90 : 58;
        std::string riga(inizio - 1, '9');
        riga[0] = 'H';
        riga.replace(cf - 1, 16, "VRDLGI60A01L219X");
        riga += area;
        // The other layout's lines and any record but "H" store nothing.
        const std::string f = scrivi("770.txt", {"A" + riga.substr(1), riga, "h" + riga.substr(1)});
        r.infos.clear();
        ASSERT_TRUE(importazione::Importa770(a.conn, f, tracciato, dati, r));
        EXPECT_EQ(r.infos,
                  std::vector<std::string>{"Operazione terminata.\nImportato 1 certificato dal file " + f + "."});
        const auto prof = righe("Professionisti", "ID");
        ASSERT_EQ(prof.size(), 1u);
        confronta(prof[0], attesi, "Professionisti");
    }
}

// The financial procedure's export, with the agent's data from either source.
TEST_F(Tracciati, FinanziariaOgniColonnaNelSuoPosto) {
    a.conn.exec(
        "insert into Zefo1 (A01, A02, A03, A04, A05, A06, A07, A08, A09) values "
        "('S01', 'S02', 'S03', 'S04', 'S05', 'S06', 'S07', 'S08', 'S09')");
    a.conn.exec(
        "insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, Nome, "
        "TelefonoPref, telefono, email, CodEnte) values "
        "('G01', 'G02', 'G03', '06', '7654321', 'G09', 'NON COPIATO')");
    using T = Tipo;
    const std::vector<Campo> campi = {
        {6, 21, T::Testo, "Professionisti.B01", 0, "VRDLGI60A01L219X"},
        {23, 46, T::Testo, "Professionisti.B02"},
        {48, 67, T::Testo, "Professionisti.B03"},
        {69, 69, T::Testo, "Professionisti.B04", 0, "M"},
        {71, 80, T::Testo, "Professionisti.B05", 0, "05/06/1970"},
        {82, 111, T::Testo, "Professionisti.B06"},
        {113, 114, T::Testo, "Professionisti.B07"},
        {327, 337, T::Importo, "Professionisti.E04", 0, "00123456,78"},
        {339, 349, T::Importo, "Professionisti.E09", 0, "00098765,43"},
        {435, 444, T::Testo, "Professionisti.B44", 0, "28/02/2015"},
        {446, 451, T::Testo, "Professionisti.A10", 0, "692000"},
    };
    Costruita riga = costruisci(480, campi);
    // The signature is the 35 characters from column 435, trimmed.
    riga.riga.replace(452, 28, std::string(17, 'Q') + "#" + std::string(10, ' '));
    Attesi base = riga.perLettore.at(0);
    base["professionisti.e04"] = base["professionisti.e08"] = "123.456,78";
    base["professionisti.e09"] = "98.765,43";
    base["professionisti.e01"] = "A";
    base["professionisti.e02"] = "2014";
    base["professionisti.bfirma"] = riga.riga.substr(434, 18) + std::string(17, 'Q');

    struct Caso {
        const char* nome;
        bool daCu;
        Attesi agente;
    } casi[] = {
        {"dati generali",
         false,
         {{"professionisti.a01", "G01"},
          {"professionisti.a02", "G02"},
          {"professionisti.a03", "G03"},
          {"professionisti.a08", "067654321"},
          {"professionisti.a09", "G09"}}},
        {"dalle C.U. dei dipendenti",
         true,
         {{"professionisti.a01", "S01"},
          {"professionisti.a02", "S02"},
          {"professionisti.a03", "S03"},
          {"professionisti.a04", "S04"},
          {"professionisti.a05", "S05"},
          {"professionisti.a06", "S06"},
          {"professionisti.a07", "S07"},
          {"professionisti.a08", "S08"},
          {"professionisti.a09", "S09"}}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        a.conn.exec("delete from Professionisti; delete from Importazioni");
        // A blank line between two professionals is passed over.
        const std::string f = scrivi("A.TXT", {riga.riga, "   ", riga.riga});
        r.infos.clear();
        ASSERT_TRUE(importazione::ImportaFinanziaria(a.conn, f, c.daCu, dati, r));
        EXPECT_EQ(r.infos,
                  std::vector<std::string>{"Operazione terminata.\nImportati 2 certificati dal file " + f + "."});
        Attesi attesi = base;
        for (const auto& [k, v] : c.agente) attesi[k] = v;
        const auto prof = righe("Professionisti", "ID");
        ASSERT_EQ(prof.size(), 2u);
        for (const auto& p : prof) confronta(p, attesi, "Professionisti");
    }
}

}  // namespace
