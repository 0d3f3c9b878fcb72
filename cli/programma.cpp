// The batch program's command line: global options, the usage text, the exit status.
#include <algorithm>
#include <iostream>

#include "cli/comandi.h"
#include "storage/error.h"
#include "storage/motivi.h"
#include "storage/sistema.h"

namespace {

const char* kIntestazione =
    "Uso: palio2015-cli [--archivio CARTELLA] COMANDO [opzioni]\n"
    "Comandi:\n";

}  // namespace

namespace cli {

std::vector<Comando> comandi(const Comando* stampa) {
    std::vector<Comando> c = {
        {"crea-archivio", comandoCreaArchivio, "  crea-archivio CARTELLA [--configura]\n"},
        {"importa", comandoImporta,
         "  importa paghe FILE --tracciato dip|amm|coc [--sostituto] [--codice-attivita T]\n"
         "          [--codice-sede T] [--matricola-azienda T] [--ancora]\n"
         "  importa altro FILE [--sostituto] [--codice-attivita T] [--codice-sede T]\n"
         "          [--matricola-azienda T] [--ancora]\n"
         "  importa 770 FILE --tracciato 1|2 [--codice-attivita T] [--codice-sede T] [--ancora]\n"
         "  importa finanziaria FILE [--da-cu-dipendenti] [--codice-attivita T] [--ancora]\n"
         "  importa ricevute FILE [--dipendenti|--professionisti]\n"},
        {"segna", comandoSegna,
         "  segna sostituzione|annullamento|nessuna|escluso (--id N[,N...] | --elenco FILE)\n"
         "          [--professionisti]\n"},
        {"azzera", comandoAzzera, "  azzera ente|dipendenti|professionisti --conferma\n"},
        {"ripristina", comandoRipristina, "  ripristina --elenco\n  ripristina FILE --conferma\n"},
        {"rinumera", comandoRinumera, "  rinumera [--conferma]\n"},
        {"genera", comandoGenera,
         "  genera dipendenti --cartella DIR [--file NOME] [--fornitore 01|10] [--quadro-ct]\n"
         "          [--tipi DIP,AMM,CoC] [--sovrascrivi]\n"
         "  genera professionisti --cartella DIR [--file NOME] [--fornitore 01|10] [--quadro-ct]\n"
         "          [--sovrascrivi]\n"
         "  genera ... [--aggiorna-conteggi]\n"
         "  genera ... [--fornitura ordinaria|sostituzione|annullamento] [--id N[,N...] | --elenco FILE]\n"}};
    if (stampa) c.push_back(*stampa);
    c.push_back({"controlla", comandoControlla,
                 "  controlla archivio [--tipi DIP,AMM,CoC] [--professionisti] [--quadro-ct]\n"
                 "          [--fornitura ordinaria|sostituzione|annullamento] [--id N[,N...] | --elenco FILE]\n"
                 "  controlla file FILE\n"});
    return c;
}

int esegui(int argc, char** argv, const std::vector<Comando>& comandi) {
    // Ctrl-C or a termination request must not leave a run's temporaries behind.
    storage::sistema::rimuoviAllaTerminazione();
    storage::sistema::consoleUtf8();
    std::string kUso = kIntestazione;
    for (const Comando& c : comandi) kUso += c.uso;
    std::vector<std::string> parole = storage::sistema::argomenti(argc, argv);
    Contesto ctx;
    std::size_t i = 0;
    while (i < parole.size() && parole[i].rfind("--", 0) == 0) {
        if (parole[i] == "--archivio" && i + 1 < parole.size()) {
            ctx.archivio = parole[i + 1];
            i += 2;
        } else if (parole[i] == "--help" || parole[i] == "-h") {
            std::cout << kUso;
            return 0;
        } else {
            std::cerr << "Opzione sconosciuta: " << parole[i] << "\n" << kUso;
            return 2;
        }
    }
    if (i >= parole.size()) {
        std::cerr << kUso;
        return 2;
    }
    const std::string comando = parole[i];
    ctx.parole.assign(parole.begin() + static_cast<std::ptrdiff_t>(i) + 1, parole.end());

    auto it = std::find_if(comandi.begin(), comandi.end(), [&](const Comando& c) { return comando == c.nome; });
    if (it == comandi.end()) {
        std::cerr << "Comando sconosciuto: " << comando << "\n" << kUso;
        return 2;
    }
    try {
        return it->esegui(ctx);
    } catch (const UsageError& e) {
        std::cerr << e.what() << "\n" << kUso;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << storage::MotiviInItaliano(e.what()) << '\n';
        return 1;
    }
}

}  // namespace cli
