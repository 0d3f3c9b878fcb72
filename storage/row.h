#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace storage {

class Statement;

// Column names of a result, matched without regard to case ("Zefo2.ID" and "id" are one column).
class Columns {
public:
    explicit Columns(std::vector<std::string> nomi);
    static std::shared_ptr<const Columns> of(const Statement& stmt);

    // -1 when the result has no such column.
    int indexOf(std::string_view nome) const;
    // Throws Error naming the column when there is none.
    int require(std::string_view nome) const;
    std::size_t size() const { return nomi_.size(); }
    const std::string& name(std::size_t i) const { return nomi_[i]; }
    const std::vector<std::string>& names() const { return nomi_; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept;
    };
    struct Eq {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };
    std::vector<std::string> nomi_;
    std::unordered_map<std::string, int, Hash, Eq> indice_;
};

// One row read from the archive: every value as text, a null read as empty text.
class Row {
public:
    Row() = default;
    Row(std::shared_ptr<const Columns> colonne, std::vector<std::string> valori);
    // Copies the statement's current row.
    static Row from(const Statement& stmt, std::shared_ptr<const Columns> colonne);
    // Copies the statement's current row into this one, reusing the room its values already have.
    void assegna(const Statement& stmt, const std::shared_ptr<const Columns>& colonne);
    // Becomes the empty row, keeping that room for the next assegna().
    void svuota() { colonne_.reset(); }

    bool empty() const { return !colonne_; }
    bool has(std::string_view nome) const { return colonne_ && colonne_->indexOf(nome) >= 0; }
    // Text of a column; an empty row reads every column as empty text.
    const std::string& text(std::string_view nome) const;
    std::int64_t integer(std::string_view nome) const;
    const std::string& at(std::size_t i) const { return valori_[i]; }
    std::string& at(std::size_t i) { return valori_[i]; }
    const std::shared_ptr<const Columns>& columns() const { return colonne_; }

private:
    std::shared_ptr<const Columns> colonne_;
    std::vector<std::string> valori_;
};

// Whole-number reading of a stored text ("" and non-numbers read as 0).
std::int64_t toInteger(std::string_view testo);

}  // namespace storage
