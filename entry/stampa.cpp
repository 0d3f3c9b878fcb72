#include "entry/stampa.h"

#include "storage/error.h"

#if defined(PALIO_CON_STAMPA) && __has_include("print/stampacertificato.h")
#include "print/stampacertificato.h"
#define PALIO_STAMPA_PRESENTE 1
#endif

namespace entry {

#ifdef PALIO_STAMPA_PRESENTE

bool stampaDisponibile() { return true; }

void stampaCertificato(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent) {
    print::StampaCertificato(conn, id, anteprima, parent);
}

void stampaProfessionista(storage::Connection& conn, std::int64_t id, bool anteprima, QWidget* parent) {
    print::StampaProfessionista(conn, id, anteprima, parent);
}

#else

bool stampaDisponibile() { return false; }

void stampaCertificato(storage::Connection&, std::int64_t, bool, QWidget*) {
    throw storage::Error("La stampa non è ancora disponibile.");
}

void stampaProfessionista(storage::Connection&, std::int64_t, bool, QWidget*) {
    throw storage::Error("La stampa non è ancora disponibile.");
}

#endif

}  // namespace entry
