#include "storage/sistema.h"

namespace storage::sistema {

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
    return ec.message();
}

}  // namespace storage::sistema
