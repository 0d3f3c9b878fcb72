#pragma once

// SHA-256 of a byte stream fed in pieces: the fingerprint by which the import record recognises
// a file already imported. OpenSSL's libcrypto does the work (with the processor's SHA
// instructions where there are any: a payroll file of 200 MB takes a fraction of a second); on
// Windows the system's own CNG (bcrypt). sha256_openssl.cpp and sha256_windows.cpp implement it.

#include <memory>
#include <string>
#include <string_view>

namespace storage {

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    void aggiungi(std::string_view dati);
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string esadecimale();

private:
    struct Stato;
    std::unique_ptr<Stato> s_;
};

}  // namespace storage
