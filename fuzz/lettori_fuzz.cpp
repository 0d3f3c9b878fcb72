#include "fuzz/lettori_fuzz.h"

#include <cstdlib>
#include <sstream>
#include <string>

#include "storage/error.h"

namespace {

class Silenzioso : public storage::Reporter {
public:
    void info(const std::string&) override {}
    void error(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
};

storage::Connection& archivio() {
    static storage::Connection* conn = [] {
        auto* c = new storage::Connection;
        c->open(":memory:");
        c->exec(storage::schemaSql());
        c->exec("insert into Zefo1 (A01, A02) values ('CF', 'ENTE')");
        c->exec("insert into SostitutoImposta (CodiceFiscale, TelefonoPref, telefono) "
                "values ('CF', '06', '123')");
        return c;
    }();
    return *conn;
}

long long righe(storage::Connection& c) {
    storage::Statement st(c,
                          "select (select count(*) from Zefo1) + (select count(*) from Zefo2) + "
                          "(select count(*) from Zefo3) + (select count(*) from Professionisti) + "
                          "(select count(*) from SostitutoImposta)");
    st.step();
    return st.integer(0);
}

}  // namespace

namespace fuzz {

int provaLettore(const std::uint8_t* dati, std::size_t n, const Lettura& leggi) {
    if (n == 0) return 0;
    storage::Connection& conn = archivio();
    const long long prima = righe(conn);
    std::istringstream in(std::string(reinterpret_cast<const char*>(dati) + 1, n - 1));
    importazione::DatiAggiuntivi d;
    Silenzioso r;
    try {
        leggi(conn, in, dati[0], d, r);
    } catch (const storage::Error& e) {
        if (std::string(e.what()).empty() || righe(conn) != prima) std::abort();
        return 0;
    }
    // Keep the archive small: drop what the run stored, keep the agent rows the readers copy.
    conn.exec("delete from Zefo1 where ID > 1; delete from Zefo2; delete from Zefo3; "
              "delete from Professionisti; delete from SostitutoImposta where ID > 1");
    return 0;
}

}  // namespace fuzz
