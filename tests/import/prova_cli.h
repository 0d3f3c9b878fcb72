#pragma once

// What the batch command's tests share: running palio2015-cli as a script would, and a new
// archive in a temporary folder of its own for each test, with a configuration folder of its
// own so that no user's file is read or written.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "storage/connection.h"

namespace prova {

namespace fs = std::filesystem;

struct Esito {
    int stato;
    std::string uscita;  // standard output and standard error together
};

// Runs the command line through the shell; prima goes before the program (variables).
inline Esito esegui(const std::string& argomenti, const std::string& prima = "") {
    std::string comando = prima + std::string(PALIO_CLI) + " " + argomenti + " 2>&1";
    Esito e{-1, {}};
    FILE* p = ::popen(comando.c_str(), "r");
    if (!p) return e;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) e.uscita.append(buf, n);
    const int s = ::pclose(p);
    e.stato = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return e;
}

// The first line of a text, its end of line included.
inline std::string primaRiga(const std::string& t) { return t.substr(0, t.find('\n') + 1); }

class Comandi : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("palio_cli_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        storage::Connection::crea((dir / "Zefo2015.db").string());
        archivio = "--archivio " + dir.string() + " ";
    }
    void TearDown() override { fs::remove_all(dir); }
    long long conta(const std::string& tabella) {
        storage::Connection c;
        c.open((dir / "Zefo2015.db").string());
        storage::Statement st(c, "select count(*) from " + tabella);
        st.step();
        return st.integer(0);
    }
    void sql(const std::string& testo) {
        storage::Connection c;
        c.open((dir / "Zefo2015.db").string());
        c.exec(testo);
    }
    // The command with this test's archive and a configuration folder inside the test's folder.
    Esito cli(const std::string& argomenti) {
        return esegui(archivio + argomenti, "XDG_CONFIG_HOME=" + (dir / "config").string() + " ");
    }
    static std::string esempio(const std::string& nome) {
        return std::string(PALIO_SOURCE_DIR) + "/examples/paghe/" + nome;
    }
    fs::path dir;
    std::string archivio;
};

}  // namespace prova
