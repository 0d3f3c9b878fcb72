#pragma once

// The few pieces of query text that differ between the engines, named here so that nothing else in the
// archive's queries depends on the engine.

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/connection.h"

namespace storage::dialetto {

// An expression (a function of a text column loses the column's collation) that compares as the
// archive's text columns compare, ASCII letters without regard to case; written as the index on
// it is, so that the index serves.
std::string SenzaMaiuscole(Connection& conn, std::string_view espressione);

// Sets the counter the table's autoincrement key continues from.
void ContatoreChiave(Connection& conn, const char* tabella, std::int64_t valore);

// Moves what the write-ahead log holds into the database file and empties the log (the benches'
// generated archives, so that each run starts from one file).
void SvuotaRegistro(Connection& conn);

}  // namespace storage::dialetto
