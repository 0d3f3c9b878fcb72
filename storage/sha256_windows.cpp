#include "storage/sha256.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
// <windows.h> first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include "storage/error.h"

namespace storage {

struct Sha256::Stato {
    BCRYPT_ALG_HANDLE alg = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~Stato() {
        if (hash) ::BCryptDestroyHash(hash);
        if (alg) ::BCryptCloseAlgorithmProvider(alg, 0);
    }
};

Sha256::Sha256() : s_(std::make_unique<Stato>()) {
    // The hash object's memory is left to the system (NULL, 0), as Windows 7 and later allow.
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&s_->alg, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
        !BCRYPT_SUCCESS(::BCryptCreateHash(s_->alg, &s_->hash, nullptr, 0, nullptr, 0, 0)))
        throw Error("Impossibile calcolare l'impronta SHA-256: libreria di cifratura non disponibile.");
}

Sha256::~Sha256() = default;

void Sha256::aggiungi(std::string_view dati) {
    // BCryptHashData takes a ULONG length: a long piece goes in slices.
    constexpr std::size_t kFetta = 1u << 30;
    while (!dati.empty()) {
        const std::size_t n = dati.size() < kFetta ? dati.size() : kFetta;
        ::BCryptHashData(s_->hash, reinterpret_cast<PUCHAR>(const_cast<char*>(dati.data())), static_cast<ULONG>(n), 0);
        dati.remove_prefix(n);
    }
}

std::string Sha256::esadecimale() {
    unsigned char d[32];
    ::BCryptFinishHash(s_->hash, d, sizeof d, 0);
    static const char* cifre = "0123456789abcdef";
    std::string out;
    for (unsigned char c : d) {
        out += cifre[c >> 4];
        out += cifre[c & 0xF];
    }
    return out;
}

}  // namespace storage
