#include "storage/motore_pg.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <utility>
#include <vector>

#include "storage/error.h"
#include "storage/libpq.h"
#include "storage/schema.h"

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
        lasciaAvanti();
        chiudiCursore();
        libpq().PQclear(ris_);
        ris_ = nullptr;
        eseguita_ = false;
        std::fill(nulli_.begin(), nulli_.end(), 1);
    }
    int columnCount() const override { return libpq().PQnfields(ris_ ? ris_ : descrizione()); }
    std::string columnName(int i) const override {
        return std::string(schema::nome(libpq().PQfname(ris_ ? ris_ : descrizione(), i)));
    }
    bool isNull(int i) const override { return !inRiga() || libpq().PQgetisnull(ris_, riga_, i); }
    std::string_view text(int i) const override {
        if (!inRiga()) return {};
        return {libpq().PQgetvalue(ris_, riga_, i), static_cast<std::size_t>(libpq().PQgetlength(ris_, riga_, i))};
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
    bool inRiga() const { return ris_ && riga_ >= 0 && riga_ < libpq().PQntuples(ris_); }
    void esegui();
    void chiudiCursore();
    void chiediAvanti();
    void lasciaAvanti();

    friend class MotorePg;

    MotorePg& m_;
    std::string nome_, testo_, cursore_;
    std::vector<std::string> valori_;
    std::vector<char> nulli_;
    bool chiave_, lettura_;
    PGresult* ris_ = nullptr;
    // The cursor's next batch, asked for while the program works on the one in ris_.
    PGresult* prossimo_ = nullptr;
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
        libpq().PQclear(errore_);
        libpq().PQfinish(c_);
    }

    // Two requests go without waiting for their end, so that the program and the server work at
    // once: a cursor's next batch (its statement takes the rows) and the end of a stream of rows.
    // c() gives the connection free for a new request, with their results taken; it never throws,
    // as statements call it while they go. pronta() also throws the failure of one of them (it
    // failed the transaction), before a request of the program's own.
    PGconn* c() const {
        if (avanti_) {
            IstruzionePg* chi = std::exchange(avanti_, nullptr);
            chi->prossimo_ = risultato();
            if (libpq().PQresultStatus(chi->prossimo_) != PGRES_TUPLES_OK)
                tieniErrore(std::exchange(chi->prossimo_, nullptr));
        } else if (fineFlusso_) {
            fineFlusso_ = false;
            PGresult* r = risultato();
            if (libpq().PQresultStatus(r) == PGRES_COMMAND_OK)
                libpq().PQclear(r);
            else
                tieniErrore(r);
        }
        return c_;
    }
    PGconn* pronta() const {
        c();
        if (errore_) libpq().PQclear(verifica(std::exchange(errore_, nullptr)));
        return c_;
    }
    // Sends the statement's next FETCH without waiting for its rows.
    void chiediAvanti(IstruzionePg* chi, const std::string& testo) {
        if (libpq().PQsendQuery(pronta(), testo.c_str())) avanti_ = chi;
    }
    void flussoInviato() { fineFlusso_ = true; }
    // The statement no longer wants what it asked for (a reset, its end): taken and dropped.
    void lasciaAvanti(IstruzionePg* chi) {
        if (avanti_ != chi) return;
        avanti_ = nullptr;
        libpq().PQclear(risultato());
    }

    [[noreturn]] void fallisci(const PGresult* r) const {
        const char* stato = r ? libpq().PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
        const std::string testo = rifilato(r && *libpq().PQresultErrorMessage(r) ? libpq().PQresultErrorMessage(r)
                                                                                 : libpq().PQerrorMessage(c_));
        throw errorePg(stato, testo, indirizzo_, solaLettura_, libpq().PQstatus(c_) == CONNECTION_BAD);
    }
    // Throws unless the result is a success; clears it on failure.
    PGresult* verifica(PGresult* r) const {
        const auto s = libpq().PQresultStatus(r);
        if (r && (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK || s == PGRES_EMPTY_QUERY)) return r;
        try {
            fallisci(r);
        } catch (...) {
            libpq().PQclear(r);
            throw;
        }
    }

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
        // A request sent ahead that failed took its transaction with it: a rollback ends it as asked,
        // with nothing more to say; a commit ends it with a rollback and says why.
        if (c(); errore_ && sql.rfind("ROLLBACK", 0) == 0) {
            libpq().PQclear(std::exchange(errore_, nullptr));
        } else if (errore_ && sql == "COMMIT") {
            PGresult* e = std::exchange(errore_, nullptr);
            libpq().PQclear(libpq().PQexec(c_, "ROLLBACK"));
            libpq().PQclear(verifica(e));
        }
        std::string testo;
        // Cursors left open go before the end of their transaction; a failed one took them with it.
        if (!daChiudere_.empty() && libpq().PQtransactionStatus(c()) == PQTRANS_INTRANS)
            for (const auto& k : daChiudere_) testo += "CLOSE " + k + ";";
        daChiudere_.clear();
        testo += sql;
        PGresult* r = verifica(libpq().PQexec(pronta(), testo.c_str()));
        modificate_ = std::atoi(libpq().PQcmdTuples(r));
        libpq().PQclear(r);
    }
    std::int64_t lastInsertId() override { return ultimoId_; }
    int changes() const override { return modificate_; }
    std::string lastError() const override { return rifilato(libpq().PQerrorMessage(c())); }
    bool inTransazione() const override { return libpq().PQtransactionStatus(c()) != PQTRANS_IDLE; }
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
    std::unique_ptr<Flusso> flusso(std::string_view tabella, const char* const* colonne, std::size_t quante) override;

    // A statement's text is prepared once on the server and its name reused by every Statement of
    // the same text: most are made for one use (a save, a look-up) and would cost a round trip each.
    std::string preparata(const std::string& testo) {
        if (const auto i = preparate_.find(testo); i != preparate_.end()) return i->second;
        liberaInSospeso();
        std::string nome = "p" + std::to_string(++contatore_);
        libpq().PQclear(verifica(libpq().PQprepare(pronta(), nome.c_str(), testo.c_str(), 0, nullptr)));
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
        modificate_ = std::atoi(libpq().PQcmdTuples(const_cast<PGresult*>(r)));
        if (id) ultimoId_ = id;
    }
    // Long reads go through a cursor only inside a transaction that is working: outside one the
    // cursor would not outlive its own statement.
    bool cursoriPossibili() const { return libpq().PQtransactionStatus(c()) == PQTRANS_INTRANS; }
    std::string nuovoCursore() { return "k" + std::to_string(++cursori_); }
    // Runs the text through the simple protocol, after closing the cursors left open.
    PGresult* conCursori(std::string testo) {
        if (!daChiudere_.empty()) {
            std::string chiusure;
            for (const auto& k : daChiudere_) chiusure += "CLOSE " + k + ";";
            daChiudere_.clear();
            testo = chiusure + testo;
        }
        return verifica(libpq().PQexec(pronta(), testo.c_str()));
    }
    void chiudiPoi(std::string cursore) {
        if (libpq().PQtransactionStatus(c()) == PQTRANS_INTRANS) daChiudere_.push_back(std::move(cursore));
    }

    // The one result of the request in flight.
    PGresult* risultato() const {
        PGresult* r = libpq().PQgetResult(c_);
        while (PGresult* altro = libpq().PQgetResult(c_)) libpq().PQclear(altro);
        return r;
    }

