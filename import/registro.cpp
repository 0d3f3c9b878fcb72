#include "import/registro.h"

#include "import/lettori.h"
#include "import/lettura.h"
#include "storage/error.h"
#include "storage/invii.h"
#include "storage/sistema.h"

namespace importazione {

std::string DomandaGiaImportato(const std::string& file, const Importazione& precedente) {
    const std::string& q = precedente.quando;
    const std::string leggibile = storage::OraLeggibile(q);  // "GG/MM/AAAA HH:MM"
    const std::string data = q.size() >= 16 ? leggibile.substr(0, 10) : q;
    const std::string ora = q.size() >= 16 ? leggibile.substr(11) : std::string("--:--");
    return "Il file " + file + " è già stato importato il " + data + " alle " + ora + ". Importarlo di nuovo?";
}

std::string Riepilogo(std::size_t certificati, std::optional<std::size_t> aggiuntive, const std::string& file) {
    std::string testo = certificati == 1 ? std::string("Importato 1 certificato")
                                         : "Importati " + storage::Conteggio(certificati) + " certificati";
    if (aggiuntive)
        testo +=
            *aggiuntive == 1 ? " (1 riga aggiuntiva)" : " (" + storage::Conteggio(*aggiuntive) + " righe aggiuntive)";
    return testo + " dal file " + file + ".";
}

namespace {

// One message for the whole file, one line for each line of the file that lost characters.
std::string avvisoSostituzioni(const LettoreRighe& lettore) {
    constexpr std::size_t kMassimo = 20;
    const auto& s = lettore.sostituzioni();
    std::string t = "Nel file " + lettore.nomeFile() +
                    " alcuni caratteri non esistono in Windows-1252 e sono stati memorizzati "
                    "come «?», come li scriverebbe il file telematico:";
    for (std::size_t i = 0; i < s.size() && i < kMassimo; ++i)
        t += "\nriga " + std::to_string(s[i].first) + ": " + std::to_string(s[i].second) +
             (s[i].second == 1 ? " carattere" : " caratteri");
    if (s.size() > kMassimo) t += "\n… e altre " + std::to_string(s.size() - kMassimo) + " righe.";
    return t;
}

}  // namespace

Corsa::Corsa(storage::Connection& conn, LettoreRighe& lettore, storage::Elenco elenco, storage::Reporter& reporter)
    : conn_(conn),
      lettore_(lettore),
      elenco_(elenco),
      reporter_(reporter),
      transazione_(conn),
      ultimo_(storage::UltimoNumero(conn, elenco)) {}

bool Corsa::prossima() {
    constexpr std::size_t kOgniRighe = 1024;  // lines between two progress reports
    while (!annullata_ && lettore_.leggi()) {
        if (lettore_.numero() % kOgniRighe == 0 && !reporter_.progress(lettore_.letti(), lettore_.totale()))
            annullata_ = true;
        else if (!RigaVuota(lettore_.riga()))
            return true;
    }
    return false;
}

bool Corsa::concludi(std::size_t certificati, std::optional<std::size_t> aggiuntive, const Registrazione* reg) {
    if (annullata_) return false;
    storage::SegnaModificatiDa(conn_, elenco_, ultimo_);
    return Concludi(conn_, transazione_, lettore_, reporter_, certificati, aggiuntive, reg);
}

bool Concludi(storage::Connection& conn, storage::Transaction& transazione, LettoreRighe& lettore,
              storage::Reporter& reporter, std::size_t certificati, std::optional<std::size_t> aggiuntive,
              const Registrazione* reg) {
    // Nothing read is not a success: no record, and the caller's backup copy is not kept.
    if (certificati == 0 && aggiuntive.value_or(0) == 0)
        throw storage::Error("Il file " + lettore.nomeFile() + " non contiene certificati da importare.");
    if (reg) {
        Importazione v;
        v.file = lettore.nomeFile();
        v.sha256 = lettore.impronta();
        v.dimensione = lettore.dimensione();
        if (const auto prima = ImportazionePrecedente(conn, v.dimensione, v.sha256)) {
            reporter.progress(lettore.letti(), lettore.totale());  // the progress box goes first
            if (!reporter.ask(DomandaGiaImportato(v.file, *prima))) return false;
        }
        v.tipo = reg->tipo;
        v.quando = storage::sistema::oraLocale("%Y-%m-%d %H:%M:%S");
        v.certificati = static_cast<std::int64_t>(certificati);
        v.aggiuntive = static_cast<std::int64_t>(aggiuntive.value_or(0));
        Registra(conn, v);
    }
    transazione.commit();
    reporter.progress(lettore.letti(), lettore.totale());
    if (!lettore.sostituzioni().empty()) reporter.error(avvisoSostituzioni(lettore));
    reporter.info(std::string(kOperazioneTerminata) + "\n" + Riepilogo(certificati, aggiuntive, lettore.nomeFile()));
    return true;
}

}  // namespace importazione
