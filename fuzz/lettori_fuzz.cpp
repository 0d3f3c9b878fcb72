#include "fuzz/lettori_fuzz.h"

#include <cstdlib>
#include <sstream>
#include <string>

#include "storage/error.h"
#include "storage/schema.h"
#include "storage/sostituto.h"
#include "storage/tabelle.h"

namespace {

class Silenzioso : public storage::Reporter {
public:
    void info(const std::string&) override {}
    void error(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
};

// The agent's rows the readers copy: a first certificate's part A and the agent's telephone.
void righeDelSostituto(storage::Connection& c) {
    static const char* const zefo1[] = {"A01", "A02"};
    storage::InserimentoRighe(c, storage::Tabella::Zefo1, zefo1, 2).inserisci({"CF", "ENTE"}, {true, true});
}

storage::Connection& archivio() {
    static storage::Connection* conn = [] {
        auto* c = new storage::Connection;
        c->open(":memory:");
        storage::schema::creaTabelle(*c);
        righeDelSostituto(*c);
        static const char* const sostituto[] = {"CodiceFiscale", "TelefonoPref", "telefono"};
        storage::InserimentoRighe(*c, storage::Tabella::SostitutoImposta, sostituto, 3)
            .inserisci({"CF", "06", "123"}, {true, true, true});
        return c;
    }();
    return *conn;
}

std::int64_t righe(storage::Connection& c) {
    std::int64_t n = 0;
    for (auto t : {storage::Tabella::Zefo1, storage::Tabella::Zefo2, storage::Tabella::Zefo3,
                   storage::Tabella::Professionisti, storage::Tabella::SostitutoImposta})
        n += storage::ContaRighe(c, t);
    return n;
}

}  // namespace

namespace fuzz {

int provaLettore(const std::uint8_t* dati, std::size_t n, const Lettura& leggi) {
    if (n == 0) return 0;
    storage::Connection& conn = archivio();
    const std::int64_t prima = righe(conn);
    std::istringstream in(std::string(reinterpret_cast<const char*>(dati) + 1, n - 1));
    importazione::DatiAggiuntivi d;
    Silenzioso r;
    try {
        leggi(conn, in, dati[0], d, r);
    } catch (const storage::Error& e) {
        if (std::string(e.what()).empty() || righe(conn) != prima) std::abort();
        return 0;
    }
    // Keep the archive small: drop what the run stored, give back the row the readers copy.
    storage::EliminaCertificati(conn, storage::Elenco::Dipendenti);
    storage::EliminaCertificati(conn, storage::Elenco::Professionisti);
    righeDelSostituto(conn);
    return 0;
}

}  // namespace fuzz
