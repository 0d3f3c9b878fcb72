#include "storage/motore_pg.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <vector>

#include "storage/error.h"
#include "storage/schema.h"

#ifndef _WIN32
#include <dlfcn.h>

// libpq and the libraries it brings (Kerberos, LDAP, TLS) cost every start of the program a
// sixth of its processor time before the menu: they are loaded when a server archive is first
// used. The calls below keep libpq's names, each made through the function found then.
// clang-format off
#define PALIO_PQ_FUNZIONI(X)                                                                              \
    X(PQclear) X(PQcmdTuples) X(PQconnectdbParams) X(PQdescribePrepared) X(PQerrorMessage) X(PQexec)      \
    X(PQexecParams) X(PQexecPrepared) X(PQfinish) X(PQfname) X(PQgetisnull) X(PQgetlength) X(PQgetvalue) \
    X(PQnfields) X(PQntuples) X(PQprepare) X(PQresultErrorField) X(PQresultErrorMessage) X(PQresultStatus) \
    X(PQsetNoticeProcessor) X(PQstatus) X(PQtransactionStatus)
// clang-format on

namespace storage::motore {
namespace {

struct Libpq {
#define PALIO_PQ_MEMBRO(f) decltype(&::f) f = nullptr;
    PALIO_PQ_FUNZIONI(PALIO_PQ_MEMBRO)
#undef PALIO_PQ_MEMBRO
};

Libpq caricaLibpq() {
    void* libreria = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    if (!libreria)
        throw Error(Error::Causa::Altro,
                    "Gli archivi su server richiedono la libreria libpq (pacchetto libpq5), che non si trova.",
                    dlerror());
    Libpq l;
#define PALIO_PQ_CERCA(f)                                       \
    l.f = reinterpret_cast<decltype(l.f)>(dlsym(libreria, #f)); \
    if (!l.f) throw Error(Error::Causa::Altro, "La libreria libpq installata è incompleta: manca " #f ".");
    PALIO_PQ_FUNZIONI(PALIO_PQ_CERCA)
#undef PALIO_PQ_CERCA
    return l;
}

const Libpq& libpq() {
    static const Libpq l = caricaLibpq();
    return l;
}

}  // namespace
}  // namespace storage::motore

#define PQclear libpq().PQclear
#define PQcmdTuples libpq().PQcmdTuples
#define PQconnectdbParams libpq().PQconnectdbParams
#define PQdescribePrepared libpq().PQdescribePrepared
#define PQerrorMessage libpq().PQerrorMessage
#define PQexec libpq().PQexec
#define PQexecParams libpq().PQexecParams
#define PQexecPrepared libpq().PQexecPrepared
#define PQfinish libpq().PQfinish
#define PQfname libpq().PQfname
#define PQgetisnull libpq().PQgetisnull
#define PQgetlength libpq().PQgetlength
#define PQgetvalue libpq().PQgetvalue
#define PQnfields libpq().PQnfields
#define PQntuples libpq().PQntuples
#define PQprepare libpq().PQprepare
#define PQresultErrorField libpq().PQresultErrorField
#define PQresultErrorMessage libpq().PQresultErrorMessage
#define PQresultStatus libpq().PQresultStatus
#define PQsetNoticeProcessor libpq().PQsetNoticeProcessor
#define PQstatus libpq().PQstatus
#define PQtransactionStatus libpq().PQtransactionStatus
#endif

namespace storage::motore {

namespace {

std::string rifilato(std::string s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    return s;
}

// The operator's sentence for a server failure, from the SQLSTATE code; the server's words go on
// the second line.
Error errorePg(const char* stato, const std::string& testo, const std::string& indirizzo,
               const std::string& solaLettura, bool collegamentoPerso) {
    using C = Error::Causa;
    const std::string s = stato ? stato : "";
    const auto classe = s.substr(0, std::min<std::size_t>(2, s.size()));
    if (collegamentoPerso || classe == "08")
        return Error(C::Altro,
                     "Il collegamento con il server dell'archivio " + indirizzo +
                         " si è interrotto: controllare la rete e il server, poi riaprire l'archivio.",
                     testo);
    if (s == "40001" || s == "40P01" || s == "55P03" || s == "55006")
        return Error(C::Occupato, "L'archivio è in uso da un altro programma: riprovare quando ha finito.", testo);
    if (s == "53100")
        return Error(C::Pieno, "Il disco del server dell'archivio è pieno: avvisare chi lo gestisce.", testo);
    if (classe == "53")
        return Error(C::Altro, "Il server dell'archivio non ha risorse sufficienti: riprovare più tardi.", testo);
    if (s == "25006")
        return Error(C::SolaLettura,
                     "L'archivio " + indirizzo +
                         " è in sola lettura: " + (solaLettura.empty() ? "non si può modificare" : solaLettura) + ".",
                     testo);
    if (s == "42501" || classe == "28")
        return Error(C::Permesso,
                     "Impossibile usare l'archivio " + indirizzo +
                         ": l'utente del server non ha i permessi necessari; avvisare chi gestisce il server.",
                     testo);
    if (classe == "XX")
        return Error(C::Danneggiato,
                     "L'archivio " + indirizzo + " è danneggiato sul server: ripristinarne una copia di sicurezza.",
                     testo);
    return Error(C::Altro, "Errore del database: l'operazione non è riuscita.", testo);
}

// "?" becomes "$1", "$2"… outside quoted text and names; the count of parameters comes back.
std::string segnaposti(std::string_view sql, int& n) {
    std::string r;
    r.reserve(sql.size() + 16);
    n = 0;
    char virgolette = 0;
    for (char c : sql) {
        if (virgolette) {
            if (c == virgolette) virgolette = 0;
            r += c;
        } else if (c == '\'' || c == '"') {
            virgolette = c;
            r += c;
        } else if (c == '?') {
            r += '$' + std::to_string(++n);
        } else {
            r += c;
        }
    }
    return r;
}

std::string citato(const std::string& nome) { return "\"" + nome + "\""; }

class MotorePg;

// Rows of a long read come from a server cursor this many at a time, so that a walk over a whole
// table holds one batch in memory and not the whole result.
constexpr int kRigheLotto = 1000;

class IstruzionePg final : public Istruzione {
public:
    IstruzionePg(MotorePg& m, std::string nome, std::string testo, int parametri, bool restituisceChiave, bool lettura)
        : m_(m),
          nome_(std::move(nome)),
          testo_(std::move(testo)),
          valori_(static_cast<std::size_t>(parametri)),
          nulli_(static_cast<std::size_t>(parametri), 1),
          chiave_(restituisceChiave),
          lettura_(lettura) {}
    ~IstruzionePg() override;
    void bind(int i, std::string_view testo, bool) override { posto(i).assign(testo.data(), testo.size()); }
    void bind(int i, std::int64_t numero) override { posto(i) = std::to_string(numero); }
    void bindNull(int i) override {
        posto(i).clear();
        nulli_[static_cast<std::size_t>(i - 1)] = 1;
    }
    bool step() override;
    void reset() override {
        chiudiCursore();
        PQclear(ris_);
        ris_ = nullptr;
        eseguita_ = false;
        std::fill(nulli_.begin(), nulli_.end(), 1);
    }
    int columnCount() const override { return PQnfields(ris_ ? ris_ : descrizione()); }
    std::string columnName(int i) const override {
        return std::string(schema::nome(PQfname(ris_ ? ris_ : descrizione(), i)));
    }
    bool isNull(int i) const override { return !inRiga() || PQgetisnull(ris_, riga_, i); }
    std::string_view text(int i) const override {
        if (!inRiga()) return {};
        return {PQgetvalue(ris_, riga_, i), static_cast<std::size_t>(PQgetlength(ris_, riga_, i))};
    }
    std::int64_t integer(int i) const override {
        const auto t = text(i);
        std::int64_t n = 0;
        std::from_chars(t.data(), t.data() + t.size(), n);
        return n;
    }

private:
    std::string& posto(int i);
    const PGresult* descrizione() const;
    bool inRiga() const { return ris_ && riga_ >= 0 && riga_ < PQntuples(ris_); }
    void esegui();
    void chiudiCursore();

    MotorePg& m_;
    std::string nome_, testo_, cursore_;
    std::vector<std::string> valori_;
    std::vector<char> nulli_;
    bool chiave_, lettura_;
    PGresult* ris_ = nullptr;
    mutable PGresult* descr_ = nullptr;
    int riga_ = -1;
    bool eseguita_ = false;
};

class MotorePg final : public Motore {
public:
    MotorePg(PGconn* c, const std::string& indirizzo, const std::string& solaLettura)
        : c_(c), indirizzo_(indirizzo), solaLettura_(solaLettura) {}
    ~MotorePg() override {
        esiste_.reset();
        PQfinish(c_);
    }

    [[noreturn]] void fallisci(const PGresult* r) const {
        const char* stato = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
        const std::string testo =
            rifilato(r && *PQresultErrorMessage(r) ? PQresultErrorMessage(r) : PQerrorMessage(c_));
        throw errorePg(stato, testo, indirizzo_, solaLettura_, PQstatus(c_) == CONNECTION_BAD);
    }
    // Throws unless the result is a success; clears it on failure.
    PGresult* verifica(PGresult* r) const {
        const auto s = PQresultStatus(r);
        if (r && (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK || s == PGRES_EMPTY_QUERY)) return r;
        try {
            fallisci(r);
        } catch (...) {
            PQclear(r);
            throw;
        }
    }
    PGconn* c() const { return c_; }

    Tipo tipo() const override { return Tipo::PostgreSQL; }
    std::unique_ptr<Istruzione> prepara(std::string_view sql) override {
        int n = 0;
        std::string testo = segnaposti(sql, n);
        // A new row's key comes back with the insert itself, for lastInsertId().
        static const std::regex inserimento(R"(^\s*insert\s+into\s+(\w+))", std::regex::icase);
        static const std::regex selezione(R"(^\s*(select|with)\b)", std::regex::icase);
        std::smatch m;
        bool chiave = false;
        if (std::regex_search(testo, m, inserimento) && testo.find("returning") == std::string::npos &&
            testo.find("RETURNING") == std::string::npos) {
            const std::string colonna = schema::chiave(m[1].str());
            if (!colonna.empty()) {
                testo += " returning " + colonna;
                chiave = true;
            }
        }
        const bool lettura = n == 0 && std::regex_search(testo, selezione);
        std::string nome = preparata(testo);
        return std::make_unique<IstruzionePg>(*this, std::move(nome), lettura ? std::move(testo) : std::string(), n,
                                              chiave, lettura);
    }
    void exec(std::string_view sql) override {
        std::string testo;
        // Cursors left open go before the end of their transaction; a failed one took them with it.
        if (!daChiudere_.empty() && PQtransactionStatus(c_) == PQTRANS_INTRANS)
            for (const auto& k : daChiudere_) testo += "CLOSE " + k + ";";
        daChiudere_.clear();
        testo += sql;
        PGresult* r = verifica(PQexec(c_, testo.c_str()));
        modificate_ = std::atoi(PQcmdTuples(r));
        PQclear(r);
    }
    std::int64_t lastInsertId() override { return ultimoId_; }
    int changes() const override { return modificate_; }
    std::string lastError() const override { return rifilato(PQerrorMessage(c_)); }
    bool inTransazione() const override { return PQtransactionStatus(c_) != PQTRANS_IDLE; }
    std::string_view inizioScrittura() const override { return "BEGIN"; }
    // One snapshot for the whole run: what another operator commits meanwhile is not half seen.
    std::string_view inizioLettura() const override { return "BEGIN ISOLATION LEVEL REPEATABLE READ"; }
    bool esisteTabella(std::string_view nome) override {
        if (!esiste_)
            esiste_ = prepara(
                "select 1 from information_schema.tables where table_schema = current_schema() "
                "and table_name = lower(?)");
        esiste_->reset();
        esiste_->bind(1, nome, true);
        const bool c = esiste_->step();
        esiste_->reset();
        return c;
    }
    // The server's 0 means no limit: the shortest wait instead.
    void attesaOccupato(int ms) override { exec("set lock_timeout = " + std::to_string(std::max(ms, 1))); }

    // A statement's text is prepared once on the server and its name reused by every Statement of
    // the same text: most are made for one use (a save, a look-up) and would cost a round trip each.
    std::string preparata(const std::string& testo) {
        if (const auto i = preparate_.find(testo); i != preparate_.end()) return i->second;
        liberaInSospeso();
        std::string nome = "p" + std::to_string(++contatore_);
        PQclear(verifica(PQprepare(c_, nome.c_str(), testo.c_str(), 0, nullptr)));
        if (preparate_.size() < kPreparateTenute) {
            preparate_.emplace(testo, nome);
            tenute_.insert(nome);
        }
        return nome;
    }
    void libera(std::string nome) {
        if (tenute_.count(nome)) return;
        daLiberare_.push_back(std::move(nome));
    }
    void eseguita(const PGresult* r, std::int64_t id) {
        modificate_ = std::atoi(PQcmdTuples(const_cast<PGresult*>(r)));
        if (id) ultimoId_ = id;
    }
    // Long reads go through a cursor only inside a transaction that is working: outside one the
    // cursor would not outlive its own statement.
    bool cursoriPossibili() const { return PQtransactionStatus(c_) == PQTRANS_INTRANS; }
    std::string nuovoCursore() { return "k" + std::to_string(++cursori_); }
    // Runs the text through the simple protocol, after closing the cursors left open.
    PGresult* conCursori(std::string testo) {
        if (!daChiudere_.empty()) {
            std::string chiusure;
            for (const auto& k : daChiudere_) chiusure += "CLOSE " + k + ";";
            daChiudere_.clear();
            testo = chiusure + testo;
        }
        return verifica(PQexec(c_, testo.c_str()));
    }
    void chiudiPoi(std::string cursore) {
        if (PQtransactionStatus(c_) == PQTRANS_INTRANS) daChiudere_.push_back(std::move(cursore));
    }

private:
    static constexpr std::size_t kPreparateTenute = 512;

    // Statements no longer used leave the server in batches, never inside a failed transaction.
    void liberaInSospeso() {
        if (daLiberare_.size() < 64 || PQtransactionStatus(c_) == PQTRANS_INERROR) return;
        std::string sql;
        for (const auto& n : daLiberare_) sql += "DEALLOCATE " + n + ";";
        PQclear(PQexec(c_, sql.c_str()));
        daLiberare_.clear();
    }

    PGconn* c_;
    const std::string& indirizzo_;
    const std::string& solaLettura_;
    std::unique_ptr<Istruzione> esiste_;
    std::vector<std::string> daLiberare_, daChiudere_;
    std::map<std::string, std::string> preparate_;
    std::set<std::string> tenute_;
    std::int64_t contatore_ = 0, ultimoId_ = 0, cursori_ = 0;
    int modificate_ = 0;
};

IstruzionePg::~IstruzionePg() {
    chiudiCursore();
    PQclear(ris_);
    PQclear(descr_);
    m_.libera(std::move(nome_));
}

std::string& IstruzionePg::posto(int i) {
    if (i < 1 || i > static_cast<int>(valori_.size()))
        throw Error(Error::Causa::Altro, "Errore del database: l'operazione non è riuscita.",
                    "parametro " + std::to_string(i) + " fuori intervallo");
    nulli_[static_cast<std::size_t>(i - 1)] = 0;
    return valori_[static_cast<std::size_t>(i - 1)];
}

const PGresult* IstruzionePg::descrizione() const {
    if (!descr_) descr_ = m_.verifica(PQdescribePrepared(m_.c(), nome_.c_str()));
    return descr_;
}

void IstruzionePg::esegui() {
    PQclear(ris_);
    ris_ = nullptr;
    riga_ = -1;
    if (lettura_ && m_.cursoriPossibili()) {
        cursore_ = m_.nuovoCursore();
        const std::string lotto = "FETCH " + std::to_string(kRigheLotto) + " FROM " + cursore_;
        ris_ = m_.conCursori("DECLARE " + cursore_ + " NO SCROLL CURSOR FOR " + testo_ + ";" + lotto);
        if (PQntuples(ris_) < kRigheLotto) chiudiCursore();
        return;
    }
    std::vector<const char*> p(valori_.size());
    std::vector<int> l(valori_.size());
    for (std::size_t i = 0; i < valori_.size(); ++i) {
        p[i] = nulli_[i] ? nullptr : valori_[i].c_str();
        l[i] = static_cast<int>(valori_[i].size());
    }
    ris_ =
        m_.verifica(PQexecPrepared(m_.c(), nome_.c_str(), static_cast<int>(p.size()), p.data(), l.data(), nullptr, 0));
}

void IstruzionePg::chiudiCursore() {
    if (cursore_.empty()) return;
    m_.chiudiPoi(std::move(cursore_));
    cursore_.clear();
}

bool IstruzionePg::step() {
    if (!eseguita_) {
        esegui();
        eseguita_ = true;
        std::int64_t id = 0;
        if (chiave_ && PQntuples(ris_) > 0) {
            const char* v = PQgetvalue(ris_, PQntuples(ris_) - 1, 0);
            std::from_chars(v, v + std::char_traits<char>::length(v), id);
        }
        m_.eseguita(ris_, id);
        // An insert gives back no rows, as on the file.
        if (chiave_) return false;
    }
    if (chiave_ || PQresultStatus(ris_) != PGRES_TUPLES_OK) return false;
    if (++riga_ < PQntuples(ris_)) return true;
    if (cursore_.empty()) return false;
    // The batch is read: the next one from the cursor.
    PQclear(ris_);
    ris_ = nullptr;
    ris_ = m_.verifica(PQexec(m_.c(), ("FETCH " + std::to_string(kRigheLotto) + " FROM " + cursore_).c_str()));
    riga_ = 0;
    if (PQntuples(ris_) < kRigheLotto) chiudiCursore();
    return riga_ < PQntuples(ris_);
}

void silenzio(void*, const char*) {}

PGconn* collega(const std::string& conninfo, const std::string& indirizzo) {
    // The address's own settings win over these defaults: it is expanded last.
    const char* chiavi[] = {"connect_timeout", "application_name", "client_encoding", "dbname", nullptr};
    const char* valori[] = {"10", "palio2015", "UTF8", conninfo.c_str(), nullptr};
    PGconn* c = PQconnectdbParams(chiavi, valori, 1);
    if (!c) throw Error(Error::Causa::Altro, "Memoria insufficiente: chiudere altri programmi e riprovare.");
    if (PQstatus(c) != CONNECTION_OK) {
        const std::string testo = rifilato(PQerrorMessage(c));
        PQfinish(c);
        throw Error(Error::Causa::Permesso,
                    "Impossibile collegarsi al server dell'archivio " + indirizzo +
                        ": controllare l'indirizzo, che il server sia acceso e la password (nel file delle "
                        "password o dei servizi di PostgreSQL).",
                    testo);
    }
    PQsetNoticeProcessor(c, silenzio, nullptr);
    return c;
}

// The first column of the one row of a query with one text parameter.
std::string valore(PGconn* c, const char* sql, const std::string& parametro) {
    const char* p[] = {parametro.c_str()};
    PGresult* r = PQexecParams(c, sql, 1, nullptr, p, nullptr, nullptr, 0);
    std::string v;
    if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0) v = PQgetvalue(r, 0, 0);
    const bool riuscita = PQresultStatus(r) == PGRES_TUPLES_OK;
    const std::string testo = rifilato(PQresultErrorMessage(r));
    PQclear(r);
    if (!riuscita) throw Error(Error::Causa::Altro, "Errore del database: l'operazione non è riuscita.", testo);
    return v;
}

}  // namespace

IndirizzoPostgres leggiIndirizzo(const std::string& indirizzo) {
    IndirizzoPostgres r;
    r.schema = "palio2015";
    std::smatch m;
    if (indirizzo.find("://") != std::string::npos) {
        // URI: "schema" is ours among the query's parameters; libpq would refuse it.
        const auto q = indirizzo.find('?');
        r.conninfo = indirizzo.substr(0, q);
        if (q != std::string::npos) {
            std::string resto;
            std::size_t i = q + 1;
            while (i <= indirizzo.size()) {
                std::size_t fine = indirizzo.find('&', i);
                if (fine == std::string::npos) fine = indirizzo.size();
                const std::string parte = indirizzo.substr(i, fine - i);
                if (parte.rfind("schema=", 0) == 0)
                    r.schema = parte.substr(7);
                else if (!parte.empty())
                    resto += (resto.empty() ? "?" : "&") + parte;
                i = fine + 1;
            }
            r.conninfo += resto;
        }
    } else {
        static const std::regex voce(R"((^|\s)schema\s*=\s*(\S*))");
        if (std::regex_search(indirizzo, m, voce)) {
            r.schema = m[2].str();
            r.conninfo = indirizzo.substr(0, static_cast<std::size_t>(m.position(0))) +
                         indirizzo.substr(static_cast<std::size_t>(m.position(0) + m.length(0)));
        } else {
            r.conninfo = indirizzo;
        }
    }
    for (char& c : r.schema) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (r.schema.empty() || r.schema.size() > 63 ||
        !std::all_of(r.schema.begin(), r.schema.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; }) ||
        std::isdigit(static_cast<unsigned char>(r.schema[0])))
        throw Error("Il nome dello schema \"" + r.schema +
                    "\" non è valido: usare lettere senza accenti, cifre e \"_\", iniziando con una lettera.");
    return r;
}

std::unique_ptr<Motore> apriPostgres(const std::string& indirizzo, std::string& solaLettura) {
    const auto a = leggiIndirizzo(indirizzo);
    PGconn* c = collega(a.conninfo, indirizzo);
    auto m = std::make_unique<MotorePg>(c, indirizzo, solaLettura);
    if (valore(c, "select count(*) from pg_namespace where nspname = $1", a.schema) == "0")
        throw Error(Error::Causa::NonArchivio, "Sul server dell'archivio " + indirizzo + " non c'è lo schema " +
                                                   a.schema + ": crearlo con «crea-archivio».");
    m->exec("set search_path = " + citato(a.schema) + ", public");
    m->attesaOccupato(5000);
    if (valore(
            c,
            "select pg_is_in_recovery()::text || coalesce(has_table_privilege(to_regclass($1), 'UPDATE'), true)::text",
            citato(a.schema) + ".zefo1") != "falsetrue")
        solaLettura = "il server o l'utente non ne consentono la modifica";
    return m;
}

void creaPostgres(const std::string& indirizzo) {
    const auto a = leggiIndirizzo(indirizzo);
    PGconn* c = collega(a.conninfo, indirizzo);
    std::string nessuna;
    MotorePg m(c, indirizzo, nessuna);
    // Text that ignores case as on the file: the server's citext type, installed once per database.
    try {
        m.exec("create extension if not exists citext");
    } catch (const Error& e) {
        throw Error(e.causa(),
                    "Impossibile creare l'archivio " + indirizzo +
                        ": sul server manca l'estensione citext; chi gestisce il server la installi con "
                        "«create extension citext» nel database.",
                    e.motore());
    }
    if (valore(c, "select count(*) from pg_namespace where nspname = $1", a.schema) != "0")
        throw Error("Lo schema " + a.schema + " esiste già sul server: l'archivio non è stato creato.");
    m.exec("BEGIN");
    m.exec("create schema " + citato(a.schema));
    m.exec("set local search_path = " + citato(a.schema) + ", public");
    m.exec(schema::creazione(Tipo::PostgreSQL));
    m.exec("COMMIT");
}

}  // namespace storage::motore
