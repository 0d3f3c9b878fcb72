#include "storage/invii.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

#include "storage/cp1252.h"
#include "storage/error.h"
#include "storage/motore.h"
#include "storage/schema.h"
#include "storage/sistema.h"
#include "storage/tabelle.h"
#include "storage/testo.h"

namespace storage {

namespace {

const char* lettera(Elenco e) { return e == Elenco::Dipendenti ? "D" : "P"; }
const char* tabella(Elenco e) { return e == Elenco::Dipendenti ? "Zefo1" : "Professionisti"; }

const char* codice(Operazione o) {
    switch (o) {
    case Operazione::Sostituzione: return "S";
    case Operazione::Annullamento: return "A";
    case Operazione::Escluso: return "E";
    case Operazione::Nessuna: break;
    }
    return "";
}

Operazione daCodice(std::string_view c) {
    if (c == "S") return Operazione::Sostituzione;
    if (c == "A") return Operazione::Annullamento;
    if (c == "E") return Operazione::Escluso;
    return Operazione::Nessuna;
}

bool esisteTabella(Connection& conn) { return conn.motore().esisteTabella("Invii"); }

bool soloCifre(std::string_view s, std::size_t n) {
    return s.size() == n && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// Every write goes through a row that exists: created empty when missing.
void garantisciRiga(Connection& conn, Elenco elenco, std::int64_t id) {
    Statement st(conn, "insert into Invii (Elenco, ID) values (?, ?) on conflict (Elenco, ID) do nothing");
    st.bind(1, lettera(elenco)).bind(2, id).step();
}

std::optional<std::int64_t> numero(std::string_view s) {
    std::int64_t n = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec != std::errc() || p != s.data() + s.size() || n <= 0) return std::nullopt;
    return n;
}

}  // namespace

void PreparaInvii(Connection& conn) { schema::creaSeManca(conn, "Invii"); }

namespace {

constexpr const char* kColonneInvio = "Protocollo, Progressivo, Operazione, File, ScrittoIl, ModificatoIl";

// The columns above from the statement's current row, beginning at column primo.
StatoInvio statoDellaRiga(const Statement& st, int primo) {
    StatoInvio s;
    s.protocollo = st.text(primo);
    s.progressivo = st.text(primo + 1);
    s.operazione = daCodice(st.text(primo + 2));
    s.file = st.text(primo + 3);
    s.scrittoIl = st.text(primo + 4);
    s.modificatoIl = st.text(primo + 5);
    return s;
}

}  // namespace

LettoreInvii::LettoreInvii(Connection& conn) : conn_(conn) {
    // An archive opened for reading may predate the table: nothing was recorded then.
    if (esisteTabella(conn))
        st_.emplace(conn, std::string("select ") + kColonneInvio + " from Invii where Elenco = ? and ID = ?");
}

LettoreInvii::~LettoreInvii() = default;

StatoInvio LettoreInvii::leggi(Elenco elenco, std::int64_t id) {
    if (!st_) return {};
    const bool crescente = elenco == elenco_ && id > ultimo_;
    crescenti_ = crescente ? crescenti_ + 1 : 0;
    elenco_ = elenco;
    ultimo_ = id;
    if (!crescente) giro_.reset();
    // After this many ascending numbers the reader walks the list's rows instead.
    constexpr int kPrimaDelGiro = 64;
    if (!giro_ && crescenti_ >= kPrimaDelGiro) {
        giro_.emplace(conn_, std::string("select ID, ") + kColonneInvio + " from Invii where Elenco = '" +
                                 lettera(elenco) + "' order by ID");
        haRiga_ = giro_->step();
    }
    if (giro_) {
        while (haRiga_ && giro_->integer(0) < id) haRiga_ = giro_->step();
        if (!haRiga_ || giro_->integer(0) != id) return {};
        return statoDellaRiga(*giro_, 1);
    }
    Statement& st = *st_;
    st.reset();
    st.bind(1, lettera(elenco)).bind(2, id);
    if (!st.step()) return {};
    return statoDellaRiga(st, 0);
}

StatoInvio LeggiInvio(Connection& conn, Elenco elenco, std::int64_t id) { return LettoreInvii(conn).leggi(elenco, id); }

std::string ErroreProtocollo(std::string_view protocollo) {
    if (soloCifre(protocollo, kCifreProtocollo)) return {};
    return "il protocollo \"" + ValoreNelMessaggio(protocollo) + "\" non è di " + std::to_string(kCifreProtocollo) +
           " cifre";
}

std::string ErroreProgressivo(std::string_view progressivo) {
    if (soloCifre(progressivo, kCifreProgressivo)) return {};
    return "il progressivo \"" + ValoreNelMessaggio(progressivo) + "\" non è di " + std::to_string(kCifreProgressivo) +
           " cifre";
}

std::string ErroreIdentificativi(const std::string& protocollo, const std::string& progressivo) {
    if (protocollo.empty() && progressivo.empty()) return {};
    std::string e = ErroreProtocollo(protocollo);
    if (e.empty()) e = ErroreProgressivo(progressivo);
    if (e.empty()) return {};
    e[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(e[0])));
    return e + ".";
}

