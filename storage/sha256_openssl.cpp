#include <openssl/evp.h>

#include "storage/error.h"
#include "storage/sha256.h"

namespace storage {

struct Sha256::Stato {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    ~Stato() { EVP_MD_CTX_free(ctx); }
};

Sha256::Sha256() : s_(std::make_unique<Stato>()) {
    if (!s_->ctx || EVP_DigestInit_ex(s_->ctx, EVP_sha256(), nullptr) != 1)
        throw Error("Impossibile calcolare l'impronta SHA-256: libreria di cifratura non disponibile.");
}

Sha256::~Sha256() = default;

void Sha256::aggiungi(std::string_view dati) {
    if (!dati.empty()) EVP_DigestUpdate(s_->ctx, dati.data(), dati.size());
}

std::string Sha256::esadecimale() {
    unsigned char d[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    EVP_DigestFinal_ex(s_->ctx, d, &n);
    static const char* cifre = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < n; ++i) {
        out += cifre[d[i] >> 4];
        out += cifre[d[i] & 0xF];
    }
    return out;
}

}  // namespace storage
