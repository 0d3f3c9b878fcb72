// A value typed into an editor's box, judged by the archive check's rules: kept, normalised or
// marked with the check's own sentence; and the certificate's list as the editor asks for it.
#include "check/casella.h"

#include <gtest/gtest.h>

#include "prova_check.h"
#include "storage/certificati.h"

namespace {

using check::Tabella;
using namespace provacheck;

struct Caso {
    Tabella tabella;
    const char* colonna;
    const char* digitato;
    const char* tenuto;      // what the box keeps
    const char* messaggio;   // "" when accepted
    const char* altra = "";  // the other half of a day and month
};

constexpr const char* kImporto = "attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56).";

TEST(GiudizioCasella, TabellaDeiCasi) {
    const std::string importo12abc = std::string("Errore: Importo non valido «12abc»: ") + kImporto;
    const Caso casi[] = {
        // Tax codes: capitals and no blanks around, then the check character.
        {Tabella::Zefo1, "B01", "rssmra80a01h501u", "RSSMRA80A01H501U", ""},
        {Tabella::Zefo1, "B01", " RSSMRA80A01H501X ", "RSSMRA80A01H501X",
         "Errore: Codice fiscale del percipiente: il carattere di controllo del codice fiscale è errato (atteso U)."},
        {Tabella::Zefo1, "A01", "0123456789", "0123456789",
         "Errore: Codice fiscale del sostituto: il codice fiscale deve avere 16 caratteri (persona fisica) o 11 cifre, "
         "ne ha 10."},
        {Tabella::Zefo1, "B01", "RSSMRA80H71H501R", "RSSMRA80H71H501R",
         "Avviso: Codice fiscale del percipiente: il codice fiscale indica una data di nascita che non esiste "
         "(31/06)."},
        {Tabella::Zefo2, "fam3_4", "rssmra80a01h501", "RSSMRA80A01H501",
         "Errore: Codice fiscale del familiare: il codice fiscale deve avere 16 caratteri (persona fisica) o 11 cifre, "
         "ne ha 15."},
        {Tabella::Zefo2, "C305", "rssmra80a01h501u", "RSSMRA80A01H501U", ""},  // column named in any case
        {Tabella::Professionisti, "B01", "bnclcu92t15l219n", "BNCLCU92T15L219N", ""},
        // Amounts, dates, counts, percentages: kept as typed, marked when wrong.
        {Tabella::Zefo1, "C001", "1.234,56", "1.234,56", ""},
        {Tabella::Zefo1, "C001", "12abc", "12abc", importo12abc.c_str()},
        // What is typed the usual way is completed; only what cannot be is marked.
        {Tabella::Zefo1, "C001", "1234", "1.234,00", ""},
        {Tabella::Zefo1, "C001", "1.000", "1.000,00", ""},
        {Tabella::Zefo1, "C001", "580.6", "580,60", ""},
        {Tabella::Zefo1, "C001", "1000,5", "1.000,50", ""},
        {Tabella::Zefo1, "C001", " 0012345678,9 ", "12.345.678,90", ""},
        {Tabella::Zefo1, "C001", "1.23.4", "1.23.4",
         "Errore: Importo non valido «1.23.4»: attese cifre, punti delle migliaia, virgola e due decimali (es. "
         "1.234,56)."},
        {Tabella::Zefo1, "C001", "12,345", "12,345",
         "Errore: Importo non valido «12,345»: attese cifre, punti delle migliaia, virgola e due decimali (es. "
         "1.234,56)."},
        {Tabella::Zefo1, "C001", "-5", "-5",
         "Errore: Importo non valido «-5»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)."},
        {Tabella::Zefo2, "D23", "-1200", "-1.200,00", ""},
        {Tabella::Zefo2, "fam3_7", "50", "50,00", ""},
        {Tabella::Zefo2, "fam3_5", "6", "06", ""},
        {Tabella::Zefo2, "D37_1", "5", "05", "", "12"},
        {Tabella::Zefo1, "B07", " rm ", "RM", ""},
        {Tabella::Zefo1, "B22", "h501", "H501", ""},
        {Tabella::Zefo2, "D39", "f205", "F205", ""},
        {Tabella::Zefo2, "D23", "-12,00", "-12,00", ""},
        {Tabella::Zefo1, "C008", "31/02/2014", "31/02/2014", "Errore: La data «31/02/2014» non esiste."},
        {Tabella::Zefo1, "C008", "1/2/2014", "1/2/2014",
         "Errore: Data non valida «1/2/2014»: attesa nella forma GG/MM/AAAA (nel file: errore 47812)."},
        {Tabella::Zefo1, "C006", "400", "400", "Avviso: Più di 365 giorni «400» in un anno."},
        {Tabella::Zefo1, "C006", "1234", "1234",
         "Errore: Numero non valido «1234»: attese al massimo tre cifre (nel file: errore 47156)."},
        {Tabella::Zefo2, "fam3_5", "13", "13", "Errore: Più di 12 mesi «13» in un anno."},
        {Tabella::Zefo2, "fam3_5", "1a", "1a", "Errore: Numero non valido «1a»: attese due cifre (es. 05)."},
        {Tabella::Zefo2, "fam3_7", "C", "C", ""},
        {Tabella::Zefo2, "fam3_7", "150,00", "150,00", "Errore: Percentuale oltre 100 «150,00»."},
        {Tabella::Zefo2, "D19", "6002", "6002",
         "Avviso: Il codice «6002» del punto 19 non viene scritto nel file: ammessi 6001 e 6003."},
        {Tabella::Zefo2, "D19", "6001", "6001", ""},
        {Tabella::Zefo2, "D19", "6003", "6003", ""},
        {Tabella::Professionisti, "E02", "14", "14",
         "Errore: Anno non valido «14»: attese quattro cifre (nel file: errore 47812)."},
        // Codes from the form's own lists: provinces, causali; an INAIL comune code of the form of the others.
        {Tabella::Zefo1, "B07", "XX", "XX", "Avviso: La sigla «XX» non è tra quelle delle province italiane."},
        {Tabella::Zefo1, "B24", "EE", "EE", ""},
        {Tabella::Professionisti, "A05", "mb", "MB", ""},
        {Tabella::Professionisti, "E01", "L1", "L1", ""},
        {Tabella::Professionisti, "E01", "F", "F",
         "Avviso: La causale «F» non è tra quelle del modello (A, B, C, D, E, G, H, I, L, L1, M, M1, N, O, O1, P, Q, "
         "R, S, T, U, V, V1, W, X, Y, Z)."},
        {Tabella::Zefo2, "D39", "Milano", "MILANO",
         "Avviso: Codice del comune non valido «MILANO»: attesi una lettera maiuscola e tre cifre (es. H501)."},
        // Single-box rules: sex, point 2 (which then says nothing of its form).
        {Tabella::Zefo1, "B04", "X", "X", "Errore: Il sesso vale M o F, non «X»."},
        {Tabella::Zefo1, "C002", "12", "12", "Errore: Il punto 2 vale 1 o 2, non «12»."},
        {Tabella::Zefo1, "C002", "2", "2", ""},
        {Tabella::Zefo1, "C002", "", "", ""},
        // The INAIL day and month are judged together.
        {Tabella::Zefo2, "D37_1", "31", "31", "", "12"},
        {Tabella::Zefo2, "D37_2", "02", "02",
         "Errore: Data INAIL: giorno «31» e mese «02» non formano una data valida (attesi GG e MM).", "31"},
        // Characters the file cannot hold.
        {Tabella::Zefo1, "B02", "RO\x01SSI", "RO\x01SSI",
         "Errore: Il valore «RO?SSI» contiene caratteri di controllo: saranno scritti come \"?\"."},
        // Boxes no file carries and free text take anything.
        {Tabella::Zefo3, "D35", "qualsiasi", "qualsiasi", ""},
        {Tabella::Zefo2, "E04", "12abc", "12abc", ""},
        {Tabella::Zefo1, "B02", "rossi", "rossi", ""},
    };
    for (const auto& c : casi) {
        const std::string altra = c.altra;
        const auto g = check::GiudicaCasella(c.tabella, c.colonna, c.digitato, [&](std::string_view) { return altra; });
        EXPECT_EQ(g.valore, c.tenuto) << c.colonna << " " << c.digitato;
        EXPECT_EQ(g.normalizzato, std::string(c.tenuto) != c.digitato) << c.colonna << " " << c.digitato;
        EXPECT_EQ(g.messaggio(), c.messaggio) << c.colonna << " " << c.digitato;
        EXPECT_EQ(g.errore(), std::string(c.messaggio).rfind("Errore", 0) == 0) << c.colonna << " " << c.digitato;
    }
}

TEST(GiudizioCasella, TipoDelCertificato) {
    for (const char* giusto : {"DIP", "AMM", "CoC", "dip", "coc"}) EXPECT_EQ(check::ProblemaTipo(giusto), "") << giusto;
    for (const char* strano : {"dpi", "", " DIP", "DIPENDENTE"})
        EXPECT_EQ(check::ProblemaTipo(strano), check::kTestoSenzaTipo) << strano;
}

// The editor's list of one certificate is the archive check's list for it once stored: the
// same rules, the same sentences, in the same order (the repetition over the archive apart).
TEST(ControlloCertificato, ComeIlControlloDellArchivio) {
    Archivio a;
    a.sostituto({{"A1", "1"}});
    const auto id =
        a.dipendente("rssmra80a01h501x", "ROSSI",
                     {{"B04", "X"}, {"C002", ""}, {"C006", "400"}, {"C008", "31/02/2014"}, {"A01", "80123456784"}},
                     {{"fam3_5", "13"}, {"D37_1", "31"}, {"D37_2", "02"}});
    // The same person and kind again: the later certificate names the earlier one.
    a.dipendente(kCfMario, "ROSSI");
    const auto ripetuto = a.dipendente(kCfMario, "ROSSI", {{"B01", " rssmra80a01h501u"}});
    a.inserisci("Zefo3", {{"Id", std::to_string(id)}, {"D04", "1,2"}});
    a.inserisci("Zefo3", {{"Id", std::to_string(id)}});
    storage::LettoreCertificati lettore(a.conn);
    auto cert = lettore.certificato(id);
    ASSERT_TRUE(cert);

    const auto archivio = righe(check::ControllaArchivio(a.conn, {}));
    const auto delCertificato = [&](std::int64_t n) {
        std::vector<std::string> r;
        for (const auto& riga : archivio)
            if (contiene(riga, "Certificato " + std::to_string(n) + " ")) r.push_back(riga);
        return r;
    };
    const auto attese = delCertificato(id);
    ASSERT_GE(attese.size(), 10u) << ::testing::PrintToString(archivio);
    EXPECT_EQ(righe(check::ControllaCertificato(a.conn, *cert)), attese);
    const auto ripetizione = delCertificato(ripetuto);
    ASSERT_EQ(ripetizione.size(), 2u) << ::testing::PrintToString(archivio);  // lower case, and repeated
    EXPECT_TRUE(contiene(ripetizione[0], "del certificato " + std::to_string(id + 1) + ": importazione ripetuta?"));
    EXPECT_EQ(righe(check::ControllaCertificato(a.conn, *lettore.certificato(ripetuto))), ripetizione);
    EXPECT_TRUE(righe(check::ControllaCertificato(a.conn, *lettore.certificato(id + 1))).empty());

    // A kind no file takes: the whole check only names it, the editor's list says it too.
    cert->zefo2 = storage::Row(cert->zefo2.columns(), [&] {
        std::vector<std::string> v;
        for (const auto& n : cert->zefo2.columns()->names()) v.push_back(n == "tipo" ? "dpi" : cert->zefo2.text(n));
        return v;
    }());
    const auto conTipo = righe(check::ControllaCertificato(a.conn, *cert));
    ASSERT_EQ(conTipo.size(), attese.size() + 1);
    EXPECT_TRUE(contiene(conTipo.back(), std::string("- tipo: ") + check::kTestoSenzaTipo)) << conTipo.back();

    a.inserisci("Professionisti", {{"A01", kCfSostituto}, {"B01", kCfLuca}, {"B02", "BIANCHI"}, {"E02", "2014"}});
    const auto prof = a.inserisci(
        "Professionisti",
        {{"A01", kCfSostituto}, {"B01", kCfLuca}, {"B02", "BIANCHI"}, {"B04", "Q"}, {"E02", "14"}, {"E04", "1,5"}});
    const auto riga = lettore.professionista(prof);
    ASSERT_TRUE(riga);
    std::vector<std::string> atteseProf;
    for (const auto& r : righe(check::ControllaArchivio(a.conn, {})))
        if (contiene(r, "Professionista " + std::to_string(prof))) atteseProf.push_back(r);
    EXPECT_EQ(righe(check::ControllaProfessionista(a.conn, *riga)), atteseProf);
    EXPECT_EQ(atteseProf.size(), 4u) << ::testing::PrintToString(atteseProf);  // the repetition too
}

}  // namespace
