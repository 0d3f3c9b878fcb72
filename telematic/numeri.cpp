#include "telematic/numeri.h"

#include "storage/elenchi.h"
#include "telematic/tracciato.h"

namespace telematic {

std::int64_t NumeroCertificatoMassimo() {
    static const std::int64_t massimo = [] {
        std::int64_t m = 1;
        for (std::size_t i = 0; i < CampoDi('D', "ID").larghezza(); ++i) m *= 10;
        return m - 1;
    }();
    return massimo;
}

bool NumeroCertificatoValido(std::int64_t id) { return id >= 1 && id <= NumeroCertificatoMassimo(); }

std::vector<NumeroFuori> NumeriFuoriLimite(storage::Connection& conn, storage::Elenco elenco,
                                           const storage::Tipi* tipi) {
    std::vector<NumeroFuori> fuori;
    for (auto& r : storage::NumeriFuoriDa(conn, elenco, tipi, NumeroCertificatoMassimo()))
        fuori.push_back({r.chiave, r.cognome + " " + r.nome});
    return fuori;
}

}  // namespace telematic
