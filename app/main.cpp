// Program entry of the desktop program.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <ctime>

#include "app/avvio.h"
#include "app/menu.h"
#include "forms/caratteri.h"
#include "ui/traduzioni.h"

namespace {
void uso() {
    std::fprintf(stderr,
                 "uso: palio2015 [--configurazione FILE] [--esci-dopo-avvio]\n"
                 "Le opzioni servono solo alle prove del programma.\n");
}
}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer orologio;
    orologio.start();
    // The file dialogs write dates and sizes in the system's language: Italian, whatever the
    // machine's. The C library's numbers stay as the core relies on (set back below).
    const bool localeScelto = qEnvironmentVariableIsEmpty("LC_ALL");
    if (localeScelto) {
        for (const char* categoria : {"LC_TIME", "LC_NUMERIC", "LC_MESSAGES"}) qputenv(categoria, "it_IT.UTF-8");
    }
    QApplication app(argc, argv);
    if (localeScelto) std::setlocale(LC_NUMERIC, "C");
    app.setApplicationName(QStringLiteral("Palio 2015"));
    app.setApplicationVersion(QStringLiteral(PALIO_VERSIONE));
    forms::sostituisciCaratteriMancanti();
    if (!ui::installaItaliano(app))
        std::fprintf(stderr, "Traduzioni italiane di Qt non trovate: i testi di Qt restano in inglese.\n");
    // Other windows may still be open: closing the menu is what ends the program.
    app.setQuitOnLastWindowClosed(false);

    OpzioniAvvio opzioni;
    bool esciDopoAvvio = false;
    const QStringList argomenti = app.arguments();
    for (int i = 1; i < argomenti.size(); ++i) {
        const QString& a = argomenti[i];
        if (a == QLatin1String("--configurazione") && i + 1 < argomenti.size()) {
            opzioni.percorsoIni = argomenti[++i].toStdString();
        } else if (a == QLatin1String("--esci-dopo-avvio")) {
            esciDopoAvvio = true;
        } else {
            uso();
            return 2;
        }
    }

    Avvio avvio(opzioni);
    // The configuration step runs from the event loop, so connecting after esegui() is in time.
    avvio.esegui();
    QObject::connect(&avvio.menu(), &TFmenu::chiuso, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&avvio, &Avvio::configurazioneEseguita, &app, [&] {
        if (!esciDopoAvvio) return;
        // Also the wall clock, for the time since the process was started (loading the libraries
        // included) measured from outside, and the processor time spent since then.
        std::fprintf(stderr, "menu pronto in %lld ms (alle %lld ms", static_cast<long long>(orologio.elapsed()),
                     static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
#ifndef _WIN32
        std::fprintf(stderr, "; processore %lld ms", static_cast<long long>(std::clock() * 1000 / CLOCKS_PER_SEC));
#endif
        std::fprintf(stderr, ")\n");
        if (avvio.terminato()) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    QObject::connect(&avvio, &Avvio::finestreCreate, &app, [&] {
        if (!esciDopoAvvio) return;
        std::fprintf(stderr, "finestre pronte in %lld ms\n", static_cast<long long>(orologio.elapsed()));
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    return app.exec();
}
