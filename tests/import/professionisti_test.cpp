#include <gtest/gtest.h>

#include <sstream>

#include "import/lettori.h"
#include "prova_import.h"
#include "righe_prova.h"
#include "storage/error.h"

namespace {

using Righe = std::vector<std::vector<std::string>>;
using V = std::vector<std::string>;
using prova::au;
using prova::professionista;

class Professionisti : public ::testing::Test {
protected:
    void SetUp() override {
        a.conn.exec(
            "insert into Zefo1 (ID, A01, A02, A03, A04, A05, A06, A07, A08, A09) values "
            "(7, 'CF1', 'ENTE UNO', '', 'ROMA', 'RM', '00100', 'VIA UNO', '06111', 'a@b'),"
            "(9, 'CF2', 'ENTE DUE', '', '', '', '', '', '', '')");
    }
    bool importa770(const std::vector<std::string>& righe, int tracciato) {
        std::istringstream in(prova::file(righe));
        return importazione::Importa770(a.conn, in, "770Semplificato.txt", tracciato, dati, r);
    }
    bool finanziaria(const std::vector<std::string>& righe, bool daCu) {
        std::istringstream in(prova::file(righe));
        return importazione::ImportaFinanziaria(a.conn, in, "A.TXT", daCu, dati, r);
    }
    V colonne(const std::string& nomi) {
        auto v = a.righe("select " + nomi + " from Professionisti order by ID desc limit 1");
        return v.empty() ? V{} : v[0];
    }

