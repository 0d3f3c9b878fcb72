#pragma once

// Query fragments the storage files share; nothing outside storage/ includes this.

#include <string>

#include "storage/certificati.h"

namespace storage {

// A condition on Zefo2 rows: the certificates' own rows of these kinds.
std::string SqlRigheZefo2DeiTipi(const Tipi& tipi);
// The numbers (Zefo1.ID) of the certificates of these kinds, as a select to put after "ID in".
std::string SqlNumeriDeiTipi(const Tipi& tipi);
// The same for every certificate with a Zefo2 row, whatever its kind (even none).
std::string SqlNumeriConZefo2();

}  // namespace storage
