#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace storage {

class Connection;

// One prepared SQL statement; values are bound by position (1-based), never pasted into the text.
class Statement {
public:
    Statement(Connection& conn, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& o) noexcept;

    Statement& bind(int indice, std::string_view testo);
    // The text is not copied: it must stay where and as it is until reset() (which clears the
    // values bound). For rows appended by the hundred thousand.
    Statement& bindSenzaCopia(int indice, std::string_view testo);
    Statement& bind(int indice, std::int64_t numero);
    Statement& bindNull(int indice);
    // Advances to the next row; false at the end. Throws on error.
    bool step();
    void reset();

    int columnCount() const;
    std::string columnName(int i) const;
    bool isNull(int i) const;
    // Null reads as empty text.
    std::string_view text(int i) const;
    std::int64_t integer(int i) const;

    sqlite3_stmt* handle() const { return stmt_; }

private:
    Connection* conn_;
    sqlite3_stmt* stmt_ = nullptr;
};

// The one connection of a process to the archive file.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file, for reading only when it cannot be written; throws Error
    // with the operator's sentence and the engine's text when it can't, and refuses a database
    // without the archive's tables before writing anything to it. An empty file (0 bytes) opens
    // untouched, for the start-up to give it the tables.
    void open(const std::string& percorso);
    // Why the open archive cannot be written ("" when it can).
    const std::string& solaLettura() const { return solaLettura_; }
    // For commands that write: throws "L'archivio X è in sola lettura: ..." when it cannot be written.
    void richiediScrittura() const;
    // Creates a new database file with the archive's tables; refuses an existing file.
    static void crea(const std::string& percorso);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const std::string& percorso() const { return percorso_; }

    void exec(std::string_view sql);
    std::int64_t lastInsertId() const;
    int changes() const;
    std::string lastError() const;
    sqlite3* handle() const { return db_; }
    // Throws the operator's message for an engine result code.
    [[noreturn]] void fallisci(int codice) const;

private:
    bool apri(const std::string& nome, int modo);
    // True when the open file holds the archive's tables; false for an empty file (0 bytes);
    // otherwise closes and throws "Il file X non è un archivio di Palio 2015: ...".
    bool provaArchivio();

    sqlite3* db_ = nullptr;
    std::string percorso_, solaLettura_;
    int codiceApertura_ = 0;
};

// Everything between construction and commit() is kept or dropped as one.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    void commit();

private:
    Connection& conn_;
    bool chiusa_ = false;
};

// A read transaction: one consistent view of the archive for a whole run, and faster reads.
// Inside a transaction already open it adds nothing.
class Lettura {
public:
    explicit Lettura(Connection& conn);
    ~Lettura();
    Lettura(const Lettura&) = delete;
    Lettura& operator=(const Lettura&) = delete;

private:
    Connection& conn_;
    bool aperta_ = false;
};

// The archive's tables the open database lacks, comma separated; "" for an archive.
std::string TabelleMancanti(Connection& conn);

// Text of the archive's tables, as stored in storage/schema.sql.
std::string_view schemaSql();

// The record of imports, one row per import run (file, size, SHA-256, kind, time, counts):
// created in an archive that lacks it. Connection::open calls it, so older archives gain it.
void PreparaImportazioni(Connection& conn);

// The indexes storage/schema.sql declares "CREATE INDEX IF NOT EXISTS", created in an archive
// that lacks them; Connection::open calls it too.
void PreparaIndici(Connection& conn);

}  // namespace storage
