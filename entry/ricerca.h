#pragma once

#include <QString>
#include <cstddef>
#include <optional>

namespace storage {
class Connection;
class Dataset;
}  // namespace storage

namespace entry {

// Position in the list of the first row, in the list's order, whose surname (B02) begins with
// cognome and, when nome is not empty, whose first name (B03) begins with nome, ignoring case.
// Only the rows whose names fall in the typed range are read, through the surname index.
std::optional<std::size_t> TrovaNellElenco(storage::Connection& conn, const storage::Dataset& elenco,
                                           const QString& cognome, const QString& nome);

// Position of the first row, in the list's order, that the text names: a certificate number,
// then (employees) a matricola, then the beginning of a tax code, ignoring case.
std::optional<std::size_t> TrovaPerCodice(storage::Connection& conn, const storage::Dataset& elenco,
                                          const QString& testo);

}  // namespace entry
