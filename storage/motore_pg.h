#pragma once

// The PostgreSQL engine: one agent's archive is one schema of a server, reached through libpq.
// Only storage/ includes this header.

#include <memory>
#include <string>

#include "storage/motore.h"

namespace storage::motore {

// The address split into what libpq is given and the agent's schema ("schema=NOME", by default
// "palio2015"). Throws for a schema name other than letters, digits and "_".
struct IndirizzoPostgres {
    std::string conninfo, schema;
};
IndirizzoPostgres leggiIndirizzo(const std::string& indirizzo);

// indirizzo and solaLettura must outlive the engine (its messages name them).
std::unique_ptr<Motore> apriPostgres(const std::string& indirizzo, std::string& solaLettura);
// Creates the agent's schema with the archive's tables; refuses a schema that exists.
void creaPostgres(const std::string& indirizzo);

}  // namespace storage::motore
