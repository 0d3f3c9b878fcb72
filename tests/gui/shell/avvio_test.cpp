// Start-up: the progress steps, the configuration step and its failure cases (the "Archivio"
// window that follows them is tested in archivio_test).
#include "app/avvio.h"

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/attesa.h"
#include "app/menu.h"
#include "app/sceltaarchivio.h"
#include "app/tdm.h"
#include "registratore.h"

class AvvioTest : public QObject {
    Q_OBJECT
private slots:
    void conArchivioApreLaConnessione();
    void menuUsabilePrimaDelleFinestre();
    void configurazione_data();
    void configurazione();
};

namespace {
void avviaEAttendi(Avvio& a) {
    a.esegui();
    QTRY_VERIFY(a.configurato());
}
}  // namespace

void AvvioTest::conArchivioApreLaConnessione() {
    Archivio arch;
    Registratore r;
    Avvio a({arch.ini});
    avviaEAttendi(a);
    QVERIFY(a.dm().Conn.isOpen());
    QCOMPARE(a.dm().Conn.percorso(), arch.db);
    // The windows are made after the menu is usable: the progress window has only its own steps.
    QCOMPARE(a.attendere().passi(), (std::vector<int>{1, 2, 10}));
    QVERIFY(!a.attendere().isVisible());
    QVERIFY(a.menu().isVisible());
    QCOMPARE(a.menu().windowTitle(), QStringLiteral("Palio 2015 - %1").arg(QString::fromStdString(arch.cartella)));
    QCOMPARE(a.menu().pos(), QPoint(0, 0));
    QVERIFY(r.informazioni.isEmpty() && r.errori.isEmpty());
}

// A button pressed before start-up has made the windows opens its window; the rest are made
// without a press, once.
void AvvioTest::menuUsabilePrimaDelleFinestre() {
    Archivio arch;
    Registratore r;
    Avvio a({arch.ini});
    QSignalSpy create(&a, &Avvio::finestreCreate);
    a.esegui();
    a.configura();
    QCOMPARE(create.count(), 0);
    auto* bottone = a.menu().findChild<QPushButton*>(QStringLiteral("btnCuDipendenti"));
    QVERIFY(bottone);
    bottone->click();
    QCOMPARE(create.count(), 1);
    QWidget* editor = a.finestre().pagina1->finestra();
    QVERIFY(editor->isVisible());
    QTest::qWait(50);
    QCOMPARE(create.count(), 1);
    QVERIFY(r.errori.isEmpty());

    Avvio b({arch.ini});
    QSignalSpy createB(&b, &Avvio::finestreCreate);
    b.esegui();
    QVERIFY(createB.wait(10000));
    QVERIFY(b.configurato());
    QCOMPARE(createB.count(), 1);
}

// What the first line of the configuration file gives, and how start-up ends.
void AvvioTest::configurazione_data() {
    QTest::addColumn<QString>("ini");  // content; "<manca>" = no file at all
    QTest::addColumn<bool>("menuAperto");
    QTest::addColumn<bool>("connessa");
    QTest::addColumn<QString>("informazione");  // "%1" = the archive folder
    QTest::addColumn<QString>("errore");        // start of the error text

    const QString mancante =
        QStringLiteral("ATTENZIONE!!!  Non esiste il file db dei dati. Consultare l'assistenza tecnica. ");
    QTest::newRow("seconda riga ignorata") << "%1\naltro/\n"
                                           << true << true << ""
                                           << "";
    QTest::newRow("separatore finale") << "%1/\n"
                                       << true << true << ""
                                       << "";
    QTest::newRow("fine riga CR LF") << "%1\r\n"
                                     << true << true << ""
                                     << "";
    QTest::newRow("archivio mancante") << "%1/vuota\n"
                                       << false << false << mancante + "%1/vuota/Zefo2015.db"
                                       << "";
    QTest::newRow("spazi conservati") << " %1\n"
                                      << false << false << mancante + " %1/Zefo2015.db"
                                      << "";
    QTest::newRow("file vuoto") << "" << false << false << mancante + "/Zefo2015.db"
                                << "";
    // The first start: the "Archivio" window says no archive is configured; no box before it.
    QTest::newRow("configurazione mancante") << "<manca>" << false << false << ""
                                             << "";
}

void AvvioTest::configurazione() {
    QFETCH(QString, ini);
    QFETCH(bool, menuAperto);
    QFETCH(bool, connessa);
    QFETCH(QString, informazione);
    QFETCH(QString, errore);

    Archivio arch;
    const QString cartella = QString::fromStdString(arch.cartella);
    std::filesystem::remove(arch.ini);
    if (ini != QLatin1String("<manca>")) {
        std::ofstream out(arch.ini, std::ios::binary);
        out << QString(ini).replace("%1", cartella).toStdString();
    }
    Registratore r;
    Avvio a({arch.ini});
    QSignalSpy chiuso(&a.menu(), &TFmenu::chiuso);
    // Without its archive the program offers the "Archivio" window; the operator leaves it.
    bool finestraArchivio = false;
    quando<TFArchivio>([&](TFArchivio& w) {
        finestraArchivio = true;
        w.reject();
    });
    avviaEAttendi(a);
    QCOMPARE(finestraArchivio, !menuAperto);

    QCOMPARE(a.menu().isVisible(), menuAperto);
    QCOMPARE(a.terminato(), !menuAperto);
    QCOMPARE(chiuso.count(), menuAperto ? 0 : 1);
    QCOMPARE(a.dm().Conn.isOpen(), connessa);
    QCOMPARE(r.informazioni,
             informazione.isEmpty() ? QStringList() : QStringList{QString(informazione).replace("%1", cartella)});
    if (errore.isEmpty()) {
        QCOMPARE(r.errori, QStringList());
    } else {
        QCOMPARE(r.errori.size(), 1);
        QVERIFY2(r.errori[0].startsWith(errore), qPrintable(r.errori[0]));
        QVERIFY(r.errori[0].contains(QString::fromStdString(arch.ini)));
    }
    QVERIFY(!a.attendere().isVisible());
    // Nothing is written anywhere: the missing archive is not created.
    QVERIFY(!std::filesystem::exists(arch.cartella + "/vuota"));
    QVERIFY(!std::filesystem::exists("/Zefo2015.db"));
}

QTEST_MAIN(AvvioTest)
#include "avvio_test.moc"
