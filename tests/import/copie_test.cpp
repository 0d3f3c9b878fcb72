// Imports started from a path: files that are not files, the same file twice, the backups taken
// before every change and their restore.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "import/importazione.h"
#include "prova_import.h"
#include "righe_prova.h"
#include "storage/error.h"
#include "storage/sha256.h"
#include "storage/sistema.h"

namespace {

namespace fs = std::filesystem;
using Tracciato = storage::Tipo;
using V = std::vector<std::string>;

TEST(Sha256, VettoriNoti) {
    auto sha = [](const std::string& s, std::size_t pezzo) {
        storage::Sha256 h;
        for (std::size_t i = 0; i < s.size(); i += pezzo) h.aggiungi(std::string_view(s).substr(i, pezzo));
        return h.esadecimale();
    };
    EXPECT_EQ(sha("", 1), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha("abc", 1), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 7),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(sha(std::string(1000000, 'a'), 4093), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

class DaFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("palio_copie_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "dati");
        db = (dir / "dati" / "Zefo2015.db").string();
        storage::Connection::crea(db);
        conn.open(db);
    }
    void TearDown() override {
        conn.close();
        fs::remove_all(dir);
    }
    std::string scrivi(const std::string& nome, const std::string& dati) {
        std::ofstream((dir / nome).string(), std::ios::binary) << dati;
        return (dir / nome).string();
    }
    long long conta(const std::string& tabella) {
        storage::Statement st(conn, "select count(*) from " + tabella);
        st.step();
        return st.integer(0);
    }
    std::string valore(const std::string& sql) {
        storage::Statement st(conn, sql);
        return st.step() ? std::string(st.text(0)) : "";
    }
    bool paghe(const std::string& f) { return importazione::ImportaPaghe(conn, f, Tracciato::DIP, false, dati, r); }
    V copie() {
        V v;
        for (const auto& c : importazione::ElencoCopie(conn)) v.push_back(c.prima);
        return v;
    }

    fs::path dir;
    std::string db;
    storage::Connection conn;
    prova::Reporter r;
    importazione::DatiAggiuntivi dati;
};

TEST_F(DaFile, CioCheNonEUnFileERifiutatoSubito) {
    fs::create_directories(dir / "cartella.43");
    struct Caso {
        std::string percorso, messaggio;
    };
    std::vector<Caso> casi = {
        {(dir / "cartella.43").string(), "è una cartella, non un file"},
        {"/dev/null.43", ""},  // missing: the import window's own "file not found" message, not an exception
    };
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir / "pipe.43").c_str(), 0600), 0);
    casi.push_back({(dir / "pipe.43").string(), "è una pipe con nome (FIFO), non un file"});
#endif
    for (const auto& c : casi) {
        SCOPED_TRACE(c.percorso);
        r = prova::Reporter();
        if (c.messaggio.empty()) {
            EXPECT_FALSE(paghe(c.percorso));
            EXPECT_EQ(r.errori, V{"Il file " + c.percorso + " non esiste. Non è possibile eseguire l'import."});
            continue;
        }
        try {
            paghe(c.percorso);
            ADD_FAILURE() << "accettato";
        } catch (const storage::Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Il file " + c.percorso + " " + c.messaggio + ": non è possibile eseguire l'import.");
        }
    }
#ifndef _WIN32
    // A device: the 770 import needs no "." in the name.
    EXPECT_THROW(
        try { importazione::Importa770(conn, "/dev/zero", 1, dati, r); } catch (const storage::Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Il file /dev/zero è un dispositivo, non un file: non è possibile eseguire "
                      "l'import.");
            throw;
        },
        storage::Error);
#endif
    EXPECT_EQ(conta("Zefo1") + conta("Professionisti") + conta("Importazioni"), 0);
    EXPECT_TRUE(copie().empty());
}

TEST_F(DaFile, PermessoNegato) {
#ifdef _WIN32
    GTEST_SKIP() << "su Windows i permessi sono liste di controllo, non i bit che il test toglie";
#else
    if (::geteuid() == 0) GTEST_SKIP() << "root legge ogni file";
#endif
    const std::string f = scrivi("chiuso.43", prova::file({prova::certificato("A", "UNO")}));
    fs::permissions(f, fs::perms::none);
    try {
        paghe(f);
        ADD_FAILURE() << "accettato";
    } catch (const storage::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Impossibile aprire il file " + f + ": permesso negato.");
    }
}

