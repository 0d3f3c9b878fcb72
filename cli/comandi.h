#pragma once

#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/invii.h"
#include "storage/reporter.h"
#include "telematic/generazione.h"

namespace cli {

// Wrong usage of the command line: printed with the usage text, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the command: positional words, "--name value" options and "--flag" flags.
class Argomenti {
public:
    // conValore: the options that take a value; the others are flags.
    // multipli: options that take several values ("--cognome DA A" takes 2).
    Argomenti(const std::vector<std::string>& parole, const std::map<std::string, int>& conValore,
              const std::vector<std::string>& flag);

    const std::vector<std::string>& posizionali() const { return posizionali_; }
    std::optional<std::string> valore(const std::string& opzione) const;
    std::vector<std::string> valori(const std::string& opzione) const;
    bool flag(const std::string& nome) const;
    std::string valoreOppure(const std::string& opzione, const std::string& predefinito) const {
        auto v = valore(opzione);
        return v ? *v : predefinito;
    }

private:
    std::vector<std::string> posizionali_;
    std::map<std::string, std::vector<std::string>> opzioni_;
    std::vector<std::string> flag_;
};

// Information on standard output, errors on standard error; questions get the fixed answer
// the command line gave (--sovrascrivi, --conferma), or No.
class ReporterConsole : public storage::Reporter {
public:
    explicit ReporterConsole(bool risposta = false) : risposta_(risposta) {}
    void info(const std::string& testo) override { std::cout << testo << '\n' << std::flush; }
    void error(const std::string& testo) override { std::cerr << testo << '\n' << std::flush; }
    // The question is not printed: the command line already answered it.
    bool ask(const std::string&) override { return risposta_; }

private:
    bool risposta_;
};

struct Contesto {
    std::optional<std::string> archivio;  // --archivio
    std::vector<std::string> parole;      // the words after the command name
    // Opens the archive named by --archivio or by the configuration file; throws storage::Error.
    void apri(storage::Connection& conn) const;
    // The same for commands that write: refuses an archive that cannot be written.
    void apriPerScrivere(storage::Connection& conn) const {
        apri(conn);
        conn.richiediScrittura();
    }
};

int comandoCreaArchivio(const Contesto& ctx);
int comandoGenera(const Contesto& ctx);
int comandoImporta(const Contesto& ctx);
int comandoAzzera(const Contesto& ctx);
int comandoRipristina(const Contesto& ctx);
int comandoRinumera(const Contesto& ctx);
int comandoControlla(const Contesto& ctx);
int comandoSegna(const Contesto& ctx);

// --id N[,N...] or --elenco FILE (numbers or tax codes) resolved against the list; nullopt when
// neither is given. A wrong --id is wrong usage; an unreadable or unknown line throws storage::Error.
std::optional<std::vector<std::int64_t>> certificatiScelti(const Argomenti& a, storage::Connection& conn,
                                                           storage::Elenco elenco);

struct Comando {
    const char* nome;
    int (*esegui)(const Contesto&);
    const char* uso;  // its lines of the usage text
};

// "stampa": printing needs Qt, so only the desktop build's batch program has it.
extern const Comando kStampa;

// Every command, in the order of the usage text; stampa joins them when the program has it.
std::vector<Comando> comandi(const Comando* stampa);
// Reads the global options and runs the command named on the line: the batch contract's exit
// status (0 done, 1 refused or failed, 2 wrong usage).
int esegui(int argc, char** argv, const std::vector<Comando>& comandi);

// Reads "DIP,AMM,CoC" into kinds; throws UsageError for an unknown kind.
storage::Tipi tipiDaTesto(const std::string& testo);
// "ordinaria", "sostituzione" or "annullamento"; throws UsageError for another word.
telematic::TipoFornitura fornituraDaTesto(const std::string& testo);

}  // namespace cli