    prova::Archivio a;
    prova::Reporter r;
    importazione::DatiAggiuntivi dati{"841110", "001", "MATR"};
};

TEST_F(Professionisti, Tracciati770EContinuazioni) {
    const std::string area = au("AU001002", "ROSSI") + au("AU001003", "MARIO") + au("AU001005", "01021965") +
                             au("AU001006", "VIALE DEI MILLE ") + au("AU001006", "+CORSO") + au("AU001008", "TORINO") +
                             au("AU001008", "+ NORD") + au("AU001001", "IGNORATO") + au("AU001018", "IGNORATO") +
                             au("AU001042", "IGNORATO") + au("        ", "") + au("AU001020", "2013") +
                             au("AU001041", "0000012,50") + au("AU001019", "A");
    for (int tracciato : {1, 2}) {
        SCOPED_TRACE(tracciato);
        prova::Riga riga;
        riga.at(1, "H").at(tracciato == 1 ? 30 : 14, "RSSMRA65B01L219K");
        riga.at(tracciato == 1 ? 90 : 58, area);
        ASSERT_TRUE(importa770({riga}, tracciato));
        EXPECT_EQ(colonne("A01, A02, A04, A09, A10, A11, B01, B02, B03, B04, B05, B06, B20, B23, "
                          "E01, E02, E03, E23, B44"),
                  (V{"CF1", "ENTE UNO", "ROMA", "a@b", "841110", "001", "RSSMRA65B01L219K", "ROSSI", "MARIO", "<null>",
                     "01/02/1965", "VIALE DEI MILLECORSO", "TORINO NORD", "TORINO NORD", "A", "2013", "<null>",
                     "0000012,50", "<null>"}));
    }
    const std::string fatto =
        "Operazione terminata.\nImportato 1 certificato dal file "
        "770Semplificato.txt.";
    EXPECT_EQ(r.infos, (V{fatto, fatto}));
}

TEST_F(Professionisti, Righe770NonHEDatiMinimi) {
    prova::Riga h;
    h.at(1, "H").at(30, "CF PROFESSIONIS ");
    prova::Riga dataCorta;
    dataCorta.at(1, "H").at(30, "RSSMRA65B01L219K").at(90, au("AU001005", "0102"));
    prova::Riga ultimoElementoCorto;  // the last element may be shorter than 24 characters
    ultimoElementoCorto.at(1, "H").at(30, "VRDLCU75H55F839Z").at(90, au("AU001004", "M") + "AU001002BIANCHI");
    ASSERT_TRUE(importa770({"A" + std::string(100, ' '), "h" + h.str().substr(1), "", h, "Z" + h.str().substr(1),
                            dataCorta, ultimoElementoCorto, "B"},
                           1));
    EXPECT_EQ(a.righe("select B01, B02, B04, B05, B20, B23, E02 from Professionisti order by ID"),
              (Righe{{"CF PROFESSIONIS", "<null>", "<null>", "<null>", "<null>", "", "2014"},
                     {"RSSMRA65B01L219K", "<null>", "<null>", "0102", "<null>", "", "2014"},
                     {"VRDLCU75H55F839Z", "BIANCHI", "M", "<null>", "<null>", "", "2014"}}));
}

TEST_F(Professionisti, Importa770SenzaCertificatiDipendenti) {
    a.conn.exec("delete from Zefo1");
    prova::Riga h;
    h.at(1, "H").at(14, "CF              ");
    ASSERT_TRUE(importa770({h}, 2));
    EXPECT_EQ(colonne("A01, A02, A09, A10, B01"), (V{"", "", "", "841110", "CF"}));
}

TEST_F(Professionisti, FinanziariaTuttiICampi) {
    a.conn.exec(
        "insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, Nome, "
        "TelefonoPref, telefono, email) values ('SCF', 'STUDIO', 'N', '06', '1234567', 'm@s')");
    auto due = professionista("VRDLCU75H55F839Z", "VERDI");
    due.at(71, "00/00/0000").at(446, "      ").at(327, "00012345,67");
    ASSERT_TRUE(finanziaria({professionista("BNCLCU75H55F839Y", "BIANCHI"), "   ", due}, false));
    EXPECT_EQ(r.infos, V{"Operazione terminata.\nImportati 2 certificati dal file "
                         "A.TXT."});
    const std::string nomi =
        "A01, A02, A03, A04, A08, A09, A10, A11, B01, B02, B03, B04, B05, B06, B07, B08, B22, "
        "B44, BFirma, E01, E02, E03, E04, E08, E09, E10, E23";
    EXPECT_EQ(
        a.righe("select " + nomi + " from Professionisti order by ID"),
        (Righe{
            {"SCF",
             "STUDIO",
             "N",
             "<null>",
             "061234567",
             "m@s",
             "691000",
             "<null>",
             "BNCLCU75H55F839Y",
             "BIANCHI",
             "LUCIA",
             "F",
             "15/06/1975",
             "NAPOLI",
             "NA",
             "",
             "",
             "28/02/2015",
             "28/02/2015 691000",
             "A",
             "2014",
             "",
             "500,00",
             "500,00",
             "100,00",
             "",
             ""},
            {"SCF",        "STUDIO", "N",    "<null>", "061234567", "m@s",       "841110", "<null>", "VRDLCU75H55F839Z",
             "VERDI",      "LUCIA",  "F",    "<null>", "NAPOLI",    "NA",        "",       "",       "28/02/2015",
             "28/02/2015", "A",      "2014", "",       "12.345,67", "12.345,67", "100,00", "",       ""}}));
}

TEST_F(Professionisti, FinanziariaDatiDelSostitutoDalleCU) {
    ASSERT_TRUE(finanziaria({professionista("X", "Y")}, true));
    EXPECT_EQ(colonne("A01, A02, A04, A07, A08, A09, A10, A11"),
              (V{"CF1", "ENTE UNO", "ROMA", "VIA UNO", "06111", "a@b", "691000", ""}));
    a.conn.exec("delete from Zefo1");
    ASSERT_TRUE(finanziaria({professionista("X", "Y").at(446, "      ")}, true));
    EXPECT_EQ(colonne("A01, A02, A04, A08, A09, A10, A11"), (V{"", "", "", "", "", "841110", ""}));
    // Not ticked and no agent row: the agent's columns empty.
    ASSERT_TRUE(finanziaria({professionista("X", "Y")}, false));
    EXPECT_EQ(colonne("A01, A08, A10"), (V{"", "", "691000"}));
}

TEST_F(Professionisti, FinanziariaImportoErratoNonSalvaNulla) {
    try {
        finanziaria({professionista("A", "UNO"), professionista("B", "DUE").at(339, "0000100.00 ")}, false);
        ADD_FAILURE() << "nessun errore";
    } catch (const storage::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "File A.TXT, riga 2: il campo E09 (colonne 339-349) contiene "
                  "«0000100.00 », che non è un importo.");
    }
    EXPECT_EQ(a.conta("Professionisti"), 0);
    EXPECT_TRUE(r.infos.empty());
}

}  // namespace
