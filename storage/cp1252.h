#pragma once

#include <string>
#include <string_view>

namespace storage {

// The files we read and write are single-byte Windows-1252 text; the database
// holds UTF-8. A character with no Windows-1252 byte is written as "?".
std::string daWindows1252(std::string_view bytes);

// Returns the Windows-1252 bytes; sets *sostituiti (when given) to the number of
// characters that had to become "?". Malformed UTF-8 bytes also count as "?".
std::string aWindows1252(std::string_view utf8, std::size_t* sostituiti = nullptr);

// A value bound for the transmission file: aWindows1252, and a control character (codes below 32,
// 127, and the C1 controls) counted with the characters replaced. Between the value's first and
// last character above 32 it becomes "?"; outside them, where the encoder's trimming drops it
// anyway, a blank. A value with no character above 32 is an empty box and stays as it is.
std::string valorePerFile(std::string_view utf8, std::size_t* sostituiti = nullptr);

// Control characters of a UTF-8 value: codes below 32, 127 and the C1 controls.
std::size_t contaControlli(std::string_view utf8);

// A value read from a file or typed, shown inside a message: a control character (below 32, 127,
// a C1 control) and a byte that is not UTF-8 are written as \xNN, so that no raw byte reaches
// the message and a NUL neither ends nor hides it; past 40 characters the value is cut with "…".
std::string ValoreNelMessaggio(std::string_view utf8);

// A stored text shown in a message or a report line: its control characters become "?".
inline std::string senzaControlli(std::string testo) {
    for (char& c : testo)
        if (static_cast<unsigned char>(c) < 32 || c == 0x7F) c = '?';
    return testo;
}

// True when every byte is printable ASCII: the value goes to the file as it is.
inline bool soloAsciiStampabile(std::string_view s) {
    for (unsigned char c : s)
        if (c < 32 || c >= 0x7F) return false;
    return true;
}

inline bool soloAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace storage
