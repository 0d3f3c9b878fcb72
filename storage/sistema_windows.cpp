// The operating-system calls of sistema.h on Windows: Win32 handles, LockFileEx, the console
// control handler in place of signals, the Restart Manager for who holds the archive.

#ifndef NOMINMAX
#define NOMINMAX
#endif
// <windows.h> first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <restartmanager.h>
#include <shellapi.h>
// clang-format on

#include <atomic>
#include <cstring>
#include <ctime>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "storage/sistema.h"

namespace storage::sistema {

namespace {

// Paths are UTF-8 in the program, UTF-16 for the system.
std::wstring largo(const std::string& s) {
    if (s.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

}  // namespace

std::filesystem::path nativo(const std::string& percorso) { return std::filesystem::path(largo(percorso)); }

std::vector<std::string> argomenti(int argc, char** argv) {
    int n = 0;
    LPWSTR* larghi = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!larghi) return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
    std::vector<std::string> v;
    for (int i = 1; i < n; ++i) v.push_back(utf8(std::filesystem::path(larghi[i])));
    ::LocalFree(larghi);
    return v;
}

namespace {

// A stream's buffer that writes UTF-8 text to a console as UTF-16, a line at a time (a character
// split between two writes waits for its last bytes).
class ConsoleLarga : public std::streambuf {
public:
    explicit ConsoleLarga(HANDLE h) : h_(h) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        testo_.push_back(traits_type::to_char_type(c));
        if (c == '\n') scrivi();
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        testo_.append(s, static_cast<std::size_t>(n));
        if (std::memchr(s, '\n', static_cast<std::size_t>(n))) scrivi();
        return n;
    }
    int sync() override {
        scrivi();
        return 0;
    }

private:
    void scrivi() {
        // Up to the last whole character: a lead byte whose continuation bytes are all here.
        std::size_t fine = testo_.size(), i = fine;
        while (i > 0 && fine - i < 3 && (static_cast<unsigned char>(testo_[i - 1]) & 0xC0) == 0x80) --i;
        if (i > 0) {
            const auto c = static_cast<unsigned char>(testo_[i - 1]);
            const std::size_t serve = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (fine - (i - 1) < serve) fine = i - 1;
        }
        if (fine == 0) return;
        const std::wstring w = largo(testo_.substr(0, fine));
        DWORD scritti = 0;
        ::WriteConsoleW(h_, w.data(), static_cast<DWORD>(w.size()), &scritti, nullptr);
        testo_.erase(0, fine);
    }

    HANDLE h_;
    std::string testo_;
};

void suConsole(std::ostream& flusso, DWORD quale) {
    const HANDLE h = ::GetStdHandle(quale);
    DWORD modo = 0;
    if (h == INVALID_HANDLE_VALUE || !h || !::GetConsoleMode(h, &modo)) return;  // a file or a pipe
    flusso.flush();
    // Never destroyed: the streams flush into it up to the process's very end.
    flusso.rdbuf(new ConsoleLarga(h));
}

}  // namespace

void consoleUtf8() {
    suConsole(std::cout, STD_OUTPUT_HANDLE);
    suConsole(std::cerr, STD_ERROR_HANDLE);
}

namespace {

// The system's codes of the causes the operator is told in words, as the portable ones.
std::error_code codice(DWORD e) {
    switch (e) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return std::make_error_code(std::errc::permission_denied);
    case ERROR_WRITE_PROTECT: return std::make_error_code(std::errc::read_only_file_system);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return std::make_error_code(std::errc::file_exists);
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return std::make_error_code(std::errc::io_error);
    default: return std::error_code(static_cast<int>(e), std::system_category());
    }
}

bool fallito(std::string* errore, DWORD e = ::GetLastError()) {
    if (errore) *errore = motivo(codice(e));
    return false;
}

// Kernel handles keep their meaning in 32 bits, which is what Maniglia holds.
HANDLE h(Maniglia m) { return LongToHandle(static_cast<LONG>(m)); }
Maniglia maniglia(HANDLE x) { return x == INVALID_HANDLE_VALUE ? kNessuna : HandleToLong(x); }

constexpr DWORD kCondivisione = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Steps that must not stop halfway; the handler waits for them.
std::atomic<int> rinvii{0};

BOOL WINAPI allaTerminazione(DWORD evento) {
    switch (evento) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: break;
    default: return FALSE;
    }
    while (rinvii.load() > 0) ::Sleep(10);
    // The handler runs on a thread of its own: it may allocate.
    dettaglio::rimuoviRegistrati([](const char* p) { ::DeleteFileW(largo(p).c_str()); });
    return FALSE;  // the default handler then ends the process
}

