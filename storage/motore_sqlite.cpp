#include "storage/motore_sqlite.h"

#include <sqlite3.h>

#include <filesystem>

#include "storage/connection.h"
#include "storage/error.h"
#include "storage/schema.h"
#include "storage/sistema.h"

namespace storage::motore {

namespace {

// The operator's sentence for an engine failure: what happened and what to do, without the SQL.
Error erroreDatabase(int codice, const std::string& percorso, const std::string& solaLettura,
                     const std::string& motore) {
    using C = Error::Causa;
    const std::string archivio = percorso.empty() ? "L'archivio" : "L'archivio " + percorso;
    switch (codice & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Error(C::Occupato, "L'archivio è in uso da un altro programma: riprovare quando ha finito.", motore);
    case SQLITE_FULL: return Error(C::Pieno, "Il disco dell'archivio è pieno: liberare spazio e riprovare.", motore);
    case SQLITE_READONLY:
        return Error(
            C::SolaLettura,
            archivio + " è in sola lettura: " + (solaLettura.empty() ? "non si può modificare" : solaLettura) + ".",
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
                     archivio + " è danneggiato o non è un archivio: ripristinarne una copia di sicurezza.", motore);
    case SQLITE_IOERR:
        return Error(C::Altro,
                     "Errore di lettura o scrittura sul disco dell'archivio: controllare il disco e riprovare.",
                     motore);
    case SQLITE_NOMEM: return Error(C::Altro, "Memoria insufficiente: chiudere altri programmi e riprovare.", motore);
    default: return Error(C::Altro, "Errore del database: l'operazione non è riuscita.", motore);
    }
}

// SQLite's memory statistics take a global lock at every allocation, and nothing here reads
// them: off before the library starts (an import allocates for each value it stores).
[[maybe_unused]] const int kSenzaStatistiche = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);

class MotoreSqlite;

class IstruzioneSqlite final : public Istruzione {
public:
    IstruzioneSqlite(MotoreSqlite& m, sqlite3_stmt* st) : m_(m), st_(st) {}
    ~IstruzioneSqlite() override { sqlite3_finalize(st_); }
    void bind(int i, std::string_view testo, bool copia) override;
    void bind(int i, std::int64_t numero) override;
    void bindNull(int i) override;
    bool step() override;
    void reset() override {
        sqlite3_reset(st_);
        sqlite3_clear_bindings(st_);
    }
    int columnCount() const override { return sqlite3_column_count(st_); }
    std::string columnName(int i) const override { return sqlite3_column_name(st_, i); }
    bool isNull(int i) const override { return sqlite3_column_type(st_, i) == SQLITE_NULL; }
    std::string_view text(int i) const override {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
        if (!p) return {};
        return {p, static_cast<std::size_t>(sqlite3_column_bytes(st_, i))};
    }
    std::int64_t integer(int i) const override { return sqlite3_column_int64(st_, i); }

private:
    MotoreSqlite& m_;
    sqlite3_stmt* st_;
};

class MotoreSqlite final : public Motore {
public:
    MotoreSqlite(sqlite3* db, const std::string& percorso, const std::string& solaLettura)
        : db_(db), percorso_(percorso), solaLettura_(solaLettura) {}
    ~MotoreSqlite() override { sqlite3_close_v2(db_); }

    [[noreturn]] void fallisci(int codice) const {
        throw erroreDatabase(codice, percorso_, solaLettura_, db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(codice));
    }
    Tipo tipo() const override { return Tipo::SQLite; }
    std::unique_ptr<Istruzione> prepara(std::string_view sql) override {
        sqlite3_stmt* st = nullptr;
        const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &st, nullptr);
        if (rc != SQLITE_OK) fallisci(rc);
        return std::make_unique<IstruzioneSqlite>(*this, st);
    }
    void exec(std::string_view sql) override {
        const std::string testo(sql);
        if (const int rc = sqlite3_exec(db_, testo.c_str(), nullptr, nullptr, nullptr); rc != SQLITE_OK) fallisci(rc);
    }
    std::int64_t lastInsertId() override { return sqlite3_last_insert_rowid(db_); }
    int changes() const override { return sqlite3_changes(db_); }
    std::string lastError() const override { return sqlite3_errmsg(db_); }
    bool inTransazione() const override { return !sqlite3_get_autocommit(db_); }
    std::string_view inizioScrittura() const override { return "BEGIN IMMEDIATE"; }
    std::string_view inizioLettura() const override { return "BEGIN"; }
    bool esisteTabella(std::string_view nome) override {
        if (!esiste_) esiste_ = prepara("select 1 from sqlite_master where type = 'table' and name = ? collate nocase");
        esiste_->reset();
        esiste_->bind(1, nome, true);
        const bool c = esiste_->step();
        esiste_->reset();
        return c;
    }
    void attesaOccupato(int ms) override { sqlite3_busy_timeout(db_, ms); }
    sqlite3* db() const { return db_; }

private:
    sqlite3* db_;
    const std::string& percorso_;
    const std::string& solaLettura_;
    std::unique_ptr<Istruzione> esiste_;
};

