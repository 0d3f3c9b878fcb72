#pragma once

// The archive's tables the program reads and writes row by row, each with its own key column:
// what Dataset and the row appends are built from, so no query text is parsed to find them.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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

// Runs a statement of many rows over n rows, perBlocco to a statement (on a server each statement
// is a round trip): testo(k) is its text for k rows, lega(st, riga, k) binds the row riga as the
// statement's k-th (0-based). The statement of a full block is prepared once, in pieno.
void PerBlocchi(Connection& conn, std::size_t n, std::size_t perBlocco,
                const std::function<std::string(std::size_t)>& testo,
                const std::function<void(Statement&, std::size_t, std::size_t)>& lega, std::optional<Statement>& pieno);

// One row of a block insert: a value per column and which are present (the others are stored as
// null), bound without copying; chiave, for a block that names its keys, is the row's key.
struct RigaNuova {
    const std::vector<std::string>* valori;
    const std::vector<bool>* presenti;
    std::int64_t chiave = 0;
};

// Appends rows to one table many to a statement, or as one stream on a server (where each statement
// is a round trip), in the order given, so the table's own keys follow that order. With conChiave
// the rows carry their keys (from RiservaChiavi) in the table's key column.
class InserimentoABlocchi {
public:
    InserimentoABlocchi(Connection& conn, Tabella tabella, const char* const* colonne, std::size_t quante,
                        bool conChiave);
    void inserisci(std::span<const RigaNuova> righe);

private:
    std::string testo(std::size_t righe) const;
    bool inFlusso(std::span<const RigaNuova> righe);

    Connection& conn_;
    Tabella tabella_;
    const char* const* colonne_;
    std::size_t quante_;
    bool conChiave_;
    std::optional<Statement> pieno_;
};

// The keys the next quante rows of the table take, in ascending order, taken for this
// connection's transaction alone: rows stored with them keep the keys plain appends would have
// given while no one else appends.
std::vector<std::int64_t> RiservaChiavi(Connection& conn, Tabella tabella, std::size_t quante);

}  // namespace storage
