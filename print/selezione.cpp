#include "print/selezione.h"

namespace print {

namespace {

std::vector<std::int64_t> numeri(storage::Connection& conn, const std::string& sql,
                                 const std::string& da, const std::string& a) {
    storage::Statement s(conn, sql);
    s.bind(1, da);
    s.bind(2, a);
    std::vector<std::int64_t> ids;
    while (s.step()) ids.push_back(s.integer(0));
    return ids;
}

}  // namespace

std::vector<std::int64_t> SelezionaPerMatricola(storage::Connection& conn,
                                                const storage::Tipi& tipi,
                                                const std::string& da, const std::string& a) {
    // Only continuation rows of an existing certificate: an orphan row has nothing to print.
    return numeri(conn,
                  "select ID from Zefo2 where " + storage::SqlRigheZefo2DeiTipi(tipi) +
                      " and ((MatrDip >= ?) and (MatrDip <= ?))"
                      " and ID in (select ID from Zefo1) order by MatrDip, ID",
                  da, a);
}

std::vector<std::int64_t> SelezionaPerCognome(storage::Connection& conn,
                                              const storage::Tipi& tipi, const std::string& da,
                                              const std::string& a) {
    return numeri(conn,
                  "select ID from Zefo1 where ((B02 >= ?) and (B02 <= ?))"
                  " and ID in (" +
                      storage::SqlNumeriDeiTipi(tipi) + ") order by B02, ID",
                  da, a);
}

std::vector<std::int64_t> SelezionaProfessionisti(storage::Connection& conn,
                                                  const std::string& da, const std::string& a) {
    return numeri(conn,
                  "select ID from Professionisti where ((B02 >= ?) and (B02 <= ?)) order by B02, ID",
                  da, a);
}

}  // namespace print
