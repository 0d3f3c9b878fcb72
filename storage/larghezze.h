#pragma once

#include <string_view>

namespace storage {

// The characters a text column of the agent's tables holds, as the archive was designed: an
// entry box takes no more than its column. 0 (no limit) for a column not listed.
int LarghezzaColonna(std::string_view tabella, std::string_view colonna);

}  // namespace storage
