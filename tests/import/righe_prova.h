#pragma once

// Lines of the files the imports read, built column by column: a payroll certificate line, a
// continuation line, a family block, a 770 element, a financial procedure line.

#include <array>
#include <string>
#include <vector>

#include "prova_import.h"

namespace prova {

// A certificate line with the agent, the recipient and a few amounts, 2,304 characters long.
inline Riga certificato(const std::string& cf, const std::string& cognome) {
    Riga r;
    r.at(1, "01234567890")
        .at(18, "COMUNE DI PROVA")
        .at(59, "ROMA")
        .at(90, "RM")
        .at(93, "00100")
        .at(99, "VIA ROMA 1")
        .at(130, "06123456")
        .at(156, "ente@prova.it")
        .at(221, "0042")
        .at(226, cf)
        .at(243, cognome)
        .at(264, "MARIO")
        .at(285, "M")
        .at(287, "01/02/1970")
        .at(298, "MILANO")
        .at(329, "MI")
        .at(462, "0012345,67")
        .at(473, "0002000,00")
        .at(484, "365")
        .at(492, "0003000,50")
        .at(690, "0000100,00")
        .at(1471, "0001000,00")
        .at(1424, "INPS0001")
        .at(2201, "31/03/2015")
        .at(2212, "FIRMA DEL SOSTITUTO")
        .at(2258, "2")
        .at(2260, "1")
        .at(2284, "01/01/2014")
        .at(2295, "00/00/0000");
    return r.lunga(2304);
}

inline Riga continuazione(const std::string& matricola) {
    Riga r;
    r.at(1, "||||")
        .at(10, matricola)
        .at(15, "RSSMRA70B01F205X")
        .at(167, "INPDAP")
        .at(198, "0")
        .at(200, "0012")
        .at(205, "A")
        .at(209, "0000")
        .at(214, "0000500,00");
    return r.lunga(300);
}

// A family block: entries (kind, codice fiscale, months, percentage) from column 1758.
inline Riga& famiglia(Riga& r, const std::vector<std::array<std::string, 4>>& voci) {
    r.at(1750, "Nota BO:");
    std::size_t col = 1758;
    for (const auto& v : voci) {
        r.at(col, v[0]).at(col + 4, v[1]).at(col + 21, v[2]).at(col + 24, v[3]);
        col += 33;
    }
    return r;
}

// One non-positional element: code (8) and value (16, blank padded).
inline std::string au(const std::string& codice, const std::string& valore) {
    std::string v = valore;
    v.resize(16, ' ');
    return codice + v;
}

// A financial procedure line: columns as the procedure writes them.
inline Riga professionista(const std::string& cf, const std::string& cognome) {
    Riga r;
    r.at(6, cf)
        .at(23, cognome)
        .at(48, "LUCIA")
        .at(69, "F")
        .at(71, "15/06/1975")
        .at(82, "NAPOLI")
        .at(113, "NA")
        .at(327, "00000500,00")
        .at(339, "00000100,00")
        .at(435, "28/02/2015")
        .at(446, "691000");
    return r.lunga(460);
}

}  // namespace prova
