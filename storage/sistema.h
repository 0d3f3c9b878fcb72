#pragma once

// The few operating-system calls the core needs that standard C++ does not offer: exclusive
// creation, fsync, advisory file locks, process liveness, clean-up on a termination signal and
// opening a file by a UTF-8 name. sistema_posix.cpp implements them for POSIX systems,
// sistema_windows.cpp for Windows.

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace storage::sistema {

// The name to open a file by (std::ifstream, std::ofstream), given the program's UTF-8 path: a
// plain std::string would be read in the ANSI code page on Windows, so there it is the wide name.
std::filesystem::path nativo(const std::string& percorso);
// The program's UTF-8 text of a path the standard library gives back: nativo's inverse.
std::string utf8(const std::filesystem::path& percorso);
// The command's arguments after the program's name, in UTF-8: on Windows argv holds them in the
// ANSI code page ("Niccolò" would lose its ò), so there they are read from the wide command line.
std::vector<std::string> argomenti(int argc, char** argv);
// The console shows the program's UTF-8 messages (std::cout, std::cerr) as written: on Windows,
// where a console reads bytes in its own code page ("è" would show as two other letters), they
// reach a console as UTF-16; sent to a file or a pipe they stay UTF-8 bytes, as elsewhere.
void consoleUtf8();

// The operator's words for why a file operation failed ("il disco è pieno"); the system's own
// text for the rarer causes.
std::string motivo(const std::error_code& ec);

// An open file of ours; -1 when none.
using Maniglia = long;
inline constexpr Maniglia kNessuna = -1;

// Creates a new file for writing; fails (kNessuna, *errore set) when the name already exists.
Maniglia creaEsclusivo(const std::string& percorso, std::string* errore);
// Writes all of it; false with *errore set on failure (disk full, I/O error).
bool scrivi(Maniglia m, const char* dati, std::size_t n, std::string* errore);
// Flushes the file's data to the medium.
bool sincronizza(Maniglia m, std::string* errore);
bool chiudi(Maniglia m, std::string* errore);
// Flushes a folder's entries (renames, creations) to the medium; a best effort where unsupported.
void sincronizzaCartella(const std::string& cartella);

// Holds an exclusive lock on a lock file for as long as the object lives. The lock dies with the
// process, so a killed run never leaves a folder locked.
class Blocco {
public:
    Blocco() = default;
    ~Blocco();
    Blocco(const Blocco&) = delete;
    Blocco& operator=(const Blocco&) = delete;
    // Tries once, without waiting: true when taken. Throws nothing; *errore set when the lock
    // file cannot be created at all (false is then returned too).
    bool prova(const std::string& percorso, std::string* errore);
    bool preso() const { return m_ != kNessuna; }
    // Removes the lock file and lets the lock go.
    void rilascia();

private:
    Maniglia m_ = kNessuna;
    std::string percorso_;
};

// Why this file cannot be written in place, with its journals beside it: "" when it can. A file
// or folder marked read-only counts as such even for a user whom the system would let write.
std::string impedimentoScrittura(const std::string& file);

long idProcesso();
// False only when the process is known to be gone (a process of another user counts as alive).
bool processoVivo(long id);

// Files removed by the termination-signal handler if the process is stopped before it drops them.
void registraDaRimuovere(const std::string& percorso);
void dimenticaDaRimuovere(const std::string& percorso);
// Termination requests wait while such an object lives: a step that must not stop halfway.
class SegnaliRinviati {
public:
    SegnaliRinviati();
    ~SegnaliRinviati();
    SegnaliRinviati(const SegnaliRinviati&) = delete;
    SegnaliRinviati& operator=(const SegnaliRinviati&) = delete;

private:
    unsigned long long precedenti_[16];
};

namespace dettaglio {
// For the platform's termination handler: rimuovi is called on each registered path. Allocates
// nothing and takes no lock, so a signal handler may call it.
void rimuoviRegistrati(void (*rimuovi)(const char* percorso));
}  // namespace dettaglio

// Installs the handler for interruption and termination requests: it removes the registered
// files, then lets the signal end the process as it would have.
void rimuoviAllaTerminazione();

enum class TipoFile { Mancante, Normale, Cartella, Fifo, Dispositivo, Altro };

// What the path names, links followed.
TipoFile tipoFile(const std::string& percorso);

// Why the file cannot be opened for reading, in the operator's words ("permesso negato"); empty
// when it can. Never waits, whatever the path names.
std::string motivoNonLeggibile(const std::string& percorso);

// Whether a process other than this one holds the SQLite archive open (every connection keeps a
// shared lock on the archive's WAL index for as long as it is open).
bool apertoDaAltri(const std::string& archivio);

// The local time now, written with strftime's format.
std::string oraLocale(const char* formato);

}  // namespace storage::sistema
