#pragma once

// The archive's record of imports: one row per import run of a file (table Importazioni).

#include <cstdint>
#include <optional>
#include <string>

#include "storage/connection.h"

namespace storage {

struct Importazione {
    std::string file;  // as typed
    std::uint64_t dimensione = 0;
    std::string sha256;
    std::string tipo;    // "paghe DIP", "altro", "770 tracciato 1", "finanziaria", ...
    std::string quando;  // "AAAA-MM-GG HH:MM:SS", local time
    std::int64_t certificati = 0, aggiuntive = 0;
};

// The latest import of a file with this size and digest.
std::optional<Importazione> ImportazionePrecedente(Connection& conn, std::uint64_t dimensione,
                                                   const std::string& sha256);
void RegistraImportazione(Connection& conn, const Importazione& voce);

}  // namespace storage
