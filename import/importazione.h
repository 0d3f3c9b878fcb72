#pragma once

// The imports, the archive reset and the restore of a backup. Every import runs in one
// transaction: an error stores nothing of that run and throws storage::Error naming the file,
// line, field and value found. Before it reads, an import refuses what is not a plain readable
// file and asks before importing again a file already imported; every import, reset and restore
// that changes the archive is preceded by a backup (storage/salvataggi.h).

#include <fstream>
#include <string>
#include <vector>

#include "storage/connection.h"
#include "storage/reporter.h"

namespace importazione {

// The three texts of the "Dati Aggiuntivi" panel, read as typed.
struct DatiAggiuntivi {
    std::string codiceAttivita = "841110";
    std::string codiceSede = "001";
    std::string matricolaAzienda;
};

enum class Tracciato { Dipendenti, Amministratori, CoCoCo };

// The file an import reads, opened only when it is a plain file that can be read: a folder, a
// FIFO or a device is refused at once (a FIFO would block the run, a device never end), and a
// file that cannot be opened says why. Throws storage::Error.
std::ifstream ApriFileDaImportare(const std::string& percorso);

// Each returns false when the run was refused (a message already went to the reporter) or
// cancelled through Reporter::progress; true after "Operazione terminata.".
bool ImportaPaghe(storage::Connection& conn, const std::string& percorso, Tracciato tracciato,
                  bool copiaSostituto, const DatiAggiuntivi& dati, storage::Reporter& reporter);
bool ImportaAltro(storage::Connection& conn, const std::string& percorso, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter);
// tracciato: 1 or 2, the two layouts of the 770 Semplificato file.
bool Importa770(storage::Connection& conn, const std::string& percorso, int tracciato,
                const DatiAggiuntivi& dati, storage::Reporter& reporter);
bool ImportaFinanziaria(storage::Connection& conn, const std::string& percorso,
                        bool daCuDipendenti, const DatiAggiuntivi& dati,
                        storage::Reporter& reporter);

enum class Archivio { Ente, Dipendenti, Professionisti };
// Asks the three questions through reporter.ask; goes ahead only on Yes, No, Yes.
bool Azzera(storage::Connection& conn, Archivio archivio, storage::Reporter& reporter);

enum class EsitoRinumerazione { Fatta, NienteDaFare, Rifiutata, Annullata };
// Gives every certificate whose number the file cannot carry (past 99,999) one that it can: the
// lowest numbers of its list that nothing of the list holds, in the order of the old numbers.
// One question, then a backup and one transaction; what was recorded of each certificate's
// sendings goes with it. Refused, changing nothing, when one of them holds the identifiers of
// an accepted sending or when its list has no room left (the messages go to the reporter).
EsitoRinumerazione Rinumera(storage::Connection& conn, storage::Reporter& reporter);

// A backup of the archive as the operator sees it.
struct CopiaArchivio {
    std::string percorso, nome;
    std::string quando;  // "GG/MM/AAAA HH:MM:SS"
    std::string prima;   // the operation it was taken before, in words
};
// The backups of the open archive, newest first.
std::vector<CopiaArchivio> ElencoCopie(const storage::Connection& conn);
// Asks through reporter.ask, backs up the current state, then puts the copy's content in place
// of the archive's. false when the operator said No.
bool Ripristina(storage::Connection& conn, const std::string& copia, storage::Reporter& reporter);

}  // namespace importazione
