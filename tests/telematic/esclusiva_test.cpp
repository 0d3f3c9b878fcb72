// Two operators generating from one archive on a server: the second run is refused while the
// first holds the archive, whatever folder each writes to; another agent's archive is not held.
#include "storage/esclusiva.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
