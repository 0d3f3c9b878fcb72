#pragma once

// The shared throw-away archive with a clean agent and clean certificates, and the problems of a
// check looked up by column or text.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "check/controllo.h"
#include "comune/archivio_prova.h"
#include "storage/reporter.h"
#include "telematic/generazione.h"

namespace provacheck {

namespace fs = std::filesystem;
using prova::Valori;

// Formally right codes, computed apart from the code under test.
inline const std::string kCfSostituto = "01234567897";
inline const std::string kCfMario = "RSSMRA80A01H501U";
inline const std::string kCfGiovanna = "VRDGNN75M41F205K";
inline const std::string kCfLuca = "BNCLCU92T15L219N";
inline const std::string kCfAnna = "FRRNNA01E62Z404G";

// The shared archive plus a clean agent and clean employee certificates.
class Archivio : public prova::Archivio {
public:
    // The agent as a clean frontispiece would hold it.
    void sostituto(Valori extra = {}) {
        Valori v = {{"CodiceFiscale", kCfSostituto}, {"CognomeDenominazione", "ACME SPA"}, {"A1", "0"}, {"A2", "0"}};
        unisci(v, extra);
        inserisci("SostitutoImposta", v);
    }
    void conteggi(int a1, int a2) {
        conn.exec("update SostitutoImposta set A1 = '" + std::to_string(a1) + "', A2 = '" + std::to_string(a2) + "'");
    }
    // A clean employee certificate; extra values replace or add columns of Zefo1 / Zefo2.
    std::int64_t dipendente(const std::string& cf, const std::string& cognome, Valori z1 = {}, Valori z2 = {},
                            const std::string& tipo = "DIP") {
        Valori a = {{"A01", kCfSostituto},  {"B01", cf},           {"B02", cognome},      {"B03", "MARIO"},
                    {"B04", "M"},           {"B05", "01/01/1980"}, {"C001", "20.000,00"}, {"C002", "1"},
                    {"C008", "01/01/2014"}, {"c011", "4.000,00"},  {"B44", "28/02/2015"}};
        unisci(a, z1);
        const auto id = inserisci("Zefo1", a);
        Valori b = {{"ID", std::to_string(id)}, {"tipo", tipo}};
        unisci(b, z2);
        inserisci("Zefo2", b);
        return id;
    }
    static void unisci(Valori& a, const Valori& extra) {
        for (auto& e : extra) {
            auto it = std::find_if(a.begin(), a.end(), [&](auto& x) { return x.first == e.first; });
            if (it != a.end())
                it->second = e.second;
            else
                a.push_back(e);
        }
    }
};

// The generation's reporter: every question answered Yes, errors kept.
struct Silenzioso : storage::Reporter {
    std::vector<std::string> errori;
    void info(const std::string&) override {}
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string&) override { return true; }
};

inline std::string leggi(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The employees' file of the archive, every kind, as the file check gets it.
inline std::string generaDipendenti(Archivio& a, bool quadroCt = false) {
    telematic::OpzioniGenerazione opz;
    opz.cartella = (a.dir / "invio").string();
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi::tutti();
    opz.quadroCt = quadroCt;
    Silenzioso r;
    const auto ris = telematic::GeneraFileDipendenti(a.conn, opz, r);
    EXPECT_EQ(ris.esito, telematic::Esito::Concluso);
    return leggi(ris.percorsoFile);
}

// "Errore B01: ..." for each problem, to compare whole lists in failure messages.
inline std::vector<std::string> righe(const std::vector<check::Problema>& ps) {
    std::vector<std::string> r;
    for (const auto& p : ps) r.push_back(check::RigaProblema(p));
    return r;
}

inline const check::Problema* trova(const std::vector<check::Problema>& ps, const std::string& colonna,
                                    std::int64_t id = -1) {
    for (const auto& p : ps)
        if (p.colonna == colonna && (id < 0 || p.id == id)) return &p;
    return nullptr;
}

inline bool contiene(const std::string& testo, const std::string& parte) {
    return testo.find(parte) != std::string::npos;
}

}  // namespace provacheck
