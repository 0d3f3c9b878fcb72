#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "comune/archivio_prova.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"
#include "storage/error.h"
#include "storage/motivi.h"

namespace {

namespace fs = std::filesystem;
using Causa = storage::Error::Causa;

// The operator's first line and the engine's second, of what the action throws.
std::pair<Causa, std::string> errore(const std::function<void()>& azione) {
    try {
        azione();
    } catch (const storage::Error& e) {
        const std::string testo = e.what();
        EXPECT_EQ(testo.find("insert into"), std::string::npos) << testo;
        EXPECT_EQ(testo.find("update "), std::string::npos) << testo;
        EXPECT_EQ(testo, e.motore().empty() ? e.frase() : e.frase() + "\n" + e.motore());
        return {e.causa(), e.frase()};
    }
    ADD_FAILURE() << "no error";
    return {};
}

// A second program holding the archive's write lock; the first one does not wait for it.
struct AltroProgramma {
    explicit AltroProgramma(prova::Archivio& a) {
        altro.open((a.dir / "Zefo2015.db").string());
        altro.exec("BEGIN IMMEDIATE");
        a.conn.attesaOccupato(0);
    }
    ~AltroProgramma() { altro.exec("ROLLBACK"); }
    storage::Connection altro;
};

TEST(Connessione, EachFailureInOneItalianSentence) {
    prova::Archivio a;
    const std::string db = (a.dir / "Zefo2015.db").string();
    {
        AltroProgramma occupato(a);
        EXPECT_EQ(errore([&] {
                      a.inserisci("Zefo1", {{"B02", "ROSSI"}});
                  }),
                  std::pair(Causa::Occupato,
                            std::string("L'archivio è in uso da un altro programma: riprovare quando ha finito.")));
    }
    a.conn.exec("PRAGMA max_page_count = 40");
    EXPECT_EQ(errore([&] {
                  for (int i = 0; i < 200; ++i) a.inserisci("Zefo1", {{"B02", std::string(3000, 'x')}});
              }),
              std::pair(Causa::Pieno, std::string("Il disco dell'archivio è pieno: liberare spazio e riprovare.")));

    const fs::path rotto = a.dir / "rotto.db";
    std::ofstream(rotto) << std::string(4096, 'z');
    storage::Connection c;
    EXPECT_EQ(errore([&] { c.open(rotto.string()); }),
              std::pair(Causa::Danneggiato, "L'archivio " + rotto.string() +
                                                " è danneggiato o non è un archivio: ripristinarne una copia di "
                                                "sicurezza."));
    const std::string assente = (a.dir / "manca" / "Zefo2015.db").string();
    EXPECT_EQ(errore([&] { c.open(assente); }),
              std::pair(Causa::Permesso, "Impossibile usare l'archivio " + assente +
                                             ": controllare che esista e che i permessi del file e della "
                                             "cartella lo consentano."));
}

// The reasons the system and the engine give in English reach the operator in Italian, inside
// whatever message carries them; everything else of the message stays as written.
TEST(Connessione, MotiviDelSistemaInItaliano) {
    const std::pair<std::string, std::string> casi[] = {
        {"Impossibile creare la cartella /x/y: No such file or directory",
         "Impossibile creare la cartella /x/y: il file o la cartella non esiste"},
        {"database or disk is full", "il database o il disco è pieno"},
        {"Impossibile scrivere il file C:\\a?.pdf: Invalid argument",
         "Impossibile scrivere il file C:\\a?.pdf: argomento non valido (nome o percorso non accettato dal sistema)"},
        {"Permission denied; Permission denied", "permesso negato; permesso negato"},
        {"Nessun motivo inglese qui.", "Nessun motivo inglese qui."},
    };
    for (const auto& [inglese, italiano] : casi) {
        EXPECT_EQ(storage::MotiviInItaliano(inglese), italiano);
    }
}

// An archive on a folder that cannot be written is read as it stands; writing says why not.
// Windows has no folder that refuses writing by a mark: there the archive file is marked.
TEST(Connessione, ReadOnlyArchiveReadsAndRefusesWrites) {
    prova::Archivio a;
    a.inserisci("Zefo1", {{"B02", "ROSSI"}});
    a.conn.exec("PRAGMA journal_mode=DELETE");
    a.conn.close();
    const std::string db = (a.dir / "Zefo2015.db").string();
#ifdef _WIN32
    const fs::path bloccato = db;
    const std::string motivo = "il file " + db + " non consente la scrittura";
#else
    const fs::path bloccato = a.dir;
    const std::string motivo = "la cartella " + a.dir.string() + " non consente la scrittura";
#endif
    fs::permissions(bloccato, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    a.conn.open(db);
    EXPECT_EQ(a.conn.solaLettura(), motivo);
    storage::Statement st(a.conn, "select B02 from Zefo1");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text(0), "ROSSI");
    const std::string frase = "L'archivio " + db + " è in sola lettura: " + motivo + ".";
    EXPECT_EQ(errore([&] { a.conn.richiediScrittura(); }), std::pair(Causa::SolaLettura, frase));
    EXPECT_EQ(errore([&] { a.inserisci("Zefo1", {{"B02", "BIANCHI"}}); }), std::pair(Causa::SolaLettura, frase));
    EXPECT_FALSE(fs::exists(db + "-wal"));  // opening did not switch the journal
    fs::permissions(bloccato, fs::perms::owner_write, fs::perm_options::add);
}

// An archive made before the search indexes gains them when opened for writing; a read-only one
// opens without them.
TEST(Connessione, OlderArchiveGainsTheSearchIndexes) {
    prova::Archivio a;
    const std::vector<std::string> indici = {"Professionisti_CodiceFiscale", "Zefo1_CodiceFiscale", "Zefo2_Matricola"};
    auto presenti = [&] {
        std::vector<std::string> r;
        storage::Statement st(a.conn,
                              "select name from sqlite_master where type = 'index' and name in "
                              "('Zefo1_CodiceFiscale', 'Professionisti_CodiceFiscale', 'Zefo2_Matricola') "
                              "order by name");
        while (st.step()) r.emplace_back(st.text(0));
        return r;
    };
    EXPECT_EQ(presenti(), indici);
    for (const auto& i : indici) a.conn.exec("drop index " + i);
    // Archives of that time recorded no version.
    a.conn.exec("drop table Versione");
    a.conn.exec("PRAGMA journal_mode=DELETE");
    a.conn.close();
    const std::string db = (a.dir / "Zefo2015.db").string();
    fs::permissions(db, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    a.conn.open(db);
    EXPECT_TRUE(presenti().empty());
    a.conn.close();
    fs::permissions(db, fs::perms::owner_write, fs::perm_options::add);
    a.conn.open(db);
    EXPECT_EQ(presenti(), indici);
}

class SalvataggioTest : public ::testing::Test {
protected:
    void SetUp() override {
        id = a.inserisci("Zefo1", {{"B02", "ROSSI"}});
        d.open(storage::TutteLeRighe(storage::Tabella::Zefo1));
        d.setText("B02", "ROSSINI");
    }
    // The failed save leaves the typing in place, and a later save can still write it.
    void battituraConservata() {
        EXPECT_EQ(d.state(), storage::Dataset::State::Edit);
        EXPECT_EQ(d.text("B02"), "ROSSINI");
    }
    prova::Archivio a;
    std::int64_t id = 0;
    storage::Dataset d{a.conn};
};

TEST_F(SalvataggioTest, RowRemovedMeanwhileIsNotASilentSuccess) {
    a.conn.exec("delete from Zefo1 where ID = " + std::to_string(id));
    EXPECT_EQ(errore([&] { d.post(); }),
              std::pair(Causa::RigaEliminata, std::string("Il certificato è stato eliminato da un'altra operazione: "
                                                          "le modifiche non sono state salvate.")));
    battituraConservata();
}

TEST_F(SalvataggioTest, BusyArchiveKeepsTheTyping) {
    {
        AltroProgramma occupato(a);
        EXPECT_EQ(errore([&] { d.post(); }),
                  std::pair(Causa::Occupato,
                            std::string("L'archivio è in uso da un altro programma: le modifiche non sono state "
                                        "salvate e restano sullo schermo; salvarle di nuovo quando ha finito.")));
        battituraConservata();
    }
    d.post();
    storage::Statement st(a.conn, "select B02 from Zefo1");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text(0), "ROSSINI");
}

}  // namespace
