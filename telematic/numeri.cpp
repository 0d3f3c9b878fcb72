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
    const std::string righe = std::string("select ID, B02, B03 from ") + (dipendenti ? "Zefo1" : "Professionisti") +
                              " as c where ID ";
    const std::string deiTipi = dipendenti && tipi ? " and exists (select 1 from Zefo2 where Zefo2.ID = c.ID and " +
                                                         storage::SqlRigheZefo2DeiTipi(*tipi) + ")"
                                                   : std::string();
    // Two ranges of the key, each read alone: the lookup stays quick on a list of any size.
    storage::Statement st(conn, righe + "< 1" + deiTipi + " union all " + righe + "> ?" + deiTipi + " order by 1");
    st.bind(1, NumeroCertificatoMassimo());
    std::vector<NumeroFuori> fuori;
    while (st.step())
        fuori.push_back({st.integer(0), std::string(st.text(1)) + " " + std::string(st.text(2))});
    return fuori;
}

}  // namespace telematic
