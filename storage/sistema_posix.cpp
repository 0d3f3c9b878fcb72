#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <new>

#include "storage/sistema.h"

namespace storage::sistema {

std::filesystem::path nativo(const std::string& percorso) { return std::filesystem::path(percorso); }

std::vector<std::string> argomenti(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void consoleUtf8() {}

namespace {

bool fallito(std::string* errore) {
    if (errore) *errore = motivo(std::error_code(errno, std::generic_category()));
    return false;
}

int fd(Maniglia m) { return static_cast<int>(m); }

extern "C" void allaTerminazione(int segnale) {
    dettaglio::rimuoviRegistrati([](const char* p) { ::unlink(p); });
    ::signal(segnale, SIG_DFL);
    ::raise(segnale);
}

}  // namespace

Maniglia creaEsclusivo(const std::string& percorso, std::string* errore) {
    int f = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (f < 0) fallito(errore);
    return f;
}

bool scrivi(Maniglia m, const char* dati, std::size_t n, std::string* errore) {
    while (n > 0) {
        ssize_t k = ::write(fd(m), dati, n);
        if (k < 0) {
            if (errno == EINTR) continue;
            return fallito(errore);
        }
        dati += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

bool sincronizza(Maniglia m, std::string* errore) { return ::fsync(fd(m)) == 0 || fallito(errore); }

bool chiudi(Maniglia m, std::string* errore) { return ::close(fd(m)) == 0 || fallito(errore); }

void sincronizzaCartella(const std::string& cartella) {
    int f = ::open(cartella.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (f < 0) return;
    ::fsync(f);
    ::close(f);
}

Blocco::~Blocco() { rilascia(); }

bool Blocco::prova(const std::string& percorso, std::string* errore) {
    rilascia();
    for (;;) {
        int f = ::open(percorso.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (f < 0) return fallito(errore);
        if (::flock(f, LOCK_EX | LOCK_NB) != 0) {
            const int e = errno;
            ::close(f);
            if (e == EWOULDBLOCK || e == EINTR) return false;
            errno = e;
            return fallito(errore);
        }
        // The holder before us removes the file as it lets go: a lock on a removed file locks
        // nothing, so take it again on the file the name now gives.
        struct stat aperto {
        }, attuale{};
        if (::fstat(f, &aperto) == 0 && ::stat(percorso.c_str(), &attuale) == 0 && aperto.st_dev == attuale.st_dev &&
            aperto.st_ino == attuale.st_ino) {
            m_ = f;
            percorso_ = percorso;
            registraDaRimuovere(percorso_);
            return true;
        }
        ::close(f);
    }
}

void Blocco::rilascia() {
    if (m_ == kNessuna) return;
    dimenticaDaRimuovere(percorso_);
    ::unlink(percorso_.c_str());
    ::close(fd(m_));
    m_ = kNessuna;
}

std::string impedimentoScrittura(const std::string& file) {
    const auto barra = file.rfind('/');
    const std::string cartella = barra == std::string::npos ? "." : barra == 0 ? "/" : file.substr(0, barra);
    for (const auto& [percorso, chi] : {std::pair{file, "il file"}, std::pair{cartella, "la cartella"}}) {
        struct stat st {};
        if (::stat(percorso.c_str(), &st) != 0) continue;
        errno = 0;
        if (::access(percorso.c_str(), W_OK) != 0 && errno == EROFS) return "il supporto è in sola lettura";
        if (errno != 0 || (st.st_mode & 0222) == 0)
            return std::string(chi) + " " + percorso + " non consente la scrittura";
    }
    return {};
}

long idProcesso() { return static_cast<long>(::getpid()); }

bool processoVivo(long id) {
    if (id <= 0) return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

static_assert(sizeof(sigset_t) <= sizeof(unsigned long long[16]));

SegnaliRinviati::SegnaliRinviati() {
    sigset_t s;
    sigemptyset(&s);
    for (int k : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&s, k);
    ::sigprocmask(SIG_BLOCK, &s, new (precedenti_) sigset_t);
}

SegnaliRinviati::~SegnaliRinviati() { ::sigprocmask(SIG_SETMASK, reinterpret_cast<sigset_t*>(precedenti_), nullptr); }

void rimuoviAllaTerminazione() {
    struct sigaction sa {};
    sa.sa_handler = allaTerminazione;
    sigemptyset(&sa.sa_mask);
    sigaddset(&sa.sa_mask, SIGINT);
    sigaddset(&sa.sa_mask, SIGTERM);
    sigaddset(&sa.sa_mask, SIGHUP);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(s, &sa, nullptr);
}

TipoFile tipoFile(const std::string& percorso) {
    struct stat st {};
    if (::stat(percorso.c_str(), &st) != 0) return TipoFile::Mancante;
    if (S_ISREG(st.st_mode)) return TipoFile::Normale;
    if (S_ISDIR(st.st_mode)) return TipoFile::Cartella;
    if (S_ISFIFO(st.st_mode)) return TipoFile::Fifo;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return TipoFile::Dispositivo;
    return TipoFile::Altro;
}

std::string motivoNonLeggibile(const std::string& percorso) {
    // O_NONBLOCK: should the path have become a FIFO meanwhile, opening it does not wait.
    const int f = ::open(percorso.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (f >= 0) {
        ::close(f);
        return {};
    }
    return motivo(std::error_code(errno, std::generic_category()));
}

bool apertoDaAltri(const std::string& archivio) {
    // SQLite's unix VFS: the "dead man switch" byte of the -shm file, offset 128, is read-locked
    // by every process that has the WAL database open. F_GETLK ignores our own locks.
    const int f = ::open((archivio + "-shm").c_str(), O_RDONLY | O_CLOEXEC);
    if (f < 0) return false;
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 128;
    fl.l_len = 1;
    const bool altri = ::fcntl(f, F_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
    ::close(f);
    return altri;
}

std::string oraLocale(const char* formato) {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char b[64];
    return std::string(b, std::strftime(b, sizeof b, formato, &tm));
}

}  // namespace storage::sistema
