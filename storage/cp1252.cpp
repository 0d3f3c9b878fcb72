#include "storage/cp1252.h"

#include <array>
#include <cstdint>

namespace storage {
namespace {

// Code points of bytes 0x80-0x9F; 0 marks the five bytes Windows-1252 leaves undefined,
// which we read as the C1 control of the same number (as Windows itself does).
constexpr std::array<char32_t, 32> kAlti = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void aggiungiUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int byteDi(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kAlti[i] == cp && cp != 0) return 0x80 + i;
        if (kAlti[i] == 0 && cp == static_cast<char32_t>(0x80 + i)) return 0x80 + i;
    }
    return -1;
}

}  // namespace

std::string daWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char b : bytes) {
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (b < 0xA0) {
            char32_t cp = kAlti[b - 0x80];
            aggiungiUtf8(out, cp ? cp : b);
        } else {
            aggiungiUtf8(out, b);
        }
    }
    return out;
}

std::string aWindows1252(std::string_view s, std::size_t* sostituiti) {
    std::string out;
    out.reserve(s.size());
    std::size_t persi = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        int len = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        char32_t cp = 0;
        bool valido = len > 0 && i + len <= s.size();
        if (valido) {
            cp = b & (0x7F >> len);
            for (int k = 1; k < len; ++k) {
                auto c = static_cast<unsigned char>(s[i + k]);
                if ((c & 0xC0) != 0x80) {
                    valido = false;
                    break;
                }
                cp = (cp << 6) | (c & 0x3F);
            }
        }
        int byte = valido ? byteDi(cp) : -1;
        if (byte < 0) {
            out += '?';
            ++persi;
        } else {
            out += static_cast<char>(byte);
        }
        i += valido ? len : 1;
    }
    if (sostituiti) *sostituiti = persi;
    return out;
}

std::string ValoreNelMessaggio(std::string_view s) {
    constexpr std::size_t kMassimo = 40;
    static constexpr char kCifre[] = "0123456789ABCDEF";
    std::string out;
    std::size_t caratteri = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (caratteri == kMassimo) {
            out += "…";
            break;
        }
        ++caratteri;
        const auto b = static_cast<unsigned char>(s[i]);
        // The length of a well-formed UTF-8 sequence starting here, 0 when there is none.
        std::size_t n = b < 0x80                 ? 1
                        : b >= 0xC2 && b <= 0xDF ? 2
                        : b >= 0xE0 && b <= 0xEF ? 3
                        : b >= 0xF0 && b <= 0xF4 ? 4
                                                 : 0;
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0;
            const bool fuori = (c & 0xC0) != 0x80 || (k == 1 && ((b == 0xE0 && c < 0xA0) || (b == 0xED && c > 0x9F) ||
                                                                 (b == 0xF0 && c < 0x90) || (b == 0xF4 && c > 0x8F)));
            if (fuori) n = 0;
        }
        const bool c1 = b == 0xC2 && n == 2 && static_cast<unsigned char>(s[i + 1]) < 0xA0;
        if (n == 0 || b < 32 || b == 0x7F || c1) {
            const auto v = c1 ? static_cast<unsigned char>(s[i + 1]) : b;
            out += "\\x";
            out += kCifre[v >> 4];
            out += kCifre[v & 0xF];
            i += c1 ? 2 : 1;
            continue;
        }
        out.append(s, i, n);
        i += n;
    }
    return out;
}

std::size_t contaControlli(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        const bool c1 = b == 0xC2 && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xE0) == 0x80;
        if (b < 32 || b == 0x7F || c1) ++n;
    }
    return n;
}

std::string valorePerFile(std::string_view utf8, std::size_t* sostituiti) {
    std::size_t persi = 0;
    std::string out = aWindows1252(utf8, &persi);
    const auto controllo = [](unsigned char b) {
        return b < 32 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    };
    std::size_t primo = out.size(), ultimo = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (static_cast<unsigned char>(out[i]) <= 32) continue;
        if (primo == out.size()) primo = i;
        ultimo = i;
    }
    if (primo < out.size()) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (!controllo(static_cast<unsigned char>(out[i]))) continue;
            out[i] = i >= primo && i <= ultimo ? '?' : ' ';
            ++persi;
        }
    }
    if (sostituiti) *sostituiti = persi;
    return out;
}

}  // namespace storage
