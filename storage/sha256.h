#pragma once

// SHA-256 of a byte stream fed in pieces: the fingerprint by which the import record recognises
// a file already imported.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace storage {

class Sha256 {
public:
    Sha256();
    void aggiungi(std::string_view dati);
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string esadecimale();

private:
    void blocco(const unsigned char* p);

    std::array<std::uint32_t, 8> h_;
    std::array<unsigned char, 64> resto_{};
    std::size_t nResto_ = 0;
    std::uint64_t lunghezza_ = 0;
};

}  // namespace storage
