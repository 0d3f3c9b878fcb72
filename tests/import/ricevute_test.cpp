// The receipts' identifiers: a file is taken whole or not at all, and a refusal names line and value.
#include "import/ricevute.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "import/importazione.h"
#include "storage/error.h"
#include "storage/salvataggi.h"
#include "storage/sistema.h"

namespace {

using storage::Elenco;
namespace fs = std::filesystem;

// An archive file of its own (the import takes a backup beside it). The import tests' shared
// archive lives in memory, hence this one.
struct ArchivioSuFile {
    ArchivioSuFile()
        : dir(fs::temp_directory_path() / ("palio_ricevute_" + std::to_string(storage::sistema::idProcesso()))) {
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
    // Every row of every table, and the backups listed: what a refused file must leave as it was.
    std::string archivio() {
        std::string out;
        storage::Statement tabelle(arch.conn, "select name from sqlite_master where type = 'table' order by name");
        while (tabelle.step()) {
            const std::string t(tabelle.text(0));
            out += "[" + t + "]\n";
            storage::Statement st(arch.conn, "select * from " + t + " order by rowid");
            while (st.step()) {
                for (int i = 0; i < st.columnCount(); ++i)
                    out += (st.isNull(i) ? "<null>" : std::string(st.text(i))) + "|";
                out += "\n";
            }
        }
        for (const auto& v : storage::elencoSalvataggi(storage::cartellaSalvataggi(arch.conn)))
            out += "copia " + v.nome + "\n";
        return out;
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
    EXPECT_EQ(r.info_.back(),
              "Operazione terminata.\nImportate 2 ricevute dal file " + (arch.dir / "ricevute.csv").string() + ".");
    // The copy taken before is listed in words, as the other operations' are.
    const auto copie = importazione::ElencoCopie(arch.conn);
    ASSERT_FALSE(copie.empty());
    EXPECT_EQ(copie.front().prima, "prima dell'importazione delle ricevute");
    // Quoted cells, blanks around them and a closing separator, as spreadsheets write them.
    EXPECT_EQ(
        importazione::ImportaRicevute(
            arch.conn,
            file("\"VRDLGU70B02F205X\" ; \"0" + std::to_string(verdi) + "\";\"15031099999999999\";\"000042\";\n"), r),
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
        {riga("VRDLGU70B02F205X", verdi, "1503101234567890", "000002"),
         "il protocollo \"1503101234567890\" non è di 17 cifre."},
        {riga("VRDLGU70B02F205X", verdi, "150310123456789012", "000002"),
         "il protocollo \"150310123456789012\" non è di 17 cifre."},
        {riga("VRDLGU70B02F205X", verdi, "15031012345678901", "2"), "il progressivo \"2\" non è di 6 cifre."},
        {riga("VRDLGU70B02F205X", verdi, "15031012345678901", "00000A"), "il progressivo \"00000A\" non è di 6 cifre."},
        {"VRDLGU70B02F205X;" + std::to_string(verdi) + ";15031012345678901\n",
         "attese 4 colonne separate da \";\" (codice fiscale; numero certificato; protocollo; progressivo), trovate "
         "3."},
        {riga("VRDLGU70B02F205X", 0, "15031012345678901", "000002"), "il numero di certificato \"0\" non è valido."},
        // A certificate number has at most nine digits; twenty would not even fit a number.
        {"VRDLGU70B02F205X;1234567890;15031012345678901;000002\n",
         "il numero di certificato \"1234567890\" non è valido."},
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
            EXPECT_EQ(std::string(e.what()),
                      "File " + p + ", riga 2: " + c.errore + " Nessuna ricevuta è stata importata.");
        }
        EXPECT_EQ(protocollo(Elenco::Dipendenti, rossi), "/") << c.seconda;
    }
    // The list named: a professional's number is not looked up among employees.
    EXPECT_THROW(
        importazione::ImportaRicevute(arch.conn, file(riga("BNCGNN60C03L219Y", bianchi, "15031012345678901", "000001")),
                                      r, Elenco::Dipendenti),
        storage::Error);
    EXPECT_THROW(importazione::ImportaRicevute(arch.conn, file("Codice fiscale;Numero;Protocollo;Progressivo\n"), r),
                 storage::Error);
    EXPECT_THROW(importazione::ImportaRicevute(arch.conn, (arch.dir / "manca.csv").string(), r), storage::Error);
}

// An ASCII text as UTF-16 with its byte-order mark.
std::string utf16(const std::string& ascii, bool le) {
    std::string out = le ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) out += le ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
}

// A message fit for a box and a terminal: valid UTF-8, no control character but line breaks.
bool leggibile(const std::string& m) {
    for (std::size_t i = 0; i < m.size(); ++i) {
        const auto b = static_cast<unsigned char>(m[i]);
        if ((b < 0x20 && b != '\n') || b == 0x7F) return false;
        if (b < 0x80) continue;
        const std::size_t seguono = b >= 0xC2 && b <= 0xDF   ? 1
                                    : b >= 0xE0 && b <= 0xEF ? 2
                                    : b >= 0xF0 && b <= 0xF4 ? 3
                                                             : 0;
        if (seguono == 0 || i + seguono >= m.size()) return false;
        for (std::size_t k = 1; k <= seguono; ++k)
            if ((static_cast<unsigned char>(m[i + k]) & 0xC0) != 0x80) return false;
        i += seguono;
    }
    return true;
}

// The forms a receipts file takes in the hands of a spreadsheet or an editor: each is read, with
// the identifiers of its rows.
TEST_F(Ricevute, OgniFormaValidaLetta) {
    const std::string r1 = "RSSMRA80A01H501U;" + std::to_string(rossi) + ";15031012345678901;000001";
    const std::string r2 = "BNCGNN60C03L219Y;" + std::to_string(bianchi) + ";15031012345678902;000002";
    const std::string q1 = "\"RSSMRA80A01H501U\";\"" + std::to_string(rossi) + "\";\"15031012345678901\";\"000001\"";
    const std::string q2 = "\"BNCGNN60C03L219Y\";\"" + std::to_string(bianchi) + "\";\"15031012345678902\";\"000002\"";
    const std::string bom = "\xEF\xBB\xBF";
    struct Caso {
        const char* nome;
        std::string testo;
    } casi[] = {
        {"CR LF", r1 + "\r\n" + r2 + "\r\n"},
        {"senza a capo finale", r1 + "\n" + r2},
        {"CR soli", r1 + "\r" + r2 + "\r"},
        {"a capo misti", "Codice fiscale;Numero;Protocollo;Progressivo\r" + r1 + "\n" + r2 + "\r\n\r"},
        {"tutto tra virgolette", q1 + "\r\n" + q2 + "\r\n"},
        {"intestazione tra virgolette con ; dentro",
         "\"Codice fiscale\";\"Numero; certificato\";\"Protocollo \"\"telematico\"\"\";\"Progressivo\"\n" + q1 + "\n" +
             q2},
        {"intestazione con cifre nelle parole",
         "CF;Numero;Protocollo (17 cifre);Progressivo (6 cifre)\n" + r1 + "\n" + r2},
        {"BOM UTF-8 senza intestazione", bom + r1 + "\r\n" + r2 + "\r\n"},
        {"BOM UTF-8 e intestazione", bom + "CF;N.;Protocollo;Progressivo\n" + r1 + "\n" + r2 + "\n"},
        {"UTF-16 LE", utf16(r1 + "\r\n" + r2 + "\r\n", true)},
        {"UTF-16 BE con intestazione", utf16("CF;Numero;Protocollo;Progressivo\r\n" + q1 + "\r\n" + q2, false)},
        {"righe vuote del foglio di calcolo", r1 + "\n;;;\n\n  \n" + r2 + "\n;;;\n;;;;\n"},
        {"Ctrl-Z alla fine", r1 + "\r\n" + r2 + "\r\n\x1a" + "spazzatura\x01\x02"},
    };
    for (const auto& c : casi) {
        arch.conn.exec("delete from Invii");
        try {
            EXPECT_EQ(importazione::ImportaRicevute(arch.conn, file(c.testo), r), 2u) << c.nome;
        } catch (const storage::Error& e) {
            ADD_FAILURE() << c.nome << ": " << e.what();
        }
        EXPECT_EQ(protocollo(Elenco::Dipendenti, rossi), "15031012345678901/000001") << c.nome;
        EXPECT_EQ(protocollo(Elenco::Professionisti, bianchi), "15031012345678902/000002") << c.nome;
        EXPECT_EQ(protocollo(Elenco::Dipendenti, verdi), "/") << c.nome;
    }
}

// A damaged file is refused whole, with a message that names file, line and field in words a
// box can show, and the archive (its rows and its list of backups) stays as it was.
TEST_F(Ricevute, OgniDannoRifiutatoSenzaToccareLArchivio) {
    storage::ScriviIdentificativi(arch.conn, Elenco::Dipendenti, verdi, "15031000000000001", "000007");
    using namespace std::string_literals;
    const std::string buona = "RSSMRA80A01H501U;" + std::to_string(rossi) + ";15031012345678901;000001\n";
    const std::string n = std::to_string(rossi);
    const std::string p = (arch.dir / "ricevute.csv").string();
    const std::string fine = " Nessuna ricevuta è stata importata.";
    const std::string foglio = ": un foglio di calcolo l'ha scritto come numero, formattare la colonna come testo.";
    struct Caso {
        const char* nome;
        std::string testo;
        std::string messaggio;  // exact, or "~" and a part of it
    } casi[] = {
        // A first row whose values a spreadsheet rewrote is not a header: it is refused.
        {"protocollo in notazione scientifica alla prima riga",
         "RSSMRA80A01H501U;" + n + ";1,50310123456789E+16;1\n" + buona,
         "File " + p + ", riga 1: il protocollo \"1,50310123456789E+16\" non è di 17 cifre" + foglio + fine},
        {"prima riga tutta riscritta", "RSSMRA80A01H501U;" + n + ".0;1.5031E+16;1.0\n" + buona,
         "File " + p + ", riga 1: il numero di certificato \"" + n + ".0\" non è valido" + foglio + fine},
        {"colonne troppo strette alla prima riga", "RSSMRA80A01H501U;#####;#####;#####\n" + buona,
         "File " + p + ", riga 1: il numero di certificato \"#####\" non è valido." + fine},
        {"progressivo riscritto", buona + "VRDLGU70B02F205X;" + std::to_string(verdi) + ";15031012345678901;1,00\n",
         "File " + p + ", riga 2: il progressivo \"1,00\" non è di 6 cifre" + foglio + fine},
        {"intestazione dopo la prima riga", buona + "CF;Numero;Protocollo;Progressivo\n",
         "File " + p + ", riga 2: il numero di certificato \"Numero\" non è valido." + fine},
        {"virgolette non chiuse", "\"RSSMRA80A01H501U;" + n + ";15031012345678901;000001\n",
         "File " + p +
             ", riga 1: attese 4 colonne separate da \";\" (codice fiscale; numero certificato; protocollo; "
             "progressivo), trovate 1." +
             fine},
        // Bytes no message may carry raw: control characters, bytes of no character, a
        // value as long as a line.
        {"NUL in un valore",
         buona + "VRDLGU70B02F205X;" + std::to_string(verdi) +
             ";1503101234\x00"
             "5678901;000002\n"s,
         "~riga 2"},
        {"byte alti nel protocollo",
         buona + "VRDLGU70B02F205X;" + std::to_string(verdi) + ";15031\x81\xFE\x90;000002\n",
         "File " + p + ", riga 2: il protocollo \"15031\\x81þ\\x90\" non è di 17 cifre." + fine},
        {"valore lunghissimo",
         buona + "VRDLGU70B02F205X;" + std::to_string(verdi) + ";" + std::string(100000, '7') + ";000002\n",
         "File " + p + ", riga 2: il protocollo \"" + std::string(40, '7') + "…\" non è di 17 cifre." + fine},
        {"riga senza fine", buona + std::string(3 << 20, 'x') + "\n",
         "File " + p + ", riga 2: la riga è lunga più di 1.048.576 caratteri, non è una riga di ricevute." + fine},
        {"codice fiscale con un carattere di controllo alla fine",
         "RSSMRA80A01H501U\x01;" + n + ";15031012345678901;000001\n", "~riga 1"},
        {"UTF-16 senza BOM", std::string("R\0S\0S\0;\0", 8), "~riga 1"},
        {"file binario", "%PDF-1.4\n\x00\x01\x02\xFF\xFE"s, "~riga 1"},
        {"solo l'intestazione", "Codice fiscale;Numero;Protocollo;Progressivo\r\n;;;\r\n",
         "Il file " + p + " non contiene ricevute: nessuna ricevuta importata."},
        {"vuoto", "", "Il file " + p + " non contiene ricevute: nessuna ricevuta importata."},
    };
    const std::string prima = archivio();
    for (const auto& c : casi) {
        try {
            importazione::ImportaRicevute(arch.conn, file(c.testo), r);
            ADD_FAILURE() << c.nome;
        } catch (const storage::Error& e) {
            const std::string m = e.what();
            if (c.messaggio.front() == '~') {
                EXPECT_NE(m.find(c.messaggio.substr(1)), std::string::npos) << c.nome << ": " << m;
                EXPECT_NE(m.find(p), std::string::npos) << c.nome << ": " << m;
            } else {
                EXPECT_EQ(m, c.messaggio) << c.nome;
            }
            EXPECT_TRUE(leggibile(m)) << c.nome << ": " << m;
            EXPECT_LT(m.size(), 400u) << c.nome;
        }
        EXPECT_EQ(archivio(), prima) << c.nome;
    }
}

// What is not a plain file is refused before it is opened: a FIFO would hang the window, a
// device never end.
TEST_F(Ricevute, FileCheNonSonoFileRifiutatiSubito) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFO nor /dev/zero";
#else
    const std::string fifo = (arch.dir / "ricevute.fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string prima = archivio();
    const std::pair<std::string, std::string> casi[] = {
        {fifo, "Il file " + fifo + " è una pipe con nome (FIFO), non un file: non è possibile eseguire l'import."},
        {"/dev/zero", "Il file /dev/zero è un dispositivo, non un file: non è possibile eseguire l'import."},
        {arch.dir.string(),
         "Il file " + arch.dir.string() + " è una cartella, non un file: non è possibile eseguire l'import."},
    };
    for (const auto& [percorso, messaggio] : casi) {
        try {
            importazione::ImportaRicevute(arch.conn, percorso, r);
            ADD_FAILURE() << percorso;
        } catch (const storage::Error& e) {
            EXPECT_EQ(std::string(e.what()), messaggio);
        }
    }
    EXPECT_EQ(archivio(), prima);
#endif
}

}  // namespace
