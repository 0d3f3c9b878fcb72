#include "storage/connection.h"

#include <filesystem>

#include "storage/error.h"
#include "storage/motore.h"
#include "storage/motore_pg.h"
#include "storage/motore_sqlite.h"
#include "storage/schema.h"
#include "storage/server.h"
#include "storage/sistema.h"

namespace storage {

namespace {

[[noreturn]] void nonAperta() { throw Error("Errore del database: connessione non aperta"); }

}  // namespace

Statement::Statement(Connection& conn, std::string_view sql) {
    if (!conn.isOpen()) nonAperta();
    st_ = conn.motore().prepara(sql);
}

Statement::~Statement() = default;
Statement::Statement(Statement&& o) noexcept = default;

Statement& Statement::bind(int i, std::string_view testo) {
    st_->bind(i, testo, true);
    return *this;
}

Statement& Statement::bindSenzaCopia(int i, std::string_view testo) {
    st_->bind(i, testo, false);
    return *this;
}

Statement& Statement::bind(int i, std::int64_t numero) {
    st_->bind(i, numero);
    return *this;
}

Statement& Statement::bindNull(int i) {
    st_->bindNull(i);
    return *this;
}

bool Statement::step() { return st_->step(); }
void Statement::reset() { st_->reset(); }
int Statement::columnCount() const { return st_->columnCount(); }
std::string Statement::columnName(int i) const { return st_->columnName(i); }
bool Statement::isNull(int i) const { return st_->isNull(i); }
std::string_view Statement::text(int i) const { return st_->text(i); }
std::int64_t Statement::integer(int i) const { return st_->integer(i); }

Connection::Connection() = default;
Connection::~Connection() { close(); }

bool Connection::indirizzoServer(const std::string& indirizzo) {
    // libpq's URI, or its key=value string beginning with one of its keys.
    for (const char* inizio : {"postgresql://", "postgres://", "service=", "host=", "hostaddr=", "dbname="})
        if (indirizzo.rfind(inizio, 0) == 0) return true;
    return false;
}

bool Connection::suServer() const { return motore_ && motore_->tipo() == motore::Tipo::PostgreSQL; }

motore::Motore& Connection::motore() const {
    if (!motore_) nonAperta();
    return *motore_;
}

void Connection::open(const std::string& percorso) {
    close();
    percorso_ = percorso;
    if (indirizzoServer(percorso)) {
        solaLettura_.clear();
        try {
            motore_ = motore::apriPostgres(percorso_, solaLettura_);
            provaArchivio();
            if (solaLettura_.empty()) schema::aggiorna(*this);
        } catch (const Error& e) {
            close();
            // The operator reads the address in the message: never its password.
            const std::string mostrato = SenzaPassword(percorso_);
            if (mostrato == percorso_) throw;
            std::string frase = e.frase();
            for (auto i = frase.find(percorso_); i != std::string::npos; i = frase.find(percorso_, i + mostrato.size()))
                frase.replace(i, percorso_.size(), mostrato);
            throw Error(e.causa(), frase, e.motore());
        }
        return;
    }
    // An archive that cannot be written is opened for reading: what only reads still works, and
    // a write says why it cannot.
    solaLettura_ = percorso == ":memory:" ? std::string() : sistema::impedimentoScrittura(percorso);
    motore_ = motore::apriSqlite(percorso_, solaLettura_);
    // Nothing is written before the file is known to be an archive; an empty one (0 bytes) is
    // left for the start-up to fill.
    if (percorso == ":memory:" || !provaArchivio() || !solaLettura_.empty()) return;
    try {
        exec("PRAGMA journal_mode=WAL");
    } catch (const Error&) {
    }
    // An older archive is brought to this version here; one that turns out busy stays as it is
    // and says so at its first write instead.
    try {
        schema::aggiorna(*this);
    } catch (const Error& e) {
        if (e.causa() != Error::Causa::Occupato && e.causa() != Error::Causa::SolaLettura &&
            e.causa() != Error::Causa::Pieno) {
            close();
            throw;
        }
    }
}

bool Connection::provaArchivio() {
    const std::string mancanti = TabelleMancanti(*this);
    if (mancanti.empty()) return true;
    std::error_code ec;
    if (!suServer() && std::filesystem::file_size(sistema::nativo(percorso_), ec) == 0 && !ec) return false;
    close();
    if (indirizzoServer(percorso_))
        throw Error(Error::Causa::NonArchivio, "Lo schema dell'archivio " + percorso_ +
                                                   " non è un archivio di Palio 2015: mancano le tabelle " + mancanti +
                                                   ".");
    throw Error(Error::Causa::NonArchivio,
                "Il file " + percorso_ + " non è un archivio di Palio 2015: mancano le tabelle " + mancanti + ".");
}

void Connection::richiediScrittura() const {
    if (!solaLettura_.empty())
        throw Error(Error::Causa::SolaLettura, "L'archivio " + percorso_ + " è in sola lettura: " + solaLettura_ + ".");
}

void Connection::crea(const std::string& percorso) {
    if (indirizzoServer(percorso))
        motore::creaPostgres(percorso);
    else
        motore::creaSqlite(percorso);
}

void Connection::close() { motore_.reset(); }

void Connection::exec(std::string_view sql) { motore().exec(sql); }

std::int64_t Connection::lastInsertId() const { return motore().lastInsertId(); }

int Connection::changes() const { return motore().changes(); }

std::string Connection::lastError() const { return motore_ ? motore_->lastError() : ""; }

void Connection::attesaOccupato(int millisecondi) { motore().attesaOccupato(millisecondi); }

std::string TabelleMancanti(Connection& conn) {
    static const char* const kTabelle[] = {"Parametri", "SostitutoImposta", "QuadroCt", "Zefo1", "Zefo2",
                                           "Zefo3",     "Professionisti"};
    std::string mancanti;
    for (const char* t : kTabelle)
        if (!conn.motore().esisteTabella(t)) mancanti += (mancanti.empty() ? "" : ", ") + std::string(t);
    return mancanti;
}

void PreparaImportazioni(Connection& conn) { schema::creaSeManca(conn, "Importazioni"); }

Transaction::Transaction(Connection& conn) : conn_(conn), interna_(conn.motore().inTransazione()) {
    conn_.exec(interna_ ? std::string_view("SAVEPOINT palio_interna") : conn_.motore().inizioScrittura());
}

Transaction::~Transaction() {
    if (!chiusa_) {
        try {
            conn_.exec(interna_ ? "ROLLBACK TO SAVEPOINT palio_interna; RELEASE SAVEPOINT palio_interna" : "ROLLBACK");
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    conn_.exec(interna_ ? "RELEASE SAVEPOINT palio_interna" : "COMMIT");
    chiusa_ = true;
}

Lettura::Lettura(Connection& conn) : conn_(conn) {
    if (!conn_.isOpen() || conn_.motore().inTransazione()) return;
    conn_.exec(conn_.motore().inizioLettura());
    aperta_ = true;
}

Lettura::~Lettura() {
    if (!aperta_) return;
    try {
        conn_.exec("COMMIT");
    } catch (...) {
    }
}

}  // namespace storage
