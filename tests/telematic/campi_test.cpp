#include "telematic/campi.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using telematic::AllineaDestra;
using telematic::AllineaSinistra;
using telematic::RiempiZeri;

struct Registro : telematic::SegnalatoreErrori {
    std::vector<std::string> righe;
    void segnala(const std::string& t) override { righe.push_back(t); }
};

struct ReporterRegistro : storage::Reporter {
    std::vector<std::string> errori;
    void info(const std::string&) override {}
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string&) override { return false; }
};

std::string b(std::size_t n) { return std::string(n, ' '); }

TEST(Primitive, Allineamenti) {
    struct Caso {
        const char* nome;
        std::string ottenuto, atteso;
    } casi[] = {
        {"sinistra corto", AllineaSinistra("ROSSI", 8), "ROSSI   "},
        {"sinistra taglia", AllineaSinistra("ROSSI", 3), "ROS"},
        {"sinistra vuoto", AllineaSinistra("", 14), b(14)},
        {"sinistra blank", AllineaSinistra(" ", 14), b(14)},
        {"sinistra zero", AllineaSinistra("", 0), ""},
        {"sinistra esatto", AllineaSinistra("A.B", 3), "A.B"},
        {"destra importo", AllineaDestra("12.345,67", 16), b(8) + "12345,67"},
        {"destra lungo", AllineaDestra("12345678901234567890", 16), "1234567890123456"},
        {"destra tiene blank", AllineaDestra(" 1 ", 5), "   1 "},
        {"zeri uno", RiempiZeri("1", 8), "00000001"},
        {"zeri punti", RiempiZeri("1.234", 8), "00001234"},
        {"zeri vuoto", RiempiZeri("", 6), "000000"},
        {"zeri taglia a sinistra", RiempiZeri("123456", 5), "12345"},
        {"zeri segno", RiempiZeri("-12", 4), "0-12"},
        {"zeri esatto senza punti", RiempiZeri("1.2345", 5), "12345"},
    };
    for (const auto& c : casi) EXPECT_EQ(c.ottenuto, c.atteso) << c.nome;
}

TEST(Encoder, OneBoxPerType) {
    struct Caso {
        const char* tipo;
        const char* valore;
        std::string atteso;  // after the 8-character code "XX000001"
        bool errore;
    } casi[] = {
        {"CB", "X", b(15) + "1", false},
        {"CB", "0", b(15) + "1", false},
        {"CB", "S", b(15) + "1", false},
        {"CB", "   ", "", false},
        {"CB", "\t\r\n", "", false},
        {"DT", "31/12/2014", b(8) + "31122014", false},
        {"DT", "1/2/2014", b(8) + "122014", true},
        {"VP", "1.234,56", b(9) + "1234,56", false},
        {"VP", "123.456.789.012,34", b(1) + "123456789012,34", false},  // 15 characters
        {"VP", "12345678901234,567", "12345678901234,567", true},
        {"NP", "3", b(15) + "3", false},
        {"VN", "-1.000,00", b(8) + "-1000,00", false},
        {"NU", "12.345", b(11) + "12345", false},
        {"NU", "123456789012345", b(1) + "123456789012345", false},
        {"NU", "12345678901234567890", "1234567890123456", false},
        {"VP", "123.456.789.012,34", b(1) + "123456789012,34", false},
        {"PC", "100,00", b(13) + "100", false},
        {"PC", " 100,00 ", b(13) + "100", false},
        {"PC", "50,00", b(11) + "50,00", false},
        {"PC", "1.050,00", b(8) + "1.050,00", false},
        {"DA", "2014", b(12) + "2014", false},
        {"DA", "14", b(12) + "14", true},
        {"CN", "12345678901", "12345678901" + b(5), false},
        {"N1", "1", b(15) + "1", false},
        {"N2", "12", b(14) + "12", false},
        {"N2", "1", b(14) + "1", true},
        {"N3", "365", b(13) + "365", false},
        {"N3", "1234", b(12) + "1234", false},  // reported as 47156, still written
        {"N10", "1234567890", b(6) + "1234567890", false},
        {"N10", "123456789", b(7) + "123456789", false},
        {"CF", "  RSSMRA70A01H501U ", "RSSMRA70A01H501U", false},
        {"AN", "  Roma", "  Roma" + b(10), false},
    };
    for (const auto& c : casi) {
        Registro r;
        telematic::ContestoCampi ctx{&r, nullptr, telematic::Fornitura::Dipendenti, "ROSSI MARIO"};
        std::string out = telematic::CampoNonPosizionale(ctx, "XX000001", c.tipo, c.valore);
        std::string atteso = c.atteso.empty() ? "" : "XX000001" + c.atteso;
        EXPECT_EQ(out, atteso) << c.tipo << " [" << c.valore << "]";
        bool ha47812 = !r.righe.empty() && r.righe.back().rfind("Errore 47812", 0) == 0;
        EXPECT_EQ(ha47812, c.errore) << c.tipo << " [" << c.valore << "]";
    }
}

