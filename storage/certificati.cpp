#include "storage/certificati.h"

#include <algorithm>

#include "storage/dialetto.h"
#include "storage/error.h"
#include "storage/interno.h"
#include "storage/invii.h"
#include "storage/sistema.h"

namespace storage {

namespace {

// The certificate's own Zefo2 row among several: the lowest key. Written as a test per row, so a
// walk in ID order streams through the index instead of sorting the table.
constexpr const char* kPrimaZefo2 =
    "not exists (select 1 from Zefo2 w where w.ID = Zefo2.ID and w.IdNooo < Zefo2.IdNooo)";

// The kinds as an SQL condition on a Zefo2 row, from fixed fragments only.
std::string condizioneTipi(const Tipi& tipi) {
    std::string elenco;
    for (Tipo t : kTipi) {
        if (!tipi.contiene(t)) continue;
        elenco += elenco.empty() ? "'" : ", '";
        elenco += CodiceTipo(t);
        elenco += '\'';
    }
    return elenco.empty() ? "1 = 0" : "tipo in (" + elenco + ")";
}

Row primaRiga(Connection& conn, const char* sql) {
    Statement st(conn, sql);
    if (!st.step()) return Row();
    return Row::from(st, Columns::of(st));
}

std::int64_t conta(Connection& conn, const std::string& sql) {
    Statement st(conn, sql);
    st.step();
    return st.integer(0);
}

// A certificate's Zefo2 row and its Zefo3 rows (first the one the file carries).
constexpr const char* kSqlZefo2DelCertificato = "select * from Zefo2 where ID = ? order by IdNooo limit 1";
constexpr const char* kSqlZefo3DelCertificato = "select * from Zefo3 where Id = ? order by IDNoooo";
// The single-row tables: the lowest key.
constexpr const char* kSqlSostituto = "select * from SostitutoImposta order by ID limit 1";
constexpr const char* kSqlQuadroCt = "select * from QuadroCt order by ID limit 1";

// A statement read in key order, one step ahead of the walk that merges it.
struct Cursore {
    Cursore(Connection& conn, const std::string& sql, const char* chiave)
        : st(conn, sql), colonne(Columns::of(st)), iChiave(colonne->require(chiave)) {
        avanza();
    }
    void avanza() { ha = st.step(); }
    std::int64_t chiave() const { return st.integer(iChiave); }
    // Moves past the rows of lower keys; true when it stands on key k.
    bool su(std::int64_t k) {
        while (ha && chiave() < k) avanza();
        return ha && chiave() == k;
    }

    Statement st;
    std::shared_ptr<const Columns> colonne;
    int iChiave;
    bool ha = false;
};

}  // namespace

const char* CodiceTipo(Tipo t) {
    switch (t) {
    case Tipo::DIP: return "DIP";
    case Tipo::AMM: return "AMM";
    case Tipo::CoC: return "CoC";
    }
    return "";
}

std::optional<Tipo> TipoDelCodice(std::string_view tipo) {
    const auto minuscola = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (Tipo t : kTipi) {
        const std::string_view codice = CodiceTipo(t);
        if (codice.size() != tipo.size()) continue;
        bool uguale = true;
        for (std::size_t i = 0; i < codice.size() && uguale; ++i) uguale = minuscola(codice[i]) == minuscola(tipo[i]);
        if (uguale) return t;
    }
    return std::nullopt;
}

Tipi Tipi::tutti() { return Tipi().con(Tipo::DIP).con(Tipo::AMM).con(Tipo::CoC); }

Tipi& Tipi::con(Tipo t, bool scelto) {
    const unsigned b = 1u << static_cast<unsigned>(t);
    bit_ = scelto ? (bit_ | b) : (bit_ & ~b);
    return *this;
}

std::optional<Tipi> TipiDaTesto(std::string_view testo, std::string* sconosciuto) {
    Tipi tipi;
    while (true) {
        const std::size_t virgola = testo.find(',');
        const std::string_view parola = testo.substr(0, virgola);
        if (!parola.empty()) {
            bool noto = false;
            for (Tipo t : kTipi)
                if (parola == CodiceTipo(t)) {
                    tipi.con(t);
                    noto = true;
                }
            if (!noto) {
                if (sconosciuto) *sconosciuto = std::string(parola);
                return std::nullopt;
            }
        }
        if (virgola == std::string_view::npos) return tipi;
        testo.remove_prefix(virgola + 1);
    }
}

std::string SqlRigheZefo2DeiTipi(const Tipi& tipi) { return std::string(kPrimaZefo2) + " and " + condizioneTipi(tipi); }

std::string SqlNumeriDeiTipi(const Tipi& tipi) { return "select ID from Zefo2 where " + SqlRigheZefo2DeiTipi(tipi); }

std::string SqlNumeriConZefo2() { return "select ID from Zefo2"; }

std::vector<std::int64_t> NumeriDellElenco(Connection& conn, Elenco elenco, const Tipi& tipi) {
    const std::string sql = elenco == Elenco::Dipendenti
                                ? "select ID from Zefo1 where ID in (" + SqlNumeriDeiTipi(tipi) + ") order by ID"
                                : std::string("select ID from Professionisti order by ID");
    std::vector<std::int64_t> ids;
    Statement st(conn, sql);
    while (st.step()) ids.push_back(st.integer(0));
    return ids;
}

std::string Nominativo(Connection& conn, Elenco elenco, std::int64_t id) {
    Statement st(conn, std::string("select B02, B03 from ") +
                           (elenco == Elenco::Dipendenti ? "Zefo1" : "Professionisti") + " where ID = ?");
    st.bind(1, id);
    if (!st.step()) return {};
    return std::string(st.text(0)) + " " + std::string(st.text(1));
}

// ---- single certificates ----

struct LettoreCertificati::Impl {
    explicit Impl(Connection& c)
        : zefo1(c, "select * from Zefo1 where ID = ?"),
          zefo2(c, kSqlZefo2DelCertificato),
          zefo3(c, kSqlZefo3DelCertificato),
          professionisti(c, "select * from Professionisti where ID = ?") {}

