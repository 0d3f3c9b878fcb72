#include "storage/esclusiva.h"

#include <thread>

#include "storage/error.h"
#include "storage/server.h"

namespace storage {

namespace {

// The server's advisory locks are per database: the first key says they are Palio's generation
// ("Pali"), the second is the schema's own number, unique in the database.
constexpr const char* kChiavi = "1348562025, (select oid::integer from pg_namespace where nspname = current_schema())";

bool provaAPrendere(Connection& conn) {
    Statement st(conn, std::string("select pg_try_advisory_lock(") + kChiavi + ")");
    return st.step() && st.text(0) == "t";
}

}  // namespace

std::unique_ptr<GenerazioneEsclusiva> GenerazioneEsclusiva::prendi(Connection& conn, std::chrono::milliseconds attesa) {
    if (!conn.suServer()) return std::unique_ptr<GenerazioneEsclusiva>(new GenerazioneEsclusiva(nullptr));
    const auto fine = std::chrono::steady_clock::now() + attesa;
    while (!provaAPrendere(conn)) {
        if (std::chrono::steady_clock::now() >= fine) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::unique_ptr<GenerazioneEsclusiva>(new GenerazioneEsclusiva(&conn));
}

GenerazioneEsclusiva::~GenerazioneEsclusiva() {
    if (!conn_ || !conn_->isOpen()) return;
    try {
        Statement st(*conn_, std::string("select pg_advisory_unlock(") + kChiavi + ")");
        st.step();
    } catch (const Error&) {
        // A connection lost meanwhile took its lock with it.
    }
}

std::string MessaggioGenerazioneInCorso(const Connection& conn) {
    return "Un altro operatore sta generando un file dall'archivio " + DescriviArchivio(conn.percorso()) +
           ": riprovare quando avrà finito.";
}

}  // namespace storage
