#pragma once

// The two homes of an archive for the tests that run on both: a new Zefo2015.db in a temporary
// folder, or a new schema of the throw-away PostgreSQL server whose address scripts/postgres-prova.sh
// puts in PALIO_PG_PROVA. Without that address the server's cases fail, saying so: they are
// never skipped.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "storage/connection.h"
#include "storage/sistema.h"

namespace prova {

enum class Motore { SQLite, PostgreSQL };

inline std::string nomeMotore(const ::testing::TestParamInfo<Motore>& i) {
    return i.param == Motore::SQLite ? "SQLite" : "PostgreSQL";
}

// The address of a new archive on this engine (not created yet); removed with the object.
class Indirizzo {
public:
    explicit Indirizzo(Motore m) : motore_(m) {
        static int n = 0;
        const std::string nome =
            "palio_prova_" + std::to_string(storage::sistema::idProcesso()) + "_" + std::to_string(++n);
        if (m == Motore::SQLite) {
            dir_ = std::filesystem::temp_directory_path() / nome;
            std::filesystem::remove_all(dir_);
            std::filesystem::create_directories(dir_);
            indirizzo_ = (dir_ / "Zefo2015.db").string();
            return;
        }
        const char* server = std::getenv("PALIO_PG_PROVA");
        if (!server || !*server) {
            ADD_FAILURE() << "PALIO_PG_PROVA non è impostata: i test sul server vanno avviati con "
                             "scripts/postgres-prova.sh (lo fa scripts/test.sh)";
            return;
        }
        schema_ = nome;
        indirizzo_ =
            server + std::string(std::string(server).find('?') == std::string::npos ? "?" : "&") + "schema=" + schema_;
    }
    ~Indirizzo() {
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
        if (schema_.empty()) return;
        try {
            storage::Connection c;
            c.open(indirizzo_);
            c.exec("drop schema " + schema_ + " cascade");
        } catch (...) {
        }
    }
    Indirizzo(const Indirizzo&) = delete;
    Indirizzo& operator=(const Indirizzo&) = delete;
    const std::string& str() const { return indirizzo_; }
    bool valido() const { return !indirizzo_.empty(); }
    Motore motore() const { return motore_; }

private:
    Motore motore_;
    std::filesystem::path dir_;
    std::string schema_, indirizzo_;
};

// A new archive on the engine the test is given, open in conn.
class SuMotore : public ::testing::TestWithParam<Motore> {
protected:
    void SetUp() override {
        ASSERT_TRUE(indirizzo.valido());
        storage::Connection::crea(indirizzo.str());
        conn.open(indirizzo.str());
    }
    void TearDown() override { conn.close(); }

    std::string valore(const std::string& sql) {
        storage::Statement st(conn, sql);
        return st.step() ? std::string(st.text(0)) : std::string("(nessuna riga)");
    }

    Indirizzo indirizzo{GetParam()};
    storage::Connection conn;
};

}  // namespace prova
