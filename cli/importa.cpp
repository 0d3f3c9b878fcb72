// importa paghe|altro|770|finanziaria and azzera ente|dipendenti|professionisti.
#include <algorithm>
#include <iostream>

#include "cli/comandi.h"
#include "import/importazione.h"
#include "import/ricevute.h"

namespace cli {

namespace {

// --conferma answers each of the reset's questions the way that goes on; any other question No.
class ReporterConferma : public ReporterConsole {
public:
    bool ask(const std::string& domanda) override { return importazione::RispostaCheProcede(domanda).value_or(false); }
};

// The one question of an import: a file already imported. Without --ancora the import is
// refused with the question's text.
class ReporterImporta : public ReporterConsole {
public:
    explicit ReporterImporta(bool ancora) : ancora_(ancora) {}
    bool ask(const std::string& domanda) override {
        if (ancora_) return true;
        error(domanda);
        error("Nessun dato importato: ripetere il comando con --ancora per importarlo di nuovo.");
        return false;
    }

private:
    bool ancora_;
};

importazione::DatiAggiuntivi datiAggiuntivi(const Argomenti& a) {
    importazione::DatiAggiuntivi d;
    d.codiceAttivita = a.valoreOppure("--codice-attivita", d.codiceAttivita);
    d.codiceSede = a.valoreOppure("--codice-sede", d.codiceSede);
    d.matricolaAzienda = a.valoreOppure("--matricola-azienda", d.matricolaAzienda);
    return d;
}

const std::string& fileDaImportare(const Argomenti& a, const std::string& tipo) {
    if (a.posizionali().size() != 2) throw UsageError("importa " + tipo + " vuole un FILE da importare.");
    return a.posizionali()[1];
}

}  // namespace

int comandoImporta(const Contesto& ctx) {
    if (ctx.parole.empty() || ctx.parole[0].rfind("--", 0) == 0)
        throw UsageError("importa vuole paghe, altro, 770, finanziaria o ricevute.");
    const std::string tipo = ctx.parole[0];
    const bool ancora = std::find(ctx.parole.begin(), ctx.parole.end(), "--ancora") != ctx.parole.end();
    ReporterImporta reporter(ancora);
    bool fatto = false;

    if (tipo == "paghe") {
        Argomenti a(ctx.parole,
                    {{"--tracciato", 1}, {"--codice-attivita", 1}, {"--codice-sede", 1}, {"--matricola-azienda", 1}},
                    {"--sostituto", "--ancora"});
        const std::string& file = fileDaImportare(a, tipo);
        const auto t = a.valore("--tracciato");
        if (!t) {
            reporter.error("Non è stato indicato il tipo di tracciato da utilizzare per l'import.");
            return 1;
        }
        const auto tracciato = storage::TipoDelCodice(*t);
        if (!tracciato) throw UsageError("Tracciato sconosciuto: " + *t + " (ammessi dip, amm, coc).");
        storage::Connection conn;
        ctx.apriPerScrivere(conn);
        fatto = importazione::ImportaPaghe(conn, file, *tracciato, a.flag("--sostituto"), datiAggiuntivi(a), reporter);
    } else if (tipo == "altro") {
        Argomenti a(ctx.parole, {{"--codice-attivita", 1}, {"--codice-sede", 1}, {"--matricola-azienda", 1}},
                    {"--sostituto", "--ancora"});
        const std::string& file = fileDaImportare(a, tipo);
        storage::Connection conn;
        ctx.apriPerScrivere(conn);
        fatto = importazione::ImportaAltro(conn, file, a.flag("--sostituto"), datiAggiuntivi(a), reporter);
    } else if (tipo == "770") {
        Argomenti a(ctx.parole, {{"--tracciato", 1}, {"--codice-attivita", 1}, {"--codice-sede", 1}}, {"--ancora"});
        const std::string& file = fileDaImportare(a, tipo);
        const std::string t = a.valoreOppure("--tracciato", "");
        if (t != "1" && t != "2") throw UsageError("importa 770 vuole --tracciato 1 oppure 2.");
        storage::Connection conn;
        ctx.apriPerScrivere(conn);
        fatto = importazione::Importa770(conn, file, t == "1" ? 1 : 2, datiAggiuntivi(a), reporter);
    } else if (tipo == "finanziaria") {
        Argomenti a(ctx.parole, {{"--codice-attivita", 1}}, {"--da-cu-dipendenti", "--ancora"});
        const std::string& file = fileDaImportare(a, tipo);
        storage::Connection conn;
        ctx.apriPerScrivere(conn);
        fatto = importazione::ImportaFinanziaria(conn, file, a.flag("--da-cu-dipendenti"), datiAggiuntivi(a), reporter);
    } else if (tipo == "ricevute") {
        Argomenti a(ctx.parole, {}, {"--dipendenti", "--professionisti"});
        const std::string& file = fileDaImportare(a, tipo);
        if (a.flag("--dipendenti") && a.flag("--professionisti"))
            throw UsageError("importa ricevute vuole --dipendenti oppure --professionisti, non entrambi.");
        std::optional<storage::Elenco> elenco;
        if (a.flag("--dipendenti")) elenco = storage::Elenco::Dipendenti;
        if (a.flag("--professionisti")) elenco = storage::Elenco::Professionisti;
        storage::Connection conn;
        ctx.apriPerScrivere(conn);
        importazione::ImportaRicevute(conn, file, reporter, elenco);
        fatto = true;
    } else {
        throw UsageError("Importazione sconosciuta: " + tipo + " (ammesse paghe, altro, 770, finanziaria, ricevute).");
    }
    return fatto ? 0 : 1;
}

int comandoAzzera(const Contesto& ctx) {
    Argomenti a(ctx.parole, {}, {"--conferma"});
    if (a.posizionali().size() != 1) throw UsageError("azzera vuole ente, dipendenti o professionisti.");
    const std::string& quale = a.posizionali()[0];
    importazione::Archivio archivio;
    if (quale == "ente")
        archivio = importazione::Archivio::Ente;
    else if (quale == "dipendenti")
        archivio = importazione::Archivio::Dipendenti;
    else if (quale == "professionisti")
        archivio = importazione::Archivio::Professionisti;
    else
        throw UsageError("Archivio sconosciuto: " + quale + " (ammessi ente, dipendenti, professionisti).");
    if (!a.flag("--conferma")) {
        std::cerr << "Nessun dato eliminato: l'azzeramento elimina dati in modo non annullabile, "
                     "ripetere il comando con --conferma per confermarlo.\n";
        return 1;
    }
    storage::Connection conn;
    ctx.apriPerScrivere(conn);
    ReporterConferma reporter;
    return importazione::Azzera(conn, archivio, reporter) ? 0 : 1;
}

}  // namespace cli

