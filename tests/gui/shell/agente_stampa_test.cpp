// The agent's window and the Quadro CT window as the operator leaves them: "Stampa" pressed (the
// save question, then the real preview window, whose page is printed to a PDF and read back), and
// the question when the program ends.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <memory>

#include "agente_prova.h"
#include "entry/finestraquadroct.h"
#include "entry/finestrasostituto.h"
#include "registratore.h"

namespace {

QString comando(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// What the preview showed: its number of pages, and the text of the PDF printed from it.
struct Anteprima {
    int pagine = -1;
    QString testo;
};

// Presses the window's toolbar button "Stampa" and, once the preview window is up, prints its
// pages to a PDF and closes it.
Anteprima premiStampa(QWidget& w, const QString& pdf) {
    QAbstractButton* stampa = nullptr;
    for (auto* b : w.findChildren<QAbstractButton*>())
        if (b->toolTip() == QStringLiteral("Stampa") && b->isVisible()) stampa = b;
    if (!stampa) qFatal("manca il bottone Stampa");
    Anteprima a;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* t : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<QPrintPreviewDialog*>(t);
            if (!d || !d->isVisible()) continue;
            auto* vista = d->findChild<QPrintPreviewWidget*>();
            a.pagine = vista ? vista->pageCount() : -2;
            d->printer()->setOutputFormat(QPrinter::PdfFormat);
            d->printer()->setOutputFileName(pdf);
            if (vista) vista->print();
            d->reject();
        }
    });
    timer.start(50);
    QTest::mouseClick(stampa, Qt::LeftButton);
    timer.stop();
    if (a.pagine > 0)
        a.testo = comando(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return a;
}

}  // namespace

class AgenteStampaTest : public QObject, private ConArchivio {
    Q_OBJECT
private slots:
    void init() {
        apriArchivio();
        esegui(arch->db,
               "insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, email, A1) "
               "values ('01234567897', 'ACME SPA', 'uffici@acme.it', '12');"
               "insert into QuadroCt (NumCellulare, B1, B4) values ('3331234567', 'RSSMRA80A01H501U', "
               "'posta@intermediario.it')");
    }
    void cleanup() { chiudiArchivio(); }
    void stampa_data();
    void stampa();
    void uscitaSenzaSalvare_data();
    void uscitaSenzaSalvare();
};

// Typed and saved on Yes, the change prints; on No the stored row prints. Either way the page
// holds the rest of the stored rows: the agent's page its tax code twice (page header and agent's
// data), the Quadro CT page the agent's data and the intermediary's.
void AgenteStampaTest::stampa_data() {
    QTest::addColumn<bool>("quadroCt");
    QTest::addColumn<bool>("risposta");
    QTest::addColumn<QString>("stampato");
    QTest::addColumn<QString>("assente");
    QTest::newRow("sostituto, salvata") << false << true << "NUOVA SRL"
                                        << "ACME SPA";
    QTest::newRow("sostituto, non salvata") << false << false << "ACME SPA"
                                            << "NUOVA SRL";
    QTest::newRow("quadro CT, salvata") << true << true << "BNCLCU92T15L219N"
                                        << "RSSMRA80A01H501U";
    QTest::newRow("quadro CT, non salvata") << true << false << "RSSMRA80A01H501U"
                                            << "BNCLCU92T15L219N";
}

void AgenteStampaTest::stampa() {
    QFETCH(bool, quadroCt);
    QFETCH(bool, risposta);
    QFETCH(QString, stampato);
    QFETCH(QString, assente);
    Registratore r;
    r.risposte = {risposta};
    std::unique_ptr<agente::FinestraAgente> w;
    if (quadroCt) {
        auto q = std::make_unique<TFQuadroCT>(*conn);
        q->prepara();
        w = std::move(q);
    } else {
        auto s = std::make_unique<TFSostituto>(*conn);
        s->prepara();
        w = std::move(s);
    }
    w->show();
    if (quadroCt)
        scrivi(w->pagina(), "QuadroCt", "B1", "BNCLCU92T15L219N");
    else
        scrivi(w->pagina(), "SostitutoImposta", "CognomeDenominazione", "NUOVA SRL");
    const Anteprima a = premiStampa(*w, QString::fromStdString(arch->percorso("stampa.pdf")));
    QCOMPARE(r.domande, QStringList{kDomanda});
    QCOMPARE(r.errori + r.informazioni, QStringList());
    QCOMPARE(a.pagine, 1);
    QVERIFY2(a.testo.contains(stampato), qPrintable(a.testo));
    QVERIFY2(!a.testo.contains(assente), qPrintable(a.testo));
    QCOMPARE(a.testo.count(QStringLiteral("01234567897")), quadroCt ? 1 : 2);
    QVERIFY(a.testo.contains(QStringLiteral("uffici@acme.it")));
    if (quadroCt)
        for (const char* t : {"3331234567", "posta@intermediario.it"}) QVERIFY2(a.testo.contains(QLatin1String(t)), t);
}

// No when the program ends drops what was typed: nothing is stored, the row holds the stored
// values again and a second ending has nothing to ask about. The window stays usable, also on an
// archive without the agent's row: typing afterwards is kept and saved.
void AgenteStampaTest::uscitaSenzaSalvare_data() {
    QTest::addColumn<bool>("conSostituto");
    QTest::addColumn<QString>("archiviato");
    QTest::newRow("riga del sostituto") << true << "ACME SPA";
    QTest::newRow("archivio senza sostituto") << false << "<nessuna riga>";
}

void AgenteStampaTest::uscitaSenzaSalvare() {
    QFETCH(bool, conSostituto);
    QFETCH(QString, archiviato);
    if (!conSostituto) esegui(arch->db, "delete from SostitutoImposta");
    Registratore r;
    r.risposte = {false, true};
    TFSostituto w(*conn);
    w.prepara();
    w.show();
    scrivi(w.pagina(), "SostitutoImposta", "CognomeDenominazione", "NUOVA SRL");
    QVERIFY(w.salvaPrimaDiUscire());
    // Before leaving, the question names the window that holds the typing.
    const QString domanda = QStringLiteral(
        "Attenzione: Hai effettuato delle modifiche nella finestra «Dati del Sostituto d'imposta». Vuoi salvarle ?");
    QCOMPARE(r.domande, QStringList{domanda});
    QCOMPARE(QString::fromStdString(valore(arch->db, "select CognomeDenominazione from SostitutoImposta")), archiviato);
    QCOMPARE(QString::fromStdString(w.TSostituto().text("CognomeDenominazione")),
             conSostituto ? archiviato : QString());
    QVERIFY(w.salvaPrimaDiUscire());
    QCOMPARE(r.domande, QStringList{domanda});
    QCOMPARE(QString::fromStdString(valore(arch->db, "select CognomeDenominazione from SostitutoImposta")), archiviato);
    scrivi(w.pagina(), "SostitutoImposta", "CognomeDenominazione", "TERZA SRL");
    QVERIFY(w.salvaPrimaDiUscire());
    QCOMPARE(r.domande, (QStringList{domanda, domanda}));
    QCOMPARE(QString::fromStdString(valore(arch->db, "select CognomeDenominazione from SostitutoImposta")),
             QStringLiteral("TERZA SRL"));
}

QTEST_MAIN(AgenteStampaTest)
#include "agente_stampa_test.moc"
