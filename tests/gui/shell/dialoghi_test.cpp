// The boxes as the operator meets them: Qt's own buttons in Italian, and a progress box that
// exists only while its work runs.
#include "ui/dialoghi.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ui/collocazione.h"
#include "ui/reporterfinestra.h"
#include "ui/traduzioni.h"

namespace {

QStringList testiBottoni(QMessageBox* box) {
    QStringList v;
    for (QAbstractButton* b : box->buttons()) v << b->text().remove(QLatin1Char('&'));
    v.sort();
    return v;
}

QProgressDialog* progressoVisibile() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) return p;
    return nullptr;
}

// Reports progress for as long as ms, as a job does.
void lavora(ui::ReporterFinestra& r, int ms, std::size_t totale) {
    QElapsedTimer t;
    t.start();
    std::size_t fatti = 0;
    while (t.elapsed() < ms && r.progress(fatti, totale)) {
        QTest::qSleep(10);
        if (fatti + 1 < totale) ++fatti;
    }
}

}  // namespace

class DialoghiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ui::installaItaliano(*qApp)); }
    void domandaInItaliano();
    void dialoghiDiQtInItaliano();
    void progressoMaiDopoIlLavoro_data();
    void progressoMaiDopoIlLavoro();
    void annullaFermaIlLavoro();
    void domandaConAnnulla();
    void postoDelleFinestre_data();
    void postoDelleFinestre();
};

// The texts Qt's catalogue lacks, seen where the operator meets them: the file dialog's type
// column and the print dialog's page range.
void DialoghiTest::dialoghiDiQtInItaliano() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("PDF")));
    QFileSystemModel modello;
    QSignalSpy caricata(&modello, &QFileSystemModel::directoryLoaded);
    const QModelIndex radice = modello.setRootPath(dir.path());
    QVERIFY(caricata.wait(5000));
    QCOMPARE(modello.rowCount(radice), 1);
    QCOMPARE(modello.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Tipo"));
    QCOMPARE(modello.index(0, 2, radice).data().toString(), QStringLiteral("Cartella"));

    QPrinter stampante;
    QPrintDialog stampa(&stampante);
    QStringList scelte;
    for (const QRadioButton* r : stampa.findChildren<QRadioButton*>()) scelte << r->text().remove(QLatin1Char('&'));
    scelte.sort();
    QCOMPARE(scelte, (QStringList{QStringLiteral("Colore"), QStringLiteral("No"), QStringLiteral("Pagina corrente"),
                                  QStringLiteral("Pagine"), QStringLiteral("Pagine da"),
                                  QStringLiteral("Rilegatura sul lato corto"),
                                  QStringLiteral("Rilegatura sul lato lungo"), QStringLiteral("Scala di grigi"),
                                  QStringLiteral("Selezione"), QStringLiteral("Stampa tutto")}));
}

// The real question box: its buttons read "Sì" and "No", and No is not consent.
void DialoghiTest::domandaInItaliano() {
    QStringList bottoni, informazione;
    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        bottoni = testiBottoni(box);
        box->button(QMessageBox::No)->click();
    });
    QWidget w;
    w.show();
    QCOMPARE(ui::chiedi(&w, QStringLiteral("Vuoi proseguire?")), false);
    QCOMPARE(bottoni, (QStringList{QStringLiteral("No"), QStringLiteral("Sì")}));

    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        informazione = testiBottoni(box);
        box->accept();
    });
    ui::informa(&w, QStringLiteral("Operazione terminata."));
    QCOMPARE(informazione, QStringList{QStringLiteral("OK")});
}

// Whatever ends the work, no progress box is seen over the message that follows, however long
// the operator takes to read it.
void DialoghiTest::progressoMaiDopoIlLavoro_data() {
    QTest::addColumn<int>("durata");  // ms of work before the end
    QTest::addColumn<bool>("finoAllaFine");
    QTest::addColumn<bool>("perErrore");  // the window shows an error box after a failure
    QTest::newRow("lavoro breve concluso") << 50 << true << false;
    QTest::newRow("lavoro lungo concluso") << 600 << true << false;
    QTest::newRow("lavoro fallito") << 600 << false << true;
}

