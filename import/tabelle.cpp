#include "import/tabelle.h"

#include "storage/cp1252.h"

namespace importazione {

NuovaRiga::NuovaRiga(storage::Connection& conn, storage::Tabella tabella, const char* const* nomi, std::size_t quante)
    : nomi_(nomi), valori_(quante), presente_(quante, false), insert_(conn, tabella, nomi, quante) {}

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

std::int64_t NuovaRiga::inserisci() { return insert_.inserisci(valori_, presente_); }

}  // namespace importazione
