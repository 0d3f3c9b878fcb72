#include "comune/motori.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"
#include "storage/error.h"
#include "storage/invii.h"
#include "storage/salvataggi.h"
#include "storage/schema.h"
#include "storage/tabelle.h"

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
    // Letters beyond ASCII keep their case: "Ò" is not "ò", and sorts before it as its bytes do.
    conn.exec("insert into Zefo1 (B02) values ('niccolò'); insert into Zefo1 (B02) values ('NICCOLÒ')");
    EXPECT_EQ(valore("select count(*) from Zefo1 where B02 = 'niccolÒ'"), "1");
    Statement ord(conn, "select B02 from Zefo1 order by B02");
    std::vector<std::string> ordine;
    while (ord.step()) ordine.emplace_back(ord.text(0));
    EXPECT_EQ(ordine, (std::vector<std::string>{"42", "bianchi", "D'ANGELO", "NICCOLÒ", "niccolò", "Zeta"}));
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

// The search box of codes finds a matricola as typed, blanks around it and case ignored.
TEST_P(Motori, MatricolaIsFoundIgnoringCase) {
    conn.exec("insert into Zefo1 (B02) values ('ROSSI'); insert into Zefo1 (B02) values ('BIANCHI')");
    conn.exec(
        "insert into Zefo2 (ID, MatrDip) values (1, ' ab12 '); insert into Zefo2 (ID, MatrDip) values (2, 'AB1')");
    EXPECT_EQ(storage::CertificatiConMatricola(conn, "AB12"), std::vector<std::int64_t>{1});
    EXPECT_EQ(storage::CertificatiConMatricola(conn, "ab1"), std::vector<std::int64_t>{2});
    EXPECT_TRUE(storage::CertificatiConMatricola(conn, "B12").empty());
}

// Rows appended in blocks (on the server a stream, where tabs, line ends and backslashes are
// markup) come back as given: a null stays null, an empty text empty, "\\N" text.
TEST_P(Motori, BlockAppendsKeepEveryValue) {
    static constexpr const char* kColonne[] = {"B02", "B03", "B01"};
    const std::vector<std::vector<std::string>> valori = {
        {"A\tB", "", "\\N"}, {"riga\nnuova\r", "C:\\dir\\", "fine\\"}, {"D'ANGELO", "èé€", "x"}};
    const std::vector<std::vector<bool>> presenti = {{true, false, true}, {true, true, true}, {true, true, false}};
    std::vector<storage::RigaNuova> righe;
    for (std::size_t i = 0; i < valori.size(); ++i) righe.push_back({&valori[i], &presenti[i]});
    {
        storage::Transaction t(conn);
        storage::InserimentoABlocchi blocchi(conn, storage::Tabella::Zefo1, kColonne, 3, false);
        blocchi.inserisci(righe);
        blocchi.inserisci(std::span(righe).first(1));
        t.commit();
    }
    Statement st(conn, "select B02, B03, B01 from Zefo1 order by ID");
    for (std::size_t i = 0; i < valori.size() + 1; ++i) {
        const std::size_t r = i % valori.size();
        ASSERT_TRUE(st.step()) << i;
        for (int c = 0; c < 3; ++c) {
            const auto k = static_cast<std::size_t>(c);
            EXPECT_EQ(st.isNull(c), !presenti[r][k]) << i << " " << c;
            EXPECT_EQ(st.text(c), presenti[r][k] ? valori[r][k] : "") << i << " " << c;
        }
    }
    EXPECT_FALSE(st.step());
}

