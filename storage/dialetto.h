#pragma once

// The few pieces of query text that differ between the engines, named here so that nothing else in the
// archive's queries depends on the engine.

#include <cstdint>

#include "storage/connection.h"

namespace storage::dialetto {

// After an expression (a function of a text column loses the column's collation): compares it
// as the archive's text columns compare, ASCII letters without regard to case.
inline constexpr const char* kSenzaMaiuscole = " collate nocase";

// Sets the counter the table's autoincrement key continues from.
void ContatoreChiave(Connection& conn, const char* tabella, std::int64_t valore);

// Moves what the write-ahead log holds into the database file and empties the log (the benches'
// generated archives, so that each run starts from one file).
void SvuotaRegistro(Connection& conn);

}  // namespace storage::dialetto
