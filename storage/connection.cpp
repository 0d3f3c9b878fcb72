#include "storage/connection.h"
#include "storage/invii.h"

#include <sqlite3.h>

#include <filesystem>

#include "storage/error.h"
#include "storage/sistema.h"

namespace storage {

namespace {

// The operator's sentence for an engine failure: what happened and what to do, without the SQL.
Error erroreDatabase(int codice, const std::string& percorso, const std::string& solaLettura,
                     const std::string& motore) {
    using C = Error::Causa;
    const std::string archivio = percorso.empty() ? "L'archivio" : "L'archivio " + percorso;
    switch (codice & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Error(C::Occupato, "L'archivio è in uso da un altro programma: riprovare quando ha finito.",
                         motore);
        case SQLITE_FULL:
            return Error(C::Pieno, "Il disco dell'archivio è pieno: liberare spazio e riprovare.", motore);
        case SQLITE_READONLY:
            return Error(C::SolaLettura,
                         archivio + " è in sola lettura: " +
                             (solaLettura.empty() ? "non si può modificare" : solaLettura) + ".",
                         motore);
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN:
            return Error(C::Permesso,
                         "Impossibile usare " + (percorso.empty() ? "l'archivio" : "l'archivio " + percorso) +
                             ": controllare che esista e che i permessi del file e della cartella lo consentano.",
                         motore);
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return Error(C::Danneggiato,
                         archivio + " è danneggiato o non è un archivio: ripristinarne una copia di sicurezza.",
                         motore);
        case SQLITE_IOERR:
            return Error(C::Altro, "Errore di lettura o scrittura sul disco dell'archivio: controllare il disco e riprovare.",
                         motore);
        case SQLITE_NOMEM:
            return Error(C::Altro, "Memoria insufficiente: chiudere altri programmi e riprovare.", motore);
        default:
            return Error(C::Altro, "Errore del database: l'operazione non è riuscita.", motore);
    }
}

// SQLite's memory statistics take a global lock at every allocation, and nothing here reads
// them: off before the library starts (an import allocates for each value it stores).
[[maybe_unused]] const int kSenzaStatistiche = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);

}  // namespace

[[noreturn]] void Connection::fallisci(int codice) const {
    throw erroreDatabase(codice, percorso_, solaLettura_,
                         db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(codice));
}

Statement::Statement(Connection& conn, std::string_view sql) : conn_(&conn) {
    if (!conn.isOpen()) throw Error("Errore del database: connessione non aperta");
    const int rc = sqlite3_prepare_v2(conn.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) conn.fallisci(rc);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& o) noexcept : conn_(o.conn_), stmt_(o.stmt_) {
    o.stmt_ = nullptr;
}

Statement& Statement::bind(int i, std::string_view testo) {
    const int rc = sqlite3_bind_text(stmt_, i, testo.data(), static_cast<int>(testo.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) conn_->fallisci(rc);
    return *this;
}

Statement& Statement::bindSenzaCopia(int i, std::string_view testo) {
    const int rc = sqlite3_bind_text(stmt_, i, testo.data(), static_cast<int>(testo.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK) conn_->fallisci(rc);
    return *this;
}

Statement& Statement::bind(int i, std::int64_t numero) {
    if (const int rc = sqlite3_bind_int64(stmt_, i, numero); rc != SQLITE_OK) conn_->fallisci(rc);
    return *this;
}

Statement& Statement::bindNull(int i) {
    if (const int rc = sqlite3_bind_null(stmt_, i); rc != SQLITE_OK) conn_->fallisci(rc);
    return *this;
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    conn_->fallisci(rc);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::columnName(int i) const { return sqlite3_column_name(stmt_, i); }

bool Statement::isNull(int i) const { return sqlite3_column_type(stmt_, i) == SQLITE_NULL; }

std::string_view Statement::text(int i) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    if (!p) return {};
    return {p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i))};
}

std::int64_t Statement::integer(int i) const { return sqlite3_column_int64(stmt_, i); }

Connection::~Connection() { close(); }

void Connection::open(const std::string& percorso) {
    close();
    percorso_ = percorso;
    // An archive that cannot be written is opened for reading: what only reads still works, and
    // a write says why it cannot.
    solaLettura_ = percorso == ":memory:" ? std::string() : sistema::impedimentoScrittura(percorso);
    // Never create the file here: a missing archive is the start-up's business.
    // One connection per process, used by one thread: no need for SQLite's own locking.
    if (solaLettura_.empty()) {
        if (apri(percorso, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX)) {
            // Nothing is written before the file is known to be an archive; an empty one (0
            // bytes) is left for the start-up to fill.
            if (percorso != ":memory:" && !provaArchivio()) return;
            // Older archives gain the record of imports here; one that turns out busy or
            // unwritable says so at its first import instead.
            try {
                exec("PRAGMA journal_mode=WAL");
                PreparaImportazioni(*this);
                PreparaInvii(*this);
                PreparaIndici(*this);
            } catch (const Error&) {
            }
            return;
        }
        if ((codiceApertura_ & 0xff) != SQLITE_READONLY) fallisci(codiceApertura_);
        solaLettura_ = "il sistema non ne consente la scrittura";
    }
    if (!apri(percorso, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX)) {
        // On a medium nobody can write, a WAL archive has no place for its shared-memory file:
        // read it as it stands.
        std::string uri = "file:";
        for (char c : percorso) uri += c == '%' ? "%25" : c == '?' ? "%3f" : c == '#' ? "%23" : std::string(1, c);
        if (!apri(uri + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI))
            fallisci(codiceApertura_);
    }
    provaArchivio();
}