// A block that cannot be stored (a key already taken) fails its run, on the server perhaps only at
// the next request or the commit; the run's rollback leaves the connection as it was before.
TEST_P(Motori, AFailedBlockLeavesTheConnectionUsable) {
    conn.exec("insert into Zefo1 (B02) values ('UNO')");
    static constexpr const char* kColonne[] = {"B02"};
    const std::vector<std::string> valori = {"DUE"};
    const std::vector<bool> presenti = {true};
    const storage::RigaNuova doppia{&valori, &presenti, 1};
    for (const bool conCommit : {false, true}) {
        bool fallito = false;
        try {
            storage::Transaction t(conn);
            storage::InserimentoABlocchi blocchi(conn, storage::Tabella::Zefo1, kColonne, 1, true);
            blocchi.inserisci(std::span(&doppia, 1));
            // Without a commit, the run stops for a reason of its own before asking anything more.
            if (!conCommit) throw std::runtime_error("interrotta");
            t.commit();
        } catch (const storage::Error&) {
            fallito = true;
        } catch (const std::runtime_error&) {
            fallito = true;
        }
        EXPECT_TRUE(fallito) << conCommit;
        EXPECT_EQ(valore("select count(*) || ' ' || max(B02) from Zefo1"), "1 UNO") << conCommit;
    }
}

// Rows beyond what one batch of the server holds: a run's walks, two at once, read every row
// in order; a walk begun again starts over; a walk left half read does not stop the commit, and
// the same statement reads the whole table again after its run.
TEST_P(Motori, LongReadsGiveEveryRowInOrder) {
    constexpr int kRighe = 2345;
    conn.exec("with recursive n(i) as (select 1 union all select i + 1 from n where i < " + std::to_string(kRighe) +
              ") insert into Zefo1 (B02) select 'N' || i from n");
    Statement a(conn, "select ID, B02 from Zefo1 order by ID");
    Statement b(conn, "select ID from Zefo1 order by ID desc");
    const auto leggi = [](Statement& st, int quante) {
        std::vector<std::int64_t> ids;
        while ((quante < 0 || static_cast<int>(ids.size()) < quante) && st.step()) ids.push_back(st.integer(0));
        return ids;
    };
    {
        storage::Lettura lettura(conn);
        std::int64_t precedente = 0, successivo = kRighe + 1;
        int lette = 0;
        while (a.step()) {
            ASSERT_TRUE(b.step());
            EXPECT_EQ(a.integer(0), precedente + 1);
            EXPECT_EQ(a.text(1), "N" + std::to_string(a.integer(0)));
            EXPECT_EQ(b.integer(0), successivo - 1);
            precedente = a.integer(0);
            successivo = b.integer(0);
            ++lette;
        }
        EXPECT_EQ(lette, kRighe);
        EXPECT_FALSE(b.step());
        a.reset();
        EXPECT_EQ(leggi(a, 1500).size(), 1500u);
        a.reset();
        EXPECT_EQ(leggi(a, -1).size(), static_cast<std::size_t>(kRighe));
        a.reset();
        b.reset();
    }
    {
        storage::Transaction t(conn);
        EXPECT_EQ(leggi(a, 1200).size(), 1200u);
        conn.exec("update Zefo1 set B03 = 'X' where ID = 1");
        t.commit();
    }
    a.reset();
    EXPECT_EQ(leggi(a, -1).size(), static_cast<std::size_t>(kRighe));
    EXPECT_EQ(valore("select B03 from Zefo1 where ID = 1"), "X");

    // A run's record of what it wrote, many rows per statement: each written certificate once,
    // a number given twice recorded once, a correction's marks cleared, identifiers kept.
    std::vector<std::int64_t> scritti;
    for (std::int64_t id = 1; id <= 450; ++id) scritti.push_back(id);
    scritti.push_back(7);
    storage::ScriviIdentificativi(conn, storage::Elenco::Dipendenti, 450, "12345678901234567", "000450");
    storage::SegnaOperazione(conn, storage::Elenco::Dipendenti, {3, 449}, storage::Operazione::Sostituzione);
    {
        storage::Transaction t(conn);
        storage::SegnaScritti(conn, storage::Elenco::Dipendenti, scritti, "/x/ZF2015.txt", false);
        t.commit();
    }
    EXPECT_EQ(valore("select count(*) from Invii where File = '/x/ZF2015.txt'"), "450");
    EXPECT_EQ(valore("select count(*) from Invii where Operazione = 'S'"), "2");
    storage::SegnaScritti(conn, storage::Elenco::Dipendenti, {449, 450}, "/y/ZF2015.txt", true);
    const auto s = storage::LeggiInvio(conn, storage::Elenco::Dipendenti, 450);
    EXPECT_EQ(s.file, "/y/ZF2015.txt");
    EXPECT_EQ(s.progressivo, "000450");
    EXPECT_EQ(valore("select count(*) from Invii where Operazione = 'S'"), "1");
    EXPECT_EQ(storage::LeggiInvio(conn, storage::Elenco::Dipendenti, 3).file, "/x/ZF2015.txt");
}

