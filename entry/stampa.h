#pragma once

// The editors' way to the single-certificate prints, which live in print/ when it is built.

#include <QString>
#include <cstdint>

class QWidget;

namespace storage {
class Connection;
}

namespace entry {

bool stampaDisponibile();
// Prints (or previews) one employee certificate; throws when printing is not built.
void stampaCertificato(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent);
void stampaProfessionista(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent);

}  // namespace entry
