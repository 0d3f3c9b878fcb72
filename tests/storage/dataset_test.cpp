#include "storage/dataset.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "storage/elenchi.h"
#include "storage/error.h"

namespace {

namespace fs = std::filesystem;
using storage::Righe;
using storage::Tabella;

class DatasetTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = (fs::temp_directory_path() / ("palio_ds_" + std::to_string(::getpid()) + "_" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db"))
                    .string();
        fs::remove(path_);
        storage::Connection::crea(path_);
        conn_.open(path_);
    }
    void TearDown() override {
        conn_.close();
        fs::remove(path_);
        fs::remove(path_ + "-wal");
        fs::remove(path_ + "-shm");
    }
    std::int64_t aggiungi(const std::string& cognome, const std::string& nome) {
        storage::Dataset d(conn_);
        d.open(storage::TutteLeRighe(Tabella::Zefo1));
        d.append();
        d.setText("B02", cognome);
        d.setText("b03", nome);
        d.post();
        return d.key();
    }
    std::string path_;
    storage::Connection conn_;
};

TEST_F(DatasetTest, NewArchiveHasTheSevenTablesTheImportsAndTheSendings) {
    storage::Statement st(
        conn_, "select name from sqlite_master where type='table' and name not like 'sqlite%' order by name");
    std::vector<std::string> nomi;
    while (st.step()) nomi.emplace_back(st.text(0));
    EXPECT_EQ(nomi, (std::vector<std::string>{"Importazioni", "Invii", "Parametri", "Professionisti", "QuadroCt",
                                              "SostitutoImposta", "Versione", "Zefo1", "Zefo2", "Zefo3"}));
    EXPECT_THROW(storage::Connection::crea(path_), storage::Error);
}

TEST_F(DatasetTest, AppendPostReadBackWithColumnNamesInAnyCase) {
    const auto id = aggiungi("ROSSI", "MARIO");
    EXPECT_GT(id, 0);
    storage::Dataset d(conn_);
    d.open(Righe{Tabella::Zefo1, "ID = ?", {std::to_string(id)}, {}, false});
    ASSERT_EQ(d.rowCount(), 1u);
    EXPECT_EQ(d.text("b02"), "ROSSI");
    EXPECT_EQ(d.text("B03"), "MARIO");
    EXPECT_EQ(d.text("C001"), "");  // null reads as empty
    EXPECT_EQ(d.integer("id"), id);
    EXPECT_THROW(d.text("NonEsiste"), storage::Error);
}

TEST_F(DatasetTest, OrderNavigationAndCaseInsensitiveText) {
    aggiungi("verdi", "anna");
    aggiungi("BIANCHI", "Luca");
    aggiungi("Rossi", "Mario");
    storage::Dataset d(conn_);
    d.open(storage::CertificatiPerNominativo(storage::Elenco::Dipendenti));
    ASSERT_EQ(d.rowCount(), 3u);
    std::vector<std::string> cognomi;
    for (d.first(); !d.eof(); d.next()) cognomi.push_back(d.text("B02"));
    EXPECT_EQ(cognomi, (std::vector<std::string>{"BIANCHI", "Rossi", "verdi"}));
    d.open(Righe{Tabella::Zefo1, "B02 = ?", {"ROSSI"}, {}, false});
    EXPECT_EQ(d.rowCount(), 1u);
    d.open(Righe{Tabella::Zefo1, "B02 = ?", {"D'ANGELO"}, {}, false});  // an apostrophe is a letter
    EXPECT_EQ(d.rowCount(), 0u);
    EXPECT_TRUE(d.eof());
    EXPECT_EQ(d.text("B02"), "");
}

TEST_F(DatasetTest, EditCancelPostAndMovingSaves) {
    aggiungi("A", "1");
    aggiungi("B", "2");
    storage::Dataset d(conn_);
    d.open(Righe{Tabella::Zefo1, {}, {}, "B02", false});
    d.edit();
    d.setText("C001", "1.234,56");
    EXPECT_TRUE(d.modified());
    EXPECT_EQ(d.text("C001"), "1.234,56");
    d.cancel();
    EXPECT_EQ(d.text("C001"), "");
    d.setText("C001", "10,00");
    d.next();  // moving posts the row left
    d.first();
    EXPECT_EQ(d.text("C001"), "10,00");
    d.setText("C001", "20,00");
    d.close();  // closing drops
    d.open(Righe{Tabella::Zefo1, {}, {}, "B02", false});
    EXPECT_EQ(d.text("C001"), "10,00");
}

TEST_F(DatasetTest, DeleteMovesToTheNextRow) {
    aggiungi("A", "");
    aggiungi("B", "");
    aggiungi("C", "");
    storage::Dataset d(conn_);
    d.open(Righe{Tabella::Zefo1, {}, {}, "B02", false});
    d.next();
    d.remove();
    EXPECT_EQ(d.rowCount(), 2u);
    EXPECT_EQ(d.text("B02"), "C");
    d.remove();
    EXPECT_EQ(d.text("B02"), "A");
    d.remove();
    EXPECT_TRUE(d.isEmpty());
    EXPECT_THROW(d.remove(), storage::Error);
}

// Zefo2 and Zefo3 are keyed by their own column, not by the certificate's number that several of
// their rows share: an edit, a removal and a new row touch one row only.
TEST_F(DatasetTest, RowsAreKeyedByTheTablesOwnKeyColumn) {
    const auto id = aggiungi("ROSSI", "MARIO");
    for (const char* matricola : {"0001", "0002"}) {
        storage::Dataset z(conn_);
        z.open(storage::TutteLeRighe(Tabella::Zefo3));
        z.append();
        z.setText("Id", std::to_string(id));
        z.setText("matricola", matricola);
        z.post();
    }
    storage::Dataset d(conn_);
    d.open(storage::Zefo3DelCertificato(id));
    ASSERT_EQ(d.rowCount(), 2u);
    EXPECT_EQ(d.text("matricola"), "0001");
    d.next();
    d.setText("matricola", "0003");
    d.post();
    d.open(storage::Zefo3DelCertificato(id));
    EXPECT_EQ(d.text("matricola"), "0001");
    d.remove();
    d.open(storage::Zefo3DelCertificato(id));
    ASSERT_EQ(d.rowCount(), 1u);
    EXPECT_EQ(d.text("matricola"), "0003");
    EXPECT_NE(d.key(), id);
}

}  // namespace
