#include "import/tabelle.h"

#include "storage/cp1252.h"

namespace importazione {

namespace {
std::string sqlInsert(std::string_view tabella, const char* const* nomi, std::size_t quante) {
    std::string sql = "insert into " + std::string(tabella) + " (";
    std::string posti;
    for (std::size_t i = 0; i < quante; ++i) {
        sql += (i ? ", " : "") + std::string(nomi[i]);
        posti += i ? ", ?" : "?";
    }
    return sql + ") values (" + posti + ")";
}
}  // namespace

NuovaRiga::NuovaRiga(storage::Connection& conn, std::string_view tabella, const char* const* nomi,
                     std::size_t quante)
    : conn_(conn),
      nomi_(nomi),
      valori_(quante),
      presente_(quante, false),
      insert_(conn, sqlInsert(tabella, nomi, quante)) {}

void NuovaRiga::pulisci() { presente_.assign(presente_.size(), false); }

void NuovaRiga::daFile(int colonna, std::string_view bytes) {
    auto& v = valori_[static_cast<std::size_t>(colonna)];
    if (storage::soloAscii(bytes))
        v.assign(bytes);
    else
        v = storage::daWindows1252(bytes);
    presente_[static_cast<std::size_t>(colonna)] = true;
}

void NuovaRiga::imposta(int colonna, std::string_view testo) {
    valori_[static_cast<std::size_t>(colonna)].assign(testo);
    presente_[static_cast<std::size_t>(colonna)] = true;
}

const std::string& NuovaRiga::valore(int colonna) const {
    static const std::string vuoto;
    const auto i = static_cast<std::size_t>(colonna);
    return presente_[i] ? valori_[i] : vuoto;
}

std::int64_t NuovaRiga::inserisci() {
    insert_.reset();
    for (std::size_t i = 0; i < valori_.size(); ++i)
        if (presente_[i]) insert_.bindSenzaCopia(static_cast<int>(i + 1), valori_[i]);
    insert_.step();
    return conn_.lastInsertId();
}

}  // namespace importazione
