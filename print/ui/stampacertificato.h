#pragma once

// The editors' prints of the current certificate.

#include <cstdint>

#include "print/ui/uscita.h"
#include "storage/connection.h"

class QWidget;

namespace print {

// The employee editor's print: straight to the default printer, then "Operazione eseguita";
// with anteprima, the preview instead (no message).
void StampaCertificato(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent);
void StampaCertificato(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent, Uscita& uscita);

// The professional editor's "Anteprima" and "Stampa"; no message afterwards.
void StampaProfessionista(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent);
void StampaProfessionista(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent, Uscita& uscita);

}  // namespace print
