// The receipts' identifiers: a file is taken whole or not at all, and a refusal names line and value.
#include "import/ricevute.h"

#include <gtest/gtest.h>

#include <fstream>

#include <unistd.h>

#include <filesystem>

#include "storage/error.h"

namespace {

using storage::Elenco;
namespace fs = std::filesystem;

// An archive file of its own (the import takes a backup beside it). The import tests' shared
// archive lives in memory, hence this one.
struct ArchivioSuFile {
    ArchivioSuFile() : dir(fs::temp_directory_path() / ("palio_ricevute_" + std::to_string(::getpid()))) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        storage::Connection::crea((dir / "Zefo2015.db").string());
        conn.open((dir / "Zefo2015.db").string());
    }
    ~ArchivioSuFile() {
        conn.close();
        fs::remove_all(dir);
    }
    std::int64_t inserisci(const std::string& tabella, const std::string& cf) {
        storage::Statement st(conn, "insert into " + tabella + " (B01) values (?)");
        st.bind(1, cf).step();
        return conn.lastInsertId();
    }
    fs::path dir;
    storage::Connection conn;
};

struct Silenzioso : storage::Reporter {
    std::vector<std::string> info_;
    void info(const std::string& t) override { info_.push_back(t); }
    void error(const std::string&) override {}
    bool ask(const std::string&) override { return true; }
};

class Ricevute : public ::testing::Test {
protected:
    void SetUp() override {
        rossi = arch.inserisci("Zefo1", "RSSMRA80A01H501U");
        verdi = arch.inserisci("Zefo1", "VRDLGU70B02F205X");
        bianchi = arch.inserisci("Professionisti", "BNCGNN60C03L219Y");
    }
    std::string file(const std::string& testo) {
        const auto p = (arch.dir / "ricevute.csv").string();
        std::ofstream(p, std::ios::binary) << testo;
        return p;
    }
    std::string riga(const std::string& cf, std::int64_t id, const std::string& prot, const std::string& prog) {
        return cf + ";" + std::to_string(id) + ";" + prot + ";" + prog + "\r\n";
    }
    std::string protocollo(Elenco e, std::int64_t id) {
        const auto s = storage::LeggiInvio(arch.conn, e, id);
        return s.protocollo + "/" + s.progressivo;
    }

    ArchivioSuFile arch;
    Silenzioso r;
    std::int64_t rossi = 0, verdi = 0, bianchi = 0;
};

TEST_F(Ricevute, FileBuoniConOSenzaIntestazione) {
    const std::string corpo = riga("RSSMRA80A01H501U", rossi, "15031012345678901", "000001") +
                              riga("bncgnn60c03l219y", bianchi, "15031012345678901", "000003") + "\r\n";
    const std::string intestazioni[] = {"", "Codice fiscale;Numero certificato;Protocollo;Progressivo\r\n",
                                        "\"CF\";\"N.\";\"Protocollo\";\"Progressivo\"\n"};
    for (const auto& intestazione : intestazioni) {
        arch.conn.exec("delete from Invii");
        EXPECT_EQ(importazione::ImportaRicevute(arch.conn, file(intestazione + corpo), r), 2u) << intestazione;
        EXPECT_EQ(protocollo(Elenco::Dipendenti, rossi), "15031012345678901/000001");
        EXPECT_EQ(protocollo(Elenco::Professionisti, bianchi), "15031012345678901/000003");
        EXPECT_EQ(protocollo(Elenco::Dipendenti, verdi), "/");
    }
    EXPECT_EQ(r.info_.back(), "Operazione terminata.\nImportate 2 ricevute dal file " + (arch.dir / "ricevute.csv").string() + ".");
    // Quoted cells, blanks around them and a closing separator, as spreadsheets write them.
    EXPECT_EQ(importazione::ImportaRicevute(arch.conn, file("\"VRDLGU70B02F205X\" ; \"0" + std::to_string(verdi) +
                                                             "\";\"15031099999999999\";\"000042\";\n"),
                                            r),
              1u);
    EXPECT_EQ(protocollo(Elenco::Dipendenti, verdi), "15031099999999999/000042");
}

TEST_F(Ricevute, UnaRigaSbagliataRifiutaIlFile) {
    const std::string buona = riga("RSSMRA80A01H501U", rossi, "15031012345678901", "000001");
    struct Caso {
        std::string seconda, errore;
    } casi[] = {
        {riga("VRDLGU70B02F205X", 99, "15031012345678901", "000002"),
         "nessun certificato numero 99 con codice fiscale \"VRDLGU70B02F205X\"."},
        // Number and tax code of two different certificates.
        {riga("VRDLGU70B02F205X", rossi, "15031012345678901", "000002"),
         "nessun certificato numero " + std::to_string(rossi) + " con codice fiscale \"VRDLGU70B02F205X\"."},
        {riga("VRDLGU70B02F205X", verdi, "1503101234567890", "000002"), "il protocollo \"1503101234567890\" non è di 17 cifre."},
        {riga("VRDLGU70B02F205X", verdi, "150310123456789012", "000002"), "il protocollo \"150310123456789012\" non è di 17 cifre."},
        {riga("VRDLGU70B02F205X", verdi, "15031012345678901", "2"), "il progressivo \"2\" non è di 6 cifre."},
        {riga("VRDLGU70B02F205X", verdi, "15031012345678901", "00000A"), "il progressivo \"00000A\" non è di 6 cifre."},
        {"VRDLGU70B02F205X;" + std::to_string(verdi) + ";15031012345678901\n",
         "attese 4 colonne separate da \";\" (codice fiscale; numero certificato; protocollo; progressivo), trovate 3."},
        {riga("VRDLGU70B02F205X", 0, "15031012345678901", "000002"), "il numero di certificato \"0\" non è valido."},
        // A certificate number has at most nine digits; twenty would not even fit a number.
        {"VRDLGU70B02F205X;1234567890;15031012345678901;000002\n", "il numero di certificato \"1234567890\" non è valido."},
        {"VRDLGU70B02F205X;99999999999999999999;15031012345678901;000002\n",
         "il numero di certificato \"99999999999999999999\" non è valido."},
        {riga("RSSMRA80A01H501U", rossi, "15031012345678901", "000009"),
         "il certificato numero " + std::to_string(rossi) + " ha già protocollo e progressivo diversi alla riga 1."},
    };
    for (const auto& c : casi) {
        const auto p = file(buona + c.seconda);
        try {
            importazione::ImportaRicevute(arch.conn, p, r);
            ADD_FAILURE() << c.seconda;
        } catch (const storage::Error& e) {
            EXPECT_EQ(std::string(e.what()), "File " + p + ", riga 2: " + c.errore + " Nessuna ricevuta è stata importata.");
        }
        EXPECT_EQ(protocollo(Elenco::Dipendenti, rossi), "/") << c.seconda;
    }
    // The list named: a professional's number is not looked up among employees.
    EXPECT_THROW(importazione::ImportaRicevute(arch.conn, file(riga("BNCGNN60C03L219Y", bianchi, "15031012345678901", "000001")),
                                               r, Elenco::Dipendenti),
                 storage::Error);
    EXPECT_THROW(importazione::ImportaRicevute(arch.conn, file("Codice fiscale;Numero;Protocollo;Progressivo\n"), r),
                 storage::Error);
    EXPECT_THROW(importazione::ImportaRicevute(arch.conn, (arch.dir / "manca.csv").string(), r), storage::Error);
}

}  // namespace
