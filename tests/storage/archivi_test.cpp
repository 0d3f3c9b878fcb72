// Archives chosen by the operator: what opens, what is refused and why, the recent list.
#include "storage/archivi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "storage/config.h"
#include "storage/error.h"
#include "storage/recenti.h"
#include "storage/sistema.h"

namespace {

namespace fs = std::filesystem;

class Archivi : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("palio_archivi_" + std::to_string(storage::sistema::idProcesso()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        ini_ = (dir_ / "config" / "zefo2015.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string cartella(const std::string& nome) const { return (dir_ / nome).string(); }
    // A new archive whose agent is named nome (none: no agent's row).
    std::string archivio(const std::string& nome, const std::string& sostituto = {}) {
        const std::string db = storage::creaArchivio(cartella(nome));
        if (!sostituto.empty()) {
            storage::Connection c;
            c.open(db);
            storage::Statement st(c, "insert into SostitutoImposta (CognomeDenominazione, Nome) values (?, '')");
            st.bind(1, sostituto);
            st.step();
        }
        return cartella(nome);
    }
    fs::path dir_;
    std::string ini_;
};

TEST_F(Archivi, OpensOrSaysWhyNot) {
    const std::string buono = storage::percorsoDatabase(archivio("buono", "ROSSI SPA"));
    fs::create_directories(cartella("vuoto"));
    const std::string vuoto = storage::percorsoDatabase(cartella("vuoto"));
    std::ofstream(vuoto, std::ios::binary).flush();
    fs::create_directories(cartella("testo"));
    const std::string testo = storage::percorsoDatabase(cartella("testo"));
    std::ofstream(testo, std::ios::binary) << "non sono un database, ma un file di testo qualunque\n";
    fs::create_directories(cartella("altro"));
    const std::string altro = storage::percorsoDatabase(cartella("altro"));
    {
        storage::Connection::crea(altro);
        storage::Connection c;
        c.open(altro);
        c.exec("drop table Zefo3; drop table Professionisti");
    }
    const std::string manca = storage::percorsoDatabase(cartella("manca"));

    const struct {
        std::string db;
        std::string errore;  // start of the error text; empty: opens
    } casi[] = {
        {buono, ""},
        {vuoto, ""},
        {manca, storage::messaggioDatabaseMancante(manca)},
        {testo, "L'archivio " + testo + " è danneggiato o non è un archivio"},
        {altro, "Il file " + altro + " non è un archivio di Palio 2015: mancano le tabelle Zefo3, Professionisti."},
    };
    for (const auto& c : casi) {
        storage::Connection conn;
        if (c.errore.empty()) {
            storage::apriArchivio(conn, c.db);
            EXPECT_TRUE(conn.isOpen()) << c.db;
            storage::Statement st(conn, "select count(*) from Zefo1");
            EXPECT_TRUE(st.step()) << c.db;
            continue;
        }
        try {
            storage::apriArchivio(conn, c.db);
            ADD_FAILURE() << "aperto: " << c.db;
        } catch (const storage::Error& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.errore.size()), c.errore) << e.what();
        }
        EXPECT_FALSE(conn.isOpen()) << c.db;
    }
    // The 0-byte file now holds the tables for good.
    storage::Connection c;
    storage::apriArchivio(c, vuoto);
    EXPECT_EQ(storage::nomeSostituto(c), "");
    storage::apriArchivio(c, buono);
    EXPECT_EQ(storage::nomeSostituto(c), "ROSSI SPA");
}

TEST_F(Archivi, NewArchiveInNestedFolderAndNeverOverAnOldOne) {
    const std::string db = storage::creaArchivio(cartella("a/b/c"));
    EXPECT_EQ(db, storage::percorsoDatabase(cartella("a/b/c")));
    EXPECT_TRUE(fs::is_regular_file(db));
    EXPECT_THROW(storage::creaArchivio(cartella("a/b/c")), storage::Error);
    EXPECT_THROW(storage::creaArchivio(""), storage::Error);
}

TEST_F(Archivi, RecentListLatestFirstAtMostTenBesideTheConfiguration) {
    {
        fs::create_directories(fs::path(ini_).parent_path());
        std::ofstream(ini_, std::ios::binary) << "/vecchio\nriga che resta\n";
    }
    for (int i = 1; i <= 12; ++i) storage::scegliArchivio(ini_, "/archivio/" + std::to_string(i));
    storage::scegliArchivio(ini_, "/archivio/5");
    EXPECT_EQ(storage::leggiCartellaDati(ini_), "/archivio/5");
    std::ifstream in(ini_);
    std::string prima, seconda;
    std::getline(in, prima);
    std::getline(in, seconda);
    EXPECT_EQ(seconda, "riga che resta");
    EXPECT_EQ(storage::percorsoArchiviRecenti(ini_), (dir_ / "config" / "archivi-recenti.txt").string());
    const std::vector<std::string> attesi = {"/archivio/5", "/archivio/12", "/archivio/11", "/archivio/10",
                                             "/archivio/9", "/archivio/8",  "/archivio/7",  "/archivio/6",
                                             "/archivio/4", "/archivio/3"};
    EXPECT_EQ(storage::leggiArchiviRecenti(ini_), attesi);
}

TEST_F(Archivi, RecentListNamesEachAgent) {
    const std::string rossi = archivio("rossi", "ROSSI SPA");
    const std::string nuovo = archivio("nuovo");
    const std::string sparito = archivio("sparito", "VERDI SRL");
    for (const auto& c : {sparito, nuovo, rossi}) storage::scegliArchivio(ini_, c);
    fs::remove_all(sparito);
    const auto v = storage::descriviArchiviRecenti(ini_);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].cartella, rossi);
    EXPECT_EQ(v[0].sostituto, "ROSSI SPA");
    EXPECT_TRUE(v[0].leggibile);
    EXPECT_EQ(v[1].sostituto, "");
    EXPECT_TRUE(v[1].leggibile);
    EXPECT_EQ(v[2].cartella, sparito);
    EXPECT_FALSE(v[2].leggibile);
}

}  // namespace
