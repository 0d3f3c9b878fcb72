#include "storage/connection.h"

#include <sqlite3.h>

#include <filesystem>

#include "storage/error.h"

namespace storage {

namespace {
[[noreturn]] void fallisci(sqlite3* db, std::string_view cosa) {
    std::string testo = "Errore del database";
    if (!cosa.empty()) testo += " (" + std::string(cosa) + ")";
    testo += ": ";
    testo += db ? sqlite3_errmsg(db) : "connessione non aperta";
    throw Error(testo);
}
}  // namespace

Statement::Statement(Connection& conn, std::string_view sql) : conn_(&conn) {
    if (!conn.isOpen()) throw Error("Errore del database: connessione non aperta");
    if (sqlite3_prepare_v2(conn.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                           nullptr) != SQLITE_OK)
        fallisci(conn.handle(), sql);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& o) noexcept : conn_(o.conn_), stmt_(o.stmt_) {
    o.stmt_ = nullptr;
}

Statement& Statement::bind(int i, std::string_view testo) {
    if (sqlite3_bind_text(stmt_, i, testo.data(), static_cast<int>(testo.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        fallisci(conn_->handle(), "bind");
    return *this;
}

Statement& Statement::bind(int i, std::int64_t numero) {
    if (sqlite3_bind_int64(stmt_, i, numero) != SQLITE_OK) fallisci(conn_->handle(), "bind");
    return *this;
}

Statement& Statement::bindNull(int i) {
    if (sqlite3_bind_null(stmt_, i) != SQLITE_OK) fallisci(conn_->handle(), "bind");
    return *this;
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fallisci(conn_->handle(), sqlite3_sql(stmt_));
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
    sqlite3* db = nullptr;
    // Never create the file here: a missing archive is the start-up's business.
    // One connection per process, used by one thread: no need for SQLite's own locking.
    int rc = sqlite3_open_v2(percorso.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string testo = "Impossibile aprire il database " + percorso + ": " +
                            (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        throw Error(testo);
    }
    db_ = db;
    percorso_ = percorso;
    sqlite3_busy_timeout(db_, 5000);
    try {
        // Reading a page proves the file is a database; WAL lets a second process read while we write.
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=NORMAL");
        exec("PRAGMA foreign_keys=OFF");
    } catch (const Error& e) {
        close();
        throw Error("Impossibile aprire il database " + percorso + ": " + e.what());
    }
}

void Connection::crea(const std::string& percorso) {
    if (std::filesystem::exists(percorso))
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
        std::filesystem::remove(percorso);
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
    char* err = nullptr;
    if (sqlite3_exec(db_, testo.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = std::string("Errore del database: ") + (err ? err : "sconosciuto");
        sqlite3_free(err);
        throw Error(msg);
    }
}

std::int64_t Connection::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Connection::changes() const { return sqlite3_changes(db_); }

std::string Connection::lastError() const { return db_ ? sqlite3_errmsg(db_) : ""; }

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

}  // namespace storage