private:
    static constexpr std::size_t kPreparateTenute = 512;

    // Statements no longer used leave the server in batches, never inside a failed transaction.
    void liberaInSospeso() {
        if (daLiberare_.size() < 64 || libpq().PQtransactionStatus(c()) == PQTRANS_INERROR) return;
        std::string sql;
        for (const auto& n : daLiberare_) sql += "DEALLOCATE " + n + ";";
        libpq().PQclear(libpq().PQexec(c(), sql.c_str()));
        daLiberare_.clear();
    }

    void tieniErrore(PGresult* r) const {
        if (errore_)
            libpq().PQclear(r);
        else
            errore_ = r;
    }

    PGconn* c_;
    mutable IstruzionePg* avanti_ = nullptr;
    mutable bool fineFlusso_ = false;
    mutable PGresult* errore_ = nullptr;
    const std::string& indirizzo_;
    const std::string& solaLettura_;
    std::unique_ptr<Istruzione> esiste_;
    std::vector<std::string> daLiberare_, daChiudere_;
    std::map<std::string, std::string> preparate_;
    std::set<std::string> tenute_;
    std::int64_t contatore_ = 0, ultimoId_ = 0, cursori_ = 0;
    int modificate_ = 0;
};

// COPY in text form: a row is a line, its values apart by tabs, \N a null.
class FlussoPg final : public Flusso {
public:
    FlussoPg(MotorePg& m, std::string_view tabella, const char* const* colonne, std::size_t quante)
        : m_(m), quante_(quante) {
        std::string sql = "COPY " + std::string(tabella) + " (";
        for (std::size_t i = 0; i < quante; ++i) sql += (i ? ", " : "") + std::string(colonne[i]);
        sql += ") FROM STDIN";
        PGresult* r = libpq().PQexec(m_.pronta(), sql.c_str());
        if (libpq().PQresultStatus(r) != PGRES_COPY_IN) {
            libpq().PQclear(m_.verifica(r));
            throw Error(Error::Causa::Altro, "Errore del database: l'operazione non è riuscita.", "COPY non avviata");
        }
        libpq().PQclear(r);
        aperto_ = true;
    }
    ~FlussoPg() override {
        // Left half-way by an error: the server drops what it had, and so does the transaction.
        if (!aperto_) return;
        libpq().PQputCopyEnd(m_.c(), "interrotta");
        libpq().PQclear(m_.risultato());
    }
    void riga(const std::string* const* valori) override {
        for (std::size_t i = 0; i < quante_; ++i) {
            if (i) dati_ += '\t';
            if (!valori[i]) {
                dati_ += "\\N";
                continue;
            }
            for (char ch : *valori[i]) {
                switch (ch) {
                case '\\': dati_ += "\\\\"; break;
                case '\t': dati_ += "\\t"; break;
                case '\n': dati_ += "\\n"; break;
                case '\r': dati_ += "\\r"; break;
                default: dati_ += ch;
                }
            }
        }
        dati_ += '\n';
        if (dati_.size() >= kInvio) invia();
    }
    void chiudi() override {
        invia();
        aperto_ = false;
        if (libpq().PQputCopyEnd(m_.c(), nullptr) != 1) m_.fallisci(nullptr);
        // The server's answer is taken at the next request: the program meanwhile reads on.
        m_.flussoInviato();
    }

private:
    // The server stores rows while the next ones are being made.
    static constexpr std::size_t kInvio = 64 * 1024;
    void invia() {
        if (dati_.empty()) return;
        if (libpq().PQputCopyData(m_.c(), dati_.data(), static_cast<int>(dati_.size())) != 1) m_.fallisci(nullptr);
        dati_.clear();
    }

