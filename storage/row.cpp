#include "storage/row.h"

#include <charconv>

#include "storage/connection.h"
#include "storage/error.h"

namespace storage {

namespace {
inline char basso(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
const std::string kVuoto;
}  // namespace

std::size_t Columns::Hash::operator()(std::string_view s) const noexcept {
    std::size_t h = 1469598103934665603ull;
    for (char c : s) h = (h ^ static_cast<unsigned char>(basso(c))) * 1099511628211ull;
    return h;
}

bool Columns::Eq::operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (basso(a[i]) != basso(b[i])) return false;
    return true;
}

Columns::Columns(std::vector<std::string> nomi) : nomi_(std::move(nomi)) {
    for (std::size_t i = 0; i < nomi_.size(); ++i) indice_.emplace(nomi_[i], static_cast<int>(i));
}

std::shared_ptr<const Columns> Columns::of(const Statement& stmt) {
    std::vector<std::string> nomi;
    for (int i = 0; i < stmt.columnCount(); ++i) nomi.push_back(stmt.columnName(i));
    return std::make_shared<const Columns>(std::move(nomi));
}

int Columns::indexOf(std::string_view nome) const {
    auto it = indice_.find(nome);
    return it == indice_.end() ? -1 : it->second;
}

int Columns::require(std::string_view nome) const {
    int i = indexOf(nome);
    if (i < 0) throw Error("Colonna inesistente: " + std::string(nome));
    return i;
}

Row::Row(std::shared_ptr<const Columns> colonne, std::vector<std::string> valori)
    : colonne_(std::move(colonne)), valori_(std::move(valori)) {
    valori_.resize(colonne_->size());
}

Row Row::from(const Statement& stmt, std::shared_ptr<const Columns> colonne) {
    std::vector<std::string> valori;
    valori.reserve(colonne->size());
    for (std::size_t i = 0; i < colonne->size(); ++i) valori.emplace_back(stmt.text(static_cast<int>(i)));
    return Row(std::move(colonne), std::move(valori));
}

void Row::assegna(const Statement& stmt, const std::shared_ptr<const Columns>& colonne) {
    if (colonne_ != colonne) colonne_ = colonne;
    valori_.resize(colonne->size());
    for (std::size_t i = 0; i < valori_.size(); ++i) {
        // Most boxes are empty: clearing is far cheaper than a general assign.
        const std::string_view v = stmt.text(static_cast<int>(i));
        if (v.empty())
            valori_[i].clear();
        else
            valori_[i].assign(v.data(), v.size());
    }
}

const std::string& Row::text(std::string_view nome) const {
    if (!colonne_) return kVuoto;
    return valori_[static_cast<std::size_t>(colonne_->require(nome))];
}

std::int64_t Row::integer(std::string_view nome) const { return toInteger(text(nome)); }

std::int64_t toInteger(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    std::int64_t v = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    (void)p;
    return ec == std::errc() ? v : 0;
}

}  // namespace storage
