#include "storage/elenchi.h"

#include "storage/dialetto.h"
#include "storage/interno.h"

namespace storage {

namespace {

constexpr const char* kPerNominativo = "B02, B03";

const char* nomeColonna(ColonnaNominativo c) {
    switch (c) {
    case ColonnaNominativo::Cognome: return "B02";
    case ColonnaNominativo::Nome: return "B03";
    case ColonnaNominativo::CodiceFiscale: break;
    }
    return "B01";
}

}  // namespace

Tabella TabellaDellElenco(Elenco elenco) {
    return elenco == Elenco::Dipendenti ? Tabella::Zefo1 : Tabella::Professionisti;
}

Righe TutteLeRighe(Tabella tabella) { return Righe{tabella, {}, {}, {}, false}; }

Righe CertificatiPerNominativo(Elenco elenco) {
    return Righe{TabellaDellElenco(elenco), {}, {}, kPerNominativo, false};
}

Righe CertificatiDeiTipiPerNominativo(const Tipi& tipi) {
    return Righe{Tabella::Zefo1, "ID in (" + SqlNumeriDeiTipi(tipi) + ")", {}, kPerNominativo, false};
}

Righe CertificatiConZefo2PerNominativo() {
    return Righe{Tabella::Zefo1, "ID in (" + SqlNumeriConZefo2() + ")", {}, kPerNominativo, false};
}

Righe Zefo2DelCertificato(std::int64_t id) { return Righe{Tabella::Zefo2, "ID = ?", {std::to_string(id)}, {}, true}; }

Righe Zefo3DelCertificato(std::int64_t id) { return Righe{Tabella::Zefo3, "Id = ?", {std::to_string(id)}, {}, false}; }

Righe RigaDelSostituto() { return Righe{Tabella::SostitutoImposta, {}, {}, {}, true}; }
Righe RigaDelQuadroCt() { return Righe{Tabella::QuadroCt, {}, {}, {}, true}; }

namespace {
std::string sqlColonne(Tabella tabella, const std::vector<const char*>& colonne) {
    std::string sql = "select ";
    for (std::size_t c = 0; c < colonne.size(); ++c) sql += std::string(c ? ", " : "") + colonne[c];
    return sql + " from " + NomeTabella(tabella) + " where " + ChiaveTabella(tabella) + " = ?";
}
}  // namespace

LettoreColonne::LettoreColonne(Connection& conn, Tabella tabella, const std::vector<const char*>& colonne)
    : st_(conn, sqlColonne(tabella, colonne)), quante_(colonne.size()) {}

std::optional<std::vector<std::string>> LettoreColonne::leggi(std::int64_t chiave) {
    st_.reset();
    st_.bind(1, chiave);
    std::optional<std::vector<std::string>> r;
    if (st_.step()) {
        r.emplace();
        r->reserve(quante_);
        for (std::size_t c = 0; c < quante_; ++c) r->emplace_back(st_.text(static_cast<int>(c)));
    }
    st_.reset();
    return r;
}

namespace {
Statement negliIntervalli(Connection& conn, Tabella tabella, const char* letti, ColonnaNominativo colonna,
                          const std::vector<Intervallo>& intervalli) {
    const std::string c = nomeColonna(colonna);
    std::string sql = std::string("select ") + ChiaveTabella(tabella) + letti + " from " + NomeTabella(tabella);
    for (std::size_t i = 0; i < intervalli.size(); ++i)
        sql += (i == 0 ? " where (" : " or (") + c + " >= ? and " + c + " < ?)";
    Statement st(conn, sql);
    int n = 1;
    for (const auto& x : intervalli) {
        st.bind(n, x.da).bind(n + 1, x.a);
        n += 2;
    }
    return st;
}
}  // namespace

std::vector<std::int64_t> ChiaviNegliIntervalli(Connection& conn, Tabella tabella, ColonnaNominativo colonna,
                                                const std::vector<Intervallo>& intervalli) {
    Statement st = negliIntervalli(conn, tabella, "", colonna, intervalli);
    std::vector<std::int64_t> r;
    while (st.step()) r.push_back(st.integer(0));
    return r;
}

std::vector<RigaNominativo> RigheNegliIntervalli(Connection& conn, Tabella tabella, ColonnaNominativo colonna,
                                                 const std::vector<Intervallo>& intervalli) {
    Statement st = negliIntervalli(conn, tabella, ", B02, B03", colonna, intervalli);
    std::vector<RigaNominativo> r;
    while (st.step()) r.push_back({st.integer(0), std::string(st.text(1)), std::string(st.text(2))});
    return r;
}

std::vector<std::int64_t> CertificatiConMatricola(Connection& conn, std::string_view matricola) {
    Statement st(conn, "select ID from Zefo2 where " + dialetto::SenzaMaiuscole(conn, "trim(MatrDip)") + " = ?");
    st.bind(1, matricola);
    std::vector<std::int64_t> r;
    while (st.step()) r.push_back(st.integer(0));
    return r;
}

std::vector<RigaScelta> RigheDaScegliere(Connection& conn, Elenco elenco) {
    // The kind comes from the certificate's first Zefo2 row, as the editor shows it.
    const char* sql = elenco == Elenco::Dipendenti
                          ? "select ID, B02, B03, B01, (select tipo from Zefo2 where Zefo2.ID = Zefo1.ID "
                            "order by IdNooo limit 1) from Zefo1 order by ID"
                          : "select ID, B02, B03, B01, '' from Professionisti order by ID";
    std::vector<RigaScelta> righe;
    Statement st(conn, sql);
    while (st.step())
        righe.push_back({st.integer(0), std::string(st.text(1)), std::string(st.text(2)), std::string(st.text(3)),
                         std::string(st.text(4))});
    return righe;
}

}  // namespace storage

