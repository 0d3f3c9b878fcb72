#include "cli/comandi.h"

namespace cli {
int comandoImporta(const Contesto&) { throw UsageError("Comando non ancora disponibile: importa"); }
int comandoAzzera(const Contesto&) { throw UsageError("Comando non ancora disponibile: azzera"); }
}  // namespace cli
