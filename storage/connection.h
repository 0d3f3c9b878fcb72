#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace storage {

class Connection;
namespace motore {
class Motore;
class Istruzione;
}  // namespace motore

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

private:
    std::unique_ptr<motore::Istruzione> st_;
};

// The one connection of a process to the archive: a database file (SQLite) or one schema of a
// PostgreSQL server.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing database file, for reading only when it cannot be written; throws Error
    // with the operator's sentence and the engine's text when it can't, and refuses a database
    // without the archive's tables before writing anything to it. An empty file (0 bytes) opens
    // untouched, for the start-up to give it the tables. An archive of an older version is
    // brought to this one, once, in one transaction.
    // A server address (see indirizzoServer) opens the archive's schema on that server.
    void open(const std::string& percorso);
    // True for the address of an archive on a PostgreSQL server: a libpq connection URI
    // ("postgresql://host:porta/db?schema=rossi") or key=value string ("service=palio schema=rossi");
    // "schema" names the agent's schema (default "palio2015").
    static bool indirizzoServer(const std::string& indirizzo);
    bool suServer() const;
    // Why the open archive cannot be written ("" when it can).
    const std::string& solaLettura() const { return solaLettura_; }
    // For commands that write: throws "L'archivio X è in sola lettura: ..." when it cannot be written.
    void richiediScrittura() const;
    // Creates a new database file with the archive's tables; refuses an existing file. For a
    // server address, creates the schema with the tables; refuses a schema that exists.
    static void crea(const std::string& percorso);
    void close();
    bool isOpen() const { return motore_ != nullptr; }
    const std::string& percorso() const { return percorso_; }

    void exec(std::string_view sql);
    std::int64_t lastInsertId() const;
    int changes() const;
    std::string lastError() const;
    // How long a statement waits for a lock another program holds before it fails as busy.
    void attesaOccupato(int millisecondi);
    // The engine, for storage/ itself.
    motore::Motore& motore() const;

private:
    // True when the open file holds the archive's tables; false for an empty file (0 bytes);
    // otherwise closes and throws "Il file X non è un archivio di Palio 2015: ...".
    bool provaArchivio();

    std::unique_ptr<motore::Motore> motore_;
    std::string percorso_, solaLettura_;
};

// Everything between construction and commit() is kept or dropped as one. Inside a transaction
// already open it is a part of it (a savepoint): dropped alone, kept only with the whole.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    void commit();

private:
    Connection& conn_;
    bool chiusa_ = false;
    bool interna_ = false;
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

// Text of the archive's tables, as stored in storage/schema.sql (SQLite's dialect).
std::string_view schemaSql();

// The record of imports: kept for callers of older archives opened for reading; an archive
// opened for writing has it since its upgrade (storage/schema.h).
void PreparaImportazioni(Connection& conn);

}  // namespace storage