TEST(Encoder, TextsContinueInElementsOfSixteen) {
    const struct {
        std::size_t lunghezza;
        std::size_t elementi;
    } casi[] = {{16, 1}, {17, 2}, {31, 2}, {32, 3}, {40, 3}};
    for (const auto& c : casi) {
        std::string v;
        for (std::size_t i = 0; i < c.lunghezza; ++i) v += static_cast<char>('A' + i % 26);
        std::string out = telematic::CampoAlfanumerico("DA002002", v);
        ASSERT_EQ(out.size(), 24 * c.elementi) << c.lunghezza;
        EXPECT_EQ(out.substr(8, 16), v.substr(0, 16));
        if (c.elementi > 1) {
            EXPECT_EQ(out.substr(24, 8), "DA002002");
            EXPECT_EQ(out[32], '+');
            EXPECT_EQ(out.substr(33, std::min<std::size_t>(15, v.size() - 16)), v.substr(16, 15));
        }
    }
    std::string quaranta(40, 'x');
    for (int i = 0; i < 40; ++i) quaranta[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(telematic::CampoAlfanumerico("DA001002", quaranta), "DA001002" + quaranta.substr(0, 16) + "DA001002+" +
                                                                      quaranta.substr(16, 15) + "DA001002+" +
                                                                      quaranta.substr(31, 9) + b(6));
}

TEST(Encoder, Months) {
    std::array<std::string_view, 12> mesi{};
    EXPECT_EQ(telematic::CampoMesi("DC001008", mesi), "");
    mesi[2] = "X";
    mesi[11] = " 1 ";
    EXPECT_EQ(telematic::CampoMesi("DC001008", mesi), "DC001008    001000000001");
    mesi[5] = "   ";
    EXPECT_EQ(telematic::CampoMesi("DC001008", mesi), "DC001008    001000000001");
}

TEST(Encoder, ReportsWordedPerRun) {
    const std::string CR = "\r";
    struct Caso {
        telematic::Fornitura fornitura;
        const char* tipo;
        const char* valore;
        std::string atteso;
    } casi[] = {
        {telematic::Fornitura::Dipendenti, "N3", "1234",
         "Errore 47156 in un campo non posizionali al " + CR +
             "Dipendente ROSSI MARIO - codice XX000001 - tipo N3 - valore 1234" + CR +
             "Mi aspetto un numero di massimo tre  cifre." + CR + CR},
        {telematic::Fornitura::Professionisti, "N3", "1234",
         "Errore 47156 in un camponon posizionali al " + CR +
             "Professionista ROSSI MARIO - codice XX000001 - tipo N3 - valore 1234" + CR +
             "Mi aspetto un numero di massimo tre  cifre"},
        {telematic::Fornitura::Dipendenti, "N10", "123",
         "Errore 47156 in un camponon posizionali al " + CR +
             "Dipendente ROSSI MARIO - codice XX000001 - tipo N10 - valore 123" + CR +
             "Mi aspetto un numero di massimo 10  cifre" + CR + CR},
        {telematic::Fornitura::Professionisti, "N10", "123",
         "Errore 47156 in un camponon posizionali al " + CR +
             "Dipendente ROSSI MARIO - codice XX000001 - tipo N10 - valore 123" + CR +
             "Mi aspetto un numero di massimo 10  cifre"},
        {telematic::Fornitura::Dipendenti, "VP", "1.234.567.890.123,456",
         "Errore 47812 nei campi non posizionali al dipendente ROSSI MARIO - codice XX000001 - "
         "tipo VP - valore 1234567890123,456" +
             CR},
        {telematic::Fornitura::Professionisti, "DT", "1/2/2014",
         "Errore 47812 nei campi non posizionali al dipendente ROSSI MARIO - codice XX000001 - "
         "tipo DT - valore 1/2/2014"},
    };
    for (const auto& c : casi) {
        Registro r;
        telematic::ContestoCampi ctx{&r, nullptr, c.fornitura, "ROSSI MARIO"};
        telematic::CampoNonPosizionale(ctx, "XX000001", c.tipo, c.valore);
        ASSERT_FALSE(r.righe.empty()) << c.tipo;
        EXPECT_EQ(r.righe.front(), c.atteso) << c.tipo;
    }
}

TEST(Encoder, UnknownTypeShowsABoxAndWritesNothing) {
    for (const char* tipo : {"cb", "CB ", "N11", "D4"}) {
        Registro r;
        ReporterRegistro box;
        telematic::ContestoCampi ctx{&r, &box, telematic::Fornitura::Dipendenti, ""};
        EXPECT_EQ(telematic::CampoNonPosizionale(ctx, "XX000001", tipo, "X"), "");
        ASSERT_EQ(box.errori.size(), 1u);
        EXPECT_EQ(box.errori[0], std::string("Non hai considerato il tipo non posizionale : ") + tipo);
        EXPECT_TRUE(r.righe.empty());
        EXPECT_EQ(telematic::CampoNonPosizionale(ctx, "XX000001", tipo, "  "), "");
        EXPECT_EQ(box.errori.size(), 1u);  // an empty box is empty for every type
    }
}

// The problems come back as values, in the order they arise: the code, the field and the value
// as the type's rule used it.
TEST(Encoder, ProblemsAsValues) {
    using telematic::ErroreCampo;
    using telematic::TipoCampo;
    const struct {
        TipoCampo tipo;
        const char* valore;
        std::vector<ErroreCampo> errori;
        const char* usato;
    } casi[] = {
        {TipoCampo::N3, "1234", {ErroreCampo::Cifre}, "1234"},
        {TipoCampo::N3, "12345678901234567", {ErroreCampo::Cifre, ErroreCampo::Lunghezza}, "12345678901234567"},
        {TipoCampo::N10, "123", {ErroreCampo::Cifre}, "123"},
        {TipoCampo::VP, "12.345.678.901.234,56", {ErroreCampo::Lunghezza}, "12345678901234,56"},
        {TipoCampo::DT, "1/2/2014", {ErroreCampo::Lunghezza}, "1/2/2014"},
        {TipoCampo::NU, "12345678901234567890", {}, ""},
        {TipoCampo::GiornoMese, "3112", {}, ""},
        {TipoCampo::CB, "?", {}, ""},
    };
    for (const auto& c : casi) {
        const auto r = telematic::Codifica("XX000001", c.tipo, c.valore);
        ASSERT_EQ(r.problemi.size(), c.errori.size()) << c.valore;
        for (std::size_t i = 0; i < c.errori.size(); ++i) {
            EXPECT_EQ(r.problemi[i].errore, c.errori[i]) << c.valore;
            EXPECT_EQ(r.problemi[i].codice, "XX000001");
            EXPECT_EQ(r.problemi[i].tipo, c.tipo);
        }
        if (!c.errori.empty()) {
            EXPECT_EQ(r.problemi.back().valore, c.usato) << c.valore;
        }
    }
    // A day and month goes out as a number, like NU.
    EXPECT_EQ(telematic::Codifica("DC001037", TipoCampo::GiornoMese, "3112").elementi, "DC001037" + b(12) + "3112");
    EXPECT_EQ(telematic::Codifica("DC001008", TipoCampo::Mesi, "X").elementi, "");
}

}  // namespace
