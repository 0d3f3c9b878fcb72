// segna: marks certificates for the next correction supply or leaves them out of ordinary ones;
// and the choice of certificates (--id, --elenco) that segna and genera share.
#include <iostream>

#include "cli/comandi.h"
#include "storage/error.h"
#include "storage/invii.h"

namespace cli {

std::optional<std::vector<std::int64_t>> certificatiScelti(const Argomenti& a, storage::Connection& conn,
                                                           storage::Elenco elenco) {
    const auto id = a.valore("--id"), elencoFile = a.valore("--elenco");
    if (id && elencoFile) throw UsageError("Indicare --id oppure --elenco, non entrambi.");
    if (elencoFile) return storage::LeggiElencoScelti(conn, elenco, *elencoFile);
    if (!id) return std::nullopt;
    try {
        return storage::NumeriDaTesto(*id);
    } catch (const storage::Error& e) {
        throw UsageError(std::string("--id: ") + e.what());
    }
}

// segna sostituzione|annullamento|nessuna|escluso (--id N[,N...] | --elenco FILE) [--professionisti]
int comandoSegna(const Contesto& ctx) {
    Argomenti a(ctx.parole, {{"--id", 1}, {"--elenco", 1}}, {"--professionisti"});
    if (a.posizionali().size() != 1) throw UsageError("segna vuole sostituzione, annullamento, nessuna o escluso.");
    const std::string& parola = a.posizionali()[0];
    const auto operazione = storage::OperazioneDaParola(parola);
    if (!operazione)
        throw UsageError("Operazione sconosciuta: " + parola +
                         " (ammesse sostituzione, annullamento, nessuna, escluso).");
    if (!a.valore("--id") && !a.valore("--elenco")) throw UsageError("segna vuole --id N[,N...] oppure --elenco FILE.");
    const auto elenco = a.flag("--professionisti") ? storage::Elenco::Professionisti : storage::Elenco::Dipendenti;
    const char* chi = elenco == storage::Elenco::Professionisti ? "professionisti" : "dipendenti";

    storage::Connection conn;
    ctx.apriPerScrivere(conn);
    const auto ids = *certificatiScelti(a, conn, elenco);
    const auto mancanti = storage::CertificatiMancanti(conn, elenco, ids);
    if (!mancanti.empty()) {
        std::string elencoMancanti;
        for (const auto id : mancanti) elencoMancanti += (elencoMancanti.empty() ? "" : ", ") + std::to_string(id);
        std::cerr << (mancanti.size() == 1 ? "Non esiste il certificato " : "Non esistono i certificati ")
                  << elencoMancanti << " tra i " << chi << ": nessun segno è stato cambiato.\n";
        return 1;
    }
    storage::SegnaOperazione(conn, elenco, ids, *operazione);
    const std::string n = ids.size() == 1 ? "1 certificato" : std::to_string(ids.size()) + " certificati";
    switch (*operazione) {
    case storage::Operazione::Nessuna: std::cout << "Tolti i segni da " << n << " dei " << chi << ".\n"; break;
    case storage::Operazione::Escluso:
        std::cout << (ids.size() == 1 ? "Escluso dall'invio " : "Esclusi dall'invio ") << n << " dei " << chi << ".\n";
        break;
    default:
        std::cout << (ids.size() == 1 ? "Segnato " : "Segnati ") << n << " dei " << chi << " per la fornitura di "
                  << parola << ".\n";
    }
    return 0;
}

}  // namespace cli
