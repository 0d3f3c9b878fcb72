#pragma once

// An archive on a PostgreSQL server as the operator names it: host, port, database, user and the
// agent's schema; the address they make; how it is shown (never with a password) and the test of
// a connection before it is opened.

#include <string>

namespace storage {

struct DatiServer {
    std::string host, porta, database, utente, schema;
};

// The libpq URI of these data: postgresql://utente@host:porta/database?schema=SCHEMA. No password:
// libpq finds it in its password file or service file.
std::string IndirizzoServer(const DatiServer& dati);
// The parts of an address, as far as it names them (a service name names none of host and port).
DatiServer DatiDellIndirizzo(const std::string& indirizzo);

// The address with any password taken out ("utente:segreta@" of a URI, its "password=" parameter,
// a "password=" entry of a key=value string); any other text is returned as it is.
std::string SenzaPassword(const std::string& indirizzo);

// How titles and lists name an archive: its folder, or for a server address
// "schema rossi su 10.0.0.5:5432/palio" ("schema rossi del servizio palio").
std::string DescriviArchivio(const std::string& cartellaOIndirizzo);

// The same address, giving up after this many seconds on a server that does not answer (for the
// recent list, which must not hang on a server switched off).
std::string ConAttesaMassima(const std::string& indirizzo, int secondi);

// What a connection attempt found.
enum class EsitoCollegamento {
    Pronto,            // reached, and the schema is there
    SchemaMancante,    // reached, but the schema is not there yet
    AccessoRifiutato,  // the server refused the user's authentication
    NonRisponde,       // nothing answers at that host and port
    Fallito,           // reached, but refused for another reason (database, user, rules of the server)
};
struct ProvaCollegamento {
    EsitoCollegamento esito = EsitoCollegamento::Fallito;
    std::string frase;   // the operator's sentence (empty when Pronto)
    std::string motore;  // the server's or the library's own words, for a second line
};
// Tries the address, once. Throws Error for an address that is not a server address or names a
// schema that cannot be one.
ProvaCollegamento ProvaServer(const std::string& indirizzo);

}  // namespace storage
