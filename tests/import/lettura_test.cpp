#include "import/lettura.h"

#include <gtest/gtest.h>

#include <sstream>

#include "storage/error.h"

using importazione::CodiceAzienda;
using importazione::ConvertiImporto;

namespace {

TEST(ConvertiImporto, TabellaDeiCasi) {
    struct Caso {
        const char* campo;
        const char* atteso;
    } casi[] = {
        {"0001234,50", "1.234,50"},
        {"0000000,07", "0,07"},
        {"0000000,50", "0,50"},
        {"0000250,00", "250,00"},
        {"0000000,00", ""},
        {"", ""},
        {"0", ""},
        {"0000", ""},
        {"00000000000000", ""},
        {"0      ", ""},
        {"1", "1"},
        {"X", "X"},
        {"2014", "2014"},
        {" 12,50 ", "12,50"},  // first character not "0": passes trimmed
        {"9999999,99", "9999999,99"},
        {"00012", "12,00"},
        {"0012", "12,00"},
        {"0999999,99", "999.999,99"},
        // wider fields keep every digit: no rounding to 8 significant digits
        {"0001234567,89", "1.234.567,89"},
        {"00000001234,56", "1.234,56"},
        {"01234567890,12", "1.234.567.890,00"},  // at most 10 characters are taken
        {"1234567890    ", "1234567890"},
        {"00000500,00", "500,00"},
        // a zero that is not exactly "0000000,00" is an amount of zero
        {"00000000,00", "0,00"},
        {"0,5", "0,50"},
        {"0012,345", "12,35"},
        {"0012,344", "12,34"},
        {"0-12,50", "-12,50"},
    };
    for (const auto& c : casi) {
        auto v = ConvertiImporto(c.campo);
        ASSERT_TRUE(v.has_value()) << c.campo;
        EXPECT_EQ(*v, c.atteso) << "campo «" << c.campo << "»";
    }
}

TEST(ConvertiImporto, NonNumeriSonoRifiutati) {
    for (const char* campo : {"00A1234,50", "0001.234,5", "0012,3A", "0012 34", "001e5", "0,,1", "0-", "0012,-3"})
        EXPECT_FALSE(ConvertiImporto(campo).has_value()) << campo;
}

TEST(LeggiConteggio, CifreZeriENonNumeri) {
    bool ok = false;
    EXPECT_EQ(importazione::LeggiConteggio("031", ok).value_or("<nessuno>"), "31");
    EXPECT_TRUE(ok);
    EXPECT_EQ(importazione::LeggiConteggio("365", ok).value_or("<nessuno>"), "365");
    EXPECT_FALSE(importazione::LeggiConteggio("000", ok).has_value());
    EXPECT_TRUE(ok);
    EXPECT_FALSE(importazione::LeggiConteggio("", ok).has_value());
    EXPECT_TRUE(ok);
    EXPECT_FALSE(importazione::LeggiConteggio("3A1", ok).has_value());
    EXPECT_FALSE(ok);
}

TEST(CodiceAzienda, DalNomeDelFileNonDalPercorso) {
    struct Caso {
        const char* percorso;
        const char* atteso;  // nullptr: refused
    } casi[] = {
        {"C:\\RVTMP\\zefo.43", "43"},
        {"c:\\rvtmp\\zefo.03", "03"},
        {"D:\\Dati.2014\\paghe.43", "43"},
        {"/home/ufficio/Dati.2014/paghe.43", "43"},
        {"/home/ufficio/.nascosta/zefo.43", "43"},
        {"zefo.43.bak", "43.bak"},
        {"zefo.12345678901", "1234567890"},
        {"zefo.àèìòùàèìòùx", "àèìòùàèìòù"},  // ten characters, not ten bytes
        {"zefo.", ""},
        {"/tmp/Dati.2014/paghe", nullptr},
        {"/tmp/.zefo43", nullptr},
        {"/tmp/Dati.2014/", nullptr},
    };
    for (const auto& c : casi) {
        auto v = CodiceAzienda(c.percorso);
        if (c.atteso) {
            ASSERT_TRUE(v.has_value()) << c.percorso;
            EXPECT_EQ(*v, c.atteso) << c.percorso;
        } else {
            EXPECT_FALSE(v.has_value()) << c.percorso;
        }
    }
}

// Each line whole, its pieces joined.
std::vector<std::string> righe(const std::string& dati,
                               importazione::LettoreRighe::LunghezzaTracciato tracciato = nullptr,
                               std::size_t pezzo = importazione::LettoreRighe::kPezzo) {
    std::istringstream in(dati);
    importazione::LettoreRighe l(in, "prova", tracciato, pezzo);
    std::vector<std::string> out;
    while (l.leggi()) {
        std::string riga(l.riga());
        while (l.continua()) {
            EXPECT_EQ(l.colonna(), riga.size() + 1);
            riga += l.riga();
        }
        out.push_back(riga);
    }
    return out;
}

TEST(LettoreRighe, FineRigaECtrlZ) {
    using V = std::vector<std::string>;
    EXPECT_EQ(righe("a\r\nb\nc"), (V{"a", "b", "c"}));
    EXPECT_EQ(righe("a\r\n"), (V{"a"}));  // a final line end makes no extra line
    EXPECT_EQ(righe("a\r\n\r\n"), (V{"a", ""}));
    EXPECT_EQ(righe("a\rb\n"), (V{"a", "b"}));  // a lone CR ends a line too
    EXPECT_EQ(righe("a\rb\r\nc\n\rd\r"), (V{"a", "b", "c", "", "d"}));
    EXPECT_EQ(righe("a\r\nb\x1a"
                    "c\r\nd\r\n"),
              (V{"a", "b"}));
    EXPECT_EQ(righe("a\r\n\x1a\r\nd"), (V{"a", ""}));
    EXPECT_EQ(righe(""), V{});
    EXPECT_EQ(righe(std::string(100000, 'x') + "\n"), V{std::string(100000, 'x')});
}

TEST(LettoreRighe, RigheLungheInPezzi) {
    using V = std::vector<std::string>;
    std::istringstream in("abcdefghijkl\nxy\n");
    importazione::LettoreRighe l(in, "prova", nullptr, 8);
    ASSERT_TRUE(l.leggi());
    EXPECT_EQ(l.riga(), "abcdefgh");
    ASSERT_TRUE(l.leggi());  // the rest of a line not asked for is passed over
    EXPECT_EQ(l.riga(), "xy");
    EXPECT_EQ(l.numero(), 2u);
    // A piece never ends inside a UTF-8 character: 9 bytes asked, "à" is two.
    EXPECT_EQ(righe("abcdefgh\xC3\xA0ijklmnop\xC3\xA8\n", nullptr, 9), V{"abcdefgh\xE0ijklmnop\xE8"});
    EXPECT_EQ(righe(std::string(200000, 'x') + "\r\n" + "y"), (V{std::string(200000, 'x'), "y"}));
}

TEST(LettoreRighe, CRSoloDentroIlTracciato) {
    using V = std::vector<std::string>;
    auto cinque = [](std::string_view) -> std::size_t { return 5; };
    // With LF line ends, a lone CR before column 5 belongs to the line; past it, ends it.
    EXPECT_EQ(righe("ab\rcdefg\r\nxy\rz\n", cinque), (V{"ab\rcdefg", "xy\rz"}));
    EXPECT_EQ(righe("abcde\rfg\n", cinque), (V{"abcde", "fg"}));
    // Without any LF, every lone CR ends a line, a short one included.
    EXPECT_EQ(righe("ab\rcdefgh\r", cinque), (V{"ab", "cdefgh"}));
    EXPECT_EQ(righe("ab\rcd\x1a\n", cinque), (V{"ab", "cd"}));
}

TEST(LettoreRighe, NumeraLeRigheEContaIByte) {
    std::istringstream in("uno\r\n\r\ntre\n");
    importazione::LettoreRighe l(in, "prova");
    EXPECT_EQ(l.totale(), 11u);
    std::vector<std::size_t> numeri;
    while (l.leggi()) numeri.push_back(l.numero());
    EXPECT_EQ(numeri, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(l.letti(), 11u);
}

TEST(Colonne, RigaCortaDaIlCampoParzialeOVuoto) {
    EXPECT_EQ(importazione::Colonne("abcdef", 2, 4), "bcd");
    EXPECT_EQ(importazione::Colonne("abcdef", 5, 10), "ef");
    EXPECT_EQ(importazione::Colonne("abcdef", 7, 10), "");
    EXPECT_EQ(importazione::Rifila("\t  ab c \r\x01"), "ab c");
}

}  // namespace
