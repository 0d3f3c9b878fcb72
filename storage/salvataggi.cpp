#include "storage/salvataggi.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "storage/error.h"
#include "storage/invii.h"
#include "storage/motore_sqlite.h"
#include "storage/schema.h"
#include "storage/sistema.h"

namespace storage {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefisso = "Zefo2015_";

// A raw connection of our own to a file other than the archive, closed on every path.
class Aperta {
public:
    Aperta(const std::string& percorso, int flag) {
        if (sqlite3_open_v2(percorso.c_str(), &db_, flag, nullptr) != SQLITE_OK) {
            const std::string testo = db_ ? sqlite3_errmsg(db_) : "memoria esaurita";
            sqlite3_close(db_);
            db_ = nullptr;
            throw Error("Impossibile aprire il file " + percorso + ": " + testo);
        }
        sqlite3_busy_timeout(db_, 5000);
    }
    ~Aperta() { sqlite3_close(db_); }
    Aperta(const Aperta&) = delete;
    Aperta& operator=(const Aperta&) = delete;
    sqlite3* get() const { return db_; }
    void exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw Error(std::string("Errore del database: ") + sqlite3_errmsg(db_));
    }
    // The first column of the first row, as text.
    std::string valore(const char* sql) {
        sqlite3_stmt* st = nullptr;
        std::string v;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
            const auto* t = sqlite3_column_text(st, 0);
            if (t) v = reinterpret_cast<const char*>(t);
        }
        sqlite3_finalize(st);
        return v;
    }

private:
    sqlite3* db_ = nullptr;
};

