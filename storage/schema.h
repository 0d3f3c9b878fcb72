#pragma once

// The archive's tables in one description (storage/schema.sql) with a version number, the DDL
// each engine is given, and the one upgrade path of older archives.

#include <string>
#include <string_view>
#include <vector>

#include "storage/motore.h"

namespace storage {

class Connection;

namespace schema {

// One statement of the description.
struct Voce {
    enum class Genere { Tabella, Indice, Riga } genere;
    std::string nome;  // the table's or index's name
    std::string sql;   // as written in schema.sql
};

const std::vector<Voce>& voci();
// The version of the tables this program writes.
int versione();
// The statement in the engine's dialect.
std::string perMotore(std::string_view sql, motore::Tipo tipo);
// Every statement that makes a new archive, in the engine's dialect, separated by ";".
std::string creazione(motore::Tipo tipo);
// The spelling of a column or table name as the description writes it; the name itself when it
// is not there. The server gives names back in lower case.
std::string_view nome(std::string_view qualunque);

// The column the description keys the table's new rows by ("ID", "IdNooo"); empty for a table
// keyed otherwise or not in the description.
std::string chiave(std::string_view tabella);

// The version the open archive records; 0 for an archive made before versions were recorded.
int versioneArchivio(Connection& conn);
// Brings an archive opened for writing to versione(), in one transaction; writes nothing when it
// is there already. Throws for an archive newer than this program.
void aggiorna(Connection& conn);
// Gives an empty database (a new file, ":memory:") every table of the description, in one
// transaction.
void creaTabelle(Connection& conn);
// Creates the table of the description when the archive lacks it (older archives opened for
// reading stay untouched until they are opened for writing).
void creaSeManca(Connection& conn, std::string_view tabella);

}  // namespace schema
}  // namespace storage
