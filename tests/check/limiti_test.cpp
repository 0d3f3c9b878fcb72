// The last allowed day and month counts pass the check; one more is reported.
#include <gtest/gtest.h>

#include "check/controllo.h"
#include "prova_check.h"

namespace {

using namespace provacheck;

TEST(LimitiArchivio, GiorniEMesiAlConfine) {
    const struct {
        const char* colonna;
        const char* valore;
        bool zefo2;
        const char* testo;  // "" when nothing is reported
    } casi[] = {
        {"C006", "365", false, ""}, {"C006", "366", false, "Avviso - C006: Più di 365 giorni «366» in un anno."},
        {"C007", "365", false, ""}, {"C007", "366", false, "Avviso - C007: Più di 365 giorni «366» in un anno."},
        {"fam3_6", "12", true, ""}, {"fam3_6", "13", true, "Errore - fam3_6: Più di 12 mesi «13» in un anno."},
        {"fam1_5", "12", true, ""}, {"fam1_5", "13", true, "Errore - fam1_5: Più di 12 mesi «13» in un anno."},
    };
    for (const auto& c : casi) {
        const std::string nome = std::string(c.colonna) + " = " + c.valore;
        Archivio a;
        a.sostituto({{"A1", "1"}});
        const Valori v = {{c.colonna, c.valore}};
        a.dipendente(kCfMario, "ROSSI", c.zefo2 ? Valori{} : v, c.zefo2 ? v : Valori{});
        std::vector<std::string> trovati;
        for (const auto& p : check::ControllaArchivio(a.conn, {}))
            trovati.push_back(std::string(check::TestoGravita(p.gravita)) + " - " + p.colonna + ": " + p.testo);
        EXPECT_EQ(trovati, *c.testo ? std::vector<std::string>{c.testo} : std::vector<std::string>{}) << nome;
    }
}

}  // namespace
