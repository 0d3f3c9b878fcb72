#pragma once

// Copies of the archive taken before every import, reset and restore, with SQLite's online
// backup API: backup/Zefo2015_AAAAMMGG-HHMMSS-NN_OPERAZIONE.db in the data folder (NN tells
// apart copies of the same second); the last 10 stay. A server archive's copies are sibling
// schemas on the same server, SCHEMA_copia_AAAAMMGG_HHMMSS_NN (their name is their "percorso").

#include <string>
#include <string_view>
#include <vector>

#include "storage/connection.h"

namespace storage {

inline constexpr std::size_t kSalvataggiTenuti = 10;

struct VoceSalvataggio {
    std::string percorso;
    std::string nome;        // the file's name
    std::string quando;      // "GG/MM/AAAA HH:MM:SS"
    std::string operazione;  // the operation it was taken before, as named at the copy
};

// The backup folder of the archive the connection has open; empty for an archive in memory.
std::string cartellaSalvataggi(const Connection& conn);
// The backup folder of the archive at this path.
std::string cartellaSalvataggi(const std::string& percorsoDb);

// One copy, taken at construction. Unless conferma() is called, the destructor removes it: the
// operation that asked for it stored nothing, and the copy would only push an older one out.
class Salvataggio {
public:
    // operazione: a short name for the file ("importa-paghe-dip", "azzera-dipendenti").
    Salvataggio(Connection& conn, std::string_view operazione);
    ~Salvataggio();
    Salvataggio(const Salvataggio&) = delete;
    Salvataggio& operator=(const Salvataggio&) = delete;

    // Keeps the copy and removes the oldest past kSalvataggiTenuti.
    void conferma();
    const std::string& percorso() const { return percorso_; }
    // How long the copy took.
    double secondi() const { return secondi_; }

private:
    std::string cartella_, percorso_;
    Connection* server_ = nullptr;  // the server archive the copy is of
    double secondi_ = 0;
    bool confermato_ = false;
};

// The copies in the folder, newest first.
std::vector<VoceSalvataggio> elencoSalvataggi(const std::string& cartella);

// The copies of the open archive, or of the archive at this path or address, newest first.
std::vector<VoceSalvataggio> salvataggiDellArchivio(Connection& conn);
std::vector<VoceSalvataggio> salvataggiDellArchivio(const std::string& percorsoDb);

// Replaces the whole content of the open archive with the copy's. On a server the copy's rows
// take the place of the archive's in one transaction, the tables locked against other writers. The copy is first
// written to a temporary file beside the archive and checked; then it goes in through the backup API in one transaction
// of the engine, so the archive is never half restored, even if the program dies. Refused (storage::Error) while
// another program holds the archive open.
void ripristina(Connection& conn, const std::string& salvataggio);

// For an archive that cannot be opened (damaged, not an archive, missing): the copy, written to a
// temporary file beside it and checked, takes the archive's place by a rename; the file that was
// there is kept beside it as Zefo2015.db.danneggiato-AAAAMMGG-HHMMSS (its path is returned, empty
// when there was none), with its journals. Refused while another program holds the archive open.
std::string ripristinaAlPosto(const std::string& archivio, const std::string& salvataggio);

}  // namespace storage