void DialoghiTest::progressoMaiDopoIlLavoro() {
    QFETCH(int, durata);
    QFETCH(bool, finoAllaFine);
    QFETCH(bool, perErrore);
    QWidget w;
    w.show();
    ui::ReporterFinestra r(&w, QStringLiteral("Importazione in corso..."));
    lavora(r, durata, 36);
    if (durata > ui::ReporterFinestra::kAttesaMs) QVERIFY(progressoVisibile());
    if (finoAllaFine) r.progress(36, 36);

    bool visto = false;
    QTimer spia;
    connect(&spia, &QTimer::timeout, [&] { visto = visto || progressoVisibile(); });
    spia.start(50);
    QTimer::singleShot(5000, [&] {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(t); box && box->isVisible()) box->accept();
    });
    if (perErrore)
        ui::errore(&w, QStringLiteral("Impossibile leggere il file"));
    else
        r.info("Operazione terminata.");
    QVERIFY(!visto);
    QVERIFY(!progressoVisibile());
}

// "Annulla" stops the work at its next report; the box is gone and stays gone.
void DialoghiTest::annullaFermaIlLavoro() {
    QWidget w;
    w.show();
    ui::ReporterFinestra r(&w, QStringLiteral("Generazione del file in corso..."));
    lavora(r, 400, 1000);
    QProgressDialog* box = progressoVisibile();
    QVERIFY(box);
    QCOMPARE(box->labelText(), QStringLiteral("Generazione del file in corso...\n%1 di 1000").arg(box->value()));
    box->findChild<QPushButton*>()->click();
    QCOMPARE(r.progress(500, 1000), false);
    QVERIFY(r.annullato());
    QCOMPARE(r.progress(501, 1000), false);
    QTest::qWait(5000);
    QVERIFY(!progressoVisibile());
}

// The question before leaving: "Sì", "No" and "Annulla", Esc gives up.
void DialoghiTest::domandaConAnnulla() {
    QStringList bottoni;
    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        bottoni = testiBottoni(box);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QWidget w;
    w.show();
    QCOMPARE(ui::chiediOAnnulla(&w, QStringLiteral("Vuoi salvarle ?")), ui::Risposta::Annulla);
    QCOMPARE(bottoni, (QStringList{QStringLiteral("Annulla"), QStringLiteral("No"), QStringLiteral("Sì")}));
    QTimer::singleShot(100, [&] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    QCOMPARE(ui::chiediOAnnulla(&w, QStringLiteral("Vuoi salvarle ?")), ui::Risposta::Si);
}

// Beside the menu, or centred, and always whole on a 1366x768 screen: the rectangle inside the
// window manager's frame.
void DialoghiTest::postoDelleFinestre_data() {
    QTest::addColumn<bool>("centrata");
    QTest::addColumn<QSize>("dimensione");
    QTest::addColumn<QMargins>("bordi");
    QTest::addColumn<QRect>("atteso");
    const QMargins nessuno, cornice(2, 30, 2, 2);
    QTest::newRow("accanto al menu") << false << QSize(600, 400) << nessuno << QRect(270, 10, 600, 400);
    QTest::newRow("con la cornice") << false << QSize(600, 400) << cornice << QRect(272, 40, 600, 400);
    QTest::newRow("anteprima 900x1000: accorciata") << false << QSize(900, 1000) << cornice << QRect(272, 30, 900, 736);
    QTest::newRow("troppo larga per stare a destra")
        << false << QSize(1300, 500) << nessuno << QRect(66, 10, 1300, 500);
    QTest::newRow("più larga dello schermo") << false << QSize(2000, 500) << nessuno << QRect(0, 10, 1366, 500);
    QTest::newRow("centrata") << true << QSize(600, 400) << nessuno << QRect(383, 184, 600, 400);
    QTest::newRow("centrata sopra il menu: a destra")
        << true << QSize(1000, 300) << nessuno << QRect(270, 234, 1000, 300);
}

void DialoghiTest::postoDelleFinestre() {
    QFETCH(bool, centrata);
    QFETCH(QSize, dimensione);
    QFETCH(QMargins, bordi);
    QFETCH(QRect, atteso);
    const QRect menu(0, 0, 260, 594), schermo(0, 0, 1366, 768);
    const QRect posto =
        ui::postoFinestra(centrata ? ui::Posto::Centrata : ui::Posto::AccantoAlMenu, menu, schermo, dimensione, bordi);
    QCOMPARE(posto, atteso);
    QVERIFY(schermo.contains(posto.marginsAdded(bordi)));
}

QTEST_MAIN(DialoghiTest)
#include "dialoghi_test.moc"
