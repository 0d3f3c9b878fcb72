#pragma once

// Archives as the operator chooses them: opening one (a 0-byte file gets the tables), the
// agent's name that tells one from another, and the list of the archives used lately.

#include <string>
#include <vector>

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

// An archive of the recent list, read without changing it.
struct ArchivioRecente {
    std::string cartella;
    std::string sostituto;  // the agent's name; empty when not typed yet
    bool leggibile = false;  // false: missing, or not an archive any more
};

inline constexpr std::size_t kMassimoRecenti = 10;

// The recent list lives beside the configuration file, one folder a line, the latest first.
std::string percorsoArchiviRecenti(const std::string& percorsoIni);
std::vector<std::string> leggiArchiviRecenti(const std::string& percorsoIni);
// Each folder of the recent list with its agent's name.
std::vector<ArchivioRecente> descriviArchiviRecenti(const std::string& percorsoIni);

// Puts the folder (or server address, without its password) at the head of the recent list (at
// most kMassimoRecenti, no folder twice).
// Throws Error when the list can't be written.
void ricordaArchivio(const std::string& percorsoIni, const std::string& cartella);
// The archive chosen: it becomes the configuration file's first line and the head of the
// recent list; a server address loses its password on the way. Throws Error when a file can't be
// written.
void scegliArchivio(const std::string& percorsoIni, const std::string& cartella);

}  // namespace storage
