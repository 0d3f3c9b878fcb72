// The importers as the window and the batch command start them: the checks on the path, the
// question for a file already imported and the backup, then the file handed to the stream
// readers. Also the list and the restore of the backups.

#include "import/importazione.h"

#include <cctype>
#include <filesystem>
#include <fstream>

#include "import/lettori.h"
#include "import/lettura.h"
#include "storage/archivi.h"
#include "storage/error.h"
#include "storage/salvataggi.h"
#include "storage/sistema.h"

namespace importazione {

namespace sistema = storage::sistema;

namespace {

bool esiste(const std::string& percorso, storage::Reporter& reporter) {
    if (!percorso.empty() && sistema::tipoFile(percorso) != sistema::TipoFile::Mancante) return true;
    reporter.error("Il file " + percorso + " non esiste. Non è possibile eseguire l'import.");
    return false;
}

// The steps every import from a path shares once its own checks passed.
template <typename Lettura>
bool importa(storage::Connection& conn, const std::string& percorso, const std::string& tipo,
             const std::string& operazione, Lettura lettura) {
    // A file imported before is asked about by the run, once the file passed its checks.
    std::ifstream in = ApriFileDaImportare(percorso);
    storage::Salvataggio copia(conn, operazione);
    const Registrazione reg{tipo};
    if (!lettura(in, reg)) return false;
    copia.conferma();
    return true;
}

// The firm's code that names a payroll or accounting file; nullopt, said, when the file is missing
// or its name carries none.
std::optional<std::string> codiceDelFile(const std::string& percorso, storage::Reporter& reporter) {
    if (!esiste(percorso, reporter)) return std::nullopt;
    auto codice = CodiceAzienda(percorso);
    if (!codice) reporter.error("Errore nel nome del file");
    return codice;
}

}  // namespace

std::ifstream ApriFileDaImportare(const std::string& percorso) {
    const char* cosa = nullptr;
    switch (sistema::tipoFile(percorso)) {
    case sistema::TipoFile::Normale: break;
    case sistema::TipoFile::Cartella: cosa = "è una cartella, non un file"; break;
    case sistema::TipoFile::Fifo: cosa = "è una pipe con nome (FIFO), non un file"; break;
    case sistema::TipoFile::Dispositivo: cosa = "è un dispositivo, non un file"; break;
    case sistema::TipoFile::Mancante: cosa = "non esiste"; break;
    case sistema::TipoFile::Altro: cosa = "non è un file normale"; break;
    }
    if (cosa) throw storage::Error("Il file " + percorso + " " + cosa + ": non è possibile eseguire l'import.");
    if (const std::string motivo = sistema::motivoNonLeggibile(percorso); !motivo.empty())
        throw storage::Error("Impossibile aprire il file " + percorso + ": " + motivo + ".");
    std::ifstream in(storage::sistema::nativo(percorso), std::ios::binary);
    if (!in) throw storage::Error("Impossibile aprire il file " + percorso + ".");
    return in;
}

bool ImportaPaghe(storage::Connection& conn, const std::string& percorso, storage::Tipo tracciato, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter) {
    const auto codice = codiceDelFile(percorso, reporter);
    if (!codice) return false;
    std::string operazione = std::string("importa-paghe-") + storage::CodiceTipo(tracciato);
    for (char& c : operazione) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return importa(conn, percorso, std::string("paghe ") + storage::CodiceTipo(tracciato), operazione,
                   [&](std::istream& in, const Registrazione& reg) {
                       return ImportaPaghe(conn, in, percorso, *codice, tracciato, copiaSostituto, dati, reporter,
                                           &reg);
                   });
}

bool ImportaAltro(storage::Connection& conn, const std::string& percorso, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter) {
    const auto codice = codiceDelFile(percorso, reporter);
    if (!codice) return false;
    return importa(conn, percorso, "altro", "importa-altro", [&](std::istream& in, const Registrazione& reg) {
        return ImportaAltro(conn, in, percorso, *codice, copiaSostituto, dati, reporter, &reg);
    });
}

bool Importa770(storage::Connection& conn, const std::string& percorso, int tracciato, const DatiAggiuntivi& dati,
                storage::Reporter& reporter) {
    if (!esiste(percorso, reporter)) return false;
    const std::string n = std::to_string(tracciato);
    return importa(conn, percorso, "770 tracciato " + n, "importa-770-" + n,
                   [&](std::istream& in, const Registrazione& reg) {
                       return Importa770(conn, in, percorso, tracciato, dati, reporter, &reg);
                   });
}

bool ImportaFinanziaria(storage::Connection& conn, const std::string& percorso, bool daCuDipendenti,
                        const DatiAggiuntivi& dati, storage::Reporter& reporter) {
    if (!esiste(percorso, reporter)) return false;
    return importa(conn, percorso, "finanziaria", "importa-finanziaria",
                   [&](std::istream& in, const Registrazione& reg) {
                       return ImportaFinanziaria(conn, in, percorso, daCuDipendenti, dati, reporter, &reg);
                   });
}

namespace {

namespace fs = std::filesystem;

// "prima dell'importazione ...": what a backup was taken before, from its file name.
std::string inParole(const std::string& operazione) {
    static const std::pair<const char*, const char*> kOperazioni[] = {
        {"importa-paghe-dip", "prima dell'importazione delle paghe (Dipendenti / LPU - LSU)"},
        {"importa-paghe-amm", "prima dell'importazione delle paghe (Amministratori)"},
        {"importa-paghe-coc", "prima dell'importazione delle paghe (Co.Co.Co.)"},
        {"importa-altro", "prima dell'importazione Altro"},
        {"importa-770-1", "prima dell'importazione del 770 Semplificato (tracciato 1)"},
        {"importa-770-2", "prima dell'importazione del 770 Semplificato (tracciato 2)"},
        {"importa-finanziaria", "prima dell'importazione dalla procedura finanziaria"},
        {"importa-ricevute", "prima dell'importazione delle ricevute"},
        {"azzera-ente", "prima dell'eliminazione dei dati generali dell'Ente"},
        {"azzera-dipendenti", "prima dell'eliminazione dei dati dei dipendenti"},
        {"azzera-professionisti", "prima dell'eliminazione dei dati dei professionisti"},
        {"ripristino", "prima di un ripristino"},
        {"rinumera", "prima della rinumerazione dei certificati"},
    };
    for (const auto& [sigla, parole] : kOperazioni)
        if (operazione == sigla) return parole;
    return "prima di " + operazione;
}

}  // namespace

namespace {

std::vector<CopiaArchivio> inParole(const std::vector<storage::VoceSalvataggio>& voci) {
    std::vector<CopiaArchivio> out;
    for (const auto& v : voci) out.push_back({v.percorso, v.nome, v.quando, inParole(v.operazione)});
    return out;
}

}  // namespace

std::vector<CopiaArchivio> ElencoCopie(storage::Connection& conn) {
    return inParole(storage::salvataggiDellArchivio(conn));
}

std::vector<CopiaArchivio> ElencoCopie(const std::string& percorsoDb) {
    return inParole(storage::salvataggiDellArchivio(percorsoDb));
}

namespace {

// The copy named by the operator (a name from the list stands for the file in the backup folder)
// and how the questions speak of it: "com'era il GG/MM/AAAA alle HH:MM:SS, prima di ...".
std::pair<std::string, std::string> copiaScelta(const std::string& percorsoDb, const std::string& copia) {
    // A server archive's copies are schemas beside it, named as the list names them.
    if (storage::Connection::indirizzoServer(percorsoDb)) {
        for (const auto& c : ElencoCopie(percorsoDb))
            if (c.nome == copia)
                return {c.nome,
                        "com'era il " + c.quando.substr(0, 10) + " alle " + c.quando.substr(11) + ", " + c.prima};
        throw storage::Error("Il salvataggio " + copia + " non esiste.");
    }
    std::string percorso = copia;
    const std::string cartella = storage::cartellaSalvataggi(percorsoDb);
    if (sistema::tipoFile(percorso) == sistema::TipoFile::Mancante && !cartella.empty())
        percorso = sistema::utf8(sistema::nativo(cartella) / sistema::nativo(copia));
    if (sistema::tipoFile(percorso) != sistema::TipoFile::Normale)
        throw storage::Error("Il salvataggio " + copia + " non esiste.");
    std::string stato = "com'è nel file " + percorso;
    for (const auto& c : ElencoCopie(percorsoDb)) {
        std::error_code ec;
        if (fs::equivalent(sistema::nativo(c.percorso), sistema::nativo(percorso), ec))
            stato = "com'era il " + c.quando.substr(0, 10) + " alle " + c.quando.substr(11) + ", " + c.prima;
    }
    return {percorso, stato};
}

}  // namespace

bool Ripristina(storage::Connection& conn, const std::string& copia, storage::Reporter& reporter) {
    const auto [percorso, stato] = copiaScelta(conn.percorso(), copia);
    if (!reporter.ask("Ripristinare l'archivio " + stato + "? I dati attuali saranno prima salvati in una copia."))
        return false;
    storage::Salvataggio attuale(conn, "ripristino");
    storage::ripristina(conn, percorso);
    attuale.conferma();
    reporter.info("Archivio ripristinato " + stato + ".");
    return true;
}

bool RipristinaArchivio(const std::string& percorsoDb, const std::string& copia, storage::Reporter& reporter) {
    // A server archive that does not open says why; its copies are restored only into it.
    if (storage::Connection::indirizzoServer(percorsoDb)) {
        storage::Connection conn;
        conn.open(percorsoDb);
        conn.richiediScrittura();
        return Ripristina(conn, copia, reporter);
    }
    const bool presente = sistema::tipoFile(percorsoDb) != sistema::TipoFile::Mancante;
    if (presente) {
        // An archive that opens is restored in place, as from the import window.
        storage::Connection conn;
        bool apre = true;
        try {
            storage::apriArchivio(conn, percorsoDb);
        } catch (const storage::Error& e) {
            using C = storage::Error::Causa;
            if (e.causa() != C::Danneggiato && e.causa() != C::NonArchivio) throw;
            apre = false;
        }
        if (apre) {
            conn.richiediScrittura();
            return Ripristina(conn, copia, reporter);
        }
    }
    const auto [percorso, stato] = copiaScelta(percorsoDb, copia);
    if (!reporter.ask("Ripristinare l'archivio " + stato + "? " +
                      (presente ? "Il file attuale, che non si può aprire, sarà conservato accanto all'archivio."
                                : "L'archivio " + percorsoDb + " non esiste: sarà creato dalla copia.")))
        return false;
    const std::string conservato = storage::ripristinaAlPosto(percorsoDb, percorso);
    reporter.info(
        "Archivio ripristinato " + stato + "." +
        (conservato.empty() ? std::string() : "\nIl file che non si apriva è conservato come " + conservato + "."));
    return true;
}

}  // namespace importazione
