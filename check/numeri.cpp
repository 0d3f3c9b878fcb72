#include "check/numeri.h"

#include <algorithm>

#include "telematic/campi.h"
#include "telematic/numeri.h"

namespace check {

std::string ProblemaNumeroCertificato(std::int64_t id) {
    if (telematic::NumeroCertificatoValido(id)) return {};
    const std::string n = std::to_string(id);
    const std::string limite = std::to_string(telematic::NumeroCertificatoMassimo());
    return "Il numero del certificato " + n + " non rientra nelle cinque cifre del file (da 1 a " + limite +
           "): il record D porterebbe " + telematic::RiempiZeri(n, limite.size()) +
           ". Rinumerare i certificati prima di generare il file.";
}

std::string NumeriDelFile::vedi(std::string_view numero, std::string_view codiceFiscale, std::int64_t record) {
    std::int64_t n = 0;
    for (const char c : numero) {
        if (c < '0' || c > '9') return {};  // not a number: the head's own check says so
        n = n * 10 + (c - '0');
    }
    if (n == 0) return "Il numero del certificato " + std::string(numero) + " non è valido: si parte da 1.";
    if (visti_.empty()) visti_.resize(static_cast<std::size_t>(telematic::NumeroCertificatoMassimo()) + 1);
    if (static_cast<std::size_t>(n) >= visti_.size()) return {};
    Primo& primo = visti_[static_cast<std::size_t>(n)];
    std::array<char, 16> cf{};
    std::copy_n(codiceFiscale.begin(), std::min(codiceFiscale.size(), cf.size()), cf.begin());
    if (primo.record == 0) {
        primo = {record, cf};
        return {};
    }
    if (primo.codiceFiscale == cf) return {};
    const std::string altro(primo.codiceFiscale.data(), primo.codiceFiscale.size());
    const std::string_view cfAltro = telematic::Rifila(altro);
    return "Il numero " + std::string(numero) + " è già del certificato al record " + std::to_string(primo.record) +
           " (" + (cfAltro.empty() ? std::string("senza codice fiscale") : std::string(cfAltro)) +
           "): ogni certificato della fornitura vuole un numero suo (numero tagliato o ripetuto?).";
}

}  // namespace check
