#pragma once

// The imports and the archive reset. Every import runs in one transaction: an error stores
// nothing of that run and throws storage::Error naming the file, line, field and value found.

#include <string>

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

}  // namespace importazione
