#include "storage/cp1252.h"

#include <gtest/gtest.h>

namespace {

// The 27 bytes where Windows-1252 differs from Latin-1, with their characters.
struct Caso {
    unsigned char byte;
    const char* utf8;
};
const Caso kDiversi[] = {
    {0x80, "€"}, {0x82, "‚"}, {0x83, "ƒ"}, {0x84, "„"}, {0x85, "…"}, {0x86, "†"}, {0x87, "‡"}, {0x88, "ˆ"}, {0x89, "‰"},
    {0x8A, "Š"}, {0x8B, "‹"}, {0x8C, "Œ"}, {0x8E, "Ž"}, {0x91, "‘"}, {0x92, "’"}, {0x93, "“"}, {0x94, "”"}, {0x95, "•"},
    {0x96, "–"}, {0x97, "—"}, {0x98, "˜"}, {0x99, "™"}, {0x9A, "š"}, {0x9B, "›"}, {0x9C, "œ"}, {0x9E, "ž"}, {0x9F, "Ÿ"},
};

TEST(Windows1252, TheTwentySevenCharactersBothWays) {
    ASSERT_EQ(std::size(kDiversi), 27u);
    for (const auto& c : kDiversi) {
        std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(storage::daWindows1252(byte), c.utf8) << std::hex << int(c.byte);
        std::size_t persi = 99;
        EXPECT_EQ(storage::aWindows1252(c.utf8, &persi), byte) << c.utf8;
        EXPECT_EQ(persi, 0u);
    }
}

TEST(Windows1252, LatinOneRangeAndAscii) {
    EXPECT_EQ(storage::aWindows1252("Niccolò Àlbani, città"), "Niccol\xF2 \xC0lbani, citt\xE0");
    EXPECT_EQ(storage::daWindows1252("Niccol\xF2 citt\xE0"), "Niccolò città");
    for (int b = 0xA0; b <= 0xFF; ++b) {
        std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(storage::aWindows1252(storage::daWindows1252(byte)), byte) << b;
    }
}

TEST(Windows1252, CharactersItCannotHoldBecomeQuestionMarks) {
    std::size_t persi = 0;
    EXPECT_EQ(storage::aWindows1252("Łukasz 李", &persi), "?ukasz ?");
    EXPECT_EQ(persi, 2u);
    EXPECT_EQ(storage::aWindows1252("a\xFF"
                                    "b",
                                    &persi),
              "a?b");  // malformed UTF-8
    EXPECT_EQ(persi, 1u);
    EXPECT_EQ(storage::aWindows1252("emoji 😀", &persi), "emoji ?");
    EXPECT_EQ(persi, 1u);
}

// Control characters never reach the file: "?" inside the value, a blank at its ends, counted
// as replaced; a box of nothing but blanks and controls stays an empty box.
TEST(Windows1252, ControlCharactersOfAValueBoundForTheFile) {
    struct Caso {
        std::string valore, scritto;
        std::size_t sostituiti;
    } casi[] = {
        {"ROSSI", "ROSSI", 0},
        {std::string("RO\0SSI", 6), "RO?SSI", 1},
        {"DE\tLUCA\r\n", "DE?LUCA  ", 3},
        {"\x1b[0mBIANCHI", " [0mBIANCHI", 1},
        {"VERDI\x7f ", "VERDI? ", 1},
        {"CAF\xc2\x85\xc3\xa8", "CAF?\xe8", 1},  // U+0085, a C1 control, then è
        {"NICCOL\xc3\x92\x01\xe2\x82\xac", "NICCOL\xd2?\x80", 1},
        // U+009D is a byte Windows-1252 leaves undefined; ž is its 0x9E, a letter.
        {"A\xc2\x9d"
         "B\xc5\xbe",
         "A?B\x9e", 1},
        {" \t\r\n ", " \t\r\n ", 0},
        {"", "", 0},
    };
    for (const auto& c : casi) {
        std::size_t n = 99;
        EXPECT_EQ(storage::valorePerFile(c.valore, &n), c.scritto) << c.valore;
        EXPECT_EQ(n, c.sostituiti) << c.valore;
    }
}

// DEL (127) is a control like those below 32 wherever a value meets one: written as \x7F in a
// message, counted, "?" in a stored text shown, and not printable ASCII; "~" (126) is printable.
TEST(Windows1252, DelIsAControlEverywhere) {
    struct Caso {
        std::string valore, messaggio;
        std::size_t controlli;
        std::string mostrato;
        bool stampabile;
    } casi[] = {
        {"AB\x7f", "AB\\x7F", 1, "AB?", false},
        {"A\x1f~", "A\\x1F~", 1, "A?~", false},
        {"A~ ", "A~ ", 0, "A~ ", true},
        {"\xc2\x85", "\\x85", 1, "\xc2\x85", false},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(storage::ValoreNelMessaggio(c.valore), c.messaggio) << c.valore;
        EXPECT_EQ(storage::contaControlli(c.valore), c.controlli) << c.valore;
        EXPECT_EQ(storage::senzaControlli(c.valore), c.mostrato) << c.valore;
        EXPECT_EQ(storage::soloAsciiStampabile(c.valore), c.stampabile) << c.valore;
    }
}

}  // namespace
