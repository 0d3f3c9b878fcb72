// Times, on one archive, the employees' generation run, the check of the same supply and the
// check of the file just written; best of the given number of rounds:
// palio_bench_controllo CARTELLA_ARCHIVIO [GIRI]
// The archive comes from palio_genera_archivio (bench/archivio); see misura.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "check/controllo.h"
#include "storage/config.h"
#include "storage/connection.h"
#include "storage/reporter.h"
#include "telematic/generazione.h"

namespace {

struct Muto : storage::Reporter {
    void info(const std::string&) override {}
    void error(const std::string& t) override { std::fprintf(stderr, "%s\n", t.c_str()); }
    bool ask(const std::string&) override { return true; }
};

template <class F>
double secondi(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Uso: palio_bench_controllo CARTELLA_ARCHIVIO [GIRI]\n");
        return 2;
    }
    const std::string cartella = argv[1];
    const int giri = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    storage::Connection conn;
    conn.open(storage::percorsoDatabase(cartella));
    const auto uscita = std::filesystem::temp_directory_path() / "palio_bench_controllo";
    std::filesystem::create_directories(uscita);

    telematic::OpzioniGenerazione opz;
    opz.cartella = uscita.string();
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi::tutti();
    check::OpzioniControllo oc;
    oc.professionisti = false;  // the same supply the run writes

    Muto muto;
    double genera = 1e30, controlla = 1e30, controllaFile = 1e30;
    std::size_t problemi = 0, errori = 0, problemiFile = 0;
    long certificati = 0;
    for (int g = 0; g < giri; ++g) {
        genera = std::min(
            genera, secondi([&] { certificati = telematic::GeneraFileDipendenti(conn, opz, muto).conta.ContaD; }));
        controlla = std::min(controlla, secondi([&] {
                                 const auto ps = check::ControllaArchivio(conn, oc);
                                 problemi = ps.size();
                                 errori = check::ContaErrori(ps);
                             }));
        controllaFile =
            std::min(controllaFile,
                     secondi([&] { problemiFile = check::ControllaFile((uscita / "ZF2015.txt").string()).size(); }));
    }
    std::printf("certificati (record D): %ld\n", certificati);
    std::printf("generazione del file:   %.2f s\n", genera);
    std::printf("controllo dell'archivio: %.2f s (%zu problemi, %zu errori) = %.0f%% della generazione\n", controlla,
                problemi, errori, 100.0 * controlla / genera);
    std::printf("controllo del file:     %.2f s (%zu problemi)\n", controllaFile, problemiFile);
    std::filesystem::remove_all(uscita);
    return controlla <= genera ? 0 : 1;
}