bool Connection::provaArchivio() {
    const std::string mancanti = TabelleMancanti(*this);
    if (mancanti.empty()) return true;
    std::error_code ec;
    if (std::filesystem::file_size(sistema::nativo(percorso_), ec) == 0 && !ec) return false;
    close();
    throw Error(Error::Causa::NonArchivio,
                "Il file " + percorso_ + " non è un archivio di Palio 2015: mancano le tabelle " + mancanti + ".");
}

bool Connection::apri(const std::string& nome, int modo) {
    sqlite3* db = nullptr;
    codiceApertura_ = sqlite3_open_v2(nome.c_str(), &db, modo, nullptr);
    if (codiceApertura_ != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    db_ = db;
    sqlite3_busy_timeout(db_, 5000);
    // Reading a page proves the file is a database; WAL lets a second process read while we write,
    // and is set only once the file is known to be an archive (open()).
    for (const char* sql : {"select count(*) from sqlite_master", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=OFF"}) {
        codiceApertura_ = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
        if (codiceApertura_ != SQLITE_OK) {
            const auto errore = erroreDatabase(codiceApertura_, percorso_, solaLettura_, sqlite3_errmsg(db_));
            close();
            const int primario = codiceApertura_ & 0xff;
            if (primario == SQLITE_CANTOPEN || primario == SQLITE_READONLY) return false;
            throw errore;
        }
    }
    return true;
}

void Connection::richiediScrittura() const {
    if (!solaLettura_.empty())
        throw Error(Error::Causa::SolaLettura, "L'archivio " + percorso_ + " è in sola lettura: " + solaLettura_ + ".");
}

void Connection::crea(const std::string& percorso) {
    if (std::filesystem::exists(sistema::nativo(percorso)))
        throw Error("Il file " + percorso + " esiste già: l'archivio non è stato creato.");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(percorso.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        std::string testo = "Impossibile creare il database " + percorso + ": " +
                            (db ? sqlite3_errmsg(db) : "errore sconosciuto");
        sqlite3_close(db);
        throw Error(testo);
    }
    std::string sql = "BEGIN;\n" + std::string(schemaSql()) + "\nCOMMIT;";
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string testo = "Impossibile creare le tabelle in " + percorso + ": " +
                            (err ? err : "errore sconosciuto");
        sqlite3_free(err);
        sqlite3_close(db);
        std::filesystem::remove(sistema::nativo(percorso));
        throw Error(testo);
    }
    sqlite3_close(db);
}

void Connection::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Connection::exec(std::string_view sql) {
    if (!db_) throw Error("Errore del database: connessione non aperta");
    std::string testo(sql);
    if (const int rc = sqlite3_exec(db_, testo.c_str(), nullptr, nullptr, nullptr); rc != SQLITE_OK) fallisci(rc);
}

std::int64_t Connection::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Connection::changes() const { return sqlite3_changes(db_); }

std::string Connection::lastError() const { return db_ ? sqlite3_errmsg(db_) : ""; }

std::string TabelleMancanti(Connection& conn) {
    static const char* const kTabelle[] = {"Parametri", "SostitutoImposta", "QuadroCt", "Zefo1",
                                           "Zefo2",     "Zefo3",            "Professionisti"};
    std::string mancanti;
    Statement st(conn, "select count(*) from sqlite_master where type = 'table' and name = ? collate nocase");
    for (const char* t : kTabelle) {
        st.reset();
        st.bind(1, std::string_view(t));
        st.step();
        if (st.integer(0) == 0) mancanti += (mancanti.empty() ? "" : ", ") + std::string(t);
    }
    return mancanti;
}

void PreparaImportazioni(Connection& conn) {
    {
        Statement c(conn, "select 1 from sqlite_master where type = 'table' and name = 'Importazioni'");
        if (c.step()) return;
    }
    conn.exec(
        "create table if not exists Importazioni (ID integer primary key autoincrement, "
        "File text collate nocase, Dimensione integer, Sha256 text, Tipo text collate nocase, "
        "Quando text, Certificati integer, RigheAggiuntive integer)");
}

void PreparaIndici(Connection& conn) {
    constexpr std::string_view kInizio = "CREATE INDEX IF NOT EXISTS ";
    std::string mancanti;
    const std::string_view schema = schemaSql();
    for (std::size_t i = schema.find(kInizio); i != std::string_view::npos; i = schema.find(kInizio, i + 1)) {
        const std::string_view riga = schema.substr(i, schema.find(';', i) - i + 1);
        const std::string_view nome = riga.substr(kInizio.size(), riga.find(' ', kInizio.size()) - kInizio.size());
        Statement c(conn, "select 1 from sqlite_master where type = 'index' and name = ?");
        c.bind(1, std::string(nome));
        if (!c.step()) mancanti += std::string(riga) + "\n";
    }
    // Nothing is written when every index is there: opening stays a read.
    if (!mancanti.empty()) conn.exec(mancanti);
}

Transaction::Transaction(Connection& conn) : conn_(conn) { conn_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (!chiusa_) {
        try {
            conn_.exec("ROLLBACK");
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    conn_.exec("COMMIT");
    chiusa_ = true;
}

Lettura::Lettura(Connection& conn) : conn_(conn) {
    if (!conn_.isOpen() || !sqlite3_get_autocommit(conn_.handle())) return;
    conn_.exec("BEGIN");
    aperta_ = true;
}

Lettura::~Lettura() {
    if (!aperta_) return;
    try {
        conn_.exec("COMMIT");
    } catch (...) {
    }
}

}  // namespace storage