    static std::optional<Row> leggi(Statement& s, std::shared_ptr<const Columns>& colonne, std::int64_t id) {
        s.reset();
        s.bind(1, id);
        std::optional<Row> r;
        if (s.step()) r = Row::from(s, colonne ? colonne : (colonne = Columns::of(s)));
        s.reset();
        return r;
    }

    Statement zefo1, zefo2, zefo3, professionisti;
    std::shared_ptr<const Columns> c1, c2, c3, cp;
};

LettoreCertificati::LettoreCertificati(Connection& conn) : d_(std::make_unique<Impl>(conn)) {}
LettoreCertificati::~LettoreCertificati() = default;

std::optional<Certificato> LettoreCertificati::certificato(std::int64_t id) {
    auto r1 = Impl::leggi(d_->zefo1, d_->c1, id);
    if (!r1) return std::nullopt;
    Certificato c;
    c.id = id;
    c.zefo1 = std::move(*r1);
    if (auto r2 = Impl::leggi(d_->zefo2, d_->c2, id)) c.zefo2 = std::move(*r2);
    Statement& z3 = d_->zefo3;
    z3.reset();
    z3.bind(1, id);
    if (!d_->c3) d_->c3 = Columns::of(z3);
    while (z3.step())
        if (c.sezioniUlteriori++ == 0) c.zefo3 = Row::from(z3, d_->c3);
    z3.reset();
    return c;
}

std::optional<Row> LettoreCertificati::professionista(std::int64_t id) {
    return Impl::leggi(d_->professionisti, d_->cp, id);
}

// ---- the walk ----

struct ScorriCertificati::Impl {
    Impl(Connection& conn, const Tipi& tipi)
        : zefo2(conn, "select * from Zefo2 where " + SqlRigheZefo2DeiTipi(tipi) + " order by ID", "ID"),
          zefo1(conn, "select * from Zefo1 order by ID", "ID"),
          zefo3(conn, "select * from Zefo3 order by Id, IDNoooo", "Id") {}

