#include "storage/recenti.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "storage/archivi.h"
#include "storage/config.h"
#include "storage/error.h"
#include "storage/server.h"
#include "storage/sistema.h"

namespace storage {

namespace fs = std::filesystem;

std::string percorsoArchiviRecenti(const std::string& percorsoIni) {
    return sistema::utf8(sistema::nativo(percorsoIni).parent_path() / "archivi-recenti.txt");
}

std::vector<std::string> leggiArchiviRecenti(const std::string& percorsoIni) {
    std::vector<std::string> cartelle;
    std::ifstream in(sistema::nativo(percorsoArchiviRecenti(percorsoIni)), std::ios::binary);
    std::string riga;
    while (cartelle.size() < kMassimoRecenti && std::getline(in, riga)) {
        if (!riga.empty() && riga.back() == '\r') riga.pop_back();
        if (!riga.empty() && std::find(cartelle.begin(), cartelle.end(), riga) == cartelle.end())
            cartelle.push_back(riga);
    }
    return cartelle;
}

std::vector<ArchivioRecente> descriviArchiviRecenti(const std::string& percorsoIni) {
    std::vector<ArchivioRecente> v;
    for (const std::string& cartella : leggiArchiviRecenti(percorsoIni)) {
        ArchivioRecente a{cartella, {}, false};
        const std::string db = percorsoDatabase(cartella);
        if (Connection::indirizzoServer(db)) {
            // A server switched off must not hold the window for long.
            try {
                Connection c;
                c.open(ConAttesaMassima(db, 3));
                a.leggibile = true;
                a.sostituto = nomeSostituto(c);
            } catch (const Error&) {
                a.leggibile = false;
            }
            v.push_back(std::move(a));
            continue;
        }
        std::error_code ec;
        // A 0-byte file is an archive still to be filled: it gets its tables when chosen.
        if (fs::is_regular_file(sistema::nativo(db), ec) && fs::file_size(sistema::nativo(db), ec) == 0) {
            a.leggibile = true;
        } else if (fs::is_regular_file(sistema::nativo(db), ec)) {
            try {
                Connection c;
                c.open(db);
                a.leggibile = TabelleMancanti(c).empty();
                if (a.leggibile) a.sostituto = nomeSostituto(c);
            } catch (const Error&) {
                a.leggibile = false;
            }
        }
        v.push_back(std::move(a));
    }
    return v;
}

void scegliArchivio(const std::string& percorsoIni, const std::string& cartella) {
    // A password stays in libpq's own files, never in ours.
    scriviCartellaDati(percorsoIni, SenzaPassword(cartella));
    ricordaArchivio(percorsoIni, cartella);
}

void ricordaArchivio(const std::string& percorsoIni, const std::string& cartellaOIndirizzo) {
    const std::string cartella = SenzaPassword(cartellaOIndirizzo);
    std::error_code ec;
    const std::string percorso = percorsoArchiviRecenti(percorsoIni);
    const fs::path dove = sistema::nativo(percorso).parent_path();
    if (!dove.empty()) fs::create_directories(dove, ec);
    std::vector<std::string> cartelle = leggiArchiviRecenti(percorsoIni);
    cartelle.erase(std::remove(cartelle.begin(), cartelle.end(), cartella), cartelle.end());
    cartelle.insert(cartelle.begin(), cartella);
    if (cartelle.size() > kMassimoRecenti) cartelle.resize(kMassimoRecenti);
    const std::string tmp = percorso + ".tmp";
    {
        std::ofstream out(sistema::nativo(tmp), std::ios::binary | std::ios::trunc);
        for (const auto& c : cartelle) out << c << '\n';
        if (!out.flush()) throw Error("Impossibile scrivere l'elenco degli archivi recenti " + percorso + ".");
    }
    fs::rename(sistema::nativo(tmp), sistema::nativo(percorso), ec);
    if (ec) throw Error("Impossibile scrivere l'elenco degli archivi recenti " + percorso + ": " + ec.message());
}

}  // namespace storage
