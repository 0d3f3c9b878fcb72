#include "cli/comandi.h"

namespace cli {
int comandoStampa(const Contesto&) { throw UsageError("Comando non ancora disponibile: stampa"); }
}  // namespace cli