    MotorePg& m_;
    std::size_t quante_;
    std::string dati_;
    bool aperto_ = false;
};

std::unique_ptr<Flusso> MotorePg::flusso(std::string_view tabella, const char* const* colonne, std::size_t quante) {
    return std::make_unique<FlussoPg>(*this, tabella, colonne, quante);
}

IstruzionePg::~IstruzionePg() {
    lasciaAvanti();
    chiudiCursore();
    libpq().PQclear(ris_);
    libpq().PQclear(descr_);
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
    if (!descr_) descr_ = m_.verifica(libpq().PQdescribePrepared(m_.pronta(), nome_.c_str()));
    return descr_;
}

void IstruzionePg::esegui() {
    libpq().PQclear(ris_);
    ris_ = nullptr;
    riga_ = -1;
    if (lettura_ && m_.cursoriPossibili()) {
        cursore_ = m_.nuovoCursore();
        const std::string lotto = "FETCH " + std::to_string(kRigheLotto) + " FROM " + cursore_;
        ris_ = m_.conCursori("DECLARE " + cursore_ + " NO SCROLL CURSOR FOR " + testo_ + ";" + lotto);
        if (libpq().PQntuples(ris_) < kRigheLotto)
            chiudiCursore();
        else
            chiediAvanti();
        return;
    }
    std::vector<const char*> p(valori_.size());
    std::vector<int> l(valori_.size());
    for (std::size_t i = 0; i < valori_.size(); ++i) {
        p[i] = nulli_[i] ? nullptr : valori_[i].c_str();
        l[i] = static_cast<int>(valori_[i].size());
    }
    ris_ = m_.verifica(
        libpq().PQexecPrepared(m_.pronta(), nome_.c_str(), static_cast<int>(p.size()), p.data(), l.data(), nullptr, 0));
}

// The server reads the next batch while the program works on this one.
void IstruzionePg::chiediAvanti() {
    m_.chiediAvanti(this, "FETCH " + std::to_string(kRigheLotto) + " FROM " + cursore_);
}