void ScriviIdentificativi(Connection& conn, Elenco elenco, std::int64_t id, const std::string& protocollo,
                          const std::string& progressivo) {
    if (const std::string e = ErroreIdentificativi(protocollo, progressivo); !e.empty()) throw Error(e);
    conn.richiediScrittura();
    PreparaInvii(conn);
    garantisciRiga(conn, elenco, id);
    Statement st(conn, "update Invii set Protocollo = ?, Progressivo = ? where Elenco = ? and ID = ?");
    st.bind(1, protocollo).bind(2, progressivo).bind(3, lettera(elenco)).bind(4, id).step();
}

void SegnaOperazione(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids, Operazione operazione) {
    conn.richiediScrittura();
    PreparaInvii(conn);
    Transaction t(conn);
    Statement ins(conn, "insert into Invii (Elenco, ID) values (?, ?) on conflict (Elenco, ID) do nothing");
    Statement upd(conn, "update Invii set Operazione = ? where Elenco = ? and ID = ?");
    for (const std::int64_t id : ids) {
        ins.reset();
        ins.bind(1, lettera(elenco)).bind(2, id).step();
        upd.reset();
        upd.bind(1, codice(operazione)).bind(2, lettera(elenco)).bind(3, id).step();
    }
    t.commit();
}

void SegnaModificato(Connection& conn, Elenco elenco, std::int64_t id) {
    PreparaInvii(conn);
    garantisciRiga(conn, elenco, id);
    Statement st(conn, "update Invii set ModificatoIl = ? where Elenco = ? and ID = ?");
    st.bind(1, OraAttuale()).bind(2, lettera(elenco)).bind(3, id).step();
}

std::string OraLeggibile(std::string_view iso) {
    if (iso.size() < 16) return std::string(iso);
    std::string t;
    t.append(iso.substr(8, 2)).append("/").append(iso.substr(5, 2)).append("/").append(iso.substr(0, 4));
    return t.append(" ").append(iso.substr(11, 5));
}

void SegnaModificati(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids) {
    PreparaInvii(conn);
    Statement st(conn,
                 "insert into Invii (Elenco, ID, ModificatoIl) values (?, ?, ?) "
                 "on conflict (Elenco, ID) do update set ModificatoIl = excluded.ModificatoIl");
    const std::string ora = OraAttuale();
    for (const std::int64_t id : ids) {
        st.reset();
        st.bind(1, lettera(elenco)).bind(2, id).bind(3, ora).step();
    }
}

void SegnaModificatiTutti(Connection& conn, Elenco elenco) {
    PreparaInvii(conn);
    const std::string sql = std::string("insert into Invii (Elenco, ID, ModificatoIl) select ?, ID, ? from ") +
                            tabella(elenco) +
                            " where true on conflict (Elenco, ID) do update set ModificatoIl = excluded.ModificatoIl";
    Statement st(conn, sql);
    st.bind(1, lettera(elenco)).bind(2, OraAttuale()).step();
}

