#include "storage/dialetto.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "storage/motore.h"
#include "storage/schema.h"

namespace storage::dialetto {

void ContatoreChiave(Connection& conn, const char* tabella, std::int64_t valore) {
    if (conn.motore().tipo() == motore::Tipo::SQLite) {
        Statement seq(conn, "update sqlite_sequence set seq = ? where name = ?");
        seq.bind(1, valore).bind(2, tabella).step();
        return;
    }
    // The server's key takes its numbers from the table's own sequence; its column is named in
    // lower case, as the server keeps it.
    std::string colonna = schema::chiave(tabella);
    std::transform(colonna.begin(), colonna.end(), colonna.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    Statement seq(conn, "select setval(pg_get_serial_sequence(?, ?), ?, ?)");
    // A sequence never stands below 1: "not yet used" is how it says 0.
    seq.bind(1, tabella).bind(2, colonna).bind(3, std::max<std::int64_t>(valore, 1)).bind(4, std::int64_t{valore > 0});
    seq.step();
}

void SvuotaRegistro(Connection& conn) { conn.exec("PRAGMA wal_checkpoint(TRUNCATE)"); }

}  // namespace storage::dialetto
