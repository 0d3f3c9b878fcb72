#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "comune/motori.h"
#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"
#include "storage/error.h"
#include "storage/schema.h"

namespace {

using prova::Motore;
using storage::Statement;

class Motori : public prova::SuMotore {};

// The error the action throws; a failure of the test when it throws none.
storage::Error errore(const std::function<void()>& azione) {
    try {
        azione();
    } catch (const storage::Error& e) {
        return e;
    }
    ADD_FAILURE() << "nessun errore";
    return storage::Error("");
}

TEST_P(Motori, ValuesGoInBoundAndComeBackAsTheyWere) {
    // A question mark inside quoted text is text, not a parameter.
    Statement ins(conn, "insert into Zefo1 (B02, B03, B01) values (?, 'CHI?', ?)");
    ins.bind(1, std::string_view("D'ANGELO")).bindNull(2).step();
    const auto id = conn.lastInsertId();
    EXPECT_GT(id, 0);
    EXPECT_EQ(conn.changes(), 1);
    ins.reset();
    ins.bind(1, std::int64_t{42}).bind(2, std::string_view("èé€")).step();
    EXPECT_EQ(conn.lastInsertId(), id + 1);

    Statement sel(conn, "select * from Zefo1 where ID = ?");
    // Column names as the tables spell them, whatever the engine gives back.
    ASSERT_GE(sel.columnCount(), 4);
    EXPECT_EQ(sel.columnName(0), "ID");
    sel.bind(1, id);
    ASSERT_TRUE(sel.step());
    std::vector<std::string> nomi;
    for (int i = 0; i < sel.columnCount(); ++i) nomi.push_back(sel.columnName(i));
    const auto col = [&](const std::string& n) {
        return static_cast<int>(std::find(nomi.begin(), nomi.end(), n) - nomi.begin());
    };
    EXPECT_EQ(sel.integer(col("ID")), id);
    EXPECT_EQ(sel.text(col("B02")), "D'ANGELO");
    EXPECT_EQ(sel.text(col("B03")), "CHI?");
    EXPECT_TRUE(sel.isNull(col("B01")));
    EXPECT_EQ(sel.text(col("B01")), "");
    EXPECT_FALSE(sel.step());
    sel.reset();
    sel.bind(1, id + 1);
    ASSERT_TRUE(sel.step());
    EXPECT_EQ(sel.text(col("B02")), "42");
    EXPECT_EQ(sel.text(col("B01")), "èé€");

    // Text compares ignoring the case of ASCII letters, and sorts byte by byte, on both.
    EXPECT_EQ(valore("select count(*) from Zefo1 where B02 = 'd''angelo'"), "1");
    conn.exec("insert into Zefo1 (B02) values ('bianchi'); insert into Zefo1 (B02) values ('Zeta')");
    Statement ord(conn, "select B02 from Zefo1 order by B02");
    std::vector<std::string> ordine;
    while (ord.step()) ordine.emplace_back(ord.text(0));
    EXPECT_EQ(ordine, (std::vector<std::string>{"42", "bianchi", "D'ANGELO", "Zeta"}));
}

TEST_P(Motori, TransactionKeepsAllOrNothing) {
    {
        storage::Transaction t(conn);
        conn.exec("insert into Zefo1 (B02) values ('UNO')");
        conn.exec("insert into Zefo1 (B02) values ('DUE')");
    }
    EXPECT_EQ(valore("select count(*) from Zefo1"), "0");
    {
        storage::Transaction t(conn);
        conn.exec("insert into Zefo1 (B02) values ('UNO')");
        // A failed statement inside does not leave a half transaction behind.
        EXPECT_THROW(conn.exec("insert into TabellaCheNonCe (X) values (1)"), storage::Error);
    }
    EXPECT_EQ(valore("select count(*) from Zefo1"), "0");
    {
        storage::Transaction t(conn);
        conn.exec("insert into Zefo1 (B02) values ('UNO')");
        t.commit();
    }
    EXPECT_EQ(valore("select count(*) from Zefo1"), "1");
    conn.exec("update Zefo1 set B03 = 'X'");
    EXPECT_EQ(conn.changes(), 1);
}

// A run that reads (a generation) sees one snapshot: another operator's commit meanwhile is not
// half seen; after the run it is.
TEST_P(Motori, ReadingSeesOneSnapshot) {
    conn.exec("insert into Zefo1 (B02) values ('UNO')");
    storage::Connection altro;
    altro.open(indirizzo.str());
    {
        storage::Lettura lettura(conn);
        EXPECT_EQ(valore("select count(*) from Zefo1"), "1");
        altro.exec("insert into Zefo1 (B02) values ('DUE')");
        EXPECT_EQ(valore("select count(*) from Zefo1"), "1");
    }
    EXPECT_EQ(valore("select count(*) from Zefo1"), "2");
}

TEST_P(Motori, NewArchiveRecordsItsVersionAndRefusesASecondCreation) {
    EXPECT_EQ(storage::schema::versioneArchivio(conn), storage::schema::versione());
    EXPECT_GE(storage::schema::versione(), 1);
    EXPECT_EQ(storage::TabelleMancanti(conn), "");
    EXPECT_THROW(storage::Connection::crea(indirizzo.str()), storage::Error);
    // Parametri is keyed by a column of its own.
    conn.exec("insert into Parametri (Denominazione) values ('ENTE')");
    EXPECT_EQ(valore("select ID from Parametri where Denominazione = 'ente'"), "1");
}

TEST_P(Motori, NewerArchiveIsRefused) {
    conn.exec("update Versione set Numero = Numero + 1");
    conn.close();
    const auto e = errore([&] { conn.open(indirizzo.str()); });
    EXPECT_NE(std::string(e.what()).find("versione più recente di Palio 2015"), std::string::npos) << e.what();
}

TEST_P(Motori, BusyArchiveSaysSo) {
    storage::Connection altro;
    altro.open(indirizzo.str());
    conn.exec("insert into Zefo1 (B02) values ('UNO')");
    storage::Transaction t(altro);
    altro.exec("update Zefo1 set B03 = 'A'");
    conn.attesaOccupato(0);
    const auto e = errore([&] {
        storage::Transaction mia(conn);
        conn.exec("update Zefo1 set B03 = 'B'");
        mia.commit();
    });
    EXPECT_EQ(e.causa(), storage::Error::Causa::Occupato) << e.what();
    EXPECT_EQ(e.frase(), "L'archivio è in uso da un altro programma: riprovare quando ha finito.");
}

// An editor's save of a certificate: one whole, taken at the revision read. A part of it that
// is dropped (an inner transaction) goes alone; a save from a stale revision, or one that fails
// half way, writes nothing.
TEST_P(Motori, CertificateSaveIsOneWholeFromTheRevisionRead) {
    conn.exec("insert into Zefo1 (B02) values ('ROSSI')");
    storage::Connection altro;
    altro.open(indirizzo.str());
    storage::SalvaCertificato(conn, storage::Elenco::Dipendenti, 1, 0, [&] {
        conn.exec("update Zefo1 set B03 = 'MARIO'");
        storage::Transaction parte(conn);
        conn.exec("insert into Zefo3 (Id) values (1)");
    });
    EXPECT_EQ(valore("select B03 || '|' || Revisione || '|' || (select count(*) from Zefo3) from Zefo1"), "MARIO|1|0");

    bool scritto = false;
    const auto e = errore([&] {
        storage::SalvaCertificato(altro, storage::Elenco::Dipendenti, 1, 0, [&] { scritto = true; });
    });
    EXPECT_EQ(e.causa(), storage::Error::Causa::ModificatoDaAltri);
    EXPECT_FALSE(scritto);
    EXPECT_THROW(storage::SalvaCertificato(altro, storage::Elenco::Dipendenti, 1, 1,
                                           [&] {
                                               altro.exec("update Zefo1 set B02 = 'VERDI'");
                                               altro.exec("insert into TabellaCheNonCe (X) values (1)");
                                           }),
                 storage::Error);
    EXPECT_EQ(valore("select B02 || '|' || Revisione from Zefo1"), "ROSSI|1");
    EXPECT_EQ(errore([&] { storage::SalvaCertificato(altro, storage::Elenco::Professionisti, 7, 0, [] {}); }).causa(),
              storage::Error::Causa::RigaEliminata);
}

#if PALIO_POSTGRES
INSTANTIATE_TEST_SUITE_P(Entrambi, Motori, ::testing::Values(Motore::SQLite, Motore::PostgreSQL), prova::nomeMotore);
#else
INSTANTIATE_TEST_SUITE_P(Entrambi, Motori, ::testing::Values(Motore::SQLite), prova::nomeMotore);
#endif

// An archive made before versions were recorded, with Parametri keyed by rowid only and without
// the record of sends: opened for writing it is brought to this version once, rows kept.
TEST(Versioni, OlderArchiveIsUpgradedOnceKeepingItsRows) {
    prova::Indirizzo a(Motore::SQLite);
    storage::Connection::crea(a.str());
    storage::Connection c;
    c.open(a.str());
    c.exec(
        "drop table Versione; drop table Invii; drop table Parametri; "
        "alter table Zefo1 drop column Revisione; alter table Zefo1 drop column RevisioneAlle; "
        "create table Parametri (Denominazione TEXT COLLATE NOCASE, Salvataggio TEXT COLLATE NOCASE); "
        "insert into Parametri (Denominazione) values ('ENTE'); insert into Zefo1 (B02) values ('ROSSI')");
    c.close();
    c.open(a.str());
    EXPECT_EQ(storage::schema::versioneArchivio(c), storage::schema::versione());
    Statement p(c, "select ID, Denominazione from Parametri");
    ASSERT_TRUE(p.step());
    EXPECT_EQ(p.integer(0), 1);
    EXPECT_EQ(p.text(1), "ENTE");
    Statement z(c, "select B02, Revisione from Zefo1");
    ASSERT_TRUE(z.step());
    EXPECT_EQ(z.text(0), "ROSSI");
    EXPECT_TRUE(z.isNull(1));
    EXPECT_TRUE(c.motore().esisteTabella("Invii"));
    c.exec("insert into Parametri (Denominazione) values ('ALTRO')");
    EXPECT_EQ(c.lastInsertId(), 2);
}

TEST(Indirizzi, ServerAddressesAndSchemaNames) {
    EXPECT_TRUE(storage::Connection::indirizzoServer("postgresql://host/db?schema=rossi"));
    EXPECT_TRUE(storage::Connection::indirizzoServer("service=palio schema=rossi"));
    EXPECT_FALSE(storage::Connection::indirizzoServer("/home/ufficio/RAVO/Zefo2015"));
    EXPECT_FALSE(storage::Connection::indirizzoServer("C:\\RAVO\\Zefo2015"));
}

#if PALIO_POSTGRES
TEST(Indirizzi, MissingSchemaOnTheServerIsNamed) {
    prova::Indirizzo a(Motore::PostgreSQL);
    ASSERT_TRUE(a.valido());
    storage::Connection c;
    const auto e = errore([&] { c.open(a.str()); });
    EXPECT_EQ(e.causa(), storage::Error::Causa::NonArchivio);
    EXPECT_NE(std::string(e.what()).find("crearlo con «crea-archivio»"), std::string::npos) << e.what();
    EXPECT_FALSE(c.isOpen());
    EXPECT_THROW(storage::Connection::crea(a.str() + "x&schema=Rossi;drop"), storage::Error);
}
#endif

}  // namespace