TEST_F(DaFile, LoStessoContenutoChiedePrimaDiImportareDiNuovo) {
    const std::string dati1 =
        prova::file({prova::certificato("A", "UNO"), prova::continuazione("0001"), prova::certificato("B", "DUE")});
    const std::string f = scrivi("zefo.43", dati1);
    ASSERT_TRUE(paghe(f));
    storage::Sha256 sha;
    sha.aggiungi(dati1);
    EXPECT_EQ(valore("select File || '|' || Dimensione || '|' || Sha256 || '|' || Tipo || '|' || "
                     "Certificati || '|' || RigheAggiuntive from Importazioni"),
              f + "|" + std::to_string(dati1.size()) + "|" + sha.esadecimale() + "|paghe DIP|2|1");
    const std::string q = valore("select Quando from Importazioni");
    const std::string domanda = q.substr(8, 2) + "/" + q.substr(5, 2) + "/" + q.substr(0, 4) + " alle " +
                                q.substr(11, 5) + ". Importarlo di nuovo?";

    // A panel that refuses the file does so before any question: it was never imported there.
    const std::string copia = scrivi("copia.44", dati1);
    EXPECT_THROW(importazione::ImportaAltro(conn, copia, false, dati, r), storage::Error);
    EXPECT_THROW(importazione::Importa770(conn, copia, 1, dati, r), storage::Error);
    EXPECT_TRUE(r.domande.empty());
    EXPECT_EQ(copie().size(), 1u);

    // No: nothing stored, no copy left behind. The question is about content, not name.
    r.risposte = {false};
    EXPECT_FALSE(paghe(copia));
    EXPECT_EQ(r.domande, V{"Il file " + copia + " è già stato importato il " + domanda});
    EXPECT_EQ(conta("Zefo1"), 2);
    EXPECT_EQ(copie().size(), 1u);

    // Yes: imported again.
    r = prova::Reporter();
    r.risposte = {true};
    ASSERT_TRUE(paghe(f));
    EXPECT_EQ(r.domande, V{"Il file " + f + " è già stato importato il " + domanda});
    EXPECT_EQ(conta("Zefo1"), 4);
    EXPECT_EQ(conta("Importazioni"), 2);

    // Same size, other content: no question.
    std::string altro = dati1;
    altro[300] = 'Z';
    r = prova::Reporter();
    ASSERT_TRUE(paghe(scrivi("altro.43", altro)));
    EXPECT_TRUE(r.domande.empty());
}

TEST_F(DaFile, CopiePrimaDiOgniModificaERipristino) {
    ASSERT_TRUE(paghe(scrivi("zefo.43", prova::file({prova::certificato("A", "UNO")}))));
    prova::Riga h;
    h.at(1, "H").at(30, "RSSMRA65B01L219K");
    ASSERT_TRUE(importazione::Importa770(conn, scrivi("770.txt", prova::file({h})), 1, dati, r));
    r.risposte = {true, false, true};
    ASSERT_TRUE(importazione::Azzera(conn, importazione::Archivio::Professionisti, r));
    // A refused import leaves no copy.
    EXPECT_THROW(paghe(scrivi("rotto.43", std::string("x\0y", 3))), storage::Error);
    EXPECT_EQ(copie(), (V{"prima dell'eliminazione dei dati dei professionisti",
                          "prima dell'importazione del 770 Semplificato (tracciato 1)",
                          "prima dell'importazione delle paghe (Dipendenti / LPU - LSU)"}));

    // Back to before the first import.
    const auto elenco = importazione::ElencoCopie(conn);
    r = prova::Reporter();
    r.risposte = {true};
    ASSERT_TRUE(importazione::Ripristina(conn, elenco.back().percorso, r));
    EXPECT_EQ(r.domande, V{"Ripristinare l'archivio com'era il " + elenco.back().quando.substr(0, 10) + " alle " +
                           elenco.back().quando.substr(11) +
                           ", prima dell'importazione delle paghe (Dipendenti / LPU - LSU)? I dati "
                           "attuali saranno prima salvati in una copia."});
    EXPECT_EQ(conta("Zefo1") + conta("Zefo2") + conta("Professionisti") + conta("Importazioni"), 0);
    EXPECT_EQ(copie().front(), "prima di un ripristino");

    // No: nothing changes. Yes on the copy taken before the restore: as it was.
    r = prova::Reporter();
    r.risposte = {false};
    EXPECT_FALSE(importazione::Ripristina(conn, importazione::ElencoCopie(conn).front().nome, r));
    EXPECT_EQ(conta("Zefo1"), 0);
    r.risposte = {true};
    ASSERT_TRUE(importazione::Ripristina(conn, importazione::ElencoCopie(conn).front().nome, r));
    EXPECT_EQ(conta("Zefo1"), 1);
    EXPECT_EQ(conta("Professionisti"), 0);
    EXPECT_EQ(conta("Importazioni"), 2);
    EXPECT_EQ(valore("pragma integrity_check"), "ok");
}

