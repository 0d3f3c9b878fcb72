#include "storage/importazioni.h"

namespace storage {

std::optional<Importazione> ImportazionePrecedente(Connection& conn, std::uint64_t dimensione,
                                                   const std::string& sha256) {
    PreparaImportazioni(conn);
    Statement st(conn,
                 "select File, Tipo, Quando, Certificati, RigheAggiuntive from "
                 "Importazioni where Dimensione = ? and Sha256 = ? order by ID desc "
                 "limit 1");
    st.bind(1, static_cast<std::int64_t>(dimensione)).bind(2, sha256);
    if (!st.step()) return std::nullopt;
    Importazione v;
    v.file = st.text(0);
    v.dimensione = dimensione;
    v.sha256 = sha256;
    v.tipo = st.text(1);
    v.quando = st.text(2);
    v.certificati = st.integer(3);
    v.aggiuntive = st.integer(4);
    return v;
}

void RegistraImportazione(Connection& conn, const Importazione& v) {
    PreparaImportazioni(conn);
    Statement st(conn,
                 "insert into Importazioni (File, Dimensione, Sha256, Tipo, Quando, "
                 "Certificati, RigheAggiuntive) values (?, ?, ?, ?, ?, ?, ?)");
    st.bind(1, v.file).bind(2, static_cast<std::int64_t>(v.dimensione)).bind(3, v.sha256);
    st.bind(4, v.tipo).bind(5, v.quando).bind(6, v.certificati).bind(7, v.aggiuntive);
    st.step();
}

}  // namespace storage
