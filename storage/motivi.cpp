#include "storage/motivi.h"

#include <utility>

namespace storage {

namespace {

// The operating system's (strerror, std::error_code, Qt's file errors) and SQLite's own texts.
// Longer texts first where one contains another.
const std::pair<const char*, const char*> kMotivi[] = {
    {"No such file or directory", "il file o la cartella non esiste"},
    {"Invalid argument", "argomento non valido (nome o percorso non accettato dal sistema)"},
    {"Permission denied", "permesso negato"},
    {"Operation not permitted", "operazione non permessa"},
    {"No space left on device", "il disco è pieno"},
    {"Disk quota exceeded", "lo spazio concesso sul disco è esaurito"},
    {"Read-only file system", "il supporto è in sola lettura"},
    {"File exists", "il file esiste già"},
    {"Is a directory", "è una cartella"},
    {"Not a directory", "non è una cartella"},
    {"Directory not empty", "la cartella non è vuota"},
    {"Input/output error", "errore di lettura o scrittura sul disco"},
    {"File name too long", "il nome del file è troppo lungo"},
    {"Too many open files", "troppi file aperti"},
    {"Device or resource busy", "il file o il dispositivo è occupato"},
    {"Resource temporarily unavailable", "risorsa temporaneamente non disponibile"},
    {"Unknown error", "errore sconosciuto"},
    {"database or disk is full", "il database o il disco è pieno"},
    {"database is locked", "il database è bloccato da un altro programma"},
    {"database table is locked", "una tabella del database è bloccata"},
    {"unable to open database file", "impossibile aprire il file del database"},
    {"file is not a database", "il file non è un database"},
    {"file is encrypted or is not a database", "il file non è un database"},
    {"database disk image is malformed", "il file del database è danneggiato"},
    {"attempt to write a readonly database", "tentativo di scrivere un database in sola lettura"},
    {"disk I/O error", "errore di lettura o scrittura sul disco"},
    {"out of memory", "memoria esaurita"},
    {"not an error", "nessun errore"},
};

}  // namespace

std::string MotiviInItaliano(std::string testo) {
    for (const auto& [inglese, italiano] : kMotivi) {
        const std::string da(inglese), a(italiano);
        for (std::size_t p = testo.find(da); p != std::string::npos; p = testo.find(da, p + a.size()))
            testo.replace(p, da.size(), a);
    }
    return testo;
}

}  // namespace storage
