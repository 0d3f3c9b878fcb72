// The editors open on the page of the box a problem of the check names, scrolled to it.
#include <QApplication>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "forms/vistapagina.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"

class CasellaTest : public QObject {
    Q_OBJECT
private slots:
    void paginaDellaCasella_data() {
        QTest::addColumn<bool>("professionisti");
        QTest::addColumn<QString>("colonna");  // as the check names it
        QTest::addColumn<QString>("pagina");   // the tab shown
        QTest::addColumn<QString>("casella");  // the box with the cursor, by its name, or ""
        QTest::newRow("anagrafica") << false << "B05"
                                    << "Pagina 1"
                                    << "Zefo1.B05";
        QTest::newRow("punto 1") << false << "C001"
                                 << "Pagina 2"
                                 << "Zefo1.C001";
        QTest::newRow("punto 201") << false << "c201"
                                   << "Pagina 3"
                                   << "Zefo2.c201";
        QTest::newRow("familiare, maiuscole diverse") << false << "FAM2_4"
                                                      << "Pagina 3"
                                                      << "Zefo2.fam2_4";
        QTest::newRow("INPS") << false << "D04"
                              << "Pagina 4"
                              << "Zefo2.D04";
        QTest::newRow("INAIL in fondo alla pagina") << false << "D35"
                                                    << "Pagina 4"
                                                    << "Zefo2.D35";
        QTest::newRow("sezione ulteriore") << false << "Zefo3.D04"
                                           << "Pagina 4 bis"
                                           << "Zefo3.D04";
        QTest::newRow("tutte le sezioni ulteriori") << false << "Zefo3"
                                                    << "Pagina 4 bis"
                                                    << "Zefo3.D01";
        QTest::newRow("autonomi del dipendente") << false << "E04"
                                                 << "Pagina 5"
                                                 << "Zefo2.E04";
        // Not on a page: the tab stays as it was.
        QTest::newRow("tipo della testata") << false << "tipo"
                                            << "Pagina 2"
                                            << "tipo";
        QTest::newRow("nessuna casella") << false << ""
                                         << "Pagina 2"
                                         << "";
        QTest::newRow("professionista, anagrafica") << true << "B01"
                                                    << "Pagina 1"
                                                    << "Professionisti.B01";
        QTest::newRow("professionista, autonomi") << true << "E23"
                                                  << "Pagina 5"
                                                  << "Professionisti.E23";
    }
    void paginaDellaCasella() {
        QFETCH(bool, professionisti);
        QFETCH(QString, colonna);
        QFETCH(QString, pagina);
        QFETCH(QString, casella);
        Archivio a;
        a.exec(professionisti
                   ? "insert into Professionisti (B02) values ('ALFA')"
                   : "insert into Zefo1 (B02) values ('ALFA'); insert into Zefo2 (ID, tipo) values (1, 'DIP')");
        Registratore r;
        std::unique_ptr<entry::EditorCertificati> f;
        if (professionisti)
            f = std::make_unique<TFProfessionisti>(a.conn);
        else
            f = std::make_unique<TFPagina1>(a.conn);
        f->riapriElenco();
        f->show();
        QApplication::setActiveWindow(f.get());
        f->schede().setCurrentIndex(1);  // somewhere else first
        QCOMPARE(f->vaiAllaCasella(colonna), !casella.isEmpty());
        QCOMPARE(f->schede().tabText(f->schede().currentIndex()), pagina);
        if (casella.isEmpty()) return;
        QTRY_VERIFY(QApplication::focusWidget());
        QWidget* box = QApplication::focusWidget();
        QCOMPARE(box->objectName(), casella);
        if (!casella.contains('.')) return;
        // The box is in view, not only on its page.
        auto* area = qobject_cast<QScrollArea*>(f->schede().currentWidget());
        const QRect dove(box->mapTo(area->viewport(), QPoint(0, 0)), box->size());
        QVERIFY2(area->viewport()->rect().contains(dove), qPrintable(casella));
    }
};

int eseguiCasellaTest(int argc, char** argv) {
    CasellaTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "casella_test.moc"
