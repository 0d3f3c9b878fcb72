#pragma once

// The shared throw-away archive, and an independent builder of expected records.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "comune/archivio_prova.h"

namespace prova {

inline std::string leggi(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::vector<std::string> records(const std::string& file) {
    std::vector<std::string> r;
    for (std::size_t i = 0; i + 1900 <= file.size(); i += 1900) r.push_back(file.substr(i, 1900));
    return r;
}

// A record built position by position (1-based), blanks elsewhere, then "A" CR LF.
class Atteso {
public:
    explicit Atteso(char tipo) : s_(1897, ' ') { s_[0] = tipo; }
    Atteso& at(std::size_t pos, const std::string& v) {
        s_.replace(pos - 1, v.size(), v);
        return *this;
    }
    std::string str() const { return s_ + "A\r\n"; }

private:
    std::string s_;
};

// The 89-character head of D, G and H records, typed out from the layout.
inline Atteso testa(char tipo, const std::string& modulo, const std::string& cfSost, const std::string& cfPerc,
                    const std::string& numero) {
    Atteso a(tipo);
    a.at(2, cfSost).at(18, modulo).at(26, cfPerc).at(42, numero);
    if (tipo == 'D') a.at(47, std::string(17, '0')).at(64, "000000").at(89, "0");
    return a;
}

}  // namespace prova
