#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "import/importazione.h"
#include "import/lettori.h"
#include "import/registro.h"
#include "prova_import.h"
#include "righe_prova.h"
#include "storage/error.h"
#include "storage/sistema.h"

namespace {

using Tracciato = storage::Tipo;
using prova::certificato;
using prova::continuazione;
using prova::famiglia;
using Righe = std::vector<std::vector<std::string>>;

class Paghe : public ::testing::Test {
protected:
    bool importa(const std::vector<std::string>& righe, Tracciato t = Tracciato::DIP, bool copia = false) {
        std::istringstream in(prova::file(righe));
        return importazione::ImportaPaghe(a.conn, in, "/tmp/Dati/zefo.43", "43", t, copia, dati, r);
    }
    bool altro(const std::vector<std::string>& righe, bool copia = false) {
        std::istringstream in(prova::file(righe));
        return importazione::ImportaAltro(a.conn, in, "/tmp/Dati/zefo.03", "03", copia, dati, r);
    }
    // Columns of the one certificate of a table.
    std::vector<std::string> colonne(const std::string& tabella, const std::string& nomi) {
        auto v = a.righe("select " + nomi + " from " + tabella + " order by rowid desc limit 1");
        return v.empty() ? std::vector<std::string>{} : v[0];
    }

    prova::Archivio a;
    prova::Reporter r;
    importazione::DatiAggiuntivi dati{"841110", "001", "1234567890"};
};

TEST_F(Paghe, DipendenteTuttiICampi) {
    auto riga = certificato("RSSMRA70B01F205X", "ROSSI");
    riga.at(2260, "0")
        .at(2262, "0000001,00")
        .at(1094, "0000002,00")
        .at(1116, "0000000,00")
        .at(1455, "1")
        .at(1457, "2014")
        .at(1462, "X")
        .at(1466, "0007");
    ASSERT_TRUE(importa({riga}));
    EXPECT_EQ(r.infos, std::vector<std::string>{"Operazione terminata.\nImportato 1 certificato "
                                                "(0 righe aggiuntive) dal file /tmp/Dati/zefo.43."});
    EXPECT_EQ(colonne("Zefo1",
                      "Azienda, A01, A02, A03, A04, A05, A06, A07, A08, A09, A10, A11, B01, B02, "
                      "B03, B04, B05, B06, B07, B44, BFirma"),
              (std::vector<std::string>{"43",
                                        "01234567890",
                                        "COMUNE DI PROVA",
                                        "<null>",
                                        "ROMA",
                                        "RM",
                                        "00100",
                                        "VIA ROMA 1",
                                        "06123456",
                                        "ente@prova.it",
                                        "841110",
                                        "001",
                                        "RSSMRA70B01F205X",
                                        "ROSSI",
                                        "MARIO",
                                        "M",
                                        "01/02/1970",
                                        "MILANO",
                                        "MI",
                                        "31/03/2015",
                                        "FIRMA DEL SOSTITUTO"}));
    EXPECT_EQ(colonne("Zefo1",
                      "C001, C004, C006, C008, C009, C002, c119, c120, c121, c011, c012, "
                      "c016, c102"),
              (std::vector<std::string>{"12.345,67", "2.000,00", "365", "01/01/2014", "<null>", "2", "", "1,00", "",
                                        "3.000,50", "", "", "100,00"}));
    EXPECT_EQ(colonne("Zefo2",
                      "ID = (select ID from Zefo1), tipo, MatrDip, ditta, D01, c261, "
                      "c263, D15, D18, D19, D20, D22, D23, D24, D33"),
              (std::vector<std::string>{"1", "DIP", "0042", "43", "1234567890", "2,00", "", "INPS0001", "1", "2014",
                                        "X", "0007", "1.000,00", "", "X"}));
}

TEST_F(Paghe, ContinuazioniSiAttaccanoAlCertificatoPrecedente) {
    ASSERT_TRUE(importa({certificato("A", "UNO"), certificato("B", "DUE"), continuazione("0007"), continuazione("0008"),
                         certificato("C", "TRE")}));
    EXPECT_EQ(a.righe("select Zefo1.B02, Zefo2.tipo from Zefo1 join Zefo2 on Zefo2.ID = Zefo1.ID "
                      "order by Zefo1.ID"),
              (Righe{{"UNO", "DIP"}, {"DUE", "DIP"}, {"TRE", "DIP"}}));
    EXPECT_EQ(
        a.righe("select (select B02 from Zefo1 where ID = Zefo3.Id), matricola, Cf, D01, "
                "D15, D18, D19, D20, D22, D23, D24, D33 from Zefo3 order by IDNoooo"),
        (Righe{{"DUE", "0007", "RSSMRA70B01F205X", "1234567890", "INPDAP", "", "12,00", "A", "", "500,00", "", "X"},
               {"DUE", "0008", "RSSMRA70B01F205X", "1234567890", "INPDAP", "", "12,00", "A", "", "500,00", "", "X"}}));
}

TEST_F(Paghe, LoStessoFileDueVolteRaddoppiaOgniCertificato) {
    const std::vector<std::string> f = {certificato("A", "UNO"), continuazione("0007"), certificato("B", "DUE")};
    ASSERT_TRUE(importa(f));
    ASSERT_TRUE(importa(f));
    EXPECT_EQ(a.conta("Zefo1"), 4);
    EXPECT_EQ(a.conta("Zefo2"), 4);
    EXPECT_EQ(a.righe("select Id from Zefo3 order by IDNoooo"), (Righe{{"1"}, {"3"}}));
}

TEST_F(Paghe, FamiliariPercorsoDelBlocco) {
    const std::string cf = "CF_DEL_FAMILIAR";  // 15 characters: stored raw, blank included
    struct Caso {
        const char* nome;
        std::vector<std::array<std::string, 4>> voci;
        std::vector<int> righeAttese;  // the rows whose item 1 ends "X"
    } casi[] = {
        {"coniuge, primo figlio, due figli, poi vuoto",
         {{"C", cf, "12", ""},
          {"F1", cf, "12", "50,00"},
          {"F", cf, "06", "100,00"},
          {"F", cf, "12", "50,00"},
          {"", "", "", ""},
          {"F", cf, "12", "50,00"}},
         {1, 2, 3, 4}},
        {"primo tipo vuoto: nulla", {{"", cf, "12", ""}, {"C", cf, "12", ""}}, {}},
        {"tipo sconosciuto ferma", {{"C", cf, "12", ""}, {"X", cf, "12", ""}, {"F", cf, "1", ""}}, {1}},
        {"S vale come F", {{"S", cf, "12", "100,00"}, {"S", cf, "12", "100,00"}}, {3, 4}},
        {"oltre la riga 9 nulla",
         std::vector<std::array<std::string, 4>>(9, {"F", cf, "12", ""}),
         {3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        auto riga = certificato("A", "UNO");
        famiglia(riga, c.voci);
        std::istringstream in(prova::file({riga}));
        prova::Archivio arch;
        ASSERT_TRUE(importazione::ImportaPaghe(arch.conn, in, "f.43", "43", Tracciato::DIP, false, dati, r));
        std::vector<int> piene;
        for (int k = 1; k <= 9; ++k)
            if (arch.valore("select fam" + std::to_string(k) + "_1 from Zefo2") == "X") piene.push_back(k);
        EXPECT_EQ(piene, c.righeAttese);
        EXPECT_EQ(arch.valore("select fam10_1 from Zefo2"), "");
    }
}

TEST_F(Paghe, FamiliariValoriGrezziERigaTreRiscritta) {
    auto riga = certificato("A", "UNO");
    // An "F" after "C" or "F1" goes back to row 3, whatever earlier entries filled.
    famiglia(riga, {{"F", "FIGLIO1         ", "12", "100,00"},
                    {"C", "CONIUGE1        ", "06", "999999"},
                    {"F", "FIGLIO2 ", "01", " 50,00"}});
    ASSERT_TRUE(importa({riga}));
    EXPECT_EQ(colonne("Zefo2",
                      "fam1_1, fam1_4, fam1_5, fam1_7, fam3_1, fam3_4, fam3_5, fam3_7, "
                      "fam4_1"),
              (std::vector<std::string>{"X", "CONIUGE1        ", "06", "<null>", "X", "FIGLIO2         ", "01",
                                        " 50,00", "<null>"}));
}

TEST_F(Paghe, RegoleDiPulizia) {
    struct Caso {
        const char* nome;
        const char* c102;
        const char* d23;
        const char* d30;
        const char* famiglia;  // fam1_1 expected
        const char* d15;       // D15 expected
        const char* d33;
    } casi[] = {
        {"tutto presente", "0000100,00", "0000001,00", "0000000,00", "X", "INPS0001", "X"},
        {"c102 vuoto: nessun familiare", "0000000,00", "0000001,00", "0000000,00", "<null>", "INPS0001", "X"},
        {"D23-D30 vuoti: sezione vuota", "0000100,00", "0000000,00", "0000000,00", "X", "<null>", "<null>"},
        {"solo D30 presente", "0000100,00", "0000000,00", "0000000,01", "X", "INPS0001", "X"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        auto riga = certificato("A", "UNO");
        riga.at(690, c.c102).at(1471, c.d23).at(1548, c.d30).at(1455, "1");
        famiglia(riga, {{"C", "CONIUGE", "12", ""}});
        ASSERT_TRUE(importa({riga}));
        EXPECT_EQ(colonne("Zefo2", "fam1_1, fam1_4, D15, D33"),
                  (std::vector<std::string>{c.famiglia, std::string(c.famiglia) == "X" ? "CONIUGE         " : "<null>",
                                            c.d15, c.d33}));
    }
}

TEST_F(Paghe, MarcatoreFamiliariEsatto) {
    auto riga = certificato("A", "UNO");
    famiglia(riga, {{"C", "CONIUGE", "12", ""}}).at(1750, "Nota BO ");
    ASSERT_TRUE(importa({riga}));
    EXPECT_EQ(colonne("Zefo2", "fam1_1"), std::vector<std::string>{"<null>"});
}

TEST_F(Paghe, TipoDiRedditoC002) {
    for (auto [colonna, atteso] :
         std::vector<std::pair<std::string, std::string>>{{"2", "2"}, {"1", "1"}, {" ", "1"}, {"X", "1"}}) {
        auto riga = certificato("A", "UNO");
        riga.at(2258, colonna);
        ASSERT_TRUE(importa({riga}));
        EXPECT_EQ(colonne("Zefo1", "C002"), std::vector<std::string>{atteso}) << colonna;
    }
}

TEST_F(Paghe, RigheVuoteSaltate) {
    ASSERT_TRUE(importa({"", "   \t", certificato("A", "UNA"), " ", certificato("B", "DUE"), "\x1a"}));
    EXPECT_EQ(a.conta("Zefo1"), 2);
}

TEST(Riepilogo, ConteggiConIlSeparatoreDelleMigliaia) {
    struct {
        std::size_t certificati;
        std::optional<std::size_t> aggiuntive;
        const char* atteso;
    } casi[] = {
        {1, 0, "Importato 1 certificato (0 righe aggiuntive) dal file F."},
        {999, 1, "Importati 999 certificati (1 riga aggiuntiva) dal file F."},
        {20000, 1234567, "Importati 20.000 certificati (1.234.567 righe aggiuntive) dal file F."},
        {100000, std::nullopt, "Importati 100.000 certificati dal file F."},
    };
    for (const auto& c : casi) EXPECT_EQ(importazione::Riepilogo(c.certificati, c.aggiuntive, "F"), c.atteso);
}

TEST_F(Paghe, TestiDaWindows1252) {
    auto riga = certificato("A", "PER\xd2");
    riga.at(264, "\x80URO ").at(2212, std::string(45, ' ')).at(2212, "N\xb0 1");
    ASSERT_TRUE(importa({riga}));
    EXPECT_EQ(colonne("Zefo1", "B02, B03, BFirma"), (std::vector<std::string>{"PERÒ", "€URO", "N° 1"}));
}

TEST_F(Paghe, UnErroreNonSalvaNullaDellaCorsa) {
    a.conn.exec("insert into Zefo1 (B02) values ('GIÀ PRESENTE')");
    struct Caso {
        const char* nome;
        std::vector<std::string> righe;
        std::string messaggio;
    } casi[] = {
        {"importo non numerico",
         {certificato("A", "UNO"), certificato("B", "DUE"), certificato("C", "TRE").at(492, "00A1234,50")},
         "File /tmp/Dati/zefo.43, riga 3: il campo c011 (colonne 492-501) "
         "contiene «00A1234,50», che non è un importo."},
        {"punto decimale in una continuazione",
         {certificato("A", "UNO"), continuazione("0001").at(214, "0000500.00")},
         "File /tmp/Dati/zefo.43, riga 2: il campo D23 (colonne 214-223) "
         "contiene «0000500.00», che non è un importo."},
        {"codice convertito non numerico",
         {certificato("A", "UNO"), continuazione("0001").at(200, "00X1")},
         "File /tmp/Dati/zefo.43, riga 2: il campo D19 (colonne 200-203) "
         "contiene «00X1», che non è un importo."},
        {"giorni non numerici",
         {certificato("A", "UNO").at(484, "3 5")},
         "File /tmp/Dati/zefo.43, riga 1: il campo C006 (colonne 484-486) "
         "contiene «3 5», che non è un numero."},
        {"continuazione prima del primo certificato",
         {"", continuazione("0001"), certificato("A", "UNO")},
         "File /tmp/Dati/zefo.43, riga 2: una riga di continuazione (||||) "
         "precede la prima riga di certificato, non c'è un certificato a cui aggiungerla."},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        r.infos.clear();
        try {
            importa(c.righe);
            ADD_FAILURE() << "nessun errore";
        } catch (const storage::Error& e) {
            EXPECT_EQ(std::string(e.what()), c.messaggio);
        }
        EXPECT_TRUE(r.infos.empty());
        EXPECT_EQ(a.righe("select B02 from Zefo1"), Righe{{"GIÀ PRESENTE"}});
        EXPECT_EQ(a.conta("Zefo2"), 0);
        EXPECT_EQ(a.conta("Zefo3"), 0);
    }
}

TEST_F(Paghe, AnnullatoDalReporterNonSalvaNulla) {
    std::vector<std::string> righe(3000, certificato("A", "UNO"));
    r.annullaDopo = 1;  // the first report goes on, the second stops
    EXPECT_FALSE(importa(righe));
    EXPECT_EQ(r.avanzamenti, 2u);
    EXPECT_EQ(a.conta("Zefo1"), 0);
    EXPECT_TRUE(r.infos.empty());
}

TEST_F(Paghe, Amministratori) {
    auto uno = certificato("A", "UNO");
    uno.at(2258, "1").at(2260, "0").at(679, "0000700,00").at(503, "0000001,00");
    ASSERT_TRUE(importa({uno, continuazione("0001"), certificato("C", "TRE")}, Tracciato::AMM));
    EXPECT_EQ(r.errori,
              std::vector<std::string>{"Errore, c' è un amministratore con dati della tassazione separata. Riga 2 "
                                       "del file /tmp/Dati/zefo.43, dopo il certificato di UNO MARIO."});
    EXPECT_EQ(r.infos, std::vector<std::string>{"Operazione terminata.\nImportati 2 certificati "
                                                "(0 righe aggiuntive) dal file /tmp/Dati/zefo.43."});
    EXPECT_EQ(a.conta("Zefo3"), 0);
    EXPECT_EQ(a.righe("select Zefo2.tipo, B02, C002, c119, C001, C004, C006, C008, c011, c012, "
                      "c101, c102, Zefo2.D15, Zefo2.D33, Zefo2.D01, Azienda, Zefo2.ditta "
                      "from Zefo1 join Zefo2 on Zefo2.ID = Zefo1.ID order by Zefo1.ID"),
              (Righe{{"AMM", "UNO", "2", "2", "<null>", "2.000,00", "<null>", "01/01/2014", "3.000,50", "1,00",
                      "700,00", "<null>", "<null>", "<null>", "1234567890", "43", "43"},
                     {"AMM", "TRE", "2", "2", "<null>", "2.000,00", "<null>", "01/01/2014", "3.000,50", "", "",
                      "<null>", "<null>", "<null>", "1234567890", "43", "43"}}));
}

TEST_F(Paghe, CollaboratoriSenzaFamiliari) {
    auto uno = certificato("A", "UNO");
    uno.at(1354, "0000000,00").at(1365, "0000000,00").at(1387, "0000010,00");
    famiglia(uno, {{"C", "CONIUGE", "12", ""}});
    ASSERT_TRUE(importa({continuazione("0001"), uno, continuazione("0001")}, Tracciato::CoC));
    EXPECT_EQ(r.errori, (std::vector<std::string>{"Errore, c' è un CoCoCo con dati della tassazione separata. Riga 1 "
                                                  "del file /tmp/Dati/zefo.43.",
                                                  "Errore, c' è un CoCoCo con dati della tassazione separata. Riga 3 "
                                                  "del file /tmp/Dati/zefo.43, dopo il certificato di UNO MARIO."}));
    EXPECT_EQ(colonne("Zefo2", "tipo, D09, D10, D11, D12, D13, fam1_1"),
              (std::vector<std::string>{"CoC", "", "", "", "10,00", "X", "<null>"}));
    EXPECT_EQ(colonne("Zefo1", "C001, C002, C004, c119, C008, C009"),
              (std::vector<std::string>{"<null>", "2", "<null>", "<null>", "01/01/2014", "<null>"}));
}

TEST_F(Paghe, AltroLeggeD01D07DallaRiga) {
    auto uno = certificato("A", "UNO");
    uno.at(1281, "00000001234,56").at(1296, "0").at(1300, "0000300,00").at(1317, "0000000,00").at(1328, "1");
    auto due = certificato("B", "DUE");
    due.at(1281, "1234567890    ").at(1296, "1");
    auto tre = continuazione("0001").lunga(2304);  // not recognised: a certificate
    ASSERT_TRUE(altro({uno, due, tre}));
    EXPECT_EQ(r.infos, std::vector<std::string>{"Operazione terminata.\nImportati 3 certificati "
                                                "(0 righe aggiuntive) dal file /tmp/Dati/zefo.03."});
    EXPECT_EQ(a.righe("select tipo, ditta, D01, D02, D03, D04, D05, D06, D07, D15 from Zefo2 "
                      "order by ID"),
              (Righe{{"DIP", "03", "1.234,56", "", "", "300,00", "", "", "1", "INPS0001"},
                     {"DIP", "03", "1234567890", "1", "", "", "", "", "", "INPS0001"},
                     {"DIP", "03", "", "", "", "", "", "", "", "<null>"}}));
    EXPECT_EQ(a.conta("Zefo3"), 0);
}

TEST_F(Paghe, CopiaSostituto) {
    // Not ticked: SostitutoImposta untouched.
    ASSERT_TRUE(importa({certificato("A", "UNO")}));
    EXPECT_EQ(a.conta("SostitutoImposta"), 0);
    // Ticked with no row: one is appended from the certificate stored last.
    auto ultimo = certificato("B", "DUE");
    ultimo.at(1, "99999999999     ").at(18, "ALTRO ENTE     ");
    ASSERT_TRUE(importa({certificato("A", "UNO"), ultimo, continuazione("0001")}, Tracciato::DIP, true));
    const std::string sql =
        "select CodiceFiscale, CognomeDenominazione, Nome, TelefonoPref, telefono, email, "
        "CodEnte from SostitutoImposta order by ID";
    EXPECT_EQ(a.righe(sql), (Righe{{"99999999999", "ALTRO ENTE", "", "06123456", "", "ente@prova.it", "<null>"}}));
    // Ticked with a row: its copied columns replaced, the others kept.
    a.conn.exec("update SostitutoImposta set CodEnte = 'K', Nome = 'VECCHIO', telefono = '1'");
    ASSERT_TRUE(importa({certificato("A", "UNO")}, Tracciato::AMM, true));
    EXPECT_EQ(a.righe(sql), (Righe{{"01234567890", "COMUNE DI PROVA", "", "06123456", "", "ente@prova.it", "K"}}));
    // A file without certificates is refused, and copies nothing.
    EXPECT_THROW(importa({""}, Tracciato::DIP, true), storage::Error);
    EXPECT_EQ(a.valore("select CodEnte || CodiceFiscale from SostitutoImposta"), "K01234567890");
}

TEST_F(Paghe, AltroCopiaSostituto) {
    ASSERT_TRUE(altro({certificato("A", "UNO")}, true));
    EXPECT_EQ(a.valore("select CodiceFiscale from SostitutoImposta"), "01234567890");
}

// The checks made on the path before anything is read.
class PagheDaFile : public Paghe {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("palio_import_" + std::to_string(storage::sistema::idProcesso()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir / "Dati.2014");
        std::filesystem::create_directories(dir / ".nascosta");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string scrivi(const std::string& nome, const std::vector<std::string>& righe) {
        std::ofstream((dir / nome).string(), std::ios::binary) << prova::file(righe);
        return (dir / nome).string();
    }
    std::filesystem::path dir;
};

TEST_F(PagheDaFile, CodiceAziendaDalNomeDelFile) {
    const std::string f = scrivi("Dati.2014/paghe.43", {certificato("A", "UNO")});
    ASSERT_TRUE(importazione::ImportaPaghe(a.conn, f, Tracciato::DIP, false, dati, r));
    const std::string g = scrivi(".nascosta/zefo.12345678901", {certificato("A", "UNO")});
    r.risposte = {true};  // the same content again
    ASSERT_TRUE(importazione::ImportaAltro(a.conn, g, false, dati, r));
    EXPECT_EQ(a.righe("select Azienda, (select ditta from Zefo2 where Zefo2.ID = Zefo1.ID) "
                      "from Zefo1 order by ID"),
              (Righe{{"43", "43"}, {"1234567890", "1234567890"}}));
}

TEST_F(PagheDaFile, FileMancanteONomeSenzaPunto) {
    const std::string manca = (dir / "zefo.43").string();
    EXPECT_FALSE(importazione::ImportaPaghe(a.conn, manca, Tracciato::DIP, false, dati, r));
    EXPECT_FALSE(importazione::ImportaAltro(a.conn, scrivi("Dati.2014/paghe", {"x"}), false, dati, r));
    EXPECT_FALSE(importazione::ImportaPaghe(a.conn, scrivi(".zefo", {"x"}), Tracciato::CoC, false, dati, r));
    EXPECT_EQ(r.errori,
              (std::vector<std::string>{"Il file " + manca + " non esiste. Non è possibile eseguire l'import.",
                                        "Errore nel nome del file", "Errore nel nome del file"}));
    EXPECT_TRUE(r.infos.empty());
    EXPECT_EQ(a.conta("Zefo1"), 0);
    EXPECT_THROW(importazione::ImportaPaghe(a.conn, (dir / "Dati.2014").string(), Tracciato::DIP, false, dati, r),
                 storage::Error);
}

}  // namespace

namespace {

// An import makes the certificates it adds changed now; the ones already there keep their time.
TEST_F(Paghe, ICertificatiNuoviSonoModificati) {
    ASSERT_TRUE(importa({certificato("RSSMRA80A01H501U", "ROSSI")}));
    a.conn.exec("update Invii set ModificatoIl = '2015-01-01T00:00:00'");
    ASSERT_TRUE(importa({certificato("VRDLGU70B02F205X", "VERDI"), certificato("BNCGNN60C03L219Y", "BIANCHI")}));
    EXPECT_EQ(
        a.righe("select ID, ModificatoIl = '2015-01-01T00:00:00', length(ModificatoIl) from Invii where Elenco = 'D' "
                "order by ID"),
        (Righe{{"1", "1", "19"}, {"2", "0", "19"}, {"3", "0", "19"}}));
}

}  // namespace
