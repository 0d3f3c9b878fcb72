// The 770 Semplificato reader, both layouts.
#include "fuzz/lettori_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    return fuzz::provaLettore(dati, n, [](auto& conn, auto& in, unsigned scelta, auto& d, auto& r) {
        importazione::Importa770(conn, in, "770Semplificato.txt", 1 + scelta % 2, d, r);
    });
}