// Volume and file number: the identity of an open file.
bool identita(HANDLE f, ULONGLONG& id) {
    BY_HANDLE_FILE_INFORMATION i{};
    if (!::GetFileInformationByHandle(f, &i)) return false;
    id = (static_cast<ULONGLONG>(i.dwVolumeSerialNumber) << 40) ^ (static_cast<ULONGLONG>(i.nFileIndexHigh) << 32) ^
         i.nFileIndexLow;
    return true;
}

std::string cartellaDi(const std::string& file) {
    const auto barra = file.find_last_of("/\\");
    if (barra == std::string::npos) return ".";
    return barra == 0 ? file.substr(0, 1) : file.substr(0, barra);
}

}  // namespace

Maniglia creaEsclusivo(const std::string& percorso, std::string* errore) {
    HANDLE f = ::CreateFileW(largo(percorso).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) fallito(errore);
    return maniglia(f);
}

bool scrivi(Maniglia m, const char* dati, std::size_t n, std::string* errore) {
    while (n > 0) {
        const DWORD pezzo = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
        DWORD scritti = 0;
        if (!::WriteFile(h(m), dati, pezzo, &scritti, nullptr)) return fallito(errore);
        dati += scritti;
        n -= scritti;
    }
    return true;
}

bool sincronizza(Maniglia m, std::string* errore) { return ::FlushFileBuffers(h(m)) || fallito(errore); }

bool chiudi(Maniglia m, std::string* errore) { return ::CloseHandle(h(m)) || fallito(errore); }

