#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace storage {
class Connection;
class Dataset;
}  // namespace storage

namespace entry {

// Position in the list of the first row, in the list's order, whose surname (B02) begins with
// cognome and, when nome is not empty, whose first name (B03) begins with nome, ignoring case,
// blanks and apostrophes. Only the rows whose names fall in the typed range are read, through
// the surname index.
std::optional<std::size_t> TrovaNellElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                           const QString& cognome, const QString& nome);

// A certificate of the table that the list leaves out (the kind filter), found by its names.
struct Escluso {
    std::int64_t id = 0;
    QString cognome;
};
// The first, in surname order, of the table's rows that match as above and the list does not hold.
std::optional<Escluso> TrovaFuoriDallElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                            const QString& cognome, const QString& nome);

// A row found, and what it was found by ("matricola 0007", "certificato n. 7", "codice fiscale").
struct Trovato {
    std::size_t posizione = 0;
    QString come;
};

// The first row, in the list's order, that the text names: (employees) an exact matricola, then a
// certificate number, then the beginning of a tax code, ignoring case. "n. 7" names only the
// certificate number 7; where a matricola also reads as a number, `come` says how to reach it.
std::optional<Trovato> TrovaPerCodice(storage::Connection& conn, const storage::Dataset& elenco, const QString& testo);

}  // namespace entry
