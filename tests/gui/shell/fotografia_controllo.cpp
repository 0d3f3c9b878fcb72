// Not a test: runs the check on an archive from the employees' generation window and saves
// pictures of the list, of the window and of the whole screen, to look at.  shell_fotografia_controllo ARCHIVIO.db
// CARTELLA
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTableView>
#include <cstdio>

#include "storage/connection.h"
#include "telematic/ui/finestracontrollo.h"
#include "telematic/ui/generazionedipendenti.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "uso: shell_fotografia_controllo ARCHIVIO.db CARTELLA\n");
        return 2;
    }
    const QString cartella = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(cartella);
    storage::Connection conn;
    conn.open(argv[1]);
    TFCreaFile w(conn);
    for (const char* c : {"CBDipendenti", "CbAmministratori", "CbCoCoCo"})
        w.findChild<QCheckBox*>(QLatin1String(c))->setChecked(true);
    w.move(20, 20);
    w.show();
    w.controlla();
    TFControllo& c = w.finestraControllo();
    c.move(120, 200);
    for (int i = 0; i < 20; ++i) app.processEvents();
    // How long the operator waits on a click on a column header, for big lists.
    QElapsedTimer orologio;
    for (auto colonna : {TFControllo::Colonna::Problema, TFControllo::Colonna::Numero, TFControllo::Colonna::Gravita}) {
        orologio.start();
        c.griglia()->sortByColumn(static_cast<int>(colonna), Qt::DescendingOrder);
        std::printf("ordinamento sulla colonna %d di %zu righe: %lld ms\n", static_cast<int>(colonna),
                    c.problemi().size(), static_cast<long long>(orologio.elapsed()));
    }
    c.griglia()->sortByColumn(-1, Qt::AscendingOrder);
    c.grab().save(cartella + "/controllo.png");
    w.grab().save(cartella + "/generazione.png");
    if (QScreen* s = QGuiApplication::primaryScreen()) s->grabWindow(0).save(cartella + "/schermo.png");
    std::printf("%s: controllo.png generazione.png schermo.png\n", qPrintable(cartella));
    return 0;
}
