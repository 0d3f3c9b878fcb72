#include "storage/sistema.h"

#include <atomic>
#include <cstring>

#include "storage/motivi.h"

namespace storage::sistema {

namespace {

// The termination handler may run at any instruction, so the paths sit in fixed buffers it can
// read without allocating; a slot is read only once it is marked full.
constexpr int kPosti = 16;
constexpr std::size_t kLunghezza = 4096;
struct Posto {
    std::atomic<int> stato{0};  // 0 free, 1 being written, 2 full
    char percorso[kLunghezza];
};
Posto posti[kPosti];

}  // namespace

// u8string() is UTF-8 on every system: the wide name converted on Windows, the bytes as they are elsewhere.
std::string utf8(const std::filesystem::path& percorso) {
    const std::u8string u = percorso.u8string();
    return std::string(u.begin(), u.end());
}

void registraDaRimuovere(const std::string& percorso) {
    if (percorso.size() >= kLunghezza) return;
    for (auto& p : posti) {
        int libero = 0;
        if (!p.stato.compare_exchange_strong(libero, 1)) continue;
        std::memcpy(p.percorso, percorso.c_str(), percorso.size() + 1);
        p.stato.store(2);
        return;
    }
}

void dimenticaDaRimuovere(const std::string& percorso) {
    for (auto& p : posti) {
        int pieno = 2;
        if (percorso != p.percorso) continue;
        if (p.stato.compare_exchange_strong(pieno, 1)) {
            p.percorso[0] = '\0';
            p.stato.store(0);
            return;
        }
    }
}

void dettaglio::rimuoviRegistrati(void (*rimuovi)(const char* percorso)) {
    for (auto& p : posti)
        if (p.stato.load() == 2) rimuovi(p.percorso);
}

std::string motivo(const std::error_code& ec) {
    using E = std::errc;
    if (ec == E::no_space_on_device) return "il disco è pieno";
    if (ec == E::permission_denied || ec == E::operation_not_permitted) return "permesso negato";
    if (ec == E::read_only_file_system) return "il supporto è in sola lettura";
    if (ec == E::no_such_file_or_directory) return "il file o la cartella non esiste";
    if (ec == E::io_error) return "errore di lettura o scrittura sul disco";
    if (ec == E::file_exists) return "il file esiste già";
    if (ec == E::is_a_directory) return "esiste una cartella con quel nome";
    if (ec == E::file_too_large) return "il file è troppo grande";
    return MotiviInItaliano(ec.message());
}

}  // namespace storage::sistema
