#include "print/selezione.h"

#include "storage/elenchi.h"

namespace print {

std::vector<std::int64_t> SelezionaPerMatricola(storage::Connection& conn, const storage::Tipi& tipi,
                                                const std::string& da, const std::string& a) {
    return storage::NumeriPerMatricola(conn, tipi, da, a);
}

std::vector<std::int64_t> SelezionaPerCognome(storage::Connection& conn, const storage::Tipi& tipi,
                                              const std::string& da, const std::string& a) {
    return storage::NumeriPerCognome(conn, tipi, da, a);
}

std::vector<std::int64_t> SelezionaProfessionisti(storage::Connection& conn, const std::string& da,
                                                  const std::string& a) {
    return storage::ProfessionistiPerCognome(conn, da, a);
}

}  // namespace print
