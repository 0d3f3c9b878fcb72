// The importers as the window and the batch command start them: the checks on the path, then
// the file opened and handed to the stream readers.

#include "import/importazione.h"

#include <filesystem>
#include <fstream>

#include "import/lettori.h"
#include "import/lettura.h"
#include "storage/error.h"

namespace importazione {

namespace {

bool esiste(const std::string& percorso, storage::Reporter& reporter) {
    std::error_code ec;
    if (!percorso.empty() && std::filesystem::exists(percorso, ec)) return true;
    reporter.error("Il file " + percorso + " non esiste. Non è possibile eseguire l'import.");
    return false;
}

std::ifstream apri(const std::string& percorso) {
    std::error_code ec;
    if (std::filesystem::is_directory(percorso, ec))
        throw storage::Error("Impossibile leggere il file " + percorso + ": è una cartella.");
    std::ifstream in(percorso, std::ios::binary);
    if (!in) throw storage::Error("Impossibile aprire il file " + percorso + ".");
    return in;
}

}  // namespace

bool ImportaPaghe(storage::Connection& conn, const std::string& percorso, Tracciato tracciato,
                  bool copiaSostituto, const DatiAggiuntivi& dati, storage::Reporter& reporter) {
    if (!esiste(percorso, reporter)) return false;
    const auto codice = CodiceAzienda(percorso);
    if (!codice) {
        reporter.error("Errore nel nome del file");
        return false;
    }
    std::ifstream in = apri(percorso);
    return ImportaPaghe(conn, in, percorso, *codice, tracciato, copiaSostituto, dati, reporter);
}

bool ImportaAltro(storage::Connection& conn, const std::string& percorso, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter) {
    if (!esiste(percorso, reporter)) return false;
    const auto codice = CodiceAzienda(percorso);
    if (!codice) {
        reporter.error("Errore nel nome del file");
        return false;
    }
    std::ifstream in = apri(percorso);
    return ImportaAltro(conn, in, percorso, *codice, copiaSostituto, dati, reporter);
}

bool Importa770(storage::Connection& conn, const std::string& percorso, int tracciato,
                const DatiAggiuntivi& dati, storage::Reporter& reporter) {
    if (!esiste(percorso, reporter)) return false;
    std::ifstream in = apri(percorso);
    return Importa770(conn, in, percorso, tracciato, dati, reporter);
}

bool ImportaFinanziaria(storage::Connection& conn, const std::string& percorso,
                        bool daCuDipendenti, const DatiAggiuntivi& dati,
                        storage::Reporter& reporter) {
    if (!esiste(percorso, reporter)) return false;
    std::ifstream in = apri(percorso);
    return ImportaFinanziaria(conn, in, percorso, daCuDipendenti, dati, reporter);
}

}  // namespace importazione