    Cursore zefo2, zefo1, zefo3;
};

ScorriCertificati::ScorriCertificati(Connection& conn, const Tipi& tipi) : d_(std::make_unique<Impl>(conn, tipi)) {
    totale_ = static_cast<std::size_t>(ContaDeiTipi(conn, tipi));
}

ScorriCertificati::~ScorriCertificati() = default;

bool ScorriCertificati::prossimo() {
    Impl& d = *d_;
    // Driven by the Zefo2 rows of the chosen kinds; one whose Zefo1 row is gone is no certificate.
    for (; d.zefo2.ha; d.zefo2.avanza()) {
        const std::int64_t id = d.zefo2.chiave();
        if (!d.zefo1.su(id)) continue;
        Certificato& c = corrente_;
        c.id = id;
        c.zefo1.assegna(d.zefo1.st, d.zefo1.colonne);
        c.zefo2.assegna(d.zefo2.st, d.zefo2.colonne);
        c.sezioniUlteriori = 0;
        c.zefo3.svuota();
        if (d.zefo3.su(id)) {
            c.zefo3.assegna(d.zefo3.st, d.zefo3.colonne);
            for (; d.zefo3.ha && d.zefo3.chiave() == id; d.zefo3.avanza()) ++c.sezioniUlteriori;
        }
        d.zefo2.avanza();
        return true;
    }
    return false;
}

// ---- the single-row tables and the counts ----

Row LeggiSostituto(Connection& conn) { return primaRiga(conn, kSqlSostituto); }
Row LeggiQuadroCt(Connection& conn) { return primaRiga(conn, kSqlQuadroCt); }

struct ScorriProfessionisti::Impl {
    explicit Impl(Connection& conn)
        : st(conn, "select * from Professionisti order by ID"), colonne(Columns::of(st)), iId(colonne->require("ID")) {}
    Statement st;
    std::shared_ptr<const Columns> colonne;
    int iId;
};

ScorriProfessionisti::ScorriProfessionisti(Connection& conn) : d_(std::make_unique<Impl>(conn)) {}
ScorriProfessionisti::~ScorriProfessionisti() = default;

bool ScorriProfessionisti::prossimo() { return d_->st.step(); }

std::int64_t ScorriProfessionisti::numero() const { return d_->st.integer(d_->iId); }

const Row& ScorriProfessionisti::riga() {
    corrente_.assegna(d_->st, d_->colonne);
    return corrente_;
}

ConteggiFrontespizio ContaCertificati(Connection& conn) {
    ConteggiFrontespizio n;
    n.A1 = ContaDeiTipi(conn, Tipi::tutti());
    n.A2 = ContaProfessionisti(conn);
    return n;
}

std::int64_t ContaDeiTipi(Connection& conn, const Tipi& tipi) {
    return conta(conn, "select count(*) from Zefo1 where ID in (" + SqlNumeriDeiTipi(tipi) + ")");
}

std::int64_t ContaProfessionisti(Connection& conn) { return conta(conn, "select count(*) from Professionisti"); }

std::optional<std::vector<std::int64_t>> RiportaSostitutoNeiProfessionisti(
    Connection& conn, const std::function<std::string(const char* colonna)>& valore,
    const std::function<bool(std::size_t fatti, std::size_t totale)>& avanzamento) {
    conn.richiediScrittura();
    std::vector<std::string> valori;
    for (const char* c : kColonneSostitutoProfessionisti) valori.push_back(valore(c));
    Transaction t(conn);
    // Only the certificates whose values change are written and marked.
    std::string diversi, imposta;
    for (const char* c : kColonneSostitutoProfessionisti) {
        diversi += (diversi.empty() ? "select ID from Professionisti where " : " or ") + std::string("coalesce(") + c +
                   ", '') <> ?";
        imposta += (imposta.empty() ? "update Professionisti set " : ", ") + std::string(c) + " = ?";
    }
    std::vector<std::int64_t> cambiati;
    {
        Statement trova(conn, diversi + " order by ID");
        for (std::size_t i = 0; i < valori.size(); ++i) trova.bind(static_cast<int>(i + 1), valori[i]);
        while (trova.step()) cambiati.push_back(trova.integer(0));
    }
    Statement aggiorna(conn, imposta + " where ID = ?");
    for (std::size_t n = 0; n < cambiati.size(); ++n) {
        if (avanzamento && n % 256 == 0 && !avanzamento(n, cambiati.size())) return std::nullopt;
        aggiorna.reset();
        int k = 1;
        for (const auto& v : valori) aggiorna.bind(k++, v);
        aggiorna.bind(k, cambiati[n]).step();
    }
    SegnaModificati(conn, Elenco::Professionisti, cambiati);
    if (avanzamento && !avanzamento(cambiati.size(), cambiati.size())) return std::nullopt;
    t.commit();
    return cambiati;
}

std::vector<ValoreColonna> ValoriNuovoCertificato(Connection& conn, bool professionisti) {
    std::vector<ValoreColonna> v;
    const auto metti = [&](const char* colonna, std::string valore) {
        for (auto& x : v)
            if (std::string_view(x.colonna) == colonna) {
                x.valore = std::move(valore);
                return;
            }
        v.push_back({colonna, std::move(valore)});
    };
    Statement ultimo(conn, professionisti
                               ? "select * from Professionisti order by ID desc limit 1"
                               : "select Zefo1.*, Zefo2.tipo as tipo from Zefo1 left join Zefo2 on Zefo2.ID = Zefo1.ID "
                                 "order by Zefo1.ID desc limit 1");
    if (ultimo.step()) {
        const auto col = Columns::of(ultimo);
        const Row r = Row::from(ultimo, col);
        for (const char* c : kColonneSostitutoProfessionisti)
            if (!r.text(c).empty()) metti(c, r.text(c));
        if (!professionisti && !r.text("tipo").empty()) metti("tipo", r.text("tipo"));
    }
    const Row s = LeggiSostituto(conn);
    if (!s.empty())
        for (auto& [colonna, valore] : ParteADelSostituto(s))
            if (!valore.empty()) metti(colonna, std::move(valore));
    return v;
}

namespace {

// The tables whose rows carry a certificate's number, with the column that holds it.
struct TabellaNumero {
    const char* tabella;
    const char* colonna;
};
std::vector<TabellaNumero> tabelleNumero(Elenco elenco) {
    if (elenco == Elenco::Professionisti) return {{"Professionisti", "ID"}};
    return {{"Zefo1", "ID"}, {"Zefo2", "ID"}, {"Zefo3", "Id"}};
}

}  // namespace

std::vector<std::int64_t> NumeriLiberi(Connection& conn, Elenco elenco, std::int64_t massimo, std::size_t quanti) {
    std::vector<bool> occupato(static_cast<std::size_t>(massimo < 0 ? 0 : massimo) + 1, false);
    auto segna = [&](std::int64_t n) {
        if (n >= 1 && n <= massimo) occupato[static_cast<std::size_t>(n)] = true;
    };
    for (const auto& t : tabelleNumero(elenco)) {
        Statement st(conn, std::string("select distinct ") + t.colonna + " from " + t.tabella + " where " + t.colonna +
                               " between 1 and ?");
        st.bind(1, massimo);
        while (st.step()) segna(st.integer(0));
    }
    for (const auto n : NumeriRegistrati(conn, elenco)) segna(n);
    std::vector<std::int64_t> liberi;
    for (std::int64_t n = 1; n <= massimo && liberi.size() < quanti; ++n)
        if (!occupato[static_cast<std::size_t>(n)]) liberi.push_back(n);
    return liberi;
}

void RinumeraCertificati(Connection& conn, Elenco elenco, const NuoviNumeri& nuovi) {
    std::int64_t piuAlto = 0;
    for (const auto& t : tabelleNumero(elenco)) {
        Statement st(conn,
                     std::string("update ") + t.tabella + " set " + t.colonna + " = ? where " + t.colonna + " = ?");
        for (const auto& [vecchio, nuovo] : nuovi) {
            st.reset();
            st.bind(1, nuovo).bind(2, vecchio).step();
        }
        piuAlto =
            std::max(piuAlto, conta(conn, std::string("select coalesce(max(") + t.colonna + "), 0) from " + t.tabella));
    }
    RinumeraInvii(conn, elenco, nuovi);
    if (const auto registrati = NumeriRegistrati(conn, elenco); !registrati.empty())
        piuAlto = std::max(piuAlto, registrati.back());
    // The key's counter only grows by itself: left where it was, the next import would start past
    // the numbers just freed. Nothing of the list, removed rows included, is above its new value.
    dialetto::ContatoreChiave(conn, tabelleNumero(elenco).front().tabella, piuAlto);
}

namespace {

// The save itself, once the certificate is taken (see SalvaCertificato).
void salvaPreso(Connection& conn, const std::string& tabella, std::int64_t id, std::int64_t revisioneLetta,
                const std::function<void()>& scrivi) {
    Transaction t(conn);
    {
        // An update that changes nothing: it finds the row as read, and on a server locks it.
        Statement presa(conn,
                        "update " + tabella + " set Revisione = Revisione where ID = ? and coalesce(Revisione, 0) = ?");
        presa.bind(1, id).bind(2, revisioneLetta).step();
        if (conn.changes() == 0) {
            Statement alle(conn, "select RevisioneAlle from " + tabella + " where ID = ?");
            alle.bind(1, id);
            if (alle.step())
                throw Error(Error::Causa::ModificatoDaAltri,
                            "Il certificato è stato modificato da un altro operatore alle " +
                                std::string(alle.text(0)) + ": ricaricarlo?");
            throw Error(
                Error::Causa::RigaEliminata,
                "Il certificato è stato eliminato da un'altra operazione: le modifiche non sono state salvate.");
        }
    }
    scrivi();
    Statement avanza(conn, "update " + tabella +
                               " set Revisione = coalesce(Revisione, 0) + 1, RevisioneAlle = ? where ID = ? and "
                               "coalesce(Revisione, 0) = ?");
    avanza.bind(1, sistema::oraLocale("%H:%M")).bind(2, id).bind(3, revisioneLetta).step();
    t.commit();
}

}  // namespace

void SalvaCertificato(Connection& conn, Elenco elenco, std::int64_t id, std::int64_t revisioneLetta,
                      const std::function<void()>& scrivi) {
    const std::string tabella = elenco == Elenco::Dipendenti ? "Zefo1" : "Professionisti";
    try {
        salvaPreso(conn, tabella, id, revisioneLetta, scrivi);
    } catch (const Error& e) {
        // What was typed stays on screen: the operator saves it again later.
        RilanciaSalvataggio(e);
    }
}

}  // namespace storage
