// The "stampa" commands: certificates and the agent's pages to PDF, with no display.
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <memory>

#include "cli/comandi.h"
#include "forms/caratteri.h"
#include "print/certificato.h"
#include "print/pdfcertificati.h"
#include "print/selezione.h"
#include "storage/error.h"
#include "storage/invii.h"

namespace cli {

namespace {

// Painting text needs a GUI application. The offscreen platform needs no display; Windows' own
// needs none either, and only it reaches the system's fonts there (offscreen drew boxes).
std::unique_ptr<QGuiApplication> applicazione() {
    if (QCoreApplication::instance()) return nullptr;
    static char nome[] = "palio2015-cli";
#ifdef _WIN32
    static int argc = 1;
    static char* argv[] = {nome, nullptr};
#else
    static int argc = 3;
    static char opzione[] = "-platform";
    static char piattaforma[] = "offscreen";
    static char* argv[] = {nome, opzione, piattaforma, nullptr};
#endif
    // The platform's notes (a missing runtime folder and the like) are no business of a script.
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& testo) {
        if (tipo == QtCriticalMsg || tipo == QtFatalMsg) std::cerr << testo.toStdString() << '\n';
    });
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    forms::sostituisciCaratteriMancanti();  // the pages' Arial, where Windows lacks it
    return app;
}

std::int64_t numero(const std::string& testo) {
    try {
        if (const auto n = storage::NumeriDaTesto(testo); n.size() == 1) return n.front();
    } catch (const storage::Error&) {
    }
    throw UsageError("--id vuole un numero di certificato: " + testo);
}

int certificati(const Contesto& ctx, const Argomenti& a, print::Famiglia famiglia) {
    const bool dipendenti = famiglia == print::Famiglia::Dipendenti;
    const auto pdf = a.valore("--pdf");
    const auto cartella = a.valore("--cartella-pdf");
    if (pdf.has_value() == cartella.has_value()) throw UsageError("stampa vuole --pdf FILE oppure --cartella-pdf DIR.");
    const bool perId = a.valore("--id").has_value();
    const bool perCognome = !a.valori("--cognome").empty();
    const bool perMatricola = !a.valori("--matricola").empty();
    if (perId + perCognome + perMatricola != 1)
        throw UsageError(dipendenti ? "stampa dipendenti vuole --id N, --cognome DA A oppure --matricola DA A."
                                    : "stampa professionisti vuole --id N oppure --cognome DA A.");

    storage::Tipi tipi = storage::Tipi::tutti();
    if (auto t = a.valore("--tipi")) {
        tipi = tipiDaTesto(*t);
        if (tipi.nessuno() && !perId) {
            std::cerr << print::kNessunTipo << '\n';
            return 1;
        }
    }

    storage::Connection conn;
    ctx.apri(conn);
    auto app = applicazione();

    std::vector<std::int64_t> ids;
    print::Variante variante = print::Variante::Batch;
    if (perId) {
        const std::int64_t id = numero(*a.valore("--id"));
        storage::LettoreCertificati lettore(conn);
        const bool esiste = dipendenti ? lettore.certificato(id).has_value() : lettore.professionista(id).has_value();
        if (!esiste) {
            std::cerr << "Certificato " << id << " non trovato.\n";
            return 1;
        }
        ids.push_back(id);
        variante = print::Variante::Editor;
    } else if (perCognome) {
        const auto b = a.valori("--cognome");
        ids = dipendenti ? print::SelezionaPerCognome(conn, tipi, b[0], b[1])
                         : print::SelezionaProfessionisti(conn, b[0], b[1]);
    } else {
        const auto b = a.valori("--matricola");
        ids = print::SelezionaPerMatricola(conn, tipi, b[0], b[1]);
    }
    if (ids.empty()) {
        std::cout << print::kSelezioneVuota << '\n';
        return 1;
    }

    ReporterConsole reporter;
    if (pdf) {
        print::PdfCertificati(conn, famiglia, ids, variante, QString::fromStdString(*pdf), &reporter);
    } else {
        const auto esito =
            print::PdfPerCertificato(conn, famiglia, ids, variante, QString::fromStdString(*cartella), &reporter);
        std::cout << "Creati " << esito.file.size() << " file PDF nella cartella "
                  << QDir::toNativeSeparators(QString::fromStdString(*cartella)).toStdString() << ".\n";
    }
    std::cout << print::kOperazioneEseguita << '\n';
    return 0;
}

int paginaSostituto(const Contesto& ctx, const Argomenti& a, bool quadroCt) {
    const auto pdf = a.valore("--pdf");
    if (!pdf) throw UsageError("stampa vuole --pdf FILE.");
    if (a.valore("--cartella-pdf") || a.valore("--id") || !a.valori("--cognome").empty() ||
        !a.valori("--matricola").empty() || a.valore("--tipi"))
        throw UsageError("stampa sostituto e stampa quadro-ct vogliono solo --pdf FILE.");
    storage::Connection conn;
    ctx.apri(conn);
    auto app = applicazione();
    print::SalvaPdf(quadroCt ? print::LavoroQuadroCT(conn) : print::LavoroSostituto(conn),
                    QString::fromStdString(*pdf));
    std::cout << print::kOperazioneEseguita << '\n';
    return 0;
}

int comandoStampa(const Contesto& ctx) {
    Argomenti a(ctx.parole,
                {{"--pdf", 1}, {"--cartella-pdf", 1}, {"--id", 1}, {"--cognome", 2}, {"--matricola", 2}, {"--tipi", 1}},
                {});
    if (a.posizionali().size() != 1)
        throw UsageError("stampa vuole dipendenti, professionisti, sostituto o quadro-ct.");
    const std::string cosa = a.posizionali()[0];
    if (cosa == "dipendenti") return certificati(ctx, a, print::Famiglia::Dipendenti);
    if (cosa == "professionisti") {
        if (!a.valori("--matricola").empty() || a.valore("--tipi"))
            throw UsageError("stampa professionisti non accetta --matricola né --tipi.");
        return certificati(ctx, a, print::Famiglia::Professionisti);
    }
    if (cosa == "sostituto") return paginaSostituto(ctx, a, false);
    if (cosa == "quadro-ct") return paginaSostituto(ctx, a, true);
    throw UsageError("stampa vuole dipendenti, professionisti, sostituto o quadro-ct, non " + cosa + ".");
}

}  // namespace

const Comando kStampa = {"stampa", comandoStampa,
                         "  stampa dipendenti (--pdf FILE | --cartella-pdf DIR) (--id N | --cognome DA A |\n"
                         "          --matricola DA A) [--tipi DIP,AMM,CoC]\n"
                         "  stampa professionisti (--pdf FILE | --cartella-pdf DIR) (--id N | --cognome DA A)\n"
                         "  stampa sostituto --pdf FILE\n"
                         "  stampa quadro-ct --pdf FILE\n"};

}  // namespace cli
