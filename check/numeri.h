#pragma once

// The certificate number as both checks judge it: the archive's must fit the five digits of the
// file, the file's must be a number and belong to one certificate only.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace check {

// The archive check's finding on a certificate's number; "" when it travels unchanged.
std::string ProblemaNumeroCertificato(std::int64_t id);

// The file check's: each D record that starts a certificate hands its number over.
class NumeriDelFile {
public:
    // The problem of this certificate's number (five digits as written), "" when none: zero, or
    // a number an earlier certificate of another recipient already has. A number repeated for
    // the same recipient is a repeated certificate, which the caller reports itself.
    std::string vedi(std::string_view numero, std::string_view codiceFiscale, std::int64_t record);

private:
    struct Primo {
        std::int64_t record = 0;  // 0: not seen yet
        std::array<char, 16> codiceFiscale{};
    };
    std::vector<Primo> visti_;  // by number, sized at the first certificate
};

}  // namespace check