// The reader of sendings gives what a look-up gives, whether it walks the table (a long run of
// ascending numbers) or not: numbers without a row, the other list, a step back.
TEST_P(Motori, SendingsReaderAgreesWithLookUps) {
    using storage::Elenco;
    for (std::int64_t id = 1; id <= 300; id += 3)
        storage::ScriviIdentificativi(conn, Elenco::Dipendenti, id, "12345678901234567",
                                      "000" + std::to_string(100 + id));
    storage::ScriviIdentificativi(conn, Elenco::Professionisti, 150, "76543210987654321", "000001");
    storage::Lettura lettura(conn);
    storage::LettoreInvii lettore(conn);
    const auto uguali = [&](Elenco e, std::int64_t id) {
        const auto a = lettore.leggi(e, id);
        const auto b = storage::LeggiInvio(conn, e, id);
        EXPECT_EQ(a.protocollo, b.protocollo) << id;
        EXPECT_EQ(a.progressivo, b.progressivo) << id;
        return !a.protocollo.empty();
    };
    int conRiga = 0;
    for (std::int64_t id = 1; id <= 320; ++id) conRiga += uguali(Elenco::Dipendenti, id);
    EXPECT_EQ(conRiga, 100);
    EXPECT_TRUE(uguali(Elenco::Professionisti, 150));
    EXPECT_TRUE(uguali(Elenco::Dipendenti, 4));
    for (std::int64_t id = 100; id <= 300; id += 2) uguali(Elenco::Dipendenti, id);
    EXPECT_TRUE(uguali(Elenco::Dipendenti, 298));
}

// Every column of every table the editors write, by the name the description spells, on both
// engines: a row appended with each column given, read back; a mixed-case one by either spelling.
TEST_P(Motori, EditorsWriteEveryColumnByItsName) {
    using storage::Tabella;
    for (Tabella t : {Tabella::SostitutoImposta, Tabella::QuadroCt, Tabella::Zefo1, Tabella::Zefo2, Tabella::Zefo3,
                      Tabella::Professionisti}) {
        SCOPED_TRACE(storage::NomeTabella(t));
        storage::Dataset d(conn);
        d.open(storage::TutteLeRighe(t));
        d.append();
        // The key and the revision are the archive's own.
        std::vector<std::string> nomi;
        for (const auto& n : d.columns().names())
            if (n != storage::ChiaveTabella(t) && n.rfind("Revisione", 0) != 0) nomi.push_back(n);
        for (const auto& n : nomi) d.setText(n, "7");
        d.post();
        d.edit();
        for (const auto& n : nomi) d.setText(n, "8");
        d.post();
        Statement st(conn, std::string("select * from ") + storage::NomeTabella(t));
        ASSERT_TRUE(st.step());
        for (int i = 0; i < st.columnCount(); ++i) {
            if (st.columnName(i) != storage::ChiaveTabella(t) && st.columnName(i).rfind("Revisione", 0) != 0) {
                EXPECT_EQ(st.text(i), "8") << st.columnName(i);
            }
        }
    }
    storage::Dataset z(conn);
    z.open(storage::TutteLeRighe(Tabella::Zefo2));
    z.edit();
    z.setText("matrdip", "A1");
    z.post();
    EXPECT_EQ(z.text("MatrDip"), "A1");
    EXPECT_EQ(valore("select MATRDIP from Zefo2 where matrDip = 'A1'"), "A1");
}

