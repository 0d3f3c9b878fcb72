// palio2015-cli: the batch front end to the same core as the desktop program.
#include <functional>
#include <iostream>

#include "cli/comandi.h"
#include "storage/error.h"

namespace {

const char* kUso =
    "Uso: palio2015-cli [--archivio CARTELLA] COMANDO [opzioni]\n"
    "Comandi:\n"
    "  crea-archivio CARTELLA [--configura]\n"
    "  importa paghe FILE --tracciato dip|amm|coc [--sostituto] [--codice-attivita T]\n"
    "          [--codice-sede T] [--matricola-azienda T]\n"
    "  importa altro FILE [--sostituto] [--codice-attivita T] [--codice-sede T]\n"
    "          [--matricola-azienda T]\n"
    "  importa 770 FILE --tracciato 1|2 [--codice-attivita T] [--codice-sede T]\n"
    "  importa finanziaria FILE [--da-cu-dipendenti] [--codice-attivita T]\n"
    "  azzera ente|dipendenti|professionisti --conferma\n"
    "  genera dipendenti --cartella DIR [--file NOME] [--fornitore 01|10] [--quadro-ct]\n"
    "          [--tipi DIP,AMM,CoC] [--sovrascrivi]\n"
    "  genera professionisti --cartella DIR [--file NOME] [--fornitore 01|10] [--quadro-ct]\n"
    "          [--sovrascrivi]\n"
    "  stampa dipendenti (--pdf FILE | --cartella-pdf DIR) (--id N | --cognome DA A |\n"
    "          --matricola DA A) [--tipi DIP,AMM,CoC]\n"
    "  stampa professionisti (--pdf FILE | --cartella-pdf DIR) (--id N | --cognome DA A)\n"
    "  stampa sostituto --pdf FILE\n"
    "  stampa quadro-ct --pdf FILE\n"
    "  controlla archivio [--tipi DIP,AMM,CoC] [--professionisti] [--quadro-ct]\n"
    "  controlla file FILE\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> parole(argv + 1, argv + argc);
    cli::Contesto ctx;
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

    const std::map<std::string, std::function<int(const cli::Contesto&)>> comandi = {
        {"crea-archivio", cli::comandoCreaArchivio}, {"genera", cli::comandoGenera},
        {"importa", cli::comandoImporta},            {"azzera", cli::comandoAzzera},
        {"stampa", cli::comandoStampa},              {"controlla", cli::comandoControlla},
    };
    auto it = comandi.find(comando);
    if (it == comandi.end()) {
        std::cerr << "Comando sconosciuto: " << comando << "\n" << kUso;
        return 2;
    }
    try {
        return it->second(ctx);
    } catch (const cli::UsageError& e) {
        std::cerr << e.what() << "\n" << kUso;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
