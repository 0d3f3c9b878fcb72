#include "storage/dialetto.h"

namespace storage::dialetto {

void ContatoreChiave(Connection& conn, const char* tabella, std::int64_t valore) {
    Statement seq(conn, "update sqlite_sequence set seq = ? where name = ?");
    seq.bind(1, valore).bind(2, tabella).step();
}

void SvuotaRegistro(Connection& conn) { conn.exec("PRAGMA wal_checkpoint(TRUNCATE)"); }

}  // namespace storage::dialetto