namespace storage {

namespace {

std::vector<std::int64_t> numeri(Statement& st) {
    std::vector<std::int64_t> ids;
    while (st.step()) ids.push_back(st.integer(0));
    return ids;
}

std::vector<std::int64_t> numeriFra(Connection& conn, const std::string& sql, const std::string& da,
                                    const std::string& a) {
    Statement st(conn, sql);
    st.bind(1, da).bind(2, a);
    return numeri(st);
}

}  // namespace

std::vector<std::int64_t> NumeriPerMatricola(Connection& conn, const Tipi& tipi, const std::string& da,
                                             const std::string& a) {
    return numeriFra(conn,
                     "select ID from Zefo2 where " + SqlRigheZefo2DeiTipi(tipi) +
                         " and ((MatrDip >= ?) and (MatrDip <= ?))"
                         " and ID in (select ID from Zefo1) order by MatrDip, ID",
                     da, a);
}

std::vector<std::int64_t> NumeriPerCognome(Connection& conn, const Tipi& tipi, const std::string& da,
                                           const std::string& a) {
    return numeriFra(conn,
                     "select ID from Zefo1 where ((B02 >= ?) and (B02 <= ?)) and ID in (" + SqlNumeriDeiTipi(tipi) +
                         ") order by B02, ID",
                     da, a);
}

std::vector<std::int64_t> ProfessionistiPerCognome(Connection& conn, const std::string& da, const std::string& a) {
    return numeriFra(conn, "select ID from Professionisti where ((B02 >= ?) and (B02 <= ?)) order by B02, ID", da, a);
}

std::vector<RigaNominativo> NumeriFuoriDa(Connection& conn, Elenco elenco, const Tipi* tipi, std::int64_t massimo) {
    const bool dipendenti = elenco == Elenco::Dipendenti;
    const std::string righe =
        std::string("select ID, B02, B03 from ") + (dipendenti ? "Zefo1" : "Professionisti") + " as c where ID ";
    const std::string deiTipi = dipendenti && tipi ? " and exists (select 1 from Zefo2 where Zefo2.ID = c.ID and " +
                                                         SqlRigheZefo2DeiTipi(*tipi) + ")"
                                                   : std::string();
    // Two ranges of the key, each read alone: the lookup stays quick on a list of any size.
    Statement st(conn, righe + "< 1" + deiTipi + " union all " + righe + "> ?" + deiTipi + " order by 1");
    st.bind(1, massimo);
    std::vector<RigaNominativo> fuori;
    while (st.step()) fuori.push_back({st.integer(0), std::string(st.text(1)), std::string(st.text(2))});
    return fuori;
}

std::vector<RigaCertificato> CertificatiSenzaTipo(Connection& conn) {
    Statement st(conn, "select ID, B01, B02, B03 from Zefo1 where ID not in (" + SqlNumeriDeiTipi(Tipi::tutti()) +
                           ") order by ID");
    std::vector<RigaCertificato> r;
    while (st.step())
        r.push_back({st.integer(0), std::string(st.text(1)), std::string(st.text(2)), std::string(st.text(3))});
    return r;
}

std::optional<std::int64_t> PrecedenteConCodice(Connection& conn, Elenco elenco, std::int64_t prima,
                                                const std::string& cf, const std::string& tipo) {
    const bool professionista = elenco == Elenco::Professionisti;
    Statement st(conn, professionista
                           ? "select min(ID) from Professionisti where ID < ? and upper(trim(B01)) = ?"
                           : "select min(Zefo1.ID) from Zefo1 join Zefo2 on Zefo2.ID = Zefo1.ID where " +
                                 SqlRigheZefo2DeiTipi(Tipi::tutti()) +
                                 " and Zefo1.ID < ? and upper(trim(Zefo1.B01)) = ? and upper(Zefo2.tipo) = ?");
    st.bind(1, prima).bind(2, cf);
    if (!professionista) st.bind(3, tipo);
    if (st.step() && !st.isNull(0)) return st.integer(0);
    return std::nullopt;
}

std::vector<std::int64_t> CertificatiConNumeroECodice(Connection& conn, Elenco elenco, std::int64_t id,
                                                      const std::string& cf) {
    std::string sql = std::string("select ID from ") + NomeTabella(TabellaDellElenco(elenco)) + " where 1 = 1";
    if (id > 0) sql += " and ID = ?";
    if (!cf.empty()) sql += " and trim(B01) = ?";
    Statement st(conn, sql + " order by ID");
    int n = 1;
    if (id > 0) st.bind(n++, id);
    if (!cf.empty()) st.bind(n, cf);
    return numeri(st);
}

VerificaCertificati::VerificaCertificati(Connection& conn)
    : dipendenti_(conn, "select 1 from Zefo1 where ID = ? and B01 = ?"),
      professionisti_(conn, "select 1 from Professionisti where ID = ? and B01 = ?") {}

bool VerificaCertificati::esiste(Elenco elenco, std::int64_t id, std::string_view cf) {
    Statement& st = elenco == Elenco::Dipendenti ? dipendenti_ : professionisti_;
    st.reset();
    st.bind(1, id).bind(2, cf);
    return st.step();
}

}  // namespace storage