// All pages of src's main database into dst's, in one step; the engine's text on failure.
int copia(sqlite3* dst, sqlite3* src) {
    sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main");
    if (!b) return sqlite3_errcode(dst);
    int rc = sqlite3_backup_step(b, -1);
    const int fine = sqlite3_backup_finish(b);
    if (rc == SQLITE_DONE) rc = fine;
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void rimuovi(const std::string& percorso) {
    std::error_code ec;
    for (const char* coda : {"", "-journal", "-wal", "-shm"}) fs::remove(sistema::nativo(percorso + coda), ec);
}

// A copy that a killed program left half taken (NAME.db.tmp and its journal) is removed, unless
// another program is taking it now: then the file is locked.
void rimuoviCopieInterrotte(const std::string& cartella) {
    std::error_code ec;
    std::vector<std::string> interrotte;
    for (const auto& e : fs::directory_iterator(sistema::nativo(cartella), ec)) {
        const std::string nome = sistema::utf8(e.path().filename());
        if (nome.rfind(kPrefisso, 0) == 0 && nome.size() > 7 && nome.compare(nome.size() - 7, 7, ".db.tmp") == 0)
            interrotte.push_back(sistema::utf8(e.path()));
    }
    for (const auto& percorso : interrotte) {
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(percorso.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, "BEGIN EXCLUSIVE; ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) rimuovi(percorso);
    }
}

// A server archive's copies are sibling schemas of its own, "<schema>_copia_AAAAMMGG_HHMMSS_NN",
// each marked by a comment that names the archive's schema, the time and the operation: the
// comment, not the name (cut to the server's 63 characters for a long schema), tells whose it is.
namespace server {

constexpr std::string_view kSegno = "palio2015 copia|";

std::string citato(std::string_view nome) { return "\"" + std::string(nome) + "\""; }

std::string schemaAttuale(Connection& conn) {
    Statement st(conn, "select current_schema()");
    st.step();
    return std::string(st.text(0));
}

// The copies of the schema, newest first.
std::vector<VoceSalvataggio> elenco(Connection& conn, const std::string& schema) {
    std::vector<VoceSalvataggio> voci;
    Statement st(conn,
                 "select nspname, obj_description(oid, 'pg_namespace') from pg_namespace "
                 "where starts_with(coalesce(obj_description(oid, 'pg_namespace'), ''), ?) order by 2 desc, 1 desc");
    st.bind(1, std::string(kSegno) + schema + "|");
    while (st.step()) {
        // palio2015 copia|SCHEMA|AAAAMMGG-HHMMSS|OPERAZIONE
        const std::string commento(st.text(1));
        const std::size_t inizio = kSegno.size() + schema.size() + 1, fine = commento.find('|', inizio);
        if (fine == std::string::npos || fine - inizio != 15) continue;
        const std::string t = commento.substr(inizio, 15);
        VoceSalvataggio v;
        v.percorso = v.nome = std::string(st.text(0));
        v.quando = t.substr(6, 2) + "/" + t.substr(4, 2) + "/" + t.substr(0, 4) + " " + t.substr(9, 2) + ":" +
                   t.substr(11, 2) + ":" + t.substr(13, 2);
        v.operazione = commento.substr(fine + 1);
        voci.push_back(std::move(v));
    }
    return voci;
}

// The archive's tables as the server names them, Versione aside when asked.
std::vector<std::string> tabelle(Connection& conn, const std::string& schema) {
    std::vector<std::string> t;
    Statement st(
        conn,
        "select table_name from information_schema.tables where table_schema = ? and table_type = 'BASE TABLE' "
        "order by table_name");
    st.bind(1, schema);
    while (st.step()) t.emplace_back(st.text(0));
    return t;
}

// Runs fai inside the caller's transaction, or in one of its own.
template <typename F>
void inTransazione(Connection& conn, F&& fai) {
    if (conn.motore().inTransazione()) return fai();
    Transaction t(conn);
    fai();
    t.commit();
}

std::string copia(Connection& conn, std::string_view operazione) {
    const std::string schema = schemaAttuale(conn);
    const std::string ora = sistema::oraLocale("%Y%m%d-%H%M%S");
    std::string nome;
    inTransazione(conn, [&] {
        std::string radice = schema.substr(0, 63 - 25) + "_copia_" + ora.substr(0, 8) + "_" + ora.substr(9) + "_";
        int n = 0;
        for (const auto& v : elenco(conn, schema))
            if (v.nome.rfind(radice, 0) == 0) n = std::max(n, std::atoi(v.nome.c_str() + radice.size()));
        Statement libero(conn, "select 1 from pg_namespace where nspname = ?");
        do {
            ++n;
            nome = radice + (n < 10 ? "0" : "") + std::to_string(n);
            libero.reset();
            libero.bind(1, nome);
        } while (libero.step());
        conn.exec("create schema " + citato(nome));
        for (const auto& t : tabelle(conn, schema))
            conn.exec("create table " + citato(nome) + "." + citato(t) + " as table " + citato(schema) + "." +
                      citato(t));
        // Where each key's numbering stands, for the restore to set it back.
        conn.exec("create table " + citato(nome) +
                  ".palio_contatori as select sequencename::text as sequenza, last_value as valore "
                  "from pg_sequences where schemaname = current_schema()");
        Statement commento(conn, "select set_config('palio.commento', ?, true)");
        commento.bind(1, std::string(kSegno) + schema + "|" + ora + "|" + std::string(operazione)).step();
        // A comment takes no parameter: it comes from the setting just made, quoted by the server.
        conn.exec("do $$ begin execute format('comment on schema %I is %L', '" + nome +
                  "', current_setting('palio.commento')); end $$");
    });
    return nome;
}

void togli(Connection& conn, const std::string& nome) {
    conn.exec("drop schema if exists " + citato(nome) + " cascade");
}

void ripristina(Connection& conn, const std::string& nome) {
    const std::string schema = schemaAttuale(conn);
    const auto copie = elenco(conn, schema);
    if (std::none_of(copie.begin(), copie.end(), [&](const VoceSalvataggio& v) { return v.nome == nome; }))
        throw Error("Il salvataggio " + nome + " non esiste.");
    Transaction t(conn);
    const auto vive = tabelle(conn, schema);
    const auto salvate = tabelle(conn, nome);
    // Nobody else writes while the archive's tables are emptied and filled again.
    std::string elencoVive;
    for (const auto& v : vive) elencoVive += (elencoVive.empty() ? "" : ", ") + citato(v);
    conn.exec("lock table " + elencoVive + " in exclusive mode");
    for (const auto& v : vive) {
        // The structure stays this version's: only the rows come back.
        if (v == "versione") continue;
        conn.exec("delete from " + citato(v));
        if (std::find(salvate.begin(), salvate.end(), v) == salvate.end()) continue;
        // The columns both have, a copy of an older archive lacking some.
        Statement st(conn,
                     "select string_agg(quote_ident(a.column_name), ', ' order by a.ordinal_position) "
                     "from information_schema.columns a join information_schema.columns b "
                     "on b.table_schema = ? and b.table_name = a.table_name and b.column_name = a.column_name "
                     "where a.table_schema = ? and a.table_name = ?");
        st.bind(1, nome).bind(2, schema).bind(3, v);
        st.step();
        const std::string colonne(st.text(0));
        if (colonne.empty()) continue;
        conn.exec("insert into " + citato(v) + " (" + colonne + ") select " + colonne + " from " + citato(nome) + "." +
                  citato(v));
    }
    if (std::find(salvate.begin(), salvate.end(), "palio_contatori") != salvate.end()) {
        Statement st(conn,
                     "select setval(quote_ident(s.sequencename), coalesce(c.valore, 1), c.valore is not null) "
                     "from " +
                         citato(nome) +
                         ".palio_contatori c join pg_sequences s "
                         "on s.schemaname = current_schema() and s.sequencename = c.sequenza");
        while (st.step()) {
        }
    }
    t.commit();
}

}  // namespace server

}  // namespace

std::string cartellaSalvataggi(const Connection& conn) { return cartellaSalvataggi(conn.percorso()); }

std::string cartellaSalvataggi(const std::string& db) {
    // A server archive's copies are the server's own business (pg_dump).
    if (db.empty() || db == ":memory:" || Connection::indirizzoServer(db)) return {};
    return sistema::utf8(sistema::nativo(db).parent_path() / "backup");
}

Salvataggio::Salvataggio(Connection& conn, std::string_view operazione) : cartella_(cartellaSalvataggi(conn)) {
    if (conn.suServer()) {
        const auto inizio = std::chrono::steady_clock::now();
        try {
            percorso_ = server::copia(conn, operazione);
        } catch (const Error& e) {
            throw Error(e.causa(),
                        "Impossibile salvare una copia dell'archivio sul server: l'operazione non è stata eseguita.",
                        e.motore());
        }
        server_ = &conn;
        secondi_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
        return;
    }
    if (cartella_.empty()) return;
    const auto inizio = std::chrono::steady_clock::now();
    std::error_code ec;
    fs::create_directories(sistema::nativo(cartella_), ec);
    if (!fs::is_directory(sistema::nativo(cartella_)))
        throw Error("Impossibile creare la cartella dei salvataggi " + cartella_ +
                    (ec ? ": " + ec.message() : std::string()));
    rimuoviCopieInterrotte(cartella_);
    const std::string ora = sistema::oraLocale("%Y%m%d-%H%M%S");
    // A number after the time keeps the names in order when copies share a second: one more
    // than the highest of that second, so a number freed by the rotation is not taken again.
    const std::string secondo = std::string(kPrefisso) + ora + "-";
    int n = 0;
    for (const auto& v : elencoSalvataggi(cartella_))
        if (v.nome.rfind(secondo, 0) == 0) n = std::max(n, std::atoi(v.nome.c_str() + secondo.size()));
    ++n;
    const std::string nome = secondo + (n < 10 ? "0" : "") + std::to_string(n) + "_" + std::string(operazione) + ".db";
    const std::string finale = sistema::utf8(sistema::nativo(cartella_) / sistema::nativo(nome));
    const std::string temporaneo = finale + ".tmp";
    rimuovi(temporaneo);
    try {
        Aperta dst(temporaneo, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (const int rc = copia(dst.get(), motore::handleSqlite(conn)); rc != SQLITE_OK)
            throw Error("Impossibile salvare una copia dell'archivio in " + finale + ": " + sqlite3_errstr(rc));
        // The copy stands alone: no WAL files beside it.
        dst.exec("PRAGMA journal_mode=DELETE");
    } catch (...) {
        rimuovi(temporaneo);
        throw;
    }
    fs::rename(sistema::nativo(temporaneo), sistema::nativo(finale), ec);
    if (ec) {
        rimuovi(temporaneo);
        throw Error("Impossibile salvare una copia dell'archivio in " + finale + ": " + ec.message());
    }
    percorso_ = finale;
    secondi_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
}

Salvataggio::~Salvataggio() {
    if (confermato_ || percorso_.empty()) return;
    if (!server_) {
        rimuovi(percorso_);
        return;
    }
    try {
        server::togli(*server_, percorso_);
    } catch (...) {
        // Left on the server: listed among the copies, and pushed out by the later ones.
    }
}

void Salvataggio::conferma() {
    confermato_ = true;
    if (percorso_.empty()) return;
    if (server_) {
        const auto voci = server::elenco(*server_, server::schemaAttuale(*server_));
        for (std::size_t i = kSalvataggiTenuti; i < voci.size(); ++i) server::togli(*server_, voci[i].nome);
        return;
    }
    const auto voci = elencoSalvataggi(cartella_);
    for (std::size_t i = kSalvataggiTenuti; i < voci.size(); ++i) rimuovi(voci[i].percorso);
}

std::vector<VoceSalvataggio> elencoSalvataggi(const std::string& cartella) {
    std::vector<VoceSalvataggio> voci;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(sistema::nativo(cartella), ec)) {
        const std::string nome = sistema::utf8(e.path().filename());
        // Zefo2015_AAAAMMGG-HHMMSS-NN_OPERAZIONE.db
        if (nome.rfind(kPrefisso, 0) != 0 || e.path().extension() != ".db") continue;
        const std::string resto = nome.substr(kPrefisso.size(), nome.size() - kPrefisso.size() - 3);
        const std::size_t sep = resto.find('_');
        if (sep == std::string::npos || sep < 15) continue;
        const std::string t = resto.substr(0, sep);
        VoceSalvataggio v;
        v.percorso = sistema::utf8(e.path());
        v.nome = nome;
        v.quando = t.substr(6, 2) + "/" + t.substr(4, 2) + "/" + t.substr(0, 4) + " " + t.substr(9, 2) + ":" +
                   t.substr(11, 2) + ":" + t.substr(13, 2);
        v.operazione = resto.substr(sep + 1);
        voci.push_back(std::move(v));
    }
    // The name's time part sorts as the time it was taken.
    std::sort(voci.begin(), voci.end(),
              [](const VoceSalvataggio& a, const VoceSalvataggio& b) { return a.nome > b.nome; });
    return voci;
}

namespace {

// The copy written to a temporary file beside the archive and checked: a whole archive of its own.
// Throws, removing the temporary, when the copy is not one.
std::string copiaVerificata(const std::string& archivio, const std::string& salvataggio) {
    if (sistema::tipoFile(salvataggio) != sistema::TipoFile::Normale)
        throw Error("Il salvataggio " + salvataggio + " non esiste.");
    const std::string temporaneo = archivio + ".ripristino";
    rimuovi(temporaneo);
    try {
        Aperta src(salvataggio, SQLITE_OPEN_READONLY);
        Aperta tmp(temporaneo, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (const int rc = copia(tmp.get(), src.get()); rc != SQLITE_OK)
            throw Error("Il file " + salvataggio + " non è un salvataggio dell'archivio: " + sqlite3_errstr(rc));
        tmp.exec("PRAGMA journal_mode=DELETE");
        if (tmp.valore("PRAGMA quick_check") != "ok" ||
            tmp.valore("select count(*) from sqlite_master where type = 'table' and name in "
                       "('Zefo1', 'Zefo2', 'Zefo3', 'Professionisti', 'SostitutoImposta')") != "5")
            throw Error("Il file " + salvataggio + " non è un salvataggio dell'archivio.");
    } catch (...) {
        rimuovi(temporaneo);
        throw;
    }
    return temporaneo;
}

void rifiutaSeApertoDaAltri(const std::string& archivio) {
    if (sistema::apertoDaAltri(archivio))
        throw Error("L'archivio " + archivio + " è aperto da un altro programma: chiuderlo e ripetere il ripristino.");
}

}  // namespace

std::vector<VoceSalvataggio> salvataggiDellArchivio(Connection& conn) {
    if (conn.suServer()) return server::elenco(conn, server::schemaAttuale(conn));
    const std::string cartella = cartellaSalvataggi(conn);
    return cartella.empty() ? std::vector<VoceSalvataggio>() : elencoSalvataggi(cartella);
}

std::vector<VoceSalvataggio> salvataggiDellArchivio(const std::string& percorsoDb) {
    if (!Connection::indirizzoServer(percorsoDb)) {
        const std::string cartella = cartellaSalvataggi(percorsoDb);
        return cartella.empty() ? std::vector<VoceSalvataggio>() : elencoSalvataggi(cartella);
    }
    Connection conn;
    conn.open(percorsoDb);
    return salvataggiDellArchivio(conn);
}

void ripristina(Connection& conn, const std::string& salvataggio) {
    const std::string& archivio = conn.percorso();
    if (conn.suServer()) {
        server::ripristina(conn, salvataggio);
        return;
    }
    rifiutaSeApertoDaAltri(archivio);
    const std::string temporaneo = copiaVerificata(archivio, salvataggio);
    try {
        Aperta src(temporaneo, SQLITE_OPEN_READONLY);
        if (const int rc = copia(motore::handleSqlite(conn), src.get()); rc != SQLITE_OK) {
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                throw Error("L'archivio " + archivio +
                            " è in uso da un altro programma: il ripristino non è stato eseguito.");
            throw Error("Ripristino non eseguito: " + std::string(sqlite3_errstr(rc)));
        }
    } catch (...) {
        rimuovi(temporaneo);
        throw;
    }
    rimuovi(temporaneo);
    // A copy of an older archive comes back in this version.
    schema::aggiorna(conn);
}

std::string ripristinaAlPosto(const std::string& archivio, const std::string& salvataggio) {
    rifiutaSeApertoDaAltri(archivio);
    const std::string temporaneo = copiaVerificata(archivio, salvataggio);
    std::error_code ec;
    std::string conservato;
    if (sistema::tipoFile(archivio) != sistema::TipoFile::Mancante) {
        conservato = archivio + ".danneggiato-" + sistema::oraLocale("%Y%m%d-%H%M%S");
        for (int n = 2; fs::exists(sistema::nativo(conservato), ec); ++n)
            conservato = archivio + ".danneggiato-" + sistema::oraLocale("%Y%m%d-%H%M%S") + "-" + std::to_string(n);
        fs::rename(sistema::nativo(archivio), sistema::nativo(conservato), ec);
        if (ec) {
            rimuovi(temporaneo);
            throw Error("Impossibile mettere da parte l'archivio " + archivio + ": " + ec.message() +
                        ". Il ripristino non è stato eseguito.");
        }
    }
    // The old file's journals go with it, where the engine would look for them; its shared
    // memory would only mislead the restored archive.
    for (const char* coda : {"-wal", "-journal"})
        if (fs::exists(sistema::nativo(archivio + coda), ec))
            fs::rename(sistema::nativo(archivio + coda),
                       sistema::nativo(conservato.empty() ? archivio + coda + ".vecchio" : conservato + coda), ec);
    fs::remove(sistema::nativo(archivio + "-shm"), ec);
    fs::rename(sistema::nativo(temporaneo), sistema::nativo(archivio), ec);
    if (ec) {
        const std::string motivo = ec.message();
        if (!conservato.empty()) fs::rename(sistema::nativo(conservato), sistema::nativo(archivio), ec);
        rimuovi(temporaneo);
        throw Error("Ripristino non eseguito: " + motivo);
    }
    return conservato;
}

}  // namespace storage
