#include "telematic/uscita.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "archivio_prova.h"
#include "comune/processi.h"
#include "storage/error.h"
#include "storage/sistema.h"
#include "telematic/generazione.h"

namespace {

namespace fs = std::filesystem;
using telematic::CartellaUscita;

// What a folder holds: name and content, hidden files included, sorted by name.
std::vector<std::pair<std::string, std::string>> contenuto(const fs::path& dir) {
    std::vector<std::pair<std::string, std::string>> c;
    for (const auto& e : fs::directory_iterator(dir))
        c.emplace_back(e.path().filename().string(), prova::leggi(e.path()));
    std::sort(c.begin(), c.end());
    return c;
}

void scrivi(const fs::path& p, const std::string& testo) { std::ofstream(p, std::ios::binary) << testo; }

class Uscita : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("palio_uscita_" + std::to_string(storage::sistema::idProcesso()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::unique_ptr<CartellaUscita> blocca() {
        return CartellaUscita::blocca(dir.string(), std::chrono::milliseconds(0));
    }
    // One run's replacement of the file and its log.
    void sostituisci(CartellaUscita& c, const std::string& file, const std::string& log) {
        auto f = c.crea("ZF2015.txt");
        auto l = c.crea("Zf2015.log");
        f->stream() << file;
        l->stream() << log;
        c.sostituisci({f.get(), l.get()});
    }
    fs::path dir;
};

TEST_F(Uscita, OneRunAtATimeAndNothingLeftBehind) {
    auto primo = blocca();
    ASSERT_TRUE(primo);
    EXPECT_FALSE(blocca());  // the second run gives up while the first holds the folder
    sostituisci(*primo, "nuovo", "log nuovo");
    primo.reset();
    EXPECT_EQ(contenuto(dir),
              (std::vector<std::pair<std::string, std::string>>{{"ZF2015.txt", "nuovo"}, {"Zf2015.log", "log nuovo"}}));
    EXPECT_TRUE(blocca());
}

// Whichever rename fails, the earlier pair is what stays, and nothing of the run is left.
TEST_F(Uscita, FailureAtEachRenameLeavesTheEarlierPair) {
    for (const bool anteriori : {true, false}) {
        // The earlier log is moved aside first, then the file and the log are put in place.
        const int rinomine = anteriori ? 3 : 2;
        for (int guasto = 0; guasto < rinomine; ++guasto) {
            SCOPED_TRACE(std::to_string(guasto) + (anteriori ? " with earlier files" : " first run"));
            fs::remove_all(dir);
            fs::create_directories(dir);
            if (anteriori) {
                scrivi(dir / "ZF2015.txt", "vecchio");
                scrivi(dir / "Zf2015.log", "log vecchio");
            }
            const auto prima = contenuto(dir);
            auto c = blocca();
            int n = 0;
            c->rinominaCon([&](const fs::path& da, const fs::path& a) {
                std::error_code ec;
                if (n++ == guasto) return std::make_error_code(std::errc::no_space_on_device);
                fs::rename(da, a, ec);
                return ec;
            });
            try {
                sostituisci(*c, "nuovo", "log nuovo");
                ADD_FAILURE() << "no failure";
            } catch (const storage::Error& e) {
                EXPECT_NE(std::string(e.what()).find(": il disco è pieno."), std::string::npos) << e.what();
            }
            c.reset();
            EXPECT_EQ(contenuto(dir), prima);
        }
    }
}

// What runs that are gone left is settled by the next one; a living run's files are not touched.
TEST_F(Uscita, LeftoversOfRunsThatAreGone) {
    const std::string morto = "palio-999999999-1a";  // no such process
    const std::string vivo = "palio-" + std::to_string(prova::altroProcessoVivo()) + "-2b";
    scrivi(dir / "ZF2015.txt", "vecchio");
    scrivi(dir / ("." + morto + ".sostituzione"), "");  // its new contents were complete
    scrivi(dir / (".Zf2015.log." + morto + ".tmp"), "log nuovo");
    scrivi(dir / (".ZF2015.txt." + morto + ".old"), "vecchio");
    const std::string incompleto = "palio-999999998-3c";  // killed while writing
    scrivi(dir / (".ZF2015Prof.txt." + incompleto + ".tmp"), "a metà");
    scrivi(dir / (".ZF2015.txt." + vivo + ".tmp"), "in corso");
    scrivi(dir / ".ZF2015.txt.tmp", "versione precedente");
    scrivi(dir / ".altro.palio-xyz.tmp", "non nostro");
    scrivi(dir / ".altro.palio--9.tmp", "non nostro");  // no process number at all

    auto c = blocca();
    auto f = c->crea("ZF2015.txt");  // the old fixed temporary goes with the first new one
    f.reset();
    c.reset();
    EXPECT_EQ(contenuto(dir),
              (std::vector<std::pair<std::string, std::string>>{{".ZF2015.txt." + vivo + ".tmp", "in corso"},
                                                                {".altro.palio--9.tmp", "non nostro"},
                                                                {".altro.palio-xyz.tmp", "non nostro"},
                                                                {"ZF2015.txt", "vecchio"},
                                                                {"Zf2015.log", "log nuovo"}}));
}

TEST_F(Uscita, SecondGenerationIntoTheSameFolderIsRefused) {
    prova::Archivio arch;
    arch.inserisci("SostitutoImposta", {{"CodiceFiscale", "01234567890"}});
    struct Registro : storage::Reporter {
        std::vector<std::string> info_, errori;
        void info(const std::string& t) override { info_.push_back(t); }
        void error(const std::string& t) override { errori.push_back(t); }
        bool ask(const std::string&) override { return true; }
    } r;
    telematic::OpzioniGenerazione opz;
    opz.cartella = dir.string();
    opz.nomeFile = "ZF2015Prof.txt";
    opz.attesaBlocco = std::chrono::milliseconds(300);
    scrivi(dir / "ZF2015Prof.txt", "del primo");

    auto primo = blocca();
    const auto inizio = std::chrono::steady_clock::now();
    EXPECT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_GE(std::chrono::steady_clock::now() - inizio, opz.attesaBlocco);
    EXPECT_EQ(r.errori,
              std::vector<std::string>{"Un'altra generazione sta scrivendo nella cartella " + dir.string() + "."});
    EXPECT_TRUE(r.info_.empty());
    EXPECT_EQ(prova::leggi(dir / "ZF2015Prof.txt"), "del primo");

    primo.reset();
    EXPECT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(fs::file_size(dir / "ZF2015Prof.txt"), 3u * 1900u);
}

}  // namespace
