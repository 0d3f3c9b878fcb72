#pragma once

#include <string>

namespace storage {

// The reasons the system and the database engine give in English ("No such file or directory",
// "database or disk is full", "Invalid argument"), put into Italian wherever they appear in a
// message; a text without them comes back as it is.
std::string MotiviInItaliano(std::string testo);

}  // namespace storage
