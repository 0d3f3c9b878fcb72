#pragma once

// The database engines behind storage::Connection: what an engine must do, without its types.
// Only storage/ includes this header.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "storage/error.h"

namespace storage::motore {

// One prepared statement of an engine; parameters are 1-based, columns 0-based.
class Istruzione {
public:
    virtual ~Istruzione() = default;
    virtual void bind(int indice, std::string_view testo, bool copia) = 0;
    virtual void bind(int indice, std::int64_t numero) = 0;
    virtual void bindNull(int indice) = 0;
    virtual bool step() = 0;
    virtual void reset() = 0;
    virtual int columnCount() const = 0;
    virtual std::string columnName(int i) const = 0;
    virtual bool isNull(int i) const = 0;
    virtual std::string_view text(int i) const = 0;
    virtual std::int64_t integer(int i) const = 0;
};

enum class Tipo { SQLite, PostgreSQL };

// Rows appended to one table as one stream (the server's COPY), in the order given.
class Flusso {
public:
    virtual ~Flusso() = default;
    // One row: a value per column named when the stream was opened, a null pointer for a null.
    virtual void riga(const std::string* const* valori) = 0;
    // The last row given: a failure to store them is thrown here or by the next request.
    virtual void chiudi() = 0;
};

// One open connection of an engine to one archive.
class Motore {
public:
    virtual ~Motore() = default;
    virtual Tipo tipo() const = 0;
    virtual std::unique_ptr<Istruzione> prepara(std::string_view sql) = 0;
    // Runs one or more statements separated by ";", with no parameters and no rows.
    virtual void exec(std::string_view sql) = 0;
    virtual std::int64_t lastInsertId() = 0;
    virtual int changes() const = 0;
    virtual std::string lastError() const = 0;
    virtual bool inTransazione() const = 0;
    // The beginning of a transaction that writes, and of one that reads a single snapshot.
    virtual std::string_view inizioScrittura() const = 0;
    virtual std::string_view inizioLettura() const = 0;
    virtual bool esisteTabella(std::string_view nome) = 0;
    // Engine waits on a lock held by another program for at most this long.
    virtual void attesaOccupato(int millisecondi) = 0;
    // A stream of rows for the table's columns, where the engine has one faster than a statement of
    // many rows; nullptr where it has not (the file: its statements cost no round trip).
    virtual std::unique_ptr<Flusso> flusso(std::string_view tabella, const char* const* colonne, std::size_t quante) {
        (void)tabella, (void)colonne, (void)quante;
        return nullptr;
    }
};

}  // namespace storage::motore
