#include <algorithm>
#include <filesystem>

#include "cli/comandi.h"
#include "storage/config.h"
#include "storage/error.h"
#include "storage/sistema.h"

namespace cli {

Argomenti::Argomenti(const std::vector<std::string>& parole, const std::map<std::string, int>& conValore,
                     const std::vector<std::string>& flag) {
    for (std::size_t i = 0; i < parole.size(); ++i) {
        const std::string& p = parole[i];
        if (p.rfind("--", 0) != 0) {
            posizionali_.push_back(p);
            continue;
        }
        if (auto it = conValore.find(p); it != conValore.end()) {
            if (i + static_cast<std::size_t>(it->second) >= parole.size())
                throw UsageError("L'opzione " + p + " richiede " + std::to_string(it->second) +
                                 (it->second == 1 ? " valore." : " valori."));
            auto& v = opzioni_[p];
            v.clear();
            for (int k = 0; k < it->second; ++k) v.push_back(parole[++i]);
        } else if (std::find(flag.begin(), flag.end(), p) != flag.end()) {
            flag_.push_back(p);
        } else {
            throw UsageError("Opzione sconosciuta: " + p);
        }
    }
}

std::optional<std::string> Argomenti::valore(const std::string& opzione) const {
    auto it = opzioni_.find(opzione);
    if (it == opzioni_.end() || it->second.empty()) return std::nullopt;
    return it->second.front();
}

std::vector<std::string> Argomenti::valori(const std::string& opzione) const {
    auto it = opzioni_.find(opzione);
    return it == opzioni_.end() ? std::vector<std::string>{} : it->second;
}

bool Argomenti::flag(const std::string& nome) const {
    return std::find(flag_.begin(), flag_.end(), nome) != flag_.end();
}

std::string Contesto::percorsoDb() const {
    return storage::percorsoDatabase(storage::cartellaArchivio(archivio, storage::percorsoConfigurazione()));
}

void Contesto::apri(storage::Connection& conn) const {
    const std::string db = percorsoDb();
    if (!storage::Connection::indirizzoServer(db) && !std::filesystem::exists(storage::sistema::nativo(db)))
        throw storage::Error(storage::messaggioDatabaseMancante(db));
    conn.open(db);
}

storage::Tipi tipiDaTesto(const std::string& testo) {
    std::string sconosciuto;
    if (auto tipi = storage::TipiDaTesto(testo, &sconosciuto)) return *tipi;
    throw UsageError("Tipo di certificato sconosciuto: " + sconosciuto + " (ammessi DIP, AMM, CoC).");
}

telematic::TipoFornitura fornituraDaTesto(const std::string& testo) {
    if (auto f = telematic::FornituraDaParola(testo)) return *f;
    throw UsageError("Tipo di fornitura sconosciuto: " + testo + " (ammessi ordinaria, sostituzione, annullamento).");
}

int comandoCreaArchivio(const Contesto& ctx) {
    Argomenti a(ctx.parole, {}, {"--configura"});
    if (a.posizionali().size() != 1) throw UsageError("crea-archivio vuole una CARTELLA.");
    const std::string cartella = a.posizionali()[0];
    std::error_code ec;
    if (!storage::Connection::indirizzoServer(cartella))
        std::filesystem::create_directories(storage::sistema::nativo(cartella), ec);
    if (!storage::Connection::indirizzoServer(cartella) &&
        !std::filesystem::is_directory(storage::sistema::nativo(cartella)))
        throw storage::Error("Impossibile creare la cartella " + cartella + (ec ? ": " + ec.message() : std::string()));
    const std::string db = storage::percorsoDatabase(cartella);
    storage::Connection::crea(db);
    std::cout << "Archivio creato: " << db << '\n';
    if (a.flag("--configura")) {
        const std::string ini = storage::percorsoConfigurazione();
        storage::scriviCartellaDati(ini, cartella);
        std::cout << "Configurazione aggiornata: " << ini << '\n';
    }
    return 0;
}

}  // namespace cli
