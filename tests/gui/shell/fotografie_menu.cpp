// Not a test: starts the program on an archive, presses every menu button and saves a picture
// of each window it shows, to look at.  shell_fotografie_menu ZEFO2015.INI CARTELLA
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/avvio.h"
#include "app/menu.h"
#include "ui/dialoghi.h"

namespace {
// The boxes would wait for a click nobody gives: they are printed, and questions answered No.
struct Stampante : ui::Risponditore {
    void informa(const QString& t) override { std::printf("[informa] %s\n", qPrintable(t)); }
    void errore(const QString& t) override { std::printf("[errore] %s\n", qPrintable(t)); }
    bool chiedi(const QString& d) override {
        std::printf("[domanda, No] %s\n", qPrintable(d));
        return false;
    }
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Stampante stampante;
    ui::RisponditoreInstallato risponditore(stampante);
    if (argc < 3) {
        std::fprintf(stderr, "uso: shell_fotografie_menu ZEFO2015.INI CARTELLA\n");
        return 2;
    }
    const QString cartella = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(cartella);
    Avvio avvio(OpzioniAvvio{argv[1]});
    avvio.esegui();
    while (!avvio.configurato()) app.processEvents();
    Finestre& f = avvio.finestre();
    const std::pair<const char*, QWidget*> casi[] = {
        {"btnImportazione", f.importa},
        {"btnDatiGenerali", f.sostituto->finestra()},
        {"btnQuadroCT", f.quadroCt->finestra()},
        {"btnCuDipendenti", f.pagina1->finestra()},
        {"btnRicercaDipendente", f.ricDip},
        {"btnStampaDipendenti", f.stampeTutti},
        {"btnGeneraDipendenti", f.creaFile},
        {"btnCuProfessionisti", f.professionisti->finestra()},
        {"btnRicercaProfessionista", f.profesRic},
        {"btnStampaProfessionisti", f.profesStaTutti},
        {"btnGeneraProfessionisti", f.creaFileProfes},
    };
    avvio.menu().grab().save(cartella + "/menu.png");
    for (const auto& [nome, finestra] : casi) {
        avvio.menu().findChild<QPushButton*>(QLatin1String(nome))->click();
        for (int i = 0; i < 10; ++i) app.processEvents();
        const QString file = cartella + "/" + QLatin1String(nome).mid(3) + ".png";
        finestra->grab().save(file);
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
