#include "cli/comandi.h"

namespace cli {
int comandoControlla(const Contesto&) { throw UsageError("Comando non ancora disponibile: controlla"); }
}  // namespace cli
