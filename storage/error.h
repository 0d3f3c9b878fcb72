#pragma once

#include <stdexcept>
#include <string>

namespace storage {

// Every failure of the core that the operator must see: the text is the
// Italian message shown in the error box or printed by the batch command.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& testo) : std::runtime_error(testo) {}
};

}  // namespace storage
