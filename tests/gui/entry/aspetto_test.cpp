// How the editors sit on a 1366x768 screen and what their boxes and headers show.
#include <QAbstractItemModel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/ricercadipendenti.h"
#include "entry/ricercaprofessionisti.h"
#include "forms/pagina.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"

namespace {

std::unique_ptr<entry::EditorCertificati> editor(bool professionisti, storage::Connection& conn) {
    if (professionisti) return std::make_unique<TFProfessionisti>(conn);
    return std::make_unique<TFPagina1>(conn);
}

}  // namespace

class AspettoTest : public QObject {
    Q_OBJECT
private slots:
    // Shown where the menu puts it (at its right, near the top) or lower down, the window stays
    // on the screen with its toolbar, and the page scrolls inside its tab.
    void entraNelloSchermo_data() {
        QTest::addColumn<bool>("professionisti");
        QTest::addColumn<QPoint>("posto");
        QTest::newRow("dipendenti, accanto al menu") << false << QPoint(262, 10);
        QTest::newRow("dipendenti, in basso a destra") << false << QPoint(900, 600);
        QTest::newRow("professionisti, accanto al menu") << true << QPoint(262, 10);
    }
    void entraNelloSchermo() {
        QFETCH(bool, professionisti);
        QFETCH(QPoint, posto);
        const QRect schermo = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(schermo.size(), QSize(1366, 768));
        Archivio a;
        a.exec(professionisti ? "insert into Professionisti (B02) values ('ALFA')"
                              : "insert into Zefo1 (B02) values ('ALFA')");
        Registratore r;
        auto f = editor(professionisti, a.conn);
        f->riapriElenco();
        f->move(posto);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        QVERIFY2(schermo.contains(f->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(f->x()).arg(f->y()).arg(f->width()).arg(f->height())));
        QVERIFY(f->height() >= 600);
        for (const char* b : {"Salva", "Chiudi", "Primo", "Ultimo"}) {
            auto* p = f->findChild<QToolButton*>(QLatin1String(b));
            QVERIFY2(p && p->isVisible(), b);
            QVERIFY2(f->rect().contains(QRect(p->mapTo(f.get(), QPoint(0, 0)), p->size())), b);
        }
        auto* area = qobject_cast<QScrollArea*>(f->schede().currentWidget());
        QVERIFY(area && area->verticalScrollBar()->maximum() > 0);
        QVERIFY(r.errori.isEmpty());
    }

    // Shown again, the editor starts at the top of "Pagina 1", whatever page and place the
    // operator left it on.
    void riapreInCimaAllaPagina1() {
        Archivio a;
        a.exec("insert into Zefo1 (B02) values ('ALFA')");
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.show();
        for (int i : {3, 1}) {
            f.schede().setCurrentIndex(i);
            auto* area = qobject_cast<QScrollArea*>(f.schede().widget(i));
            area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
            area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        }
        QVERIFY(f.chiudiFinestra());
        f.riapriElenco();  // what the menu does before showing it
        f.paginaIniziale();
        f.show();
        QCOMPARE(f.schede().currentIndex(), 0);
        for (int i = 0; i < f.schede().count(); ++i) {
            auto* area = qobject_cast<QScrollArea*>(f.schede().widget(i));
            QCOMPARE(area->verticalScrollBar()->value(), 0);
            QCOMPARE(area->horizontalScrollBar()->value(), 0);
        }
    }

    // "Dipendente" is followed by the company and the employee number; a certificate with
    // neither (a new one) shows nothing there, not a lone "/".
    void dittaEMatricolaNellaTestata_data() {
        QTest::addColumn<QString>("ditta");
        QTest::addColumn<QString>("matricola");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("nessuna delle due") << ""
                                           << ""
                                           << "";
        QTest::newRow("solo spazi") << " "
                                    << "  "
                                    << "";
        QTest::newRow("entrambe") << "43"
                                  << "0002"
                                  << "43/0002";
        QTest::newRow("solo la ditta") << "43"
                                       << ""
                                       << "43/";
        QTest::newRow("solo la matricola") << ""
                                           << "0002"
                                           << "/0002";
    }
    void dittaEMatricolaNellaTestata() {
        QFETCH(QString, ditta);
        QFETCH(QString, matricola);
        QFETCH(QString, atteso);
        Archivio a;
        a.exec("insert into Zefo1 (B02) values ('ALFA')");
        storage::Statement st(a.conn, "insert into Zefo2 (ID, ditta, MatrDip) values (1, ?, ?)");
        st.bind(1, ditta.toStdString());
        st.bind(2, matricola.toStdString());
        st.step();
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        QCOMPARE(f.findChild<QLineEdit*>(QStringLiteral("DittaMatr"))->text(), atteso);
        QCOMPARE(mostrato(f.vista(0), forms::kTabellaCalcolata, "DittaMatr"), atteso);
    }

    // The search grids show a tax code and a date whole, however wide their letters.
    void codiciInteriNellaGriglia_data() {
        QTest::addColumn<bool>("professionisti");
        QTest::newRow("ricerca dipendente") << false;
        QTest::newRow("ricerca professionista") << true;
    }
    void codiciInteriNellaGriglia() {
        QFETCH(bool, professionisti);
        Archivio a;
        a.exec(std::string("insert into ") + (professionisti ? "Professionisti" : "Zefo1") +
               " (B01, B02, B05) values ('MWMWMW88W88W888W', 'ALFA', '28/08/1988'), ('RSSMRA80A01H501U', 'BETA', "
               "'01/01/1980')");
        Registratore r;
        std::unique_ptr<entry::EditorCertificati> f = editor(professionisti, a.conn);
        std::unique_ptr<entry::FinestraRicerca> ric;
        if (professionisti)
            ric = std::make_unique<TFProfesRic>(static_cast<TFProfessionisti&>(*f));
        else
            ric = std::make_unique<TFRicDip>(static_cast<TFPagina1&>(*f));
        f->riapriElenco();
        ric->show();
        QTableView& g = ric->griglia();
        const QFontMetrics fm(g.font());
        const int margini = 2 * (g.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &g) + 1);
        for (int c : {0, 4})
            for (int riga = 0; riga < g.model()->rowCount(); ++riga) {
                const QString t = g.model()->index(riga, c).data().toString();
                QVERIFY2(g.columnWidth(c) >= fm.horizontalAdvance(t) + margini, qPrintable(t));
            }
    }
};

int eseguiAspettoTest(int argc, char** argv) {
    AspettoTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "aspetto_test.moc"