namespace {

// Two operators on one archive: the second save of a certificate both read is refused, naming
// the time of the first; nothing of either is lost, and after reloading the save goes through.
TEST(DueOperatori, SaveOverAnotherOperatorsSaveIsRefused) {
    prova::Indirizzo a(Motore::SQLite);
    storage::Connection::crea(a.str());
    storage::Connection primo, secondo;
    primo.open(a.str());
    secondo.open(a.str());
    primo.exec("insert into Zefo1 (B02, B03) values ('ROSSI', 'MARIO')");
    storage::Dataset d1(primo), d2(secondo);
    d1.open(storage::TutteLeRighe(storage::Tabella::Zefo1));
    d2.open(storage::TutteLeRighe(storage::Tabella::Zefo1));

    d1.edit();
    d1.setText("B03", "MARIA");
    d1.post();
    d2.edit();
    d2.setText("B02", "VERDI");
    const auto e = errore([&] { d2.post(); });
    EXPECT_EQ(e.causa(), storage::Error::Causa::ModificatoDaAltri);
    std::string alle;
    {
        Statement st(primo, "select RevisioneAlle from Zefo1");
        ASSERT_TRUE(st.step());
        alle = st.text(0);
    }
    EXPECT_EQ(alle.size(), 5u);
    EXPECT_EQ(alle[2], ':');
    EXPECT_EQ(e.what(), "Il certificato è stato modificato da un altro operatore alle " + alle + ": ricaricarlo?");
    // What the second typed stays on screen; the first's save stays in the archive.
    EXPECT_EQ(d2.state(), storage::Dataset::State::Edit);
    EXPECT_EQ(d2.text("B02"), "VERDI");
    {
        Statement st(primo, "select B02, B03 from Zefo1");
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.text(0), "ROSSI");
        EXPECT_EQ(st.text(1), "MARIA");
    }

    d2.cancel();
    d2.requery();
    d2.edit();
    d2.setText("B02", "VERDI");
    d2.post();
    EXPECT_EQ(d2.text("B03"), "MARIA");
    // Saving twice in a row from one window is not a conflict.
    d2.edit();
    d2.setText("B02", "NERI");
    d2.post();
    EXPECT_EQ(d2.text("B02"), "NERI");

    // A row another operation deleted still says so.
    primo.exec("delete from Zefo1");
    d2.edit();
    d2.setText("B02", "BIANCHI");
    EXPECT_EQ(errore([&] { d2.post(); }).causa(), storage::Error::Causa::RigaEliminata);
}

}  // namespace
