#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/connection.h"
#include "storage/row.h"
#include "storage/tabelle.h"

namespace storage {

// What a Dataset lists: the rows of one table, under a condition, in an order. The named
// functions of storage/elenchi.h build them; condition and order are storage's own SQL fragments.
struct Righe {
    Tabella tabella = Tabella::Zefo1;
    std::string condizione;              // "" for every row
    std::vector<std::string> parametri;  // bound to the condition's "?" in order
    std::string ordine;                  // "" for the key's order
    bool primaSola = false;              // only the first row in that order
};

// A result set over one table, opened from what it lists: it keeps the keys of its
// rows, not the rows, and reads the current row when it becomes current, so a list of a hundred
// thousand certificates opens at once. Edits are pending until post(); moving to another row
// posts them, close() and cancel() drop them.
class Dataset {
public:
    enum class State { Closed, Browse, Edit, Insert };

    explicit Dataset(Connection& conn);

    void open(Righe righe);
    void close();
    // Re-runs the same query (pending changes dropped), keeping the current key when still present.
    void requery();
    bool isOpen() const { return stato_ != State::Closed; }
    State state() const { return stato_; }
    Tabella tabella() const { return righe_.tabella; }
    // The table's name as the archive spells it.
    std::string table() const { return NomeTabella(righe_.tabella); }
    const Columns& columns() const { return *colonne_; }

    std::size_t rowCount() const { return chiavi_.size(); }
    bool isEmpty() const { return chiavi_.empty(); }
    // Position of the current row, 0-based; equals rowCount() past the end.
    std::size_t position() const { return pos_; }
    bool eof() const { return pos_ >= chiavi_.size(); }
    bool bof() const { return bof_; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(std::size_t posizione);
    // Moves to the row with this key; false (and no move) when the list does not hold it.
    bool locate(std::int64_t chiave);
    // Position of the row with this key in the list; nullopt when the list does not hold it.
    std::optional<std::size_t> positionOf(std::int64_t chiave) const;
    // Key (the table's key column) of the current row; 0 with no current row or on a row being appended.
    std::int64_t key() const;
    const std::vector<std::int64_t>& keys() const { return chiavi_; }

    // The current row's value, pending changes included; a null or no current row reads as "".
    std::string text(std::string_view colonna) const;
    std::int64_t integer(std::string_view colonna) const;
    const Row& row() const { return riga_; }

    void edit();
    void append();
    // Puts the row into edit state if it is browsed.
    void setText(std::string_view colonna, std::string_view valore);
    void setNull(std::string_view colonna);
    // Writes the pending changes with a parameterised UPDATE or INSERT; an appended row joins
    // the list at the end and stays current. On a failure (the row removed meanwhile by another
    // operation, a busy archive) the row stays in edit with its pending changes.
    void post();
    void cancel();
    // Deletes the current row; the next row (or the previous at the end) becomes current.
    void remove();
    bool modified() const;

private:
    void leggiCorrente();
    void postSeModificato();
    void scrivi(const std::vector<std::size_t>& cambiate, const std::function<int(Statement&)>& legaValori);
    void caricaChiavi();

    Connection& conn_;
    State stato_ = State::Closed;
    Righe righe_;
    std::string chiaveSql_;
    std::shared_ptr<const Columns> colonne_;
    std::vector<std::int64_t> chiavi_;
    std::size_t pos_ = 0;
    bool bof_ = true;
    Row riga_;
    std::vector<std::optional<std::string>> modifiche_;  // per column; nullopt = unchanged
    std::vector<bool> nulle_;                            // pending "set to null"
    std::unique_ptr<Statement> leggi_;
};

}  // namespace storage
