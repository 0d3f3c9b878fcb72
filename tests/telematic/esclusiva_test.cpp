// Two operators on one archive: on a server the second generation is refused while the first
// holds the archive, whatever folder each writes to, and another agent's archive is not held; on
// either engine a run writes the archive as it stood when it began, whatever is saved meanwhile.
#include "storage/esclusiva.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "comune/motori.h"
#include "telematic/generazione.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Risposte : storage::Reporter {
    std::vector<std::string> info_, errori;
    void info(const std::string& t) override { info_.push_back(t); }
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string&) override { return true; }
};

#if PALIO_POSTGRES
TEST(DueOperatori, SecondGenerationFromOneServerArchiveIsRefused) {
    prova::Indirizzo a(prova::Motore::PostgreSQL), altroSostituto(prova::Motore::PostgreSQL);
    ASSERT_TRUE(a.valido());
    storage::Connection::crea(a.str());
    storage::Connection::crea(altroSostituto.str());
    storage::Connection primo, secondo, terzo;
    primo.open(a.str());
    secondo.open(a.str());
    terzo.open(altroSostituto.str());
    primo.exec(
        "insert into SostitutoImposta (CodiceFiscale, A1) values ('01234567890', '1'); "
        "insert into Zefo1 (B01, B02, B03) values ('RSSMRA80A01H501U', 'ROSSI', 'MARIO'); "
        "insert into Zefo2 (ID, tipo) select ID, 'DIP' from Zefo1");

    const fs::path dir =
        fs::temp_directory_path() / ("palio_esclusiva_" + std::to_string(storage::sistema::idProcesso()));
    fs::remove_all(dir);
    telematic::OpzioniGenerazione opz;
    opz.cartella = (dir / "secondo").string();
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    opz.attesaBlocco = 300ms;
    opz.aggiornaConteggi = [](const std::string&) { return true; };

    auto tiene = storage::GenerazioneEsclusiva::prendi(primo, 0ms);
    ASSERT_TRUE(tiene);
    // The same lock is the archive's, not the program's folder: another agent's archive is free.
    EXPECT_TRUE(storage::GenerazioneEsclusiva::prendi(terzo, 0ms));
    Risposte r;
    EXPECT_EQ(telematic::GeneraFileDipendenti(secondo, opz, r).esito, telematic::Esito::Rifiutato);
    ASSERT_EQ(r.errori.size(), 1u);
    EXPECT_EQ(r.errori[0], storage::MessaggioGenerazioneInCorso(secondo));
    EXPECT_EQ(r.errori[0].rfind("Un altro operatore sta generando un file dall'archivio schema palio_prova_", 0), 0u)
        << r.errori[0];
    EXPECT_FALSE(fs::exists(dir / "secondo"));

    // Once the first run ends, the second goes.
    tiene.reset();
    Risposte dopo;
    EXPECT_EQ(telematic::GeneraFileDipendenti(secondo, opz, dopo).esito, telematic::Esito::Concluso);
    EXPECT_TRUE(dopo.errori.empty());

    // A program that dies mid-run takes its lock with it.
    tiene = storage::GenerazioneEsclusiva::prendi(primo, 0ms);
    ASSERT_TRUE(tiene);
    EXPECT_FALSE(storage::GenerazioneEsclusiva::prendi(secondo, 0ms));
    primo.close();
    // The server lets it go as soon as it sees the connection gone: a moment later.
    EXPECT_TRUE(storage::GenerazioneEsclusiva::prendi(secondo, 5000ms));
    tiene.reset();
    fs::remove_all(dir);
}
#endif

class Istantanea : public prova::SuMotore {
protected:
    std::string leggi(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

// Another operator's save and import land while the run walks the certificates (more than the
// server's batches of rows): the file is the one written before them, byte for byte.
TEST_P(Istantanea, ChangesSavedDuringARunAreNotMixedIn) {
    conn.exec("insert into SostitutoImposta (CodiceFiscale, A1) values ('01234567890', '2500')");
    conn.exec(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 2500) "
        "insert into Zefo1 (B01, B02, B03) select 'RSSMRA80A01H501U', 'ROSSI' || i, 'MARIO' from n");
    conn.exec("insert into Zefo2 (ID, tipo, D01) select ID, 'DIP', '1000,00' from Zefo1");
    const fs::path dir =
        fs::temp_directory_path() / ("palio_istantanea_" + std::to_string(storage::sistema::idProcesso()) + "_" +
                                     std::to_string(static_cast<int>(GetParam())));
    fs::remove_all(dir);
    telematic::OpzioniGenerazione opz;
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi::tutti();
    opz.cartella = (dir / "prima").string();
    Risposte prima;
    ASSERT_EQ(telematic::GeneraFileDipendenti(conn, opz, prima).esito, telematic::Esito::Concluso);

    struct Altro : Risposte {
        storage::Connection* conn = nullptr;
        bool fatto = false;
        bool progress(std::size_t fatti, std::size_t) override {
            if (fatti > 0 && !fatto) {
                fatto = true;
                conn->exec("update Zefo1 set B02 = 'CAMBIATO' where ID = 2400");
                conn->exec("update Zefo2 set D01 = '9,00' where ID = 2");
                conn->exec("insert into Zefo1 (B01, B02) values ('VRDLGU80A01H501X', 'NUOVO')");
                conn->exec("insert into Zefo2 (ID, tipo) select max(ID), 'DIP' from Zefo1");
            }
            return true;
        }
    } durante;
    storage::Connection secondo;
    secondo.open(indirizzo.str());
    durante.conn = &secondo;
    opz.cartella = (dir / "durante").string();
    ASSERT_EQ(telematic::GeneraFileDipendenti(conn, opz, durante).esito, telematic::Esito::Concluso);
    ASSERT_TRUE(durante.fatto);
    const std::string atteso = leggi(dir / "prima" / "ZF2015.txt");
    EXPECT_GT(atteso.size(), 2500u * 1900u);
    EXPECT_TRUE(leggi(dir / "durante" / "ZF2015.txt") == atteso);
    // The changes are there for the next run.
    EXPECT_EQ(valore("select count(*) from Zefo1 where B02 in ('CAMBIATO', 'NUOVO')"), "2");
    fs::remove_all(dir);
}

#if PALIO_POSTGRES
INSTANTIATE_TEST_SUITE_P(Entrambi, Istantanea, ::testing::Values(prova::Motore::SQLite, prova::Motore::PostgreSQL),
                         prova::nomeMotore);
#else
INSTANTIATE_TEST_SUITE_P(Entrambi, Istantanea, ::testing::Values(prova::Motore::SQLite), prova::nomeMotore);
#endif

}  // namespace
