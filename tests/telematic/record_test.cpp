#include "telematic/record.h"

#include <gtest/gtest.h>

#include <sstream>

#include "archivio_prova.h"

namespace {

using prova::Atteso;
using storage::Columns;
using storage::Row;

struct Registro : telematic::SegnalatoreErrori {
    std::vector<std::string> righe;
    void segnala(const std::string& t) override { righe.push_back(t); }
};

// A row of the given columns; unnamed columns of the table are empty.
Row riga(std::vector<std::pair<std::string, std::string>> valori) {
    std::vector<std::string> nomi, testi;
    for (auto& [c, v] : valori) {
        nomi.push_back(c);
        testi.push_back(v);
    }
    return Row(std::make_shared<const Columns>(nomi), testi);
}

// Rows read from a real archive, so every column of the table exists.
class Records : public ::testing::Test {
protected:
    Row leggi(const std::string& tabella, std::int64_t id) {
        storage::Statement st(arch.conn, "select * from " + tabella + " where rowid = ?");
        st.bind(1, id);
        auto col = Columns::of(st);
        EXPECT_TRUE(st.step());
        return Row::from(st, col);
    }
    Row vuota(const std::string& tabella) {
        storage::Statement st(arch.conn, "select * from " + tabella);
        return Row(Columns::of(st), {});
    }
    std::string scrivi(const std::function<void(telematic::ContestoRecord&)>& f) {
        out.str("");
        telematic::ContestoRecord ctx{out, campi, {}};
        f(ctx);
        return out.str();
    }
    prova::Archivio arch;
    Registro log;
    telematic::ContestoCampi campi{&log, nullptr, telematic::Fornitura::Dipendenti, "ROSSI MARIO"};
    std::ostringstream out;
};

TEST_F(Records, HeaderA) {
    Row s = riga({{"CodiceFiscale", "01234567890"}});
    EXPECT_EQ(scrivi([&](auto& c) { telematic::ScriviRecordA(c, "10", s); }),
              Atteso('A').at(16, "CUR15").at(21, "10").at(23, "01234567890").str());
}

TEST_F(Records, FrontispieceB) {
    auto id = arch.inserisci("SostitutoImposta", {{"CodiceFiscale", "RSSMRA70A01H501U"},
                                                  {"Annullamento", "X"},
                                                  {"sostituzione", "   "},
                                                  {"CognomeDenominazione", "ACME SRL"},
                                                  {"email", "info@acme.it"},
                                                  {"TelefonoPref", "06"},
                                                  {"telefono", "12345678901"},
                                                  {"CFRapp", "VRDLGU60B02F205X"},
                                                  {"CodCar", "1"},
                                                  {"CognomeRapp", "VERDI"},
                                                  {"NomeRapp", "LUIGI"},
                                                  {"A1", "12"},
                                                  {"A2", ""},
                                                  {"A3", "X"},
                                                  {"A4", "BNCGNN55C03L219Y"},
                                                  {"A8", "1"},
                                                  {"A5", "05"},
                                                  {"A6", "03"},
                                                  {"A7", "2015"}});
    Row s = leggi("SostitutoImposta", id);
    EXPECT_EQ(scrivi([&](auto& c) { telematic::ScriviRecordB(c, s); }), Atteso('B')
                                                                            .at(2, "RSSMRA70A01H501U")
                                                                            .at(18, "00000001")
                                                                            .at(91, "10")
                                                                            .at(137, "ACME SRL")
                                                                            .at(197, "info@acme.it")
                                                                            .at(297, "061234567890")
                                                                            .at(321, "VRDLGU60B02F205X")
                                                                            .at(337, "01")
                                                                            .at(339, "VERDI")
                                                                            .at(363, "LUIGI")
                                                                            .at(383, "RSSMRA70A01")
                                                                            .at(394, "00000012")
                                                                            .at(402, "00000000")
                                                                            .at(410, "11")
                                                                            .at(412, "BNCGNN55C03L219Y")
                                                                            .at(428, "1050320151")
                                                                            .str());

    // No intermediary: blanks and ten zeros whatever the commitment columns hold.
    Row senza = leggi(
        "SostitutoImposta",
        arch.inserisci("SostitutoImposta", {{"A4", ""}, {"A8", "2"}, {"A5", "01"}, {"A6", "01"}, {"A7", "2015"}}));
    std::string r = scrivi([&](auto& c) { telematic::ScriviRecordB(c, senza); });
    EXPECT_EQ(r.substr(411, 26), std::string(16, ' ') + "0000000000");
    EXPECT_EQ(r.substr(90, 2), "00");
    EXPECT_EQ(r.substr(409, 2), "01");  // A3 empty, signed
}

TEST_F(Records, QuadroCtC) {
    Row s = riga({{"CodiceFiscale", "01234567890"}, {"email", "a@b.it"}});
    Row q = riga({{"NumCellulare", "3331234567"},
                  {"B5", "X"},
                  {"B6", ""},
                  {"B1", " BNCGNN55C03L219Y"},
                  {"B2", "UFF01"},
                  {"B3", ""}});
    std::string campi = "CT001001" + std::string("01234567890") + std::string(5, ' ') + "CT0010023331234567      " +
                        "CT001003a@b.it          " + "CT002001               1" + "CT003001BNCGNN55C03L219Y" +
                        "CT003002UFF01           " + "CT003005               1";
    EXPECT_EQ(scrivi([&](auto& c) { telematic::ScriviRecordC(c, s, q); }),
              Atteso('C').at(2, "01234567890").at(18, "00000001").at(90, campi).str());

    // An address longer than 16 characters is left out; an empty Quadro CT still ends ticked.
    Row lunga = riga({{"CodiceFiscale", ""}, {"email", "abcdefghij@kl.it1"}});
    std::string r = scrivi([&](auto& c) { telematic::ScriviRecordC(c, lunga, vuota("QuadroCt")); });
    EXPECT_EQ(r.substr(89, 24), "CT003005               1");
    EXPECT_EQ(r.substr(113, 24), std::string(24, ' '));
    Row sedici = riga({{"CodiceFiscale", ""}, {"email", "abcdefghij@kl.it"}});
    r = scrivi([&](auto& c) { telematic::ScriviRecordC(c, sedici, vuota("QuadroCt")); });
    EXPECT_EQ(r.substr(89, 24), "CT001003abcdefghij@kl.it");
}

TEST_F(Records, TrailerZ) {
    telematic::Contatori n;
    n.ContaB = 1;
    n.ContaD = 120;
    n.ContaG = 150;
    EXPECT_EQ(scrivi([&](auto& c) { telematic::ScriviRecordZ(c, n); }),
              Atteso('Z').at(16, "000000001000000000000000120000000150000000000").str());
}

TEST_F(Records, EveryRecordIs1900BytesEndingInACrLf) {
    std::string lungo(3000, 'x');
    std::string r = scrivi([&](auto& c) { telematic::ScriviRecord(c.FileInvio, "D" + lungo); });
    ASSERT_EQ(r.size(), 1900u);
    EXPECT_EQ(r.substr(1897), "A\r\n");
    EXPECT_EQ(r.substr(1, 1896), lungo.substr(0, 1896));
}

TEST_F(Records, AnagraphicD) {
    Row s = riga({{"CodiceFiscale", "01234567890"}});
    auto vuoto = arch.inserisci("Zefo1", {});
    Row cert = leggi("Zefo1", vuoto);
    char buf[6];
    std::snprintf(buf, sizeof buf, "%05lld", static_cast<long long>(vuoto));
    EXPECT_EQ(scrivi([&](auto& c) { telematic::ScriviRecordD(c, s, cert); }),
              prova::testa('D', "00000001", "01234567890", "", buf).at(90, "DA003002               1").str());

    auto id = arch.inserisci("Zefo1", {{"B01", "RSSMRA70A01H501U"},
                                       {"B02", "DELLA VALLE ROSSI"},
                                       {"B05", "01/02/1970"},
                                       {"BFirma", "X"},
                                       {"C001", "1.000,00"}});
    cert = leggi("Zefo1", id);
    std::snprintf(buf, sizeof buf, "%05lld", static_cast<long long>(id));
    EXPECT_EQ(scrivi([&](auto& c) { telematic::ScriviRecordD(c, s, cert); }),
              prova::testa('D', "00000001", "01234567890", "RSSMRA70A01H501U", buf)
                  .at(90,
                      "DA002001RSSMRA70A01H501U"
                      "DA002002DELLA VALLE ROSS"
                      "DA002002+I              "
                      "DA002005        01021970"
                      "DA003002               1")
                  .str());
    EXPECT_TRUE(log.righe.empty());
}

TEST_F(Records, CertificateNumberKeepsItsFirstFiveDigits) {
    const struct {
        const char* id;
        const char* atteso;
    } casi[] = {{"7", "00007"}, {"123456", "12345"}, {"99999", "99999"}};
    for (const auto& c : casi)
        EXPECT_EQ(telematic::TestaCertificato('G', "00000001", "X", "Y", c.id).substr(41, 5), c.atteso);
    EXPECT_EQ(telematic::TestaCertificato('G', "00000001", "X", "Y", "1").substr(46), std::string(43, ' '));
    EXPECT_EQ(telematic::TestaCertificato('D', "00000001", "X", "Y", "1").size(), 89u);
}

TEST_F(Records, FiscalGWithChecksFamilyAndSocialSecurity) {
    Row s = riga({{"CodiceFiscale", "01234567890"}});
    auto id = arch.inserisci("Zefo1", {{"B01", "RSSMRA70A01H501U"},
                                       {"B02", "ROSSI"},
                                       {"B03", "MARIO"},
                                       {"C001", "25.000,00"},
                                       {"C002", "3"},
                                       {"C006", "365"},
                                       {"c031", "10,00"},
                                       {"c116", "2013"},
                                       {"c145", "01/01/2014"}});
    arch.inserisci("Zefo2", {{"ID", std::to_string(id)},
                             {"c204", "X"},
                             {"c305", "BNCGNN55C03L219Y"},
                             {"c408", "100,00"},
                             {"fam1_1", "X"},
                             {"fam1_4", "BNCNNA72C41H501K"},
                             {"fam1_5", "12"},
                             {"fam2_2", "X"},
                             {"fam2_4", "RSSLCU05A01H501A"},
                             {"fam4_2", "X"},
                             {"fam4_3", "X"},
                             {"fam5_7", "C"},
                             {"fam6_7", "c"},
                             {"fam7_7", "50,00"},
                             {"fam10_1", "100,00"},
                             {"D01", "123456789"},
                             {"D08_1", "X"},
                             {"D08_2", "X"},
                             {"D08_3", "X"},
                             {"D08_4", "X"},
                             {"D08_5", "X"},
                             {"D08_6", "X"},
                             {"D19", "6003"},
                             {"D23", "1.000,00"},
                             {"D36", "1.234"},
                             {"D37_1", "01"},
                             {"D37_2", "03"},
                             {"D38_1", ""},
                             {"D38_2", ""},
                             {"tipo", "DIP"}});
    Row z1 = leggi("Zefo1", id);
    storage::Statement st(arch.conn, "select * from Zefo2 where ID = ?");
    st.bind(1, id);
    auto col = Columns::of(st);
    ASSERT_TRUE(st.step());
    Row z2 = Row::from(st, col);
    char buf[6];
    std::snprintf(buf, sizeof buf, "%05lld", static_cast<long long>(id));
    const std::string campi =
        "DB001001        25000,00"
        "DB001002               3"
        "DB001006             365"
        "DB001031           10,00"
        "DB001116            2013"
        "DB001145        01012014"
        "DB001204               1"
        "DB001305BNCGNN55C03L219Y"
        "DB001408             100"
        "DB801001               1"
        "DB801004BNCNNA72C41H501K"
        "DB801005              12"
        "DB802004RSSLCU05A01H501A"  // row 2 has no "A" box: no letter
        "DB804001A               "
        "DB805B07C               "
        "DB806A07               c"
        "DB807A07           50,00"
        "DB810001             100"
        "DC001001       123456789"
        "DC001008    111111000000"
        "DC001A19            6003"
        "DC001023         1000,00"
        "DC001036            1234"
        "DC001037            0103";
    EXPECT_EQ(scrivi([&](auto& c) { telematic::ScriviRecordG(c, s, z1, z2); }),
              prova::testa('G', "00000001", "01234567890", "RSSMRA70A01H501U", buf).at(90, campi).str());
    ASSERT_EQ(log.righe.size(), 3u);
    EXPECT_EQ(log.righe[0],
              "ROSSI MARIO: La data di inizio lavoro è obbligatoria se prensenti i campi DB001001 o DB001004\r");
    EXPECT_EQ(log.righe[1], "RSSMRA70A01H501U: Campo DB001002 non in (1,2)");
    EXPECT_EQ(log.righe[2].rfind("Errore 47156 in un camponon posizionali al \rDipendente ROSSI MARIO - "
                                 "codice DC001001 - tipo N10 - valore 123456789\r",
                                 0),
              0u);
}

TEST_F(Records, EmptyGHoldsOnlyItsHeadAndLogsPointTwo) {
    Row s = riga({{"CodiceFiscale", "X"}});
    Row z1 = vuota("Zefo1");
    Row z2 = vuota("Zefo2");
    std::string r = scrivi([&](auto& c) { telematic::ScriviRecordG(c, s, z1, z2); });
    EXPECT_EQ(r, prova::testa('G', "00000001", "X", "", "00000").str());
    EXPECT_EQ(log.righe, std::vector<std::string>{": Campo DB001002 non in (1,2)"});
}

TEST_F(Records, SocialSecurityD19AndSecondSection) {
    Row s = riga({{"CodiceFiscale", "X"}});
    Row z1 = riga({{"B01", "CF"}, {"ID", "3"}});
    const struct {
        const char* d19;
        std::string campo;
    } casi[] = {{"6003", "DC001A19            6003"},
                {"6001", "DC001B19            6001"},
                {"6002", ""},
                {" 6003", ""},
                {"", ""}};
    for (const auto& c : casi) {
        auto id3 = arch.inserisci("Zefo3", {{"Id", "3"}, {"D19", c.d19}, {"D34_12", "X"}});
        Row z3 = leggi("Zefo3", id3);
        std::string r = scrivi([&](auto& ctx) { telematic::ScriviRecordG2(ctx, s, z1, z3); });
        EXPECT_EQ(r,
                  prova::testa('G', "00000002", "X", "CF", "00003").at(90, c.campo + "DC001034    000000000001").str())
            << c.d19;
    }
}

TEST_F(Records, ProfessionalH) {
    Row s = riga({{"CodiceFiscale", "X"}});
    auto id = arch.inserisci("Professionisti", {{"B01", "CF"}, {"E04", "1.000,00"}, {"E06", "2"}, {"BFirma", "X"}});
    Row p = leggi("Professionisti", id);
    char buf[6];
    std::snprintf(buf, sizeof buf, "%05lld", static_cast<long long>(id));
    EXPECT_EQ(
        scrivi([&](auto& c) { telematic::ScriviRecordH(c, s, p); }),
        prova::testa('H', "00000001", "X", "CF", buf).at(90, "AU001004         1000,00AU001006               2").str());
}

TEST_F(Records, EverySelfEmploymentBoxInItsOrder) {
    prova::Valori v;
    for (int n = 1; n <= 23; ++n) v.push_back({(n < 10 ? "E0" : "E") + std::to_string(n), n == 2 ? "2014" : "1,00"});
    Row p = leggi("Professionisti", arch.inserisci("Professionisti", v));
    std::string r = scrivi([&](auto& c) { telematic::ScriviRecordH(c, riga({{"CodiceFiscale", "X"}}), p); });
    for (int n = 1; n <= 23; ++n) {
        char cod[16];
        std::snprintf(cod, sizeof cod, "AU001%03d", n);
        EXPECT_EQ(r.substr(89 + 24 * static_cast<std::size_t>(n - 1), 8), cod);
    }
    EXPECT_EQ(r.substr(89 + 24 * 23, 8), std::string(8, ' '));
    EXPECT_TRUE(log.righe.empty());
}

TEST_F(Records, ASectionBeyondSeventyFiveFieldsContinuesInAFurtherRecord) {
    const std::string t = telematic::TestaCertificato('G', "00000001", "X", "CF", "1");
    const struct {
        std::size_t campi;
        int records;
    } casi[] = {{0, 1}, {75, 1}, {76, 2}, {150, 2}, {151, 3}};
    for (const auto& c : casi) {
        std::vector<std::string> campi;
        for (std::size_t i = 0; i < c.campi; ++i) {
            char cod[64];
            std::snprintf(cod, sizeof cod, "DB%06zu%16zu", i, i);
            campi.push_back(cod);
        }
        std::ostringstream o;
        EXPECT_EQ(telematic::ScriviRecordCertificato(o, t, campi), c.records) << c.campi;
        auto recs = prova::records(o.str());
        ASSERT_EQ(recs.size(), static_cast<std::size_t>(c.records));
        std::string tutti;
        for (const auto& r : recs) {
            EXPECT_EQ(r.substr(0, 89), t);
            EXPECT_EQ(r.substr(1889), std::string(8, ' ') + "A\r\n");
            std::string area = r.substr(89, 1800);
            area.erase(area.find_last_not_of(' ') + 1);
            EXPECT_EQ(area.size() % 24, 0u);
            tutti += area;
        }
        std::string attesi;
        for (const auto& f : campi) attesi += f;
        EXPECT_EQ(tutti, attesi) << c.campi;
    }
    // A continued text is never split between records.
    std::vector<std::string> campi(74, "DB001001" + std::string(16, '1'));
    campi.push_back(telematic::CampoAlfanumerico("DB001192", std::string(20, 'z')));
    std::ostringstream o;
    EXPECT_EQ(telematic::ScriviRecordCertificato(o, t, campi), 2);
    EXPECT_EQ(o.str().substr(1900 + 89, 48), campi.back());
}

TEST_F(Records, UnrepresentableCharactersBecomeQuestionMarksAndAreLogged) {
    Row s = riga({{"CodiceFiscale", "X"}});
    Row completa = [&] {
        storage::Statement st(arch.conn, "select * from Zefo1");
        auto col = Columns::of(st);
        Row r(col, {});
        r.at(static_cast<std::size_t>(col->require("ID"))) = "4";
        r.at(static_cast<std::size_t>(col->require("B02"))) = "Łukasz";
        r.at(static_cast<std::size_t>(col->require("B03"))) = "Niccolò";
        return r;
    }();
    std::string r = scrivi([&](auto& c) {
        c.CertificatoCorrente = "4";
        c.campi.NominativoCorrente = "Łukasz Niccolò";
        telematic::ScriviRecordD(c, s, completa);
    });
    EXPECT_EQ(r.substr(89, 48), "DA002002?ukasz          DA002003Niccol\xF2         ");
    EXPECT_EQ(log.righe,
              std::vector<std::string>{"Certificato 4 (Łukasz Niccolò): la colonna B02 contiene caratteri non "
                                       "rappresentabili in Windows-1252, scritti come \"?\""});
}

// The G record reports in the order it writes: its head (the recipient's code), point 2, the boxes.
TEST_F(Records, GReportsItsHeadBeforeItsBoxes) {
    Row s = riga({{"CodiceFiscale", "X"}});
    Row z1 = [&] {
        Row r = vuota("Zefo1");
        Row piena(r.columns(), std::vector<std::string>(r.columns()->size()));
        piena.at(static_cast<std::size_t>(r.columns()->require("ID"))) = "4";
        piena.at(static_cast<std::size_t>(r.columns()->require("B01"))) = "RSSMRA80A01H50Ł";
        piena.at(static_cast<std::size_t>(r.columns()->require("c192"))) = "Ł";
        return piena;
    }();
    scrivi([&](auto& c) {
        c.CertificatoCorrente = "4";
        telematic::ScriviRecordG(c, s, z1, vuota("Zefo2"));
    });
    const std::string nonRappresentabili =
        " contiene caratteri non rappresentabili in Windows-1252, scritti come \"?\"";
    EXPECT_EQ(log.righe,
              (std::vector<std::string>{"Certificato 4 (ROSSI MARIO): la colonna B01" + nonRappresentabili,
                                        "RSSMRA80A01H50Ł: Campo DB001002 non in (1,2)",
                                        "Certificato 4 (ROSSI MARIO): la colonna c192" + nonRappresentabili}));
}

}  // namespace
