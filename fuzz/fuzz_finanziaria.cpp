// The financial procedure reader, with and without the employees' agent data.
#include "fuzz/lettori_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    return fuzz::provaLettore(dati, n, [](auto& conn, auto& in, unsigned scelta, auto& d, auto& r) {
        importazione::ImportaFinanziaria(conn, in, "A.TXT", scelta & 1, d, r);
    });
}
