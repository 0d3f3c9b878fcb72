#pragma once

// The list of the archives used lately, beside the configuration file: one folder a line, the
// latest first; the archive chosen also becomes the configuration file's first line.

#include <cstddef>
#include <string>
#include <vector>

namespace storage {

// An archive of the recent list, read without changing it.
struct ArchivioRecente {
    std::string cartella;
    std::string sostituto;   // the agent's name; empty when not typed yet
    bool leggibile = false;  // false: missing, or not an archive any more
};

inline constexpr std::size_t kMassimoRecenti = 10;

// The recent list lives beside the configuration file, one folder a line, the latest first.
std::string percorsoArchiviRecenti(const std::string& percorsoIni);
std::vector<std::string> leggiArchiviRecenti(const std::string& percorsoIni);
// Each folder of the recent list with its agent's name.
std::vector<ArchivioRecente> descriviArchiviRecenti(const std::string& percorsoIni);

// Puts the folder (or server address, without its password) at the head of the recent list (at
// most kMassimoRecenti, no folder twice). Throws Error when the list can't be written.
void ricordaArchivio(const std::string& percorsoIni, const std::string& cartella);
// The archive chosen: it becomes the configuration file's first line and the head of the
// recent list; a server address loses its password on the way. Throws Error when a file can't be
// written.
void scegliArchivio(const std::string& percorsoIni, const std::string& cartella);

}  // namespace storage