void SegnaModificatiDa(Connection& conn, Elenco elenco, std::int64_t oltre) {
    PreparaInvii(conn);
    const std::string sql = std::string("insert into Invii (Elenco, ID, ModificatoIl) select ?, ID, ? from ") +
                            tabella(elenco) +
                            " where ID > ? on conflict (Elenco, ID) do update set ModificatoIl = excluded.ModificatoIl";
    Statement st(conn, sql);
    st.bind(1, lettera(elenco)).bind(2, OraAttuale()).bind(3, oltre).step();
}

std::int64_t UltimoNumero(Connection& conn, Elenco elenco) {
    Statement st(conn, std::string("select coalesce(max(ID), 0) from ") + tabella(elenco));
    st.step();
    return st.integer(0);
}

std::vector<std::int64_t> NumeriRegistrati(Connection& conn, Elenco elenco) {
    std::vector<std::int64_t> ids;
    if (!esisteTabella(conn)) return ids;
    Statement st(conn, "select ID from Invii where Elenco = ? order by ID");
    st.bind(1, lettera(elenco));
    while (st.step()) ids.push_back(st.integer(0));
    return ids;
}

void RinumeraInvii(Connection& conn, Elenco elenco, const std::vector<std::pair<std::int64_t, std::int64_t>>& nuovi) {
    if (!esisteTabella(conn)) return;
    Statement st(conn, "update Invii set ID = ? where Elenco = ? and ID = ?");
    for (const auto& [vecchio, nuovo] : nuovi) {
        st.reset();
        st.bind(1, nuovo).bind(2, lettera(elenco)).bind(3, vecchio).step();
    }
}

void DimenticaInvii(Connection& conn, Elenco elenco) {
    if (!esisteTabella(conn)) return;
    Statement st(conn, "delete from Invii where Elenco = ?");
    st.bind(1, lettera(elenco)).step();
}

void SegnaScritti(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids, const std::string& file,
                  bool togliSegni) {
    PreparaInvii(conn);
    const std::string ora = OraAttuale();
    // Many rows per statement: on a server each statement is a round trip.
    constexpr std::size_t kRighe = 200;
    const auto testo = [&](std::size_t righe) {
        std::string sql = "insert into Invii (Elenco, ID, File, ScrittoIl) values ";
        for (std::size_t i = 0; i < righe; ++i) sql += i ? ", (?, ?, ?, ?)" : "(?, ?, ?, ?)";
        return sql + " on conflict (Elenco, ID) do update set File = excluded.File, ScrittoIl = excluded.ScrittoIl" +
               (togliSegni ? ", Operazione = ''" : "");
    };
    // The server refuses a statement that updates one row twice.
    std::vector<std::int64_t> numeri(ids);
    std::sort(numeri.begin(), numeri.end());
    numeri.erase(std::unique(numeri.begin(), numeri.end()), numeri.end());
    std::optional<Statement> pieno;
    PerBlocchi(
        conn, numeri.size(), kRighe, testo,
        [&](Statement& st, std::size_t i, std::size_t k) {
            const int p = static_cast<int>(k * 4);
            st.bind(p + 1, lettera(elenco))
                .bind(p + 2, numeri[i])
                .bindSenzaCopia(p + 3, file)
                .bindSenzaCopia(p + 4, ora);
        },
        pieno);
}

std::vector<std::int64_t> MarcatiCon(Connection& conn, Elenco elenco, Operazione operazione) {
    std::vector<std::int64_t> ids;
    if (!esisteTabella(conn)) return ids;
    const std::string sql = std::string("select i.ID from Invii i join ") + tabella(elenco) +
                            " c on c.ID = i.ID where i.Elenco = ? and i.Operazione = ? order by i.ID";
    Statement st(conn, sql);
    st.bind(1, lettera(elenco)).bind(2, codice(operazione));
    while (st.step()) ids.push_back(st.integer(0));
    return ids;
}

