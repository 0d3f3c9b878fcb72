#include "storage/dialetto.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "storage/motore.h"
#include "storage/schema.h"
#include "storage/tabelle.h"

namespace storage::dialetto {

std::string SenzaMaiuscole(Connection& conn, std::string_view espressione) {
    const std::string e(espressione);
    return conn.motore().tipo() == motore::Tipo::SQLite ? e + " collate nocase" : "cast(" + e + " as citext)";
}

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

}  // namespace storage::dialetto

namespace storage {

std::vector<std::int64_t> RiservaChiavi(Connection& conn, Tabella tabella, std::size_t quante) {
    std::vector<std::int64_t> chiavi;
    if (quante == 0) return chiavi;
    chiavi.reserve(quante);
    const std::string nome = NomeTabella(tabella);
    if (conn.motore().tipo() == motore::Tipo::SQLite) {
        // The writer holds the file's lock for its whole transaction: the next keys are the
        // ones after the counter of the table's autoincrement key (or its greatest key).
        Statement st(conn,
                     "select max(coalesce((select seq from sqlite_sequence where name = ?), 0), "
                     "coalesce((select max(" +
                         std::string(ChiaveTabella(tabella)) + ") from " + nome + "), 0))");
        st.bind(1, nome);
        st.step();
        const std::int64_t base = st.integer(0);
        for (std::size_t i = 1; i <= quante; ++i) chiavi.push_back(base + static_cast<std::int64_t>(i));
        return chiavi;
    }
    // Taken from the table's own sequence, so other operators' rows never take them.
    std::string colonna = ChiaveTabella(tabella);
    std::transform(colonna.begin(), colonna.end(), colonna.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    Statement st(conn, "select nextval(pg_get_serial_sequence(?, ?)) from generate_series(1, cast(? as bigint))");
    st.bind(1, nome).bind(2, colonna).bind(3, static_cast<std::int64_t>(quante));
    while (st.step()) chiavi.push_back(st.integer(0));
    std::sort(chiavi.begin(), chiavi.end());
    if (chiavi.size() != quante) throw Error("Il server non ha dato le chiavi dei nuovi certificati di " + nome + ".");
    return chiavi;
}

}  // namespace storage

namespace storage::dialetto {

void SvuotaRegistro(Connection& conn) { conn.exec("PRAGMA wal_checkpoint(TRUNCATE)"); }

}  // namespace storage::dialetto
