#include "storage/config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "storage/error.h"

namespace {

namespace fs = std::filesystem;

class Configurazione : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("palio_cfg_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        ini_ = (dir_ / "zefo2015.ini").string();
    }
    void TearDown() override { fs::remove_all(dir_); }
    void scrivi(const std::string& contenuto) { std::ofstream(ini_, std::ios::binary) << contenuto; }
    fs::path dir_;
    std::string ini_;
};

TEST_F(Configurazione, FirstLineIsTakenExactlyAsRead) {
    const struct {
        const char* contenuto;
        const char* cartella;
    } casi[] = {
        {"/dati/zefo\nseconda riga\n", "/dati/zefo"},
        {"/dati/zefo/\r\n", "/dati/zefo/"},
        {"  /dati con blank  \n", "  /dati con blank  "},
        {"", ""},
        {"/senza/a-capo", "/senza/a-capo"},
    };
    for (const auto& c : casi) {
        scrivi(c.contenuto);
        EXPECT_EQ(storage::leggiCartellaDati(ini_), c.cartella) << c.contenuto;
    }
}

TEST_F(Configurazione, DatabasePathAndMissingMessage) {
    const std::string s(1, storage::kSeparatore);
    EXPECT_EQ(storage::percorsoDatabase("/dati/"), "/dati/" + s + "Zefo2015.db");
    EXPECT_EQ(storage::percorsoDatabase(""), s + "Zefo2015.db");
    EXPECT_EQ(storage::messaggioDatabaseMancante("/x/Zefo2015.db"),
              "ATTENZIONE!!!  Non esiste il file db dei dati. Consultare l'assistenza tecnica. "
              "/x/Zefo2015.db");
}

TEST_F(Configurazione, MissingFileIsAnError) {
    EXPECT_THROW(storage::leggiCartellaDati((dir_ / "manca.ini").string()), storage::Error);
}

TEST_F(Configurazione, WrittenFolderReadsBack) {
    const std::string ini = (dir_ / "sub" / "zefo2015.ini").string();
    storage::scriviCartellaDati(ini, "/home/u/archivio");
    EXPECT_EQ(storage::leggiCartellaDati(ini), "/home/u/archivio");
}

}  // namespace