TEST_F(DaFile, CopiaInterrottaRimossaDallaProssimaOperazione) {
    // What a program killed while copying leaves: the copy's temporary file and its journal.
    fs::create_directories(dir / "dati" / "backup");
    const std::string tmp = (dir / "dati" / "backup" / "Zefo2015_20150101-120000-01_importa-paghe-dip.db.tmp").string();
    fs::copy_file(db, tmp);
    std::ofstream(tmp + "-journal", std::ios::binary) << std::string(4096, 'j');
    EXPECT_TRUE(copie().empty());
    // A refused import removes them as well as its own copy.
    EXPECT_THROW(paghe(scrivi("rotto.43", "corta\r\n")), storage::Error);
    EXPECT_FALSE(fs::exists(tmp));
    EXPECT_FALSE(fs::exists(tmp + "-journal"));
    EXPECT_TRUE(fs::is_empty(dir / "dati" / "backup"));
}

TEST_F(DaFile, RestanoLeUltimeDieciCopie) {
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(paghe(
            scrivi("zefo" + std::to_string(i) + ".43", prova::file({prova::certificato(std::to_string(i), "UNO")}))));
    const auto elenco = importazione::ElencoCopie(conn);
    ASSERT_EQ(elenco.size(), 10u);
    // The oldest kept was taken with two certificates in the archive.
    storage::Connection vecchia;
    vecchia.open(elenco.back().percorso);
    storage::Statement st(vecchia, "select count(*) from Zefo1");
    st.step();
    EXPECT_EQ(st.integer(0), 2);
}

TEST_F(DaFile, RipristinoRifiutatoSeUnAltroProgrammaHaLArchivioAperto) {
#ifdef _WIN32
    GTEST_SKIP() << "la shell sqlite3 del sistema non è un programma Windows";
#else
    ASSERT_TRUE(paghe(scrivi("zefo.43", prova::file({prova::certificato("A", "UNO")}))));
    // Another program: the sqlite3 shell with the archive open, waiting on its input.
    FILE* altro = ::popen(("sqlite3 " + db + " > /dev/null").c_str(), "w");
    ASSERT_NE(altro, nullptr);
    std::fputs("select count(*) from Zefo1;\n", altro);
    std::fflush(altro);
    for (int i = 0; i < 100 && !storage::sistema::apertoDaAltri(db); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(storage::sistema::apertoDaAltri(db));
    r.risposte = {true};
    try {
        importazione::Ripristina(conn, importazione::ElencoCopie(conn).front().percorso, r);
        ADD_FAILURE() << "ripristinato";
    } catch (const storage::Error& e) {
        EXPECT_EQ(std::string(e.what()), "L'archivio " + db +
                                             " è aperto da un altro programma: chiuderlo e "
                                             "ripetere il ripristino.");
    }
    ::pclose(altro);
    EXPECT_FALSE(storage::sistema::apertoDaAltri(db));
    EXPECT_EQ(importazione::ElencoCopie(conn).size(), 1u);
    EXPECT_EQ(conta("Zefo1"), 1);
#endif
}

}  // namespace
