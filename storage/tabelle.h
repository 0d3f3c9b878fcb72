#pragma once

// The archive's tables the program reads and writes row by row, each with its own key column:
// what Dataset and the row appends are built from, so no query text is parsed to find them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/connection.h"

namespace storage {

enum class Tabella { SostitutoImposta, QuadroCt, Zefo1, Zefo2, Zefo3, Professionisti };

// The name as the archive spells it ("Zefo1") and the key column ("ID", "IdNooo", "IDNoooo"),
// read from the tables' description (schema::chiave).
const char* NomeTabella(Tabella t);
const char* ChiaveTabella(Tabella t);
// The table a name stands for, case aside; nullopt for a name that is none of these.
std::optional<Tabella> TabellaDelNome(std::string_view nome);

// How many rows the table holds.
std::int64_t ContaRighe(Connection& conn, Tabella tabella);

// Appends rows to one table with one INSERT prepared once over these columns (the imports, by
// the hundred thousand). Each row binds the values of the columns marked present, without copying
// them; the others are stored as null.
class InserimentoRighe {
public:
    InserimentoRighe(Connection& conn, Tabella tabella, const char* const* colonne, std::size_t quante);
    // valori and presenti have one entry per column; returns the new row's key.
    std::int64_t inserisci(const std::vector<std::string>& valori, const std::vector<bool>& presenti);

private:
    Connection& conn_;
    Statement insert_;
};

}  // namespace storage
