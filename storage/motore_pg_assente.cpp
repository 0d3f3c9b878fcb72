#include "storage/error.h"
#include "storage/motore_pg.h"

// A build without libpq: a server address is recognised, and refused with a message.
namespace storage::motore {

namespace {
[[noreturn]] void rifiuta(const std::string& indirizzo) {
    throw Error("L'archivio " + indirizzo +
                " è su un server PostgreSQL: questa versione di Palio 2015 non gestisce "
                "archivi su server.");
}
}  // namespace

IndirizzoPostgres leggiIndirizzo(const std::string& indirizzo) { rifiuta(indirizzo); }
std::unique_ptr<Motore> apriPostgres(const std::string& indirizzo, std::string&) { rifiuta(indirizzo); }
void creaPostgres(const std::string& indirizzo) { rifiuta(indirizzo); }

}  // namespace storage::motore
