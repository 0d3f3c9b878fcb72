// The employee editor over 100,000 certificates (and the professional one over 10,000):
// opening the list, moving to the next certificate with its Zefo2/Zefo3 rows, a search keystroke.
// palio_bench_editor [--archivio=CARTELLA|INDIRIZZO] [benchmark options]; without an archive one is
// generated under the system's temporary folder (and reused on the next run); a server address
// must name a filled archive (bench/editor/misura_server.sh makes one).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/ricerca.h"
#include "entry/ricercadipendenti.h"
#include "entry/ricercaprofessionisti.h"
#include "storage/config.h"
#include "storage/connection.h"
#include "storage/elenchi.h"

namespace {

constexpr long kCertificati = 100000;
std::string gCartella;

storage::Connection& connessione() {
    static storage::Connection conn;
    if (!conn.isOpen()) conn.open(storage::percorsoDatabase(gCartella));
    return conn;
}

void preparaArchivio() {
    if (gCartella.empty()) gCartella = QDir::temp().filePath("palio_bench_editor").toStdString();
    // A server archive is made and filled beforehand (bench/editor/misura_server.sh).
    if (storage::Connection::indirizzoServer(gCartella)) return;
    if (std::filesystem::exists(storage::percorsoDatabase(gCartella))) return;
    const std::string comando = std::string(PALIO_GENERATORE) + " '" + gCartella + "' " + std::to_string(kCertificati);
    if (std::system(comando.c_str()) != 0) {
        std::fprintf(stderr, "Generazione dell'archivio non riuscita: %s\n", comando.c_str());
        std::exit(1);
    }
}

// The main menu's "open the editor": re-open the list on its first certificate, as the window shows it.
void BM_AperturaEditor(benchmark::State& state) {
    TFPagina1 f(connessione());
    for (auto _ : state) f.riapriElenco();
    state.counters["certificati"] = static_cast<double>(f.elenco().rowCount());
}
BENCHMARK(BM_AperturaEditor)->Unit(benchmark::kMillisecond);

// Start-up's share: building the window with its six pages.
void BM_CreazioneFinestra(benchmark::State& state) {
    for (auto _ : state) {
        TFPagina1 f(connessione());
        benchmark::DoNotOptimize(&f);
    }
}
BENCHMARK(BM_CreazioneFinestra)->Unit(benchmark::kMillisecond);

// Filtered by kind: the list comes from the continuation rows.
void BM_AperturaFiltrata(benchmark::State& state) {
    TFPagina1 f(connessione());
    f.casellaFiltro(3).setChecked(false);
    for (auto _ : state) f.filtra();
    state.counters["certificati"] = static_cast<double>(f.elenco().rowCount());
}
BENCHMARK(BM_AperturaFiltrata)->Unit(benchmark::kMillisecond);

// "Successivo" on the navigator, with the page of the tab in view loaded (arg: the tab).
void BM_Successivo(benchmark::State& state) {
    TFPagina1 f(connessione());
    f.riapriElenco();
    f.schede().setCurrentIndex(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (f.elenco().position() + 1 >= f.elenco().rowCount()) f.primo();
        f.successivo();
    }
}
BENCHMARK(BM_Successivo)->Arg(0)->Arg(2)->Arg(4)->Unit(benchmark::kMicrosecond);

// A keystroke in the search window: the typed surname grows letter by letter (the first
// letter, with the most matching rows, is the slowest case), then the first name.
void BM_RicercaTasto(benchmark::State& state) {
    TFPagina1 f(connessione());
    TFRicDip ric(f);
    f.riapriElenco();
    const char* const tasti[][2] = {{"R", ""},      {"RO", ""},      {"ROS", ""}, {"ROSS", ""},     {"ROSSI", ""},
                                    {"ROSSI", "M"}, {"ROSSI", "MA"}, {"G", ""},   {"GI", ""},       {"GIO", ""},
                                    {"M", ""},      {"MAR", ""},     {"d'", ""},  {"d'angelo", "n"}};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& t = tasti[i++ % std::size(tasti)];
        ric.nome().blockSignals(true);
        ric.nome().setText(QString::fromUtf8(t[1]));
        ric.nome().blockSignals(false);
        ric.cognome().setText(QString::fromUtf8(t[0]));  // one search, as one keystroke
    }
}
BENCHMARK(BM_RicercaTasto)->Unit(benchmark::kMicrosecond);

// The worst keystroke: the first letter of the commonest initial.
void BM_RicercaPrimaLettera(benchmark::State& state) {
    TFPagina1 f(connessione());
    TFRicDip ric(f);
    f.riapriElenco();
    bool pari = false;
    for (auto _ : state) {
        ric.cognome().setText((pari = !pari) ? QStringLiteral("R") : QStringLiteral("M"));
    }
}
BENCHMARK(BM_RicercaPrimaLettera)->Unit(benchmark::kMicrosecond);

// The search box of codes: the beginning of a tax code (the certificate in the middle of the
// archive), a whole one, and a number that is neither a certificate nor a matricola (the number,
// the matricola and the tax code all looked up, the worst case).
void BM_RicercaCodice(benchmark::State& state) {
    TFPagina1 f(connessione());
    f.riapriElenco();
    std::string cf;
    {
        storage::LettoreColonne leggi(connessione(), storage::Tabella::Zefo1, {"B01"});
        if (const auto v = leggi.leggi(kCertificati / 2)) cf = v->front();
    }
    const QString testi[] = {QString::fromStdString(cf.substr(0, 6)), QString::fromStdString(cf),
                             QStringLiteral("123456789")};
    const QString& testo = testi[state.range(0)];
    std::size_t trovati = 0;
    for (auto _ : state) trovati += entry::TrovaPerCodice(connessione(), f.elenco(), testo).has_value();
    state.counters["trovati"] = static_cast<double>(trovati) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RicercaCodice)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ApertureProfessionisti(benchmark::State& state) {
    TFProfessionisti f(connessione());
    for (auto _ : state) f.riapriElenco();
    state.counters["certificati"] = static_cast<double>(f.elenco().rowCount());
}
BENCHMARK(BM_ApertureProfessionisti)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--archivio=", 0) == 0) {
            gCartella = a.substr(11);
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            break;
        }
    }
    preparaArchivio();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
