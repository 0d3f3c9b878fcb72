#include "cli/comandi.h"
#include "storage/config.h"
#include "telematic/generazione.h"
#include "telematic/tracciato.h"

namespace cli {

int comandoGenera(const Contesto& ctx) {
    Argomenti a(ctx.parole,
                {{"--cartella", 1},
                 {"--file", 1},
                 {"--fornitore", 1},
                 {"--tipi", 1},
                 {"--fornitura", 1},
                 {"--id", 1},
                 {"--elenco", 1}},
                {"--quadro-ct", "--sovrascrivi", "--aggiorna-conteggi"});
    if (a.posizionali().size() != 1) throw UsageError("genera vuole dipendenti o professionisti.");
    const std::string chi = a.posizionali()[0];
    const bool dipendenti = chi == "dipendenti";
    if (!dipendenti && chi != "professionisti")
        throw UsageError("genera vuole dipendenti o professionisti, non " + chi + ".");
    if (!dipendenti && a.valore("--tipi")) throw UsageError("--tipi vale solo per genera dipendenti.");
    auto cartella = a.valore("--cartella");
    if (!cartella) throw UsageError("genera vuole --cartella DIR.");

    telematic::OpzioniGenerazione opz;
    opz.cartella = *cartella;
    opz.nomeFile =
        a.valoreOppure("--file", dipendenti ? telematic::kNomeFileDipendenti : telematic::kNomeFileProfessionisti);
    opz.tipoFornitore = a.valoreOppure("--fornitore", "01");
    if (!telematic::TipoFornitoreAmmesso(opz.tipoFornitore)) throw UsageError("--fornitore vale 01 o 10.");
    opz.quadroCt = a.flag("--quadro-ct");
    opz.tipi = tipiDaTesto(a.valoreOppure("--tipi", ""));
    opz.fornitura = fornituraDaTesto(a.valoreOppure("--fornitura", "ordinaria"));
    if (opz.fornitura != telematic::TipoFornitura::Ordinaria && (a.valore("--id") || a.valore("--elenco")))
        throw UsageError("--id e --elenco valgono solo per una fornitura ordinaria: una fornitura di " +
                         *a.valore("--fornitura") + " invia i certificati segnati.");

    storage::Connection conn;
    ctx.apri(conn);
    opz.scelti = certificatiScelti(a, conn, dipendenti ? storage::Elenco::Dipendenti : storage::Elenco::Professionisti);
    // A count the Agency would reject goes out only when the command line says to update it.
    const bool aggiorna = a.flag("--aggiorna-conteggi");
    opz.aggiornaConteggi = [aggiorna](const std::string& testo) {
        if (!aggiorna)
            std::cerr << testo
                      << ": nessun file è stato scritto. Per scriverli aggiornati ripetere il comando con "
                         "--aggiorna-conteggi.\n";
        return aggiorna;
    };
    ReporterConsole reporter(a.flag("--sovrascrivi"));
    auto ris = dipendenti ? telematic::GeneraFileDipendenti(conn, opz, reporter)
                          : telematic::GeneraFileProfessionisti(conn, opz, reporter);
    return ris.esito == telematic::Esito::Concluso ? 0 : 1;
}

}  // namespace cli
