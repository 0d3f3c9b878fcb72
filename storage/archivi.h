#pragma once

// Archives as the operator chooses them: opening one (a 0-byte file gets the tables), making a
// new one, the agent's name that tells one from another, and the folders of its output.

#include <string>

#include "storage/connection.h"

namespace storage {

// Opens the archive at percorsoDb (or a server address) on conn. A missing file throws messaggioDatabaseMancante; a
// 0-byte file gets the archive's tables; a file that is not a database, or a database without
// the archive's tables, throws Error saying so and leaves conn closed.
void apriArchivio(Connection& conn, const std::string& percorsoDb);

// Creates the folder (with its parents) and a new archive in it; refuses an existing one.
// Returns the database's path.
std::string creaArchivio(const std::string& cartella);

// The agent's name as typed on the frontispiece (surname or company, then first name);
// empty when the agent's data are not filled in yet.
std::string nomeSostituto(Connection& conn);

// An output folder of the archive open on conn ("FileXInvio", "PDF"): inside the archive's own
// folder, so that two agents' files never meet; under the usual place of the archives while none
// is open.
std::string cartellaDiUscita(const Connection& conn, const std::string& nome);

}  // namespace storage
