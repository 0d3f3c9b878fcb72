#pragma once

// Which certificates a supply carries: every one not excluded from sending (ordinary), the chosen
// few (ordinary), or those marked for the correction; and the refusals that stop a run before
// anything is written.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/connection.h"
#include "storage/invii.h"
#include "storage/row.h"
#include "telematic/generazione.h"

namespace telematic {

struct Selezione {
    storage::Elenco elenco = storage::Elenco::Dipendenti;
    // False: the whole list as today, nothing left out and the agent's counts in record B.
    bool parziale = false;
    std::vector<std::int64_t> numeri;  // parziale: the certificates written, ascending
    bool ammette(std::int64_t id) const;
};

// The operation a supply kind sends; Nessuna for an ordinary supply.
storage::Operazione OperazioneDi(TipoFornitura f);
// "sostituzione" or "annullamento", as the messages name a correction supply.
const char* NomeCorrezione(TipoFornitura f);

// The certificates of the run; on a refusal returns the reason in *rifiuto (one Italian sentence,
// or a first line and one line per certificate) and an empty selection.
Selezione Seleziona(storage::Connection& conn, storage::Elenco elenco, const OpzioniGenerazione& opz,
                    std::string* rifiuto);

// A correction's certificates lacking their identifiers: a first line and one line per certificate
// ("Certificato N (COGNOME NOME)"); "" when none lacks them or the supply is ordinary.
std::string MancanoIdentificativi(storage::Connection& conn, const Selezione& selezione, TipoFornitura fornitura);

// The certificates of the supply whose number the file cannot carry: a first line, one line per
// certificate (the first ten) and what to do; "" when every number travels.
std::string NumeriNonTrasmissibili(storage::Connection& conn, const Selezione& selezione, const storage::Tipi& tipi);

// The agent's row as record B must show it for this supply: a correction ticks its own box and
// clears the other; a partial supply counts only what it carries.
storage::Row SostitutoPerFornitura(storage::Connection& conn, const storage::Row& sostituto,
                                   const OpzioniGenerazione& opz, const Selezione& selezione);

// A whole ordinary supply writes in record B the frontispiece's counts as stored; the list's own
// count (A1 for employees, A2 for professionals) must be the number of certificates it carries.
struct ConteggioFornitura {
    const char* colonna = "A1";    // the list's own count in SostitutoImposta
    std::string memorizzato;       // as stored, trimmed
    std::int64_t certificati = 0;  // what the supply carries
    bool diverso = false;          // a whole ordinary supply whose stored count is another number
    bool tuttoLElenco = false;     // the supply carries every certificate of the list
    // "I conteggi del frontespizio (36) non corrispondono ai certificati della fornitura (20.000)"
    std::string testo() const;
};
ConteggioFornitura ConfrontaConteggio(storage::Connection& conn, const storage::Row& sostituto,
                                      const OpzioniGenerazione& opz, const Selezione& selezione);
// Stores the supply's count as the list's own frontispiece count.
void AggiornaConteggio(storage::Connection& conn, const ConteggioFornitura& c);

}  // namespace telematic