std::vector<std::int64_t> CertificatiMancanti(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids) {
    std::vector<std::int64_t> mancanti;
    Statement st(conn, std::string("select 1 from ") + tabella(elenco) + " where ID = ?");
    for (const std::int64_t id : ids) {
        st.reset();
        st.bind(1, id);
        if (!st.step()) mancanti.push_back(id);
    }
    return mancanti;
}

namespace {

// Each mark with its text in the windows and its word in the batch command.
constexpr struct {
    Operazione operazione;
    const char* testo;
    const char* parola;
} kNomiOperazioni[] = {
    {Operazione::Nessuna, "", "nessuna"},
    {Operazione::Sostituzione, "Sostituzione", "sostituzione"},
    {Operazione::Annullamento, "Annullamento", "annullamento"},
    {Operazione::Escluso, "Escluso dall'invio", "escluso"},
};

}  // namespace

const char* TestoOperazione(Operazione operazione) {
    for (const auto& n : kNomiOperazioni)
        if (n.operazione == operazione) return n.testo;
    return "";
}

std::optional<Operazione> OperazioneDaTesto(std::string_view testo) {
    std::string t(Rifila(testo));
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::tolower(c); });
    for (Operazione o :
         {Operazione::Nessuna, Operazione::Sostituzione, Operazione::Annullamento, Operazione::Escluso}) {
        std::string nome = TestoOperazione(o);
        std::transform(nome.begin(), nome.end(), nome.begin(), [](unsigned char c) { return std::tolower(c); });
        if (t == nome) return o;
    }
    return std::nullopt;
}

const char* ParolaOperazione(Operazione operazione) {
    for (const auto& n : kNomiOperazioni)
        if (n.operazione == operazione) return n.parola;
    return "";
}

std::optional<Operazione> OperazioneDaParola(std::string_view parola) {
    for (const auto& n : kNomiOperazioni)
        if (parola == n.parola) return n.operazione;
    return std::nullopt;
}

std::string OraAttuale() { return sistema::oraLocale("%Y-%m-%dT%H:%M:%S"); }

std::vector<std::int64_t> NumeriDaTesto(std::string_view testo) {
    std::vector<std::int64_t> ids;
    while (true) {
        const auto virgola = testo.find(',');
        const std::string_view parola = Rifila(testo.substr(0, virgola));
        const auto n = numero(parola);
        if (!n) throw Error("Numero di certificato non valido: \"" + std::string(parola) + "\".");
        ids.push_back(*n);
        if (virgola == std::string_view::npos) break;
        testo.remove_prefix(virgola + 1);
    }
    return ids;
}

std::vector<std::int64_t> LeggiElencoScelti(Connection& conn, Elenco elenco, const std::string& percorso) {
    std::ifstream in(sistema::nativo(percorso), std::ios::binary);
    if (!in) throw Error("Impossibile leggere il file " + percorso + ".");
    Statement perNumero(conn, std::string("select ID from ") + tabella(elenco) + " where ID = ?");
    Statement perCodice(conn, std::string("select ID from ") + tabella(elenco) + " where B01 = ? order by ID");
    std::vector<std::int64_t> ids;
    std::string riga;
    for (long n = 1; std::getline(in, riga); ++n) {
        const std::string_view v = Rifila(riga);
        if (v.empty()) continue;
        const std::string dove = "File " + percorso + ", riga " + std::to_string(n) + ": ";
        const bool cifre = std::all_of(v.begin(), v.end(), [](unsigned char c) { return std::isdigit(c); });
        Statement& st = cifre ? perNumero : perCodice;
        st.reset();
        if (cifre) {
            const auto id = numero(v);
            if (!id) throw Error(dove + "numero di certificato non valido \"" + std::string(v) + "\".");
            st.bind(1, *id);
        } else {
            st.bind(1, v);
        }
        bool trovato = false;
        while (st.step()) {
            ids.push_back(st.integer(0));
            trovato = true;
        }
        if (!trovato)
            throw Error(
                dove + (cifre ? "nessun certificato con il numero \"" : "nessun certificato con il codice fiscale \"") +
                std::string(v) + "\".");
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

}  // namespace storage