// After a renumbering the list's next new certificate takes the number after the highest one.
TEST_P(Motori, NextCertificateAfterRenumberingTakesTheNextNumber) {
    conn.exec("insert into Zefo1 (B02) values ('UNO'); insert into Zefo1 (B02) values ('DUE')");
    conn.exec("insert into Zefo1 (ID, B02) values (100005, 'TRE')");
    storage::RinumeraCertificati(conn, storage::Elenco::Dipendenti, {{100005, 3}});
    conn.exec("insert into Zefo1 (B02) values ('QUATTRO')");
    EXPECT_EQ(valore("select ID from Zefo1 where B02 = 'QUATTRO'"), "4");
    EXPECT_EQ(valore("select ID from Zefo1 where B02 = 'TRE'"), "3");
}

// Copies before an operation, on either engine: listed newest first with their time and
// operation, one not confirmed gone, the last ten kept; a restore brings back every table's rows
// and where the keys' numbering stood, and refuses a copy that is not one of the archive's.
TEST_P(Motori, CopiesAreListedAndRestored) {
    conn.exec("insert into Zefo1 (B02) values ('UNO')");
    storage::ScriviIdentificativi(conn, storage::Elenco::Dipendenti, 1, "12345678901234567", "000001");
    {
        storage::Salvataggio s(conn, "importa-paghe-dip");
        s.conferma();
    }
    { storage::Salvataggio nonConfermato(conn, "azzera-dipendenti"); }
    auto copie = storage::salvataggiDellArchivio(conn);
    ASSERT_EQ(copie.size(), 1u);
    EXPECT_EQ(copie[0].operazione, "importa-paghe-dip");
    ASSERT_EQ(copie[0].quando.size(), 19u);
    EXPECT_EQ(copie[0].quando.substr(2, 1) + copie[0].quando.substr(13, 1), "/:");
    EXPECT_EQ(storage::salvataggiDellArchivio(indirizzo.str()).size(), 1u);

    conn.exec("delete from Zefo1; insert into Zefo1 (B02) values ('DUE'); insert into Zefo1 (B02) values ('TRE')");
    conn.exec("delete from Invii");
    storage::ripristina(conn, copie[0].percorso);
    EXPECT_EQ(valore("select count(*) from Zefo1"), "1");
    EXPECT_EQ(valore("select B02 from Zefo1 where ID = 1"), "UNO");
    EXPECT_EQ(storage::LeggiInvio(conn, storage::Elenco::Dipendenti, 1).progressivo, "000001");
    conn.exec("insert into Zefo1 (B02) values ('QUATTRO')");
    EXPECT_EQ(valore("select ID from Zefo1 where B02 = 'QUATTRO'"), "2");

    const auto e = errore([&] { storage::ripristina(conn, "nessuna_copia"); });
    EXPECT_EQ(std::string(e.what()), "Il salvataggio nessuna_copia non esiste.");
    EXPECT_EQ(valore("select count(*) from Zefo1"), "2");

    for (int i = 0; i < 11; ++i) storage::Salvataggio(conn, "rinumera").conferma();
    copie = storage::salvataggiDellArchivio(conn);
    ASSERT_EQ(copie.size(), storage::kSalvataggiTenuti);
    for (const auto& c : copie) EXPECT_EQ(c.operazione, "rinumera");
    EXPECT_GT(copie.front().nome, copie.back().nome);
    if (conn.suServer())
        for (const auto& c : copie) conn.exec("drop schema " + c.nome + " cascade");
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
    const auto e =
        errore([&] { storage::SalvaCertificato(altro, storage::Elenco::Dipendenti, 1, 0, [&] { scritto = true; }); });
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
        "drop index Zefo2_Matricola; create index Zefo2_Matricola on Zefo2 (trim(MatrDip)); "
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
    // The matricola's index of version 2 compared case and served no search.
    Statement indice(c, "select sql from sqlite_master where name = 'Zefo2_Matricola'");
    ASSERT_TRUE(indice.step());
    EXPECT_NE(std::string(indice.text(0)).find("COLLATE NOCASE"), std::string::npos) << indice.text(0);
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

#ifndef _WIN32
// A database whose LC_CTYPE is a language's would fold "Ò" to "ò" where the file does not. (The
// databases are made with the host's psql: under Wine this runs on Debian only.)
TEST(Indirizzi, DatabaseFoldingLettersByLanguageIsRefused) {
    const char* server = std::getenv("PALIO_PG_PROVA");
    ASSERT_NE(server, nullptr);
    const std::string nome = "palio_lingua";
    const std::string psql = std::string("psql -q \"") + server + "\" -c ";
    ASSERT_EQ(std::system((psql + "\"drop database if exists " + nome + "\"").c_str()), 0);
    ASSERT_EQ(std::system((psql + "\"create database " + nome + " template template0 locale 'C.UTF-8'\"").c_str()), 0);
    std::string indirizzo(server);
    indirizzo = indirizzo.substr(0, indirizzo.rfind('/') + 1) + nome + "?schema=rossi";
    const auto e = errore([&] { storage::Connection::crea(indirizzo); });
    EXPECT_NE(std::string(e.what()).find("secondo la lingua C.UTF-8"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("createdb --locale=C"), std::string::npos) << e.what();
    EXPECT_EQ(std::system((psql + "\"drop database " + nome + "\"").c_str()), 0);
    // POSIX is C by another name.
    ASSERT_EQ(std::system((psql + "\"create database " + nome + " template template0 locale 'POSIX'\"").c_str()), 0);
    EXPECT_NO_THROW(storage::Connection::crea(indirizzo));
    EXPECT_EQ(std::system((psql + "\"drop database " + nome + " with (force)\"").c_str()), 0);
}

// The first archives of a new database made by several programs at once: each installs the
// case-blind text type "if not exists", and none may fail because another got there first.
TEST(Indirizzi, FirstArchivesOfANewDatabaseAtOnce) {
    const char* server = std::getenv("PALIO_PG_PROVA");
    ASSERT_NE(server, nullptr);
    const std::string nome = "palio_insieme";
    const std::string psql = std::string("psql -q \"") + server + "\" -c ";
    std::string base(server);
    base = base.substr(0, base.rfind('/') + 1) + nome + "?schema=ente";
    for (int giro = 0; giro < 4; ++giro) {
        ASSERT_EQ(std::system((psql + "\"drop database if exists " + nome + " with (force)\"").c_str()), 0);
        ASSERT_EQ(std::system((psql + "\"create database " + nome + " template template0 locale 'C'\"").c_str()), 0);
        std::vector<std::string> errori(4);
        std::vector<std::thread> programmi;
        for (std::size_t i = 0; i < errori.size(); ++i)
            programmi.emplace_back([&, i] {
                try {
                    storage::Connection::crea(base + std::to_string(i));
                } catch (const storage::Error& e) {
                    errori[i] = e.what();
                }
            });
        for (auto& p : programmi) p.join();
        for (const auto& e : errori) EXPECT_EQ(e, "") << "giro " << giro;
    }
    EXPECT_EQ(std::system((psql + "\"drop database " + nome + " with (force)\"").c_str()), 0);
}
#endif
#endif

}  // namespace

namespace {

// Two operators on one archive: the second save of a certificate both read is refused, naming
// the time of the first; nothing of either is lost, and after reloading the save goes through.
class DueOperatori : public prova::SuMotore {};

TEST_P(DueOperatori, SaveOverAnotherOperatorsSaveIsRefused) {
    storage::Connection& primo = conn;
    storage::Connection secondo;
    secondo.open(indirizzo.str());
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

#if PALIO_POSTGRES
INSTANTIATE_TEST_SUITE_P(Entrambi, DueOperatori, ::testing::Values(Motore::SQLite, Motore::PostgreSQL),
                         prova::nomeMotore);
#else
INSTANTIATE_TEST_SUITE_P(Entrambi, DueOperatori, ::testing::Values(Motore::SQLite), prova::nomeMotore);
#endif

}  // namespace
