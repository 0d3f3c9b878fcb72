#pragma once

#include <string_view>

namespace storage {

// A blank is every character whose code is 32 or less: space, tab, CR, LF and the other controls.
inline bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

// A value without the blanks around it.
inline std::string_view Rifila(std::string_view s) {
    while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
    return s;
}

// A value of nothing but blanks, or none.
inline bool Vuoto(std::string_view s) { return Rifila(s).empty(); }

}  // namespace storage
