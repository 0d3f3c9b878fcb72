#pragma once

// The database engines behind storage::Connection: what an engine must do, without its types.
// Only storage/ includes this header.

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
};

}  // namespace storage::motore
