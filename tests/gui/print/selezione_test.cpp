#include "print/selezione.h"

#include <gtest/gtest.h>

#include "archivio.h"

using prova::Archivio;

namespace {

struct Fixture {
    Fixture() {
        rossi = a.certificato({{"B02", "ROSSI"}}, {{"tipo", "DIP"}, {"MatrDip", "10"}});
        rossiMinuscolo = a.certificato({{"B02", "rossi"}}, {{"tipo", "AMM"}, {"MatrDip", "150"}});
        rossiano = a.certificato({{"B02", "ROSSIANO"}}, {{"tipo", "DIP"}, {"MatrDip", "3"}});
        dangelo = a.certificato({{"B02", "D'ANGELO"}}, {{"tipo", "CoC"}, {"MatrDip", "2"}});
        bianchi = a.certificato({{"B02", "BIANCHI"}}, {{"tipo", "DIP"}, {"MatrDip", ""}});
        senzaCognome = a.certificato({{"B02", ""}}, {{"tipo", "DIP"}, {"MatrDip", "9"}});
        // A continuation row with no certificate, and a certificate with no continuation row.
        a.inserisci("Zefo2", {{"ID", "999"}, {"tipo", "DIP"}, {"MatrDip", "1"}});
        a.inserisci("Zefo1", {{"B02", "ROSSI"}});
    }
    Archivio a;
    std::int64_t rossi, rossiMinuscolo, rossiano, dangelo, bianchi, senzaCognome;
};

storage::Tipi tipi(bool dip, bool amm, bool coc) {
    return storage::Tipi().con(storage::Tipo::DIP, dip).con(storage::Tipo::AMM, amm).con(storage::Tipo::CoC, coc);
}

}  // namespace

TEST(Selezione, PerMatricolaEPerCognome) {
    Fixture f;
    const auto tutti = tipi(true, true, true);
    struct Caso {
        const char* nome;
        bool perCognome;
        storage::Tipi tipi;
        std::string da, a;
        std::vector<std::int64_t> attesi;
    };
    const std::vector<Caso> casi = {
        {"numeri confrontati come testo", false, tutti, "1", "2", {f.rossi, f.rossiMinuscolo, f.dangelo}},
        {"solo amministratori", false, tipi(false, true, false), "", "zzz", {f.rossiMinuscolo}},
        {"solo collaboratori", true, tipi(false, false, true), "A", "Z", {f.dangelo}},
        {"matricole vuote", false, tutti, "", "", {f.bianchi}},
        {"stesso cognome in ogni maiuscola, non uno più lungo",
         true,
         tutti,
         "Rossi",
         "ROSSI",
         {f.rossi, f.rossiMinuscolo}},
        {"apostrofo come lettera", true, tutti, "D'ANGELO", "d'angelo", {f.dangelo}},
        {"apostrofo in un estremo", true, tutti, "A", "D'B", {f.bianchi, f.dangelo}},
        {"solo dipendenti, in ordine di cognome",
         true,
         tipi(true, false, false),
         "A",
         "Z",
         {f.bianchi, f.rossi, f.rossiano}},
        {"cognomi vuoti", true, tutti, "", "", {f.senzaCognome}},
        {"estremo inferiore sopra il superiore", true, tutti, "Z", "A", {}},
        {"nessun tipo", true, tipi(false, false, false), "", "zzz", {}},
    };
    for (const auto& c : casi) {
        const auto ids = c.perCognome ? print::SelezionaPerCognome(f.a.conn, c.tipi, c.da, c.a)
                                      : print::SelezionaPerMatricola(f.a.conn, c.tipi, c.da, c.a);
        EXPECT_EQ(ids, c.attesi) << c.nome;
    }
}

TEST(Selezione, Professionisti) {
    Archivio a;
    const auto d = a.inserisci("Professionisti", {{"B02", "D'Amico"}});
    const auto b = a.inserisci("Professionisti", {{"B02", "bianchi"}});
    a.inserisci("Professionisti", {{"B02", "BIANCHINI"}});
    EXPECT_EQ(print::SelezionaProfessionisti(a.conn, "BIANCHI", "bianchi"), std::vector<std::int64_t>{b});
    EXPECT_EQ(print::SelezionaProfessionisti(a.conn, "d'amico", "D'AMICO"), std::vector<std::int64_t>{d});
    EXPECT_TRUE(print::SelezionaProfessionisti(a.conn, "Z", "A").empty());
}
