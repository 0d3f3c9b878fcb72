#include "storage/config.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "storage/connection.h"
#include "storage/error.h"
#include "storage/sistema.h"

namespace storage {

std::string cartellaUtente(const std::string& relativo) {
    const char* home = std::getenv("HOME");
    std::filesystem::path base = home && *home ? home : ".";
    return (base / relativo).string();
}

std::string percorsoConfigurazione() {
#ifdef _WIN32
    return "C:\\RAVO\\Zefo2015\\zefo2015.ini";
#else
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base =
        xdg && *xdg ? std::filesystem::path(xdg) : std::filesystem::path(cartellaUtente(".config"));
    return (base / "ravo" / "zefo2015.ini").string();
#endif
}

std::string leggiCartellaDati(const std::string& percorsoIni) {
    std::ifstream in(sistema::nativo(percorsoIni), std::ios::binary);
    if (!in)
        throw Error("Impossibile leggere il file di configurazione " + percorsoIni +
                    ": file non trovato o non leggibile.");
    std::string riga;
    std::getline(in, riga);
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    return riga;
}

void scriviCartellaDati(const std::string& percorsoIni, const std::string& cartella) {
    const std::filesystem::path p = sistema::nativo(percorsoIni);
    std::error_code ec;
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
    // Only the first line is ours: whatever follows it is kept as it was.
    std::string resto;
    {
        std::ifstream in(sistema::nativo(percorsoIni), std::ios::binary);
        std::string prima;
        if (in && std::getline(in, prima)) resto.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream out(sistema::nativo(percorsoIni), std::ios::binary | std::ios::trunc);
    out << cartella << '\n' << resto;
    if (!out.flush()) throw Error("Impossibile scrivere il file di configurazione " + percorsoIni + ".");
}

std::string percorsoDatabase(const std::string& cartellaDati) {
    // A server archive has no folder: its address is the archive.
    if (Connection::indirizzoServer(cartellaDati)) return cartellaDati;
    return cartellaDati + kSeparatore + kNomeDatabase;
}

std::string messaggioDatabaseMancante(const std::string& percorsoDb) {
    return "ATTENZIONE!!!  Non esiste il file db dei dati. Consultare l'assistenza tecnica. " + percorsoDb;
}

std::string cartellaArchivio(const std::optional<std::string>& data, const std::string& percorsoIni) {
    return data ? *data : leggiCartellaDati(percorsoIni);
}

}  // namespace storage
