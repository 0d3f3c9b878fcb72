#include "storage/archivi.h"

#include <filesystem>

#include "storage/config.h"
#include "storage/error.h"
#include "storage/motore_pg.h"
#include "storage/schema.h"
#include "storage/sistema.h"

namespace storage {

namespace fs = std::filesystem;

void apriArchivio(Connection& conn, const std::string& percorsoDb) {
    conn.close();
    // A schema on a server: open() refuses one without the archive's tables.
    if (Connection::indirizzoServer(percorsoDb)) return conn.open(percorsoDb);
    std::error_code ec;
    if (!fs::is_regular_file(sistema::nativo(percorsoDb), ec)) throw Error(messaggioDatabaseMancante(percorsoDb));
    const bool vuoto = fs::file_size(sistema::nativo(percorsoDb), ec) == 0 && !ec;
    conn.open(percorsoDb);
    try {
        // Any other file without the archive's tables was refused by open(), untouched.
        if (vuoto && !TabelleMancanti(conn).empty()) {
            schema::creaTabelle(conn);
            conn.open(percorsoDb);
        }
    } catch (...) {
        conn.close();
        throw;
    }
}

std::string creaArchivio(const std::string& cartella) {
    if (cartella.empty()) throw Error("Indicare la cartella del nuovo archivio.");
    std::error_code ec;
    fs::create_directories(sistema::nativo(cartella), ec);
    if (!fs::is_directory(sistema::nativo(cartella)))
        throw Error("Impossibile creare la cartella " + cartella + (ec ? ": " + ec.message() : std::string()));
    const std::string db = percorsoDatabase(cartella);
    Connection::crea(db);
    return db;
}

std::string nomeSostituto(Connection& conn) {
    Statement st(conn,
                 "select trim(coalesce(CognomeDenominazione, '') || ' ' || coalesce(Nome, '')) "
                 "from SostitutoImposta order by ID limit 1");
    return st.step() ? std::string(st.text(0)) : std::string();
}

std::string cartellaDiUscita(const Connection& conn, const std::string& nome) {
    if (conn.percorso().empty()) return cartellaUtente("RAVO/Zefo2015/" + nome);
    // A server archive has no folder: each agent's schema gets one of its own in the home folder.
    if (conn.suServer())
        return cartellaUtente("RAVO/Zefo2015/" + motore::leggiIndirizzo(conn.percorso()).schema + "/" + nome);
    return sistema::utf8(fs::absolute(sistema::nativo(conn.percorso())).parent_path() / sistema::nativo(nome));
}

}  // namespace storage
