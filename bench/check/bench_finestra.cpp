// The check window's list on 300,000 problems (the archive check of 100,000 spoiled certificates
// finds about that many): showing it, sorting it by each column, scrolling it.
// palio_bench_finestra_controllo [benchmark options]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <random>
#include <string>
#include <vector>

#include "telematic/ui/finestracontrollo.h"

namespace {

constexpr std::size_t kProblemi = 300000;

// Three problems per certificate, as the spoiled archive gives them: tax code, point 2, birth date.
const std::vector<check::Problema>& problemi() {
    static const std::vector<check::Problema> v = [] {
        const char* const cognomi[] = {"ROSSI", "BIANCHI", "ESPOSITO", "ROMANO", "COLOMBO", "RICCI", "MARINO"};
        const char* const nomi[] = {"MARIO", "GIULIA", "LUCA", "ANNA", "PAOLO", "SARA"};
        std::mt19937 rng(300000);
        std::vector<check::Problema> r;
        r.reserve(kProblemi);
        for (std::size_t i = 0; r.size() < kProblemi; ++i) {
            check::Problema p;
            p.origine = check::Origine::Dipendente;
            p.id = static_cast<std::int64_t>(i + 1);
            p.nominativo = std::string(cognomi[rng() % 7]) + " " + nomi[rng() % 6];
            p.codiceFiscale = "RSSMRA" + std::to_string(10 + rng() % 90) + "A01H501Z";
            const struct {
                check::Gravita g;
                const char* colonna;
                const char* campo;
                const char* testo;
            } tre[] = {
                {check::Gravita::Errore, "B01", "DA002001",
                 "Codice fiscale del percipiente: il carattere di controllo del codice fiscale è errato (atteso U)."},
                {check::Gravita::Avviso, "C002", "DB001002",
                 "Il punto 2 è vuoto: il file di log lo segnalerà (ammessi 1 o 2)."},
                {check::Gravita::Errore, "B05", "DA002005",
                 "Data non valida «1/2/1970»: attesa nella forma GG/MM/AAAA (nel file: errore 47812)."},
            };
            for (const auto& t : tre) {
                p.gravita = t.g;
                p.colonna = t.colonna;
                p.campo = t.campo;
                p.testo = t.testo;
                r.push_back(p);
            }
        }
        r.resize(kProblemi);
        return r;
    }();
    return v;
}

// The list handed to the window and shown, its columns sized.
void BM_Mostra(benchmark::State& state) {
    TFControllo w;
    w.show();
    for (auto _ : state) {
        state.PauseTiming();
        auto copia = problemi();
        state.ResumeTiming();
        w.mostra(std::move(copia), QStringLiteral("Controllo dell'archivio"), false);
        QApplication::processEvents();
    }
    state.counters["righe"] = static_cast<double>(w.griglia()->model()->rowCount());
}
BENCHMARK(BM_Mostra)->Unit(benchmark::kMillisecond);

// A click on a column's header, alternately ascending and descending, and the page drawn again.
void BM_Ordina(benchmark::State& state) {
    TFControllo w;
    w.show();
    w.mostra(problemi(), QStringLiteral("Controllo dell'archivio"), false);
    const int colonna = static_cast<int>(state.range(0));
    bool crescente = true;
    for (auto _ : state) {
        w.griglia()->sortByColumn(colonna, crescente ? Qt::AscendingOrder : Qt::DescendingOrder);
        benchmark::DoNotOptimize(w.griglia()->viewport()->grab());
        crescente = !crescente;
    }
}
BENCHMARK(BM_Ordina)->DenseRange(0, static_cast<int>(TFControllo::Colonna::Problema))->Unit(benchmark::kMillisecond);

// A jump of the scroll bar to a random place and the page drawn there.
void BM_Scorri(benchmark::State& state) {
    TFControllo w;
    w.show();
    w.mostra(problemi(), QStringLiteral("Controllo dell'archivio"), false);
    w.griglia()->sortByColumn(static_cast<int>(TFControllo::Colonna::Nominativo), Qt::AscendingOrder);
    QScrollBar* barra = w.griglia()->verticalScrollBar();
    std::mt19937 rng(7);
    for (auto _ : state) {
        barra->setValue(static_cast<int>(rng() % static_cast<unsigned>(barra->maximum() + 1)));
        benchmark::DoNotOptimize(w.griglia()->viewport()->grab());
    }
}
BENCHMARK(BM_Scorri)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