void IstruzionePg::lasciaAvanti() {
    m_.lasciaAvanti(this);
    libpq().PQclear(std::exchange(prossimo_, nullptr));
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
        if (chiave_ && libpq().PQntuples(ris_) > 0) {
            const char* v = libpq().PQgetvalue(ris_, libpq().PQntuples(ris_) - 1, 0);
            std::from_chars(v, v + std::char_traits<char>::length(v), id);
        }
        m_.eseguita(ris_, id);
        // An insert gives back no rows, as on the file.
        if (chiave_) return false;
    }
    if (chiave_ || libpq().PQresultStatus(ris_) != PGRES_TUPLES_OK) return false;
    if (++riga_ < libpq().PQntuples(ris_)) return true;
    if (cursore_.empty()) return false;
    // The batch is read: the next one from the cursor, asked for ahead when it could be.
    libpq().PQclear(ris_);
    ris_ = nullptr;
    m_.c();
    if (prossimo_)
        ris_ = std::exchange(prossimo_, nullptr);
    else
        ris_ = m_.verifica(
            libpq().PQexec(m_.pronta(), ("FETCH " + std::to_string(kRigheLotto) + " FROM " + cursore_).c_str()));
    riga_ = 0;
    if (libpq().PQntuples(ris_) < kRigheLotto)
        chiudiCursore();
    else
        chiediAvanti();
    return riga_ < libpq().PQntuples(ris_);
}

void silenzio(void*, const char*) {}

PGconn* collega(const std::string& conninfo, const std::string& indirizzo) {
    // The address's own settings win over these defaults: it is expanded last.
    const char* chiavi[] = {"connect_timeout", "application_name", "client_encoding", "dbname", nullptr};
    const char* valori[] = {"10", "palio2015", "UTF8", conninfo.c_str(), nullptr};
    PGconn* c = libpq().PQconnectdbParams(chiavi, valori, 1);
    if (!c) throw Error(Error::Causa::Altro, "Memoria insufficiente: chiudere altri programmi e riprovare.");
    if (libpq().PQstatus(c) != CONNECTION_OK) {
        const std::string testo = rifilato(libpq().PQerrorMessage(c));
        libpq().PQfinish(c);
        throw Error(Error::Causa::Permesso,
                    "Impossibile collegarsi al server dell'archivio " + indirizzo +
                        ": controllare l'indirizzo, che il server sia acceso e la password (nel file delle "
                        "password o dei servizi di PostgreSQL).",
                    testo);
    }
    libpq().PQsetNoticeProcessor(c, silenzio, nullptr);
    return c;
}

// The first column of the one row of a query with one text parameter.
std::string valore(PGconn* c, const char* sql, const std::string& parametro) {
    const char* p[] = {parametro.c_str()};
    PGresult* r = libpq().PQexecParams(c, sql, 1, nullptr, p, nullptr, nullptr, 0);
    std::string v;
    if (libpq().PQresultStatus(r) == PGRES_TUPLES_OK && libpq().PQntuples(r) > 0) v = libpq().PQgetvalue(r, 0, 0);
    const bool riuscita = libpq().PQresultStatus(r) == PGRES_TUPLES_OK;
    const std::string testo = rifilato(libpq().PQresultErrorMessage(r));
    libpq().PQclear(r);
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
    // The case-blind text (citext) folds case by the database's LC_CTYPE: only under C does it fold
    // ASCII letters alone, as the file does, and without the slow wide-character path.
    const std::string ctype = valore(c, "select datctype from pg_database where datname = $1", libpq().PQdb(c));
    if (ctype != "C" && ctype != "POSIX")
        throw Error("Impossibile creare l'archivio " + indirizzo + ": il database del server confronta le lettere " +
                    "secondo la lingua " + ctype + ", mentre gli archivi di Palio 2015 vanno in un database " +
                    "creato con LC_CTYPE C (per esempio «createdb --locale=C --encoding=UTF8 " +
                    "--template=template0 NOME»).");
    // Text that ignores case as on the file: the server's citext type, installed once per database.
    try {
        m.exec("create extension if not exists citext");
    } catch (const Error& e) {
        // Two programs making the first archives of a new database at once: the other one's
        // installation beats this one's "if not exists", and the type is there.
        if (valore(c, "select count(*) from pg_extension where extname = $1", "citext") == "0")
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
