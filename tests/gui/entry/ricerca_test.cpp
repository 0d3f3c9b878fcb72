// The search windows: search on every keystroke over the editor's list, in its order.
#include <QCheckBox>
#include <QItemSelectionModel>
#include <algorithm>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "entry/tfpagina1.h"
#include "entry/tfprofesric.h"
#include "entry/tfprofessionisti.h"
#include "entry/tfricdip.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"

namespace {

// In list order (surname, first name): ID 8, 5, 3, 1, 2, 4, 7, 6 ("Ö" sorts after "Z").
void persone(Archivio& a, const std::string& tabella) {
    a.exec("insert into " + tabella + " (B02, B03) values "
           "('ROSSI', 'MARIO'), ('ROSSINI', 'LUCA'), ('ROSSI', 'ANNA'), ('RUSSO', 'NICCOLÒ'), "
           "('D''ANGELO', 'PAOLA'), ('ÖZTÜRK', 'EMRE'), ('ZANI', 'ÈLIA'), ('BIANCHI', 'GINO')");
}

// Key by key, letters outside ASCII included.
void batti(QLineEdit& e, const QString& testo) {
    for (QChar c : testo) QTest::sendKeyEvent(QTest::Click, &e, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

template <class Editor>
void vaiA(Editor& f, std::int64_t id) {
    const auto& k = f.elenco().keys();
    f.spostaA(static_cast<std::size_t>(std::find(k.begin(), k.end(), id) - k.begin()));
    QCOMPARE(f.elenco().integer("ID"), id);
}

}  // namespace

class RicercaTest : public QObject {
    Q_OBJECT
private slots:
    void ricercaDipendente_data() {
        QTest::addColumn<QString>("cognome");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("id");  // 0: the row stays where it was (on "BIANCHI", ID 8)
        QTest::addColumn<bool>("trovato");  // by the last keystroke
        QTest::newRow("inizio in minuscolo") << "ros" << "" << 3 << true;
        QTest::newRow("cognome e nome") << "rossi" << "m" << 1 << true;
        QTest::newRow("cognome più lungo") << "Rossin" << "" << 2 << true;
        QTest::newRow("apostrofo") << "d'a" << "" << 5 << true;
        QTest::newRow("lettera accentata") << "öz" << "" << 6 << true;
        QTest::newRow("solo il nome") << "" << "niccolò" << 4 << true;
        QTest::newRow("nome accentato in minuscolo") << "" << "èl" << 7 << true;
        // Each keystroke searches: the row found before the failing letter stays current.
        QTest::newRow("nessun cognome così") << "x" << "" << 0 << false;
        QTest::newRow("lettera che fa fallire") << "rox" << "" << 3 << false;
        QTest::newRow("nome che il cognome non ha") << "ru" << "luca" << 2 << false;
        QTest::newRow("caratteri dopo la Z") << "Z[" << "" << 7 << false;
    }
    void ricercaDipendente() {
        QFETCH(QString, cognome);
        QFETCH(QString, nome);
        QFETCH(int, id);
        QFETCH(bool, trovato);
        Archivio a;
        persone(a, "Zefo1");
        Registratore r;
        TFPagina1 f(a.conn);
        TFRicDip ric(f);
        f.riapriElenco();
        vaiA(f, 8);
        batti(ric.nome(), nome);
        batti(ric.cognome(), cognome);
        QCOMPARE(f.elenco().integer("ID"), id ? id : 8);
        QCOMPARE(ric.griglia().currentIndex().row(), static_cast<int>(f.elenco().position()));
        // A search whose last keystroke found nothing says so: the row shown is not the one typed.
        QCOMPARE(ric.esito(), trovato ? QString() : QStringLiteral("non trovato"));
        QCOMPARE(ric.cognome().styleSheet().isEmpty() && ric.nome().styleSheet().isEmpty(), trovato);
        QVERIFY(r.errori.isEmpty());
    }

    // The box of codes: a certificate number, then a matricola, then the beginning of a tax code.
    void ricercaPerCodice_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("id");  // 0: not found, the row stays on "BIANCHI", ID 8
        QTest::newRow("codice fiscale in minuscolo") << "rssmra" << 1;
        QTest::newRow("codice fiscale intero") << "RSSNNA85T50H501X" << 3;
        QTest::newRow("numero del certificato") << "5" << 5;
        QTest::newRow("numero prima della matricola") << "7" << 7;
        QTest::newRow("matricola con gli zeri") << "000123" << 6;
        QTest::newRow("numero inesistente") << "99" << 0;
        QTest::newRow("codice inesistente") << "XYZ" << 0;
    }
    void ricercaPerCodice() {
        QFETCH(QString, testo);
        QFETCH(int, id);
        Archivio a;
        persone(a, "Zefo1");
        a.exec("update Zefo1 set B01 = 'RSSMRA80A01H501U' where ID = 1");
        a.exec("update Zefo1 set B01 = 'RSSNNA85T50H501X' where ID = 3");
        a.exec("insert into Zefo2 (ID, MatrDip) values (6, '000123'), (2, '7')");
        Registratore r;
        TFPagina1 f(a.conn);
        TFRicDip ric(f);
        f.riapriElenco();
        vaiA(f, 8);
        QTest::keyClicks(&ric.codice(), testo);
        QCOMPARE(f.elenco().integer("ID"), id ? id : 8);
        QCOMPARE(ric.esito(), id ? QString() : QStringLiteral("non trovato"));
        QCOMPARE(ric.codice().styleSheet().isEmpty(), id != 0);
        QVERIFY(r.errori.isEmpty());
    }

    // Enter in a box, or a double-click on the grid, shows the editor on the certificate found.
    void invioODoppioClicApreLEditor() {
        Archivio a;
        persone(a, "Professionisti");
        Registratore r;
        TFProfessionisti f(a.conn);
        TFProfesRic ric(f);
        f.riapriElenco();
        ric.show();
        f.schede().setCurrentIndex(1);
        QTest::keyClicks(&ric.cognome(), "russ");
        QVERIFY(!f.isVisible());
        QTest::keyClick(&ric.cognome(), Qt::Key_Return);
        QVERIFY(f.isVisible());
        QCOMPARE(f.elenco().integer("ID"), 4);
        QCOMPARE(f.schede().currentIndex(), 0);
        f.hide();
        QTableView& g = ric.griglia();
        const QRect riga = g.visualRect(g.model()->index(0, 1));
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, riga.center());
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, riga.center());
        QVERIFY(f.isVisible());
        QCOMPARE(f.elenco().integer("ID"), 8);
        QVERIFY(r.errori.isEmpty());
    }

    void unaLetteraCheFallisceLasciaLaRigaTrovata() {
        Archivio a;
        persone(a, "Professionisti");
        Registratore r;
        TFProfessionisti f(a.conn);
        TFProfesRic ric(f);
        f.riapriElenco();
        QTest::keyClicks(&ric.cognome(), "rossin");
        QCOMPARE(f.elenco().integer("ID"), 2);
        QTest::keyClicks(&ric.cognome(), "x");
        QCOMPARE(f.elenco().integer("ID"), 2);
        ric.cognome().clear();  // empty boxes do not move
        QCOMPARE(f.elenco().integer("ID"), 2);
        QCOMPARE(ric.windowTitle(), QStringLiteral("Ricerca professionista"));
    }

    void ilFiltroDelTipoValeAncheNellaRicerca() {
        Archivio a;
        persone(a, "Zefo1");
        a.exec("insert into Zefo2 (ID, tipo) select ID, case when ID in (3, 4) then 'DIP' else 'AMM' end from Zefo1");
        Registratore r;
        TFPagina1 f(a.conn);
        TFRicDip ric(f);
        f.riapriElenco();
        f.casellaFiltro(3).click();  // Tutto off
        f.casellaFiltro(1).click();  // Amministratori off: only DIP, "ROSSI ANNA" and "RUSSO"
        QCOMPARE(f.elenco().rowCount(), std::size_t{2});
        QCOMPARE(ric.griglia().model()->rowCount(), 2);
        QTest::keyClicks(&ric.cognome(), "russ");
        QCOMPARE(f.elenco().integer("ID"), 4);
        ric.cognome().clear();
        QTest::keyClicks(&ric.cognome(), "rossin");  // "ROSSINI" is AMM
        QCOMPARE(f.elenco().integer("ID"), 3);
    }

    void laGrigliaSpostaLEditorEDigitareSalva() {
        Archivio a;
        persone(a, "Zefo1");
        Registratore r;
        TFPagina1 f(a.conn);
        TFRicDip ric(f);
        f.riapriElenco();
        digita(f.vista(0), QStringLiteral("Zefo1"), "B06", "ROMA");
        auto* griglia = &ric.griglia();
        QCOMPARE(griglia->model()->rowCount(), 8);
        QCOMPARE(griglia->model()->data(griglia->model()->index(3, 1)).toString(), QStringLiteral("ROSSI"));
        QCOMPARE(griglia->model()->data(griglia->model()->index(3, 2)).toString(), QStringLiteral("MARIO"));
        griglia->selectionModel()->setCurrentIndex(griglia->model()->index(4, 0),
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(f.elenco().integer("ID"), 2);
        QCOMPARE(a.testo("select B06 from Zefo1 where ID = 8"), std::string("ROMA"));
        QCOMPARE(griglia->model()->data(griglia->model()->index(0, 5)).toString(), QStringLiteral("ROMA"));
    }
};

int eseguiRicercaTest(int argc, char** argv) {
    RicercaTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "ricerca_test.moc"
