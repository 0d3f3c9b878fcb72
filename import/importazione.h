#pragma once

// The imports, the archive reset and the restore of a backup. Every import runs in one
// transaction: an error stores nothing of that run and throws storage::Error naming the file,
// line, field and value found. Before it reads, an import refuses what is not a plain readable
// file and asks before importing again a file already imported; every import, reset and restore
// that changes the archive is preceded by a backup (storage/salvataggi.h).

#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/reporter.h"

namespace importazione {

// The three texts of the "Dati Aggiuntivi" panel, read as typed.
struct DatiAggiuntivi {
    std::string codiceAttivita = "841110";
    std::string codiceSede = "001";
    std::string matricolaAzienda;
};

// The file an import reads, opened only when it is a plain file that can be read: a folder, a
// FIFO or a device is refused at once (a FIFO would block the run, a device never end), and a
// file that cannot be opened says why. Throws storage::Error.
std::ifstream ApriFileDaImportare(const std::string& percorso);

// Each returns false when the run was refused (a message already went to the reporter) or
// cancelled through Reporter::progress; true after "Operazione terminata.".
// tracciato: the payroll file's layout, one for each kind of certificate it fills.
bool ImportaPaghe(storage::Connection& conn, const std::string& percorso, storage::Tipo tracciato, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter);
bool ImportaAltro(storage::Connection& conn, const std::string& percorso, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter);
// tracciato: 1 or 2, the two layouts of the 770 Semplificato file.
bool Importa770(storage::Connection& conn, const std::string& percorso, int tracciato, const DatiAggiuntivi& dati,
                storage::Reporter& reporter);
bool ImportaFinanziaria(storage::Connection& conn, const std::string& percorso, bool daCuDipendenti,
                        const DatiAggiuntivi& dati, storage::Reporter& reporter);

enum class Archivio { Ente, Dipendenti, Professionisti };
// Asks the three questions through reporter.ask; goes ahead only on Yes, No, Yes.
bool Azzera(storage::Connection& conn, Archivio archivio, storage::Reporter& reporter);
// The answer to one of the reset's questions (as reporter.ask receives it) that lets the reset go
// on: the second asks whether not to proceed. None for a text that is no question of a reset.
std::optional<bool> RispostaCheProcede(std::string_view domanda);
// What a reset empties; the windows that show any of it read it again.
struct DatiAzzerati {
    bool sostituto = false;       // the agent's general data
    bool quadroCt = false;        // the Quadro CT's own boxes
    bool dipendenti = false;      // the employees' certificates
    bool professionisti = false;  // the professionals' certificates
};
DatiAzzerati DatiDellAzzeramento(Archivio archivio);

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
// The backups of the open archive, newest first (on a server: its copies beside it).
std::vector<CopiaArchivio> ElencoCopie(storage::Connection& conn);
// The backups of the archive at this path, without opening it.
std::vector<CopiaArchivio> ElencoCopie(const std::string& percorsoDb);
// Asks through reporter.ask, backs up the current state, then puts the copy's content in place
// of the archive's. false when the operator said No.
bool Ripristina(storage::Connection& conn, const std::string& copia, storage::Reporter& reporter);
// The same for the archive at this path, which need not open: one that does is restored as
// above; a damaged one, a file that is not an archive or a missing one gets the copy in its place
// (storage::ripristinaAlPosto), the file that was there kept beside it.
bool RipristinaArchivio(const std::string& percorsoDb, const std::string& copia, storage::Reporter& reporter);

}  // namespace importazione
