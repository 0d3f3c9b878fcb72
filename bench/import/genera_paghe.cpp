// Writes a payroll export of N certificate lines for the import benchmark: every line carries a
// family block, one line in ten is followed by a "||||" continuation line. With --ddl it writes
// instead the tables the sqlite3 shell imports into for comparison: the same columns that the
// import fills, the same keys and indexes.
//
//   palio_genera_paghe N FILE
//   palio_genera_paghe --ddl FILE

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "import/tabelle.h"

namespace {

class Riga {
public:
    explicit Riga(std::size_t n) : t_(n, ' ') {}
    Riga& at(std::size_t col, const std::string& v) {
        if (t_.size() < col - 1 + v.size()) t_.resize(col - 1 + v.size(), ' ');
        t_.replace(col - 1, v.size(), v);
        return *this;
    }
    const std::string& str() const { return t_; }

private:
    std::string t_;
};

// A small deterministic generator: the same N gives the same file.
struct Casuale {
    std::uint64_t s = 88172645463325252ull;
    std::uint64_t operator()() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
};

std::string importo(std::uint64_t cent) {
    char b[16];
    std::snprintf(b, sizeof b, "%07llu,%02llu", static_cast<unsigned long long>(cent / 100 % 10000000),
                  static_cast<unsigned long long>(cent % 100));
    return b;
}

std::string numero(std::uint64_t n, int cifre) {
    std::string s = std::to_string(n);
    if (s.size() < static_cast<std::size_t>(cifre)) s.insert(0, static_cast<std::size_t>(cifre) - s.size(), '0');
    return s.substr(s.size() - static_cast<std::size_t>(cifre));
}

void scriviDdl(std::ostream& out) {
    auto tabella = [&](const char* nome, const char* chiave, const auto& colonne) {
        out << "CREATE TABLE " << nome << " (" << chiave << " INTEGER PRIMARY KEY AUTOINCREMENT";
        for (const char* c : colonne)
            out << ", " << c
                << (std::string(c) == "ID" || std::string(c) == "Id" ? " INTEGER" : " TEXT COLLATE NOCASE");
        out << ");\n";
    };
    tabella("Zefo1", "ID", importazione::kNomiZefo1);
    tabella("Zefo2", "IdNooo", importazione::kNomiZefo2);
    tabella("Zefo3", "IDNoooo", importazione::kNomiZefo3);
    // The archive's indexes on these tables, names and codes included: the import fills them too.
    out << "CREATE INDEX Zefo2_ID ON Zefo2 (ID);\nCREATE INDEX Zefo3_Id ON Zefo3 (Id);\n"
           "CREATE INDEX Zefo1_Nominativo ON Zefo1 (B02, B03);\n"
           "CREATE INDEX Zefo1_CodiceFiscale ON Zefo1 (B01);\n"
           "CREATE INDEX Zefo2_Matricola ON Zefo2 (trim(MatrDip));\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--ddl") {
        std::ofstream out(argv[2]);
        scriviDdl(out);
        return out ? 0 : 1;
    }
    if (argc != 3) {
        std::cerr << "Uso: palio_genera_paghe N FILE | palio_genera_paghe --ddl FILE\n";
        return 2;
    }
    const std::uint64_t n = std::stoull(argv[1]);
    std::ofstream out(argv[2], std::ios::binary);
    Casuale r;
    static const char* cognomi[] = {"ROSSI",   "BIANCHI", "FERRARI", "ESPOSITO", "ROMANO",
                                    "COLOMBO", "RICCI",   "MARINO",  "GRECO",    "BRUNO"};
    static const char* nomi[] = {"MARIO", "GIULIA", "LUCA", "ANNA", "MARCO", "SARA", "PAOLO"};
    for (std::uint64_t i = 0; i < n; ++i) {
        Riga l(2304);
        const std::string cf = "RSSMRA" + numero(i, 10);
        const std::uint64_t reddito = 800000 + r() % 6000000;
        l.at(1, "80012345678")
            .at(18, "COMUNE DI VALLEVERDE")
            .at(59, "VALLEVERDE")
            .at(90, "PG")
            .at(93, "06050")
            .at(99, "PIAZZA DEL MUNICIPIO 1")
            .at(130, "075123456")
            .at(156, "ragioneria@comune.valleverde.pg.it")
            .at(221, numero(i, 4))
            .at(226, cf)
            .at(243, cognomi[r() % 10])
            .at(264, nomi[r() % 7])
            .at(285, r() % 2 ? "M" : "F")
            .at(287, "15/05/1972")
            .at(298, "PERUGIA")
            .at(329, "PG")
            .at(345, "VALLEVERDE")
            .at(376, "PG")
            .at(379, "L123")
            .at(462, importo(reddito))
            .at(473, importo(0))
            .at(484, numero(1 + r() % 365, 3))
            .at(492, importo(reddito / 5))
            .at(503, importo(reddito / 80))
            .at(514, importo(reddito / 250))
            .at(525, importo(0))
            .at(536, importo(0))
            .at(547, importo(0))
            .at(558, importo(0))
            .at(569, importo(0))
            .at(679, importo(0))
            .at(690, importo(95000))
            .at(745, importo(reddito / 20))
            .at(811, importo(0))
            .at(1094, importo(0))
            .at(1116, importo(0))
            .at(1424, "80078750587")
            .at(1455, "1")
            .at(1457, "2014")
            .at(1462, "1")
            .at(1466, "0001")
            .at(1471, importo(reddito))
            .at(1482, importo(reddito * 885 / 10000))
            .at(1493, importo(reddito * 2381 / 10000))
            .at(1750, "Nota BO:")
            .at(2201, "27/02/2015")
            .at(2212, "IL RESPONSABILE DEL SERVIZIO")
            .at(2258, "1")
            .at(2260, "0")
            .at(2262, importo(0))
            .at(2273, importo(0))
            .at(2284, "01/01/2014")
            .at(2295, "00/00/0000");
        static const char* tipi[] = {"C", "F1", "F", "F"};
        const std::size_t familiari = 1 + r() % 4;
        for (std::size_t k = 0; k < familiari; ++k) {
            const std::size_t col = 1758 + 33 * k;
            l.at(col, tipi[k])
                .at(col + 4, "FAMMRA" + numero(i * 4 + k, 10))
                .at(col + 21, "12")
                .at(col + 24, k ? "100,00" : "");
        }
        out << l.str() << "\r\n";
        if (i % 10 == 9) {
            Riga c(300);
            c.at(1, "||||")
                .at(10, numero(i, 4))
                .at(15, cf)
                .at(167, "97103880585")
                .at(198, "2")
                .at(200, "0000")
                .at(205, "0")
                .at(209, "0000")
                .at(214, importo(reddito / 10))
                .at(225, importo(reddito / 100))
                .at(236, importo(reddito / 40));
            out << c.str() << "\r\n";
        }
    }
    return out ? 0 : 1;
}