void sincronizzaCartella(const std::string& cartella) {
    // NTFS keeps its own journal of names; flushing a folder handle is a best effort that some
    // file systems refuse.
    HANDLE f = ::CreateFileW(largo(cartella).c_str(), GENERIC_READ | GENERIC_WRITE, kCondivisione, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    ::FlushFileBuffers(f);
    ::CloseHandle(f);
}

Blocco::~Blocco() { rilascia(); }

bool Blocco::prova(const std::string& percorso, std::string* errore) {
    rilascia();
    const std::wstring nome = largo(percorso);
    for (;;) {
        HANDLE f = ::CreateFileW(nome.c_str(), GENERIC_READ | GENERIC_WRITE, kCondivisione, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) {
            const DWORD e = ::GetLastError();
            // A lock file its holder is removing refuses new openings until it is gone: busy.
            if (e == ERROR_SHARING_VIOLATION ||
                (e == ERROR_ACCESS_DENIED && ::GetFileAttributesW(nome.c_str()) != INVALID_FILE_ATTRIBUTES))
                return false;
            return fallito(errore, e);
        }
        OVERLAPPED ov{};
        if (!::LockFileEx(f, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
            const DWORD e = ::GetLastError();
            ::CloseHandle(f);
            if (e == ERROR_LOCK_VIOLATION || e == ERROR_IO_PENDING) return false;
            return fallito(errore, e);
        }
        // As on POSIX: the lock counts only if the name still gives the file we locked.
        HANDLE g =
            ::CreateFileW(nome.c_str(), 0, kCondivisione, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ULONGLONG a = 0, b = 0;
        const bool stesso = g != INVALID_HANDLE_VALUE && identita(f, a) && identita(g, b) && a == b;
        if (g != INVALID_HANDLE_VALUE) ::CloseHandle(g);
        if (stesso) {
            m_ = maniglia(f);
            percorso_ = percorso;
            registraDaRimuovere(percorso_);
            return true;
        }
        ::CloseHandle(f);
    }
}

void Blocco::rilascia() {
    if (m_ == kNessuna) return;
    dimenticaDaRimuovere(percorso_);
    ::DeleteFileW(largo(percorso_).c_str());  // removed once the handle below is closed
    ::CloseHandle(h(m_));
    m_ = kNessuna;
}

std::string impedimentoScrittura(const std::string& file) {
    const std::wstring nome = largo(file);
    const DWORD attributi = ::GetFileAttributesW(nome.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES) {
        if (attributi & FILE_ATTRIBUTE_READONLY) return "il file " + file + " non consente la scrittura";
        HANDLE f = ::CreateFileW(nome.c_str(), GENERIC_WRITE, kCondivisione, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            ::CloseHandle(f);
        } else if (const DWORD e = ::GetLastError(); e == ERROR_WRITE_PROTECT) {
            return "il supporto è in sola lettura";
        } else if (e == ERROR_ACCESS_DENIED) {
            return "il file " + file + " non consente la scrittura";
        }
    }
    // A folder's read-only mark means nothing on Windows: try a file of our own there, which
    // the system removes as it is closed. The journals of the archive are created beside it.
    const std::string cartella = cartellaDi(file);
    const std::string prova = cartella + "\\.palio-scrittura-" + std::to_string(idProcesso());
    HANDLE f = ::CreateFileW(largo(prova).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        ::CloseHandle(f);
        return {};
    }
    const DWORD e = ::GetLastError();
    if (e == ERROR_WRITE_PROTECT) return "il supporto è in sola lettura";
    if (e == ERROR_ACCESS_DENIED) return "la cartella " + cartella + " non consente la scrittura";
    return {};
}

long idProcesso() { return static_cast<long>(::GetCurrentProcessId()); }

bool processoVivo(long id) {
    if (id <= 0) return false;
    HANDLE p = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    if (!p) return ::GetLastError() != ERROR_INVALID_PARAMETER;  // no such process; denied means alive
    const bool vivo = ::WaitForSingleObject(p, 0) == WAIT_TIMEOUT;
    ::CloseHandle(p);
    return vivo;
}

// No signal mask here: the handler waits while the count is above zero.
SegnaliRinviati::SegnaliRinviati() : precedenti_{} { rinvii.fetch_add(1); }

SegnaliRinviati::~SegnaliRinviati() { rinvii.fetch_sub(1); }

void rimuoviAllaTerminazione() { ::SetConsoleCtrlHandler(allaTerminazione, TRUE); }

TipoFile tipoFile(const std::string& percorso) {
    const std::wstring nome = largo(percorso);
    const DWORD attributi = ::GetFileAttributesW(nome.c_str());
    if (attributi != INVALID_FILE_ATTRIBUTES && (attributi & FILE_ATTRIBUTE_DIRECTORY)) return TipoFile::Cartella;
    // No access asked: only what the name is, without reading or waiting.
    HANDLE f =
        ::CreateFileW(nome.c_str(), 0, kCondivisione, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (f == INVALID_HANDLE_VALUE) return attributi == INVALID_FILE_ATTRIBUTES ? TipoFile::Mancante : TipoFile::Normale;
    const DWORD tipo = ::GetFileType(f);
    ::CloseHandle(f);
    switch (tipo) {
    case FILE_TYPE_DISK: return TipoFile::Normale;
    case FILE_TYPE_PIPE: return TipoFile::Fifo;
    case FILE_TYPE_CHAR: return TipoFile::Dispositivo;
    default: return TipoFile::Altro;
    }
}

std::string motivoNonLeggibile(const std::string& percorso) {
    HANDLE f = ::CreateFileW(largo(percorso).c_str(), GENERIC_READ, kCondivisione, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        ::CloseHandle(f);
        return {};
    }
    return motivo(codice(::GetLastError()));
}

bool apertoDaAltri(const std::string& archivio) {
    // Every connection keeps the archive open: ask the Restart Manager which processes hold it,
    // leaving out this one.
    DWORD sessione = 0;
    WCHAR chiave[CCH_RM_SESSION_KEY + 1] = {};
    if (::RmStartSession(&sessione, 0, chiave) != ERROR_SUCCESS) return false;
    const std::wstring nome = largo(archivio);
    LPCWSTR file[] = {nome.c_str()};
    bool altri = false;
    if (::RmRegisterResources(sessione, 1, file, 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
        UINT servono = 0, n = 0;
        DWORD motivi = 0;
        std::vector<RM_PROCESS_INFO> processi;
        DWORD esito = ::RmGetList(sessione, &servono, &n, nullptr, &motivi);
        if (esito == ERROR_MORE_DATA) {
            processi.resize(servono);
            n = servono;
            esito = ::RmGetList(sessione, &servono, &n, processi.data(), &motivi);
        }
        if (esito == ERROR_SUCCESS)
            for (UINT i = 0; i < n; ++i)
                if (processi[i].Process.dwProcessId != ::GetCurrentProcessId()) altri = true;
    }
    ::RmEndSession(sessione);
    return altri;
}

std::string oraLocale(const char* formato) {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_s(&tm, &t);
    char b[64];
    return std::string(b, std::strftime(b, sizeof b, formato, &tm));
}

}  // namespace storage::sistema
