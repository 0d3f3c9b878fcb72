// The payroll readers: DIP, AMM, CoC and Altro, with and without the agent's data.
#include "fuzz/lettori_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    return fuzz::provaLettore(dati, n, [](auto& conn, auto& in, unsigned scelta, auto& d, auto& r) {
        if (scelta % 4 == 3)
            importazione::ImportaAltro(conn, in, "zefo.03", "03", scelta & 4, d, r);
        else
            importazione::ImportaPaghe(conn, in, "zefo.43", "43", static_cast<storage::Tipo>(scelta % 4), scelta & 4, d,
                                       r);
    });
}
