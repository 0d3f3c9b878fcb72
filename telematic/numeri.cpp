#include "telematic/numeri.h"

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
    const bool dipendenti = elenco == storage::Elenco::Dipendenti;
    // Two ranges of the key: the lookup stays quick on a list of any size.
    storage::Statement st(conn, std::string("select ID, B02, B03 from ") + (dipendenti ? "Zefo1" : "Professionisti") +
                                    " where (ID < 1 or ID > ?)" +
                                    (dipendenti && tipi ? " and ID in (" + storage::SqlNumeriDeiTipi(*tipi) + ")" : "") +
                                    " order by ID");
    st.bind(1, NumeroCertificatoMassimo());
    std::vector<NumeroFuori> fuori;
    while (st.step())
        fuori.push_back({st.integer(0), std::string(st.text(1)) + " " + std::string(st.text(2))});
    return fuori;
}

std::string ElencoNumeri(const std::vector<std::int64_t>& ids, std::size_t quanti) {
    std::string t;
    const std::size_t mostrati = ids.size() <= quanti ? ids.size() : quanti;
    for (std::size_t i = 0; i < mostrati; ++i) {
        if (i > 0) t += i + 1 == ids.size() ? " e " : ", ";
        t += std::to_string(ids[i]);
    }
    if (mostrati < ids.size()) t += " e altri " + std::to_string(ids.size() - mostrati);
    return t;
}

}  // namespace telematic
