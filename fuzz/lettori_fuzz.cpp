// libFuzzer target: arbitrary bytes fed to the readers. The first byte picks the reading, the
// rest is the file. A reader may refuse a file only with storage::Error, and then must have
// stored nothing; anything else (a crash, another exception, rows left behind) is a finding.
//
// Built three times: PALIO_FUZZ_PAGHE (DIP, AMM, CoC, Altro), PALIO_FUZZ_770 (both layouts),
// PALIO_FUZZ_FINANZIARIA (both agent-data modes).

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "import/lettori.h"
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    if (n == 0) return 0;
    storage::Connection& conn = archivio();
    const long long prima = righe(conn);
    const unsigned scelta = dati[0];
    std::istringstream in(std::string(reinterpret_cast<const char*>(dati) + 1, n - 1));
    importazione::DatiAggiuntivi d;
    Silenzioso r;
    try {
#if defined(PALIO_FUZZ_PAGHE)
        if (scelta % 4 == 3)
            importazione::ImportaAltro(conn, in, "zefo.03", "03", scelta & 4, d, r);
        else
            importazione::ImportaPaghe(conn, in, "zefo.43", "43",
                                       static_cast<importazione::Tracciato>(scelta % 4),
                                       scelta & 4, d, r);
#elif defined(PALIO_FUZZ_770)
        importazione::Importa770(conn, in, "770Semplificato.txt", 1 + scelta % 2, d, r);
#else
        importazione::ImportaFinanziaria(conn, in, "A.TXT", scelta & 1, d, r);
#endif
    } catch (const storage::Error& e) {
        if (std::string(e.what()).empty() || righe(conn) != prima) std::abort();
        return 0;
    }
    // Keep the archive small: drop what the run stored, keep the agent rows the readers copy.
    conn.exec("delete from Zefo1 where ID > 1; delete from Zefo2; delete from Zefo3; "
              "delete from Professionisti; delete from SostitutoImposta where ID > 1");
    return 0;
}
