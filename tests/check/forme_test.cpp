#include "check/forme.h"

#include <gtest/gtest.h>

namespace {

struct Caso {
    const char* tipo;
    const char* valore;
    const char* errore;
};

// The cases name their types as the layout does.
telematic::TipoCampo tipo(std::string_view nome) {
    using telematic::TipoCampo;
    for (int i = 0; i <= static_cast<int>(TipoCampo::GiornoMese); ++i)
        if (telematic::NomeTipo(static_cast<TipoCampo>(i)) == nome) return static_cast<TipoCampo>(i);
    ADD_FAILURE() << "tipo sconosciuto " << nome;
    return TipoCampo::AN;
}

TEST(FormeArchivio, TabellaDeiCasi) {
    const Caso casi[] = {
        {"DT", "31/12/2014", ""},
        {"DT", "29/02/2012", ""},
        {"DT", "29/02/2000", ""},
        {"DT", "29/02/1900", "la data «29/02/1900» non esiste"},
        {"DT", "29/02/2014", "la data «29/02/2014» non esiste"},
        {"DT", "31/04/2014", "la data «31/04/2014» non esiste"},
        {"DT", "1/2/2014", "data non valida «1/2/2014»: attesa nella forma GG/MM/AAAA"},
        {"DT", "31-12-2014", "data non valida «31-12-2014»: attesa nella forma GG/MM/AAAA"},
        {"DT", "01/01/1850", "la data «01/01/1850» non esiste"},
        {"DT", "01/01/1900", ""},
        {"DT", "31/12/1899", "la data «31/12/1899» non esiste"},
        {"DA", "2014", ""},
        {"DA", "14", "anno non valido «14»: attese quattro cifre"},
        {"DA", "2O14", "anno non valido «2O14»: attese quattro cifre"},
        {"VP", "1.234,56", ""},
        {"VP", "1234,56", ""},
        {"VP", "1.234.567,00", ""},
        {"VP", "0,50", ""},
        {"VP", "   12,00", ""},  // leading blanks: right-aligned anyway
        {"VP", "1234",
         "importo non valido «1234»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)"},
        {"VP", "12,5",
         "importo non valido «12,5»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)"},
        {"VP", "12.34,00",
         "importo non valido «12.34,00»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)"},
        {"VP", "1234.567,00",
         "importo non valido «1234.567,00»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)"},
        {"VP", "-12,00",
         "importo non valido «-12,00»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)"},
        {"VP", "12,00 ",
         "importo non valido «12,00 »: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)"},
        {"VN", "-12,00", ""},
        {"NP", "12", ""},
        {"NP", "12a", "numero non valido «12a»: attese solo cifre"},
        {"N1", "3", ""},
        {"N1", "12", "numero non valido «12»: attesa una cifra"},
        {"N2", "05", ""},
        {"N2", "5", "numero non valido «5»: attese due cifre (es. 05)"},
        {"N3", "365", ""},
        {"N3", "1234", "numero non valido «1234»: attese al massimo tre cifre"},
        {"N10", "1234567890", ""},
        {"N10", "123456789", "numero non valido «123456789»: attese esattamente dieci cifre"},
        {"CN", "80123456784", ""},
        {"CN", "80123456785", "la cifra di controllo del codice fiscale è errata (attesa 4)"},
        {"PC", "50,00", ""},
        {"PC", " 100,00 ", ""},
        {"PC", "100,50", "percentuale oltre 100 «100,50»"},
        {"PC", "cinquanta", "percentuale non valida «cinquanta»: attesa nella forma 50,00 (al massimo 100,00)"},
        {"CF", "  RSSMRA80A01H501U ", ""},
        {"GM", "3112", ""},
        {"GM", "3102", "giorno e mese non validi «3102»: attesi nella forma GGMM"},
        {"AN", "qualunque testo", ""},
        {"CB", "?", ""},
    };
    for (const auto& c : casi)
        EXPECT_EQ(check::ErroreValoreArchivio(tipo(c.tipo), c.valore), c.errore) << c.tipo << " " << c.valore;
}

TEST(FormeFile, TabellaDeiCasi) {
    const Caso casi[] = {
        {"CB", "               1", ""},
        {"CB", "               X", "casella «               X» diversa da 1"},
        {"DT", "        31122014", ""},
        {"DT", "        31022014", "la data «31022014» non esiste"},
        {"DT", "        01011850", "la data «01011850» non esiste"},
        {"DT", "        01011900", ""},
        {"DT", "        31121899", "la data «31121899» non esiste"},
        {"DT", "      122014DA00", "data «      122014DA00» non nella forma GGMMAAAA allineata a destra"},
        {"VP", "         1234,56", ""},
        {"VP", "        1.234,56", "importo non valido «1.234,56»: attese cifre, virgola e due decimali"},
        {"VP", "1234,56         ", "valore «1234,56         » non allineato a destra"},
        {"NP", "              12", ""},
        {"DA", "            2014", ""},
        {"DA", "              14", "anno «              14» non di quattro cifre"},
        {"N2", "              05", ""},
        {"N2", "               5", "numero «               5» non di due cifre"},
        {"CN", "80123456784     ", ""},
        {"CF", "RSSMRA80A01H501U", ""},
        {"CF", "01234567897     ", ""},
        {"CF", " RSSMRA80A01H501", "codice fiscale « RSSMRA80A01H501» non allineato a sinistra"},
        {"PC", "             100", ""},
        {"PC", "           50,00", ""},
        {"MESI", "    001000000001", ""},
        {"MESI", "    00100000000X", "mesi «    00100000000X» non nella forma attesa (dodici cifre 0 o 1)"},
        {"GM", "            0103", ""},
        {"N10", "      1234567890", ""},
        {"N3", "            1234", "numero non valido «1234»: attese al massimo tre cifre"},
    };
    for (const auto& c : casi)
        EXPECT_EQ(check::ErroreValoreFile(tipo(c.tipo), c.valore), c.errore) << c.tipo << " " << c.valore;
}

}  // namespace
