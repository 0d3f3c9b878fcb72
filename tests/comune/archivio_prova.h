#pragma once

// A throw-away archive for the core tests: a new Zefo2015.db in its own temporary folder, removed
// with the object, and rows inserted column by column.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "storage/connection.h"
#include "storage/sistema.h"

namespace prova {
// Its own link names: the import tests link another prova::Archivio (prova_import.h) beside it.
inline namespace comune {

namespace fs = std::filesystem;

// Column and value, in insertion order.
using Valori = std::vector<std::pair<std::string, std::string>>;

class Archivio {
public:
    Archivio() {
        static int n = 0;
        dir = fs::temp_directory_path() /
              ("palio_prova_" + std::to_string(storage::sistema::idProcesso()) + "_" + std::to_string(++n));
        fs::remove_all(dir);
        fs::create_directories(dir);
        storage::Connection::crea((dir / "Zefo2015.db").string());
        conn.open((dir / "Zefo2015.db").string());
    }
    ~Archivio() {
        conn.close();
        fs::remove_all(dir);
    }

    // One row; no values inserts the table's defaults. Returns the new row's id.
    std::int64_t inserisci(const std::string& tabella, const Valori& valori) {
        std::string nomi, posti;
        for (const auto& [c, v] : valori) {
            nomi += (nomi.empty() ? "" : ", ") + c;
            posti += posti.empty() ? "?" : ", ?";
        }
        storage::Statement st(conn, valori.empty()
                                        ? "insert into " + tabella + " default values"
                                        : "insert into " + tabella + " (" + nomi + ") values (" + posti + ")");
        int i = 1;
        for (const auto& [c, v] : valori) st.bind(i++, v);
        st.step();
        return conn.lastInsertId();
    }

    fs::path dir;
    storage::Connection conn;
};

}  // namespace comune
}  // namespace prova
