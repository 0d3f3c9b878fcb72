#pragma once

// The SQLite engine: the archive as one database file. Only storage/ includes this header.

#include <memory>
#include <string>

#include "storage/motore.h"

struct sqlite3;

namespace storage {
class Connection;
namespace motore {

// Opens the file for reading and writing; when it cannot be written, for reading only, and
// solaLettura says why. percorso and solaLettura must outlive the engine (its messages name them).
std::unique_ptr<Motore> apriSqlite(const std::string& percorso, std::string& solaLettura);
// Creates a new database file with the archive's tables; refuses an existing file.
void creaSqlite(const std::string& percorso);
// The file's engine handle, for the backup copies; null for an archive on a server.
sqlite3* handleSqlite(const Connection& conn);

}  // namespace motore
}  // namespace storage