namespace cli {

// ripristina --elenco | ripristina FILE --conferma
int comandoRipristina(const Contesto& ctx) {
    Argomenti a(ctx.parole, {}, {"--elenco", "--conferma"});
    if (a.flag("--elenco")) {
        if (!a.posizionali().empty()) throw UsageError("ripristina --elenco non vuole un FILE.");
        // The list is read from the folder: a damaged archive is not opened.
        const auto copie = importazione::ElencoCopie(ctx.percorsoDb());
        if (copie.empty()) std::cout << "Nessuna copia dell'archivio.\n";
        for (const auto& c : copie) std::cout << c.nome << "  " << c.quando << "  " << c.prima << '\n';
        return 0;
    }
    if (a.posizionali().size() != 1)
        throw UsageError("ripristina vuole --elenco oppure il FILE di una copia e --conferma.");
    if (!a.flag("--conferma")) {
        std::cerr << "Nessun dato ripristinato: il ripristino sostituisce tutto l'archivio, "
                     "ripetere il comando con --conferma per confermarlo.\n";
        return 1;
    }
    ReporterConsole reporter(true);
    return importazione::RipristinaArchivio(ctx.percorsoDb(), a.posizionali()[0], reporter) ? 0 : 1;
}

}  // namespace cli

namespace cli {

namespace {

// The renumbering's question is its plan: printed, and answered by --conferma.
class ReporterRinumera : public ReporterConsole {
public:
    explicit ReporterRinumera(bool conferma) : conferma_(conferma) {}
    bool ask(const std::string& domanda) override {
        std::cout << domanda << '\n' << std::flush;
        return conferma_;
    }

private:
    bool conferma_;
};

}  // namespace

// rinumera [--conferma]
int comandoRinumera(const Contesto& ctx) {
    Argomenti a(ctx.parole, {}, {"--conferma"});
    if (!a.posizionali().empty()) throw UsageError("rinumera non vuole altre parole, solo --conferma.");
    storage::Connection conn;
    ctx.apriPerScrivere(conn);
    ReporterRinumera reporter(a.flag("--conferma"));
    switch (importazione::Rinumera(conn, reporter)) {
    case importazione::EsitoRinumerazione::Fatta:
    case importazione::EsitoRinumerazione::NienteDaFare: return 0;
    case importazione::EsitoRinumerazione::Annullata:
        std::cerr << "Nessun certificato rinumerato: ripetere il comando con --conferma per rinumerare.\n";
        return 1;
    case importazione::EsitoRinumerazione::Rifiutata: break;
    }
    return 1;
}

}  // namespace cli
