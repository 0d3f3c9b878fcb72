// The search windows: search on every keystroke over the editor's list, in its order.
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <memory>

#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/ricercadipendenti.h"
#include "entry/ricercaprofessionisti.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"

namespace {

// In list order (surname, first name): ID 8, 5, 3, 1, 2, 4, 7, 6 ("Ö" sorts after "Z").
void persone(Archivio& a, const std::string& tabella) {
    a.exec("insert into " + tabella +
           " (B02, B03) values "
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
        QTest::addColumn<int>("id");        // 0: the row stays where it was (on "BIANCHI", ID 8)
        QTest::addColumn<bool>("trovato");  // by the last keystroke
        QTest::newRow("inizio in minuscolo") << "ros"
                                             << "" << 3 << true;
        QTest::newRow("cognome e nome") << "rossi"
                                        << "m" << 1 << true;
        QTest::newRow("cognome più lungo") << "Rossin"
                                           << "" << 2 << true;
        QTest::newRow("apostrofo") << "d'a"
                                   << "" << 5 << true;
        QTest::newRow("lettera accentata") << "öz"
                                           << "" << 6 << true;
        QTest::newRow("solo il nome") << ""
                                      << "niccolò" << 4 << true;
        QTest::newRow("nome accentato in minuscolo") << ""
                                                     << "èl" << 7 << true;
        // Each keystroke searches: the row found before the failing letter stays current.
        QTest::newRow("nessun cognome così") << "x"
                                             << "" << 0 << false;
        QTest::newRow("lettera che fa fallire") << "rox"
                                                << "" << 3 << false;
        QTest::newRow("nome che il cognome non ha") << "ru"
                                                    << "luca" << 2 << false;
        QTest::newRow("caratteri dopo la Z") << "Z["
                                             << "" << 7 << false;
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

    // Blanks and apostrophes do not count; someone the kind filter hides is named and offered;
    // one click filters by kind, in surname order.
    void ricercaOltreIlFiltro_data() {
        QTest::addColumn<QString>("cognome");
        QTest::addColumn<int>("id");  // 0: the row stays on the first one
        QTest::addColumn<QString>("esito");
        QTest::newRow("senza blank") << "delu" << 2 << "";
        QTest::newRow("senza apostrofo") << "dang" << 3 << "";
        QTest::newRow("con il blank") << "de l" << 2 << "";
        QTest::newRow("escluso dal filtro") << "ross" << 0 << "ROSSI è escluso dal filtro";
        QTest::newRow("nessuno") << "xyz" << 0 << "non trovato";
    }
    void ricercaOltreIlFiltro() {
        QFETCH(QString, cognome);
        QFETCH(int, id);
        QFETCH(QString, esito);
        Archivio a;
        a.exec(
            "insert into Zefo1 (B02, B03) values ('ROSSI', 'MARIO'), ('DE LUCA', 'ANNA'), ('D''ANGELO', 'PIA'), "
            "('DELUCCHI', 'ELIO')");
        a.exec("insert into Zefo2 (ID, tipo) values (1, 'AMM'), (2, 'DIP'), (3, 'DIP'), (4, 'DIP')");
        Registratore r;
        TFPagina1 f(a.conn);
        TFRicDip ric(f);
        f.riapriElenco();
        QPushButton* dip = ric.findChild<QPushButton*>(QStringLiteral("filtroDIP"));
        QVERIFY(dip);
        dip->click();  // one click: only DIP, in surname order
        QCOMPARE(f.elenco().rowCount(), std::size_t{3});
        QCOMPARE(f.elenco().integer("ID"), 3);  // D'ANGELO, DE LUCA, DELUCCHI
        QCOMPARE(f.casellaFiltro(3).isChecked(), false);
        batti(ric.cognome(), cognome);
        QCOMPARE(f.elenco().integer("ID"), id ? id : 3);
        QCOMPARE(ric.esito(), esito);
        QCOMPARE(ric.pulsanteMostra().isVisibleTo(&ric), id == 0 && esito != "non trovato");
        if (ric.pulsanteMostra().isVisibleTo(&ric)) {
            ric.pulsanteMostra().click();  // the filter goes, ROSSI is shown
            QCOMPARE(f.elenco().integer("ID"), 1);
            QCOMPARE(f.elenco().rowCount(), std::size_t{4});
            QVERIFY(f.casellaFiltro(3).isChecked());
            QCOMPARE(ric.esito(), QString());
        }
        QVERIFY(r.errori.isEmpty());
    }

    // The box of codes: an exact matricola, then a certificate number, then the beginning of a tax
    // code; the window says which it found.
    void ricercaPerCodice_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("id");  // 0: not found, the row stays on "BIANCHI", ID 8
        QTest::addColumn<QString>("esito");
        QTest::newRow("codice fiscale in minuscolo") << "rssmra" << 1 << "codice fiscale";
        QTest::newRow("codice fiscale intero") << "RSSNNA85T50H501X" << 3 << "codice fiscale";
        QTest::newRow("numero del certificato") << "5" << 5 << "certificato n. 5";
        QTest::newRow("matricola prima del numero") << "7" << 2 << "matricola 7 (il certificato n. 7 con «n. 7»)";
        QTest::newRow("numero chiesto come tale") << "n. 7" << 7 << "certificato n. 7";
        QTest::newRow("matricola con gli zeri") << "000123" << 6 << "matricola 000123";
        QTest::newRow("matricola di lettere") << "a12" << 4 << "matricola a12";
        QTest::newRow("numero inesistente") << "99" << 0 << "non trovato";
        QTest::newRow("codice inesistente") << "XYZ" << 0 << "non trovato";
    }
    void ricercaPerCodice() {
        QFETCH(QString, testo);
        QFETCH(int, id);
        QFETCH(QString, esito);
        Archivio a;
        persone(a, "Zefo1");
        a.exec("update Zefo1 set B01 = 'RSSMRA80A01H501U' where ID = 1");
        a.exec("update Zefo1 set B01 = 'RSSNNA85T50H501X' where ID = 3");
        a.exec("insert into Zefo2 (ID, MatrDip) values (6, '000123'), (2, '7'), (4, 'A12')");
        Registratore r;
        TFPagina1 f(a.conn);
        TFRicDip ric(f);
        f.riapriElenco();
        vaiA(f, 8);
        QTest::keyClicks(&ric.codice(), testo);
        QCOMPARE(f.elenco().integer("ID"), id ? id : 8);
        QCOMPARE(ric.esito(), esito);
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

    // The words each window shows: the caption and the label its form gives, and a box of codes
    // that offers a matricola only where the certificates have one.
    void paroleDellaFinestra_data() {
        QTest::addColumn<bool>("professionisti");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("codici");
        QTest::newRow("dipendenti") << false << "Ricerca dipendente"
                                    << "C.F., numero o matricola";
        QTest::newRow("professionisti") << true << "Ricerca professionista"
                                        << "C.F. o numero";
    }
    void paroleDellaFinestra() {
        QFETCH(bool, professionisti);
        QFETCH(QString, titolo);
        QFETCH(QString, codici);
        Archivio a;
        TFPagina1 dip(a.conn);
        TFProfessionisti prof(a.conn);
        std::unique_ptr<entry::FinestraRicerca> ric;
        if (professionisti)
            ric = std::make_unique<TFProfesRic>(prof);
        else
            ric = std::make_unique<TFRicDip>(dip);
        QCOMPARE(ric->windowTitle(), titolo);
        QStringList etichette;
        for (const QLabel* l : ric->findChildren<QLabel*>())
            if (!l->text().isEmpty()) etichette << l->text();
        const QStringList attese = professionisti ? QStringList{"Dipendente"} : QStringList{"Dipendente", "Filtro:"};
        QCOMPARE(etichette, attese);
        QCOMPARE(ric->codice().placeholderText(), codici);
    }

    // Shown the first time, the window is whole on the 1366x768 screen and away from the menu's
    // corner: over the lower right of the editor, below its toolbar and header, when the editor
    // is shown, otherwise centred. Shown again, it stays where the operator put it.
    void dovePareLaFinestra_data() {
        QTest::addColumn<bool>("professionisti");
        QTest::addColumn<bool>("conEditor");
        QTest::addColumn<QPoint>("postoEditor");
        QTest::newRow("dipendenti, editor accanto al menu") << false << true << QPoint(262, 10);
        QTest::newRow("professionisti, editor accanto al menu") << true << true << QPoint(262, 10);
        QTest::newRow("dipendenti, editor a sinistra") << false << true << QPoint(0, 0);
        QTest::newRow("dipendenti, editor chiuso") << false << false << QPoint();
        QTest::newRow("professionisti, editor chiuso") << true << false << QPoint();
    }
    void dovePareLaFinestra() {
        QFETCH(bool, professionisti);
        QFETCH(bool, conEditor);
        QFETCH(QPoint, postoEditor);
        const QRect schermo = QGuiApplication::primaryScreen()->availableGeometry();
        Archivio a;
        a.exec(professionisti ? "insert into Professionisti (B02) values ('ALFA')"
                              : "insert into Zefo1 (B02) values ('ALFA')");
        Registratore r;
        TFPagina1 dip(a.conn);
        TFProfessionisti prof(a.conn);
        entry::EditorCertificati& f = professionisti ? static_cast<entry::EditorCertificati&>(prof) : dip;
        std::unique_ptr<entry::FinestraRicerca> ric;
        if (professionisti)
            ric = std::make_unique<TFProfesRic>(prof);
        else
            ric = std::make_unique<TFRicDip>(dip);
        f.riapriElenco();
        if (conEditor) {
            f.move(postoEditor);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
        }
        ric->show();
        QVERIFY(QTest::qWaitForWindowExposed(ric.get()));
        const QRect posto = ric->frameGeometry();
        const auto dove = [&] {
            return qPrintable(
                QStringLiteral("%1,%2 %3x%4").arg(posto.x()).arg(posto.y()).arg(posto.width()).arg(posto.height()));
        };
        QVERIFY2(schermo.contains(posto), dove());
        QVERIFY2(posto.topLeft() != schermo.topLeft(), dove());
        if (conEditor) {
            QCOMPARE(posto.bottomRight(), f.frameGeometry().bottomRight());
            QVERIFY2(posto.top() > f.schede().mapToGlobal(QPoint(0, 0)).y(), dove());
        } else {
            QVERIFY2(qAbs(posto.center().x() - schermo.center().x()) <= 1 &&
                         qAbs(posto.center().y() - schermo.center().y()) <= 1,
                     dove());
        }
        ric->hide();
        ric->move(40, 50);
        ric->show();
        QCOMPARE(ric->frameGeometry().topLeft(), QPoint(40, 50));
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
