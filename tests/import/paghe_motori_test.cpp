// The payroll import on both engines: certificates stored by blocks keep the keys and links that
// row-by-row appends gave, across blocks and after a deleted certificate.

#include <gtest/gtest.h>

#include <sstream>

#include "comune/motori.h"
#include "import/importazione.h"
#include "import/lettori.h"
#include "prova_import.h"
#include "righe_prova.h"

namespace {

using prova::Motore;

class PagheMotori : public prova::SuMotore {
protected:
    bool importa(const std::vector<std::string>& righe) {
        std::istringstream in(prova::file(righe));
        return importazione::ImportaPaghe(conn, in, "/tmp/Dati/zefo.43", "43", storage::Tipo::DIP, false, dati, r);
    }
    std::vector<std::string> colonna(const std::string& sql) {
        std::vector<std::string> v;
        storage::Statement st(conn, sql);
        while (st.step()) v.emplace_back(st.text(0));
        return v;
    }
    prova::Reporter r;
    importazione::DatiAggiuntivi dati{"841110", "001", "1234567890"};
};

TEST_P(PagheMotori, BlocchiTengonoChiaviELegami) {
    // A certificate imported then deleted: the next key is past it, as the table's counter says.
    ASSERT_TRUE(importa({prova::certificato("X", "TOLTO")}));
    conn.exec("delete from Zefo2");
    conn.exec("delete from Zefo1");

    // 2,250 certificates cross two of the import's blocks (1,000) and several statements (200);
    // continuation lines on both sides of them.
    constexpr int kCertificati = 2250;
    const std::vector<int> continuati = {0, 199, 200, 999, 1000, 1999, 2000, 2249};
    std::vector<std::string> righe;
    std::vector<std::string> nomi, attesi3;
    for (int i = 0; i < kCertificati; ++i) {
        nomi.push_back("N" + std::to_string(1000 + i));
        righe.push_back(prova::certificato("CF" + std::to_string(i), nomi.back()));
        for (int c : continuati)
            if (c == i) {
                righe.push_back(prova::continuazione(std::to_string(1000 + i).substr(0, 4)));
                righe.push_back(prova::continuazione("0000"));
                attesi3.push_back(nomi.back());
                attesi3.push_back(nomi.back());
            }
    }
    ASSERT_TRUE(importa(righe)) << (r.errori.empty() ? "" : r.errori[0]);

    EXPECT_EQ(colonna("select ID || ' ' || B02 from Zefo1 order by ID").front(), "2 N1000");
    std::vector<std::string> attesi1;
    for (int i = 0; i < kCertificati; ++i)
        attesi1.push_back(std::to_string(i + 2) + " " + nomi[static_cast<std::size_t>(i)]);
    EXPECT_EQ(colonna("select ID || ' ' || B02 from Zefo1 order by ID"), attesi1);
    // Each Zefo2 row belongs to its own certificate, in the order read.
    EXPECT_EQ(colonna("select Zefo1.B02 from Zefo2 join Zefo1 on Zefo1.ID = Zefo2.ID order by Zefo2.IdNooo"), nomi);
    EXPECT_EQ(colonna("select Zefo1.B02 from Zefo3 join Zefo1 on Zefo1.ID = Zefo3.Id order by Zefo3.IDNoooo"), attesi3);

    // A certificate added afterwards takes the next key, with no gap.
    ASSERT_TRUE(importa({prova::certificato("Y", "DOPO")}));
    EXPECT_EQ(colonna("select ID from Zefo1 where B02 = 'DOPO'"),
              std::vector<std::string>{std::to_string(kCertificati + 2)});
}

// The layout's freedoms store on either engine (the server through its stream of rows) what the
// plain lines store: a line past the last column read, one cut of its trailing blanks, a text
// field ending in control characters, blank amounts.
TEST_P(PagheMotori, LibertaDelTracciatoSalvanoLeStesseRighe) {
    const auto righe = [](bool liberta) {
        auto vuoti = prova::certificato("CF3", "TRE").at(462, std::string(10, ' ')).at(492, std::string(10, ' '));
        std::vector<std::string> r = {prova::certificato("CF1", "UNO"), prova::certificato("CF2", "DUE"), vuoti};
        if (!liberta) return r;
        r[0] += "COLONNE NON LETTE";
        r[1].erase(r[1].find_last_not_of(' ') + 1);
        r[2].replace(243 - 1 + 3, 4, std::string("\0\0\x01\x1f", 4));
        return r;
    };
    // Every column of the certificates' rows but their keys, nulls told apart from empty texts.
    const auto salvate = [&] {
        std::vector<std::string> v;
        storage::Statement st(conn, "select * from Zefo1 join Zefo2 on Zefo2.ID = Zefo1.ID order by Zefo1.ID");
        while (st.step())
            for (int c = 0; c < st.columnCount(); ++c)
                if (st.columnName(c) != "ID" && st.columnName(c) != "IdNooo")
                    v.push_back(st.columnName(c) + "=" + std::string(st.text(c)) + (st.isNull(c) ? " (nullo)" : ""));
        return v;
    };
    ASSERT_TRUE(importa(righe(false))) << (r.errori.empty() ? "" : r.errori[0]);
    const auto piane = salvate();
    conn.exec("delete from Zefo2");
    conn.exec("delete from Zefo1");
    ASSERT_TRUE(importa(righe(true))) << (r.errori.empty() ? "" : r.errori[0]);
    EXPECT_EQ(salvate(), piane);
    EXPECT_EQ(colonna("select B02 from Zefo1 order by ID"), (std::vector<std::string>{"UNO", "DUE", "TRE"}));
}

TEST_P(PagheMotori, ErroreDopoUnBloccoNonSalvaNulla) {
    std::vector<std::string> righe;
    for (int i = 0; i < 1250; ++i) righe.push_back(prova::certificato("CF" + std::to_string(i), "NOME"));
    righe.push_back(std::string(prova::certificato("CF", "CORTO")).substr(0, 100));
    EXPECT_THROW(importa(righe), std::exception);
    EXPECT_EQ(colonna("select count(*) from Zefo1"), std::vector<std::string>{"0"});
    EXPECT_EQ(colonna("select count(*) from Zefo2"), std::vector<std::string>{"0"});
}

#if PALIO_POSTGRES
INSTANTIATE_TEST_SUITE_P(Entrambi, PagheMotori, ::testing::Values(Motore::SQLite, Motore::PostgreSQL),
                         prova::nomeMotore);
#else
INSTANTIATE_TEST_SUITE_P(Entrambi, PagheMotori, ::testing::Values(Motore::SQLite), prova::nomeMotore);
#endif

}  // namespace