void IstruzioneSqlite::bind(int i, std::string_view testo, bool copia) {
    const int rc = sqlite3_bind_text(st_, i, testo.data(), static_cast<int>(testo.size()),
                                     copia ? SQLITE_TRANSIENT : SQLITE_STATIC);
    if (rc != SQLITE_OK) m_.fallisci(rc);
}

void IstruzioneSqlite::bind(int i, std::int64_t numero) {
    if (const int rc = sqlite3_bind_int64(st_, i, numero); rc != SQLITE_OK) m_.fallisci(rc);
}

void IstruzioneSqlite::bindNull(int i) {
    if (const int rc = sqlite3_bind_null(st_, i); rc != SQLITE_OK) m_.fallisci(rc);
}

bool IstruzioneSqlite::step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    m_.fallisci(rc);
}

// Opens the file in this mode; nullptr when the engine says it cannot be opened or written
// (codice tells which), throws for any other failure.
sqlite3* apri(const std::string& nome, int modo, int& codice, const std::string& percorso,
              const std::string& solaLettura) {
    sqlite3* db = nullptr;
    codice = sqlite3_open_v2(nome.c_str(), &db, modo, nullptr);
    if (codice != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    // Reading a page proves the file is a database; WAL lets a second process read while we write,
    // and is set only once the file is known to be an archive (Connection::open).
    for (const char* sql :
         {"select count(*) from sqlite_master", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=OFF"}) {
        codice = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        if (codice != SQLITE_OK) {
            const auto errore = erroreDatabase(codice, percorso, solaLettura, sqlite3_errmsg(db));
            sqlite3_close_v2(db);
            const int primario = codice & 0xff;
            if (primario == SQLITE_CANTOPEN || primario == SQLITE_READONLY) return nullptr;
            throw errore;
        }
    }
    return db;
}

}  // namespace

std::unique_ptr<Motore> apriSqlite(const std::string& percorso, std::string& solaLettura) {
    int codice = 0;
    // Never create the file here: a missing archive is the start-up's business.
    // One connection per process, used by one thread: no need for SQLite's own locking.
    if (solaLettura.empty()) {
        if (sqlite3* db = apri(percorso, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, codice, percorso, solaLettura))
            return std::make_unique<MotoreSqlite>(db, percorso, solaLettura);
        if ((codice & 0xff) != SQLITE_READONLY)
            throw erroreDatabase(codice, percorso, solaLettura, sqlite3_errstr(codice));
        solaLettura = "il sistema non ne consente la scrittura";
    }
    if (sqlite3* db = apri(percorso, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, codice, percorso, solaLettura))
        return std::make_unique<MotoreSqlite>(db, percorso, solaLettura);
    // On a medium nobody can write, a WAL archive has no place for its shared-memory file:
    // read it as it stands.
    std::string uri = "file:";
    for (char c : percorso) uri += c == '%' ? "%25" : c == '?' ? "%3f" : c == '#' ? "%23" : std::string(1, c);
    if (sqlite3* db = apri(uri + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, codice,
                           percorso, solaLettura))
        return std::make_unique<MotoreSqlite>(db, percorso, solaLettura);
    throw erroreDatabase(codice, percorso, solaLettura, sqlite3_errstr(codice));
}

void creaSqlite(const std::string& percorso) {
    if (std::filesystem::exists(sistema::nativo(percorso)))
        throw Error("Il file " + percorso + " esiste già: l'archivio non è stato creato.");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(percorso.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        std::string testo =
            "Impossibile creare il database " + percorso + ": " + (db ? sqlite3_errmsg(db) : "errore sconosciuto");
        sqlite3_close(db);
        throw Error(testo);
    }
    std::string sql = "BEGIN;\n" + schema::creazione(Tipo::SQLite) + "\nCOMMIT;";
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string testo = "Impossibile creare le tabelle in " + percorso + ": " + (err ? err : "errore sconosciuto");
        sqlite3_free(err);
        sqlite3_close(db);
        std::filesystem::remove(sistema::nativo(percorso));
        throw Error(testo);
    }
    sqlite3_close(db);
}

sqlite3* handleSqlite(const Connection& conn) {
    if (!conn.isOpen() || conn.motore().tipo() != Tipo::SQLite) return nullptr;
    return static_cast<const MotoreSqlite&>(conn.motore()).db();
}

}  // namespace storage::motore
