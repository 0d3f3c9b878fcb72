#pragma once

#include <string_view>

namespace check {

// Whether the two letters are the code of an Italian province in 2014-2015, or "EE" (abroad),
// as the form's boxes of provinces take them.
bool ProvinciaItaliana(std::string_view sigla);

}  // namespace check
