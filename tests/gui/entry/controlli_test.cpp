// Checks while typing: a box left with a wrong value is marked with the check's reason (tooltip
// and status line) and still saved; tax codes in capitals; the "Tipo:" drop-down; "Controlla".
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "check/casella.h"
#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "telematic/ui/finestracontrollo.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"

namespace {

const QString kZ1 = QStringLiteral("Zefo1"), kZ2 = QStringLiteral("Zefo2"), kZ3 = QStringLiteral("Zefo3");

// One clean certificate of each kind given, numbered from 1.
void certificati(Archivio& a, std::initializer_list<const char*> tipi) {
    for (const char* tipo : tipi) {
        a.exec(
            "insert into Zefo1 (A01, B01, B02, B03, C001, C002, C008) values "
            "('01234567897', 'RSSMRA80A01H501U', 'ROSSI', 'MARIO', '1.000,00', '1', '01/01/2014')");
        a.exec("insert into Zefo2 (ID, tipo) values (" + std::to_string(a.conn.lastInsertId()) + ", '" + tipo + "')");
    }
}

// An archive of clean certificates, the editor open on the first.
struct Editore {
    Archivio a;
    Registratore r;
    std::unique_ptr<TFPagina1> finestra;
    explicit Editore(std::initializer_list<const char*> tipi) {
        certificati(a, tipi);
        finestra = std::make_unique<TFPagina1>(a.conn);
        finestra->riapriElenco();
    }
};

// Types a value and leaves the box with Enter, as the operator does.
QLineEdit* lascia(forms::VistaPagina& v, const QString& tabella, const QString& colonna, const QString& testo) {
    digita(v, tabella, colonna, testo);
    auto* e = qobject_cast<QLineEdit*>(v.box(tabella, colonna));
    if (e) QTest::keyClick(e, Qt::Key_Return);
    return e;
}

bool segnata(const QWidget* w) { return w->styleSheet().contains(QStringLiteral("#c00000")); }

}  // namespace

class ControlliTest : public QObject {
    Q_OBJECT
private slots:
    void casellaLasciata_data() {
        QTest::addColumn<int>("pagina");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("mostrato");
        QTest::addColumn<QString>("messaggio");  // "" when right
        QTest::newRow("importo con lettere")
            << 1 << kZ1 << "c011"
            << "12abc"
            << "12abc"
            << "Errore: Importo non valido «12abc»: attese cifre, punti delle migliaia, "
               "virgola e due decimali (es. 1.234,56).";
        QTest::newRow("data che non esiste") << 1 << kZ1 << "C009"
                                             << "31/02/2014"
                                             << "31/02/2014"
                                             << "Errore: La data «31/02/2014» non esiste.";
        QTest::newRow("giorni oltre l'anno") << 1 << kZ1 << "C006"
                                             << "400"
                                             << "400"
                                             << "Avviso: Più di 365 giorni «400» in un anno.";
        QTest::newRow("percentuale") << 2 << kZ2 << "fam3_7"
                                     << "120,00"
                                     << "120,00"
                                     << "Errore: Percentuale oltre 100 «120,00».";
        QTest::newRow("codice fiscale minuscolo e giusto") << 0 << kZ1 << "B01"
                                                           << "rssmra80a01h501u"
                                                           << "RSSMRA80A01H501U"
                                                           << "";
        QTest::newRow("codice fiscale sbagliato") << 0 << kZ1 << "B01"
                                                  << "rssmra80a01h501x"
                                                  << "RSSMRA80A01H501X"
                                                  << "Errore: Codice fiscale del percipiente: il carattere di "
                                                     "controllo del codice fiscale è errato (atteso U).";
        QTest::newRow("sezione ulteriore") << 4 << kZ3 << "D04"
                                           << "1,5"
                                           << "1,50"
                                           << "";
        // Completed as typed the usual way, shown and saved completed.
        QTest::newRow("importo senza decimali") << 1 << kZ1 << "c011"
                                                << "1000"
                                                << "1.000,00"
                                                << "";
        QTest::newRow("importo col punto decimale") << 1 << kZ1 << "c011"
                                                    << "580.6"
                                                    << "580,60"
                                                    << "";
        QTest::newRow("mesi di una cifra") << 2 << kZ2 << "fam3_5"
                                           << "6"
                                           << "06"
                                           << "";
        QTest::newRow("provincia minuscola") << 0 << kZ1 << "B07"
                                             << "rm"
                                             << "RM"
                                             << "";
        QTest::newRow("provincia che non esiste") << 0 << kZ1 << "B21"
                                                  << "xx"
                                                  << "XX"
                                                  << "Avviso: La sigla «XX» non è tra quelle delle province italiane.";
        QTest::newRow("comune INAIL") << 3 << kZ2 << "D39"
                                      << "h501"
                                      << "H501"
                                      << "";
        QTest::newRow("importo giusto") << 1 << kZ1 << "c011"
                                        << "1.234,56"
                                        << "1.234,56"
                                        << "";
    }
    void casellaLasciata() {
        QFETCH(int, pagina);
        QFETCH(QString, tabella);
        QFETCH(QString, colonna);
        QFETCH(QString, digitato);
        QFETCH(QString, mostrato);
        QFETCH(QString, messaggio);
        Editore ed{"DIP"};
        auto& a = ed.a;
        auto& r = ed.r;
        TFPagina1& f = *ed.finestra;
        f.schede().setCurrentIndex(pagina);
        auto& v = f.vista(pagina);
        QLineEdit* e = lascia(v, tabella, colonna, digitato);
        QVERIFY(e);
        QCOMPARE(e->text(), mostrato);
        const bool errore = messaggio.startsWith(QStringLiteral("Errore"));
        QCOMPARE(v.segno(tabella, colonna), messaggio.isEmpty() ? forms::Esame::Giusto
                                            : errore            ? forms::Esame::Errore
                                                                : forms::Esame::Avviso);
        QCOMPARE(segnata(e), errore);
        QCOMPARE(e->toolTip(), messaggio);
        QCOMPARE(f.stato(), messaggio);

        // A warning, not a wall: the value is saved as shown.
        f.salva();
        const std::string tab = tabella.toStdString(), id = tabella == kZ3 ? "Id" : "ID";
        QCOMPARE(QString::fromStdString(
                     a.testo("select " + colonna.toStdString() + " from " + tab + " where " + id + " = 1")),
                 mostrato);
        QVERIFY(r.errori.isEmpty());
        // The saved certificate shown again keeps its mark.
        TFPagina1 g(a.conn);
        g.riapriElenco();
        g.schede().setCurrentIndex(pagina);
        QCOMPARE(g.vista(pagina).segno(tabella, colonna), v.segno(tabella, colonna));
    }

    // Putting a right value back clears the mark, the tooltip (to the box's own) and the status line.
    void valoreCorrettoTogliIlSegno() {
        Editore ed{"DIP"};
        TFPagina1& f = *ed.finestra;
        f.schede().setCurrentIndex(1);
        auto& v = f.vista(1);
        const QString suggerimento = v.box(kZ1, "C002")->toolTip();
        QVERIFY(!suggerimento.isEmpty());
        auto* punto2 = qobject_cast<QComboBox*>(v.box(kZ1, "C002"));
        QVERIFY(punto2);
        punto2->lineEdit()->selectAll();
        QTest::keyClicks(punto2->lineEdit(), "3");
        QTest::keyClick(punto2->lineEdit(), Qt::Key_Return);
        QCOMPARE(punto2->toolTip(), QStringLiteral("Errore: Il punto 2 vale 1 o 2, non «3»."));
        QVERIFY(segnata(punto2));
        QCOMPARE(f.stato(), punto2->toolTip());
        punto2->lineEdit()->selectAll();
        QTest::keyClicks(punto2->lineEdit(), "2");
        QTest::keyClick(punto2->lineEdit(), Qt::Key_Return);
        QCOMPARE(punto2->toolTip(), suggerimento);
        QVERIFY(!segnata(punto2));
        QCOMPARE(f.stato(), QString());

        // Day and month are one date: a stored right one is not marked, a month put right clears
        // the day's mark too.
        ed.a.exec("update Zefo2 set D37_1 = '31', D37_2 = '12'");
        f.riapriElenco();
        f.schede().setCurrentIndex(3);
        auto& p4 = f.vista(3);
        QCOMPARE(p4.segno(kZ2, "D37_1"), forms::Esame::Giusto);
        QCOMPARE(f.stato(), QString());
        lascia(p4, kZ2, "D37_1", "31");
        lascia(p4, kZ2, "D37_2", "02");
        QCOMPARE(p4.segno(kZ2, "D37_2"), forms::Esame::Errore);
        lascia(p4, kZ2, "D37_2", "12");
        QCOMPARE(p4.segno(kZ2, "D37_1"), forms::Esame::Giusto);
        QCOMPARE(p4.segno(kZ2, "D37_2"), forms::Esame::Giusto);
        // Another certificate starts with a clean status line.
        lascia(p4, kZ2, "D37_2", "02");
        QVERIFY(!f.stato().isEmpty());
        f.riapriElenco();
        QCOMPARE(f.stato(), QString());
    }

    // A tax code turns to capitals as it is typed, the header following it.
    void codiceFiscaleInMaiuscolo() {
        Editore ed{"DIP"};
        TFPagina1& f = *ed.finestra;
        auto* e = qobject_cast<QLineEdit*>(f.vista(0).box(kZ1, "B01"));
        e->selectAll();
        QTest::keyClicks(e, "bnc");
        QCOMPARE(e->text(), QStringLiteral("BNC"));
        QCOMPARE(e->cursorPosition(), 3);
        QCOMPARE(f.zefo2().isOpen() ? QString::fromStdString(f.elenco().text("B01")) : QString(),
                 QStringLiteral("BNC"));
        // Other text boxes keep what is typed.
        digita(f.vista(0), kZ1, "B02", "rossi");
        QCOMPARE(mostrato(f.vista(0), kZ1, "B02"), QStringLiteral("rossi"));
    }

    void tipoSoloDaElenco() {
        Editore ed{"dpi", "dip", "AMM"};
        auto& a = ed.a;
        auto& r = ed.r;
        TFPagina1& f = *ed.finestra;
        QComboBox& t = f.tipo();
        QVERIFY(!t.isEditable());
        f.vaiACertificato(2);  // lower case is the archive's DIP: shown so, left as stored
        QCOMPARE(t.currentText(), QStringLiteral("DIP"));
        QCOMPARE(t.count(), 3);
        QVERIFY(t.toolTip().isEmpty());
        QCOMPARE(t.itemText(0) + t.itemText(1) + t.itemText(2), QStringLiteral("DIPAMMCoC"));

        f.vaiACertificato(1);  // an odd kind is shown after the three, marked
        QCOMPARE(t.count(), 4);
        QCOMPARE(t.currentText(), QStringLiteral("dpi"));
        QCOMPARE(t.toolTip(), QString::fromUtf8(check::kTestoSenzaTipo));
        QVERIFY(!t.styleSheet().isEmpty());
        f.successivo();
        f.vaiACertificato(1);
        QCOMPARE(a.testo("select tipo from Zefo2 where ID = 1"), std::string("dpi"));
        QCOMPARE(a.testo("select tipo from Zefo2 where ID = 2"), std::string("dip"));

        t.setCurrentIndex(1);  // the operator picks AMM
        QCOMPARE(t.count(), 3);
        QVERIFY(t.toolTip().isEmpty());
        QVERIFY(t.styleSheet().isEmpty());
        f.salva();
        QCOMPARE(a.testo("select tipo from Zefo2 where ID = 1"), std::string("AMM"));
        QVERIFY(r.errori.isEmpty());
    }

    // "Controlla" lists the current certificate's problems, typing not yet saved included; a
    // double-click goes to the box.
    void controllaIlCertificato() {
        Editore ed{"DIP", "AMM"};  // one person, two kinds: no repetition
        auto& a = ed.a;
        auto& r = ed.r;
        TFPagina1& f = *ed.finestra;
        f.vaiACertificato(2);
        f.schede().setCurrentIndex(2);
        digita(f.vista(2), kZ2, "c201", "9x");
        auto* pulsante = f.findChild<QToolButton*>(QStringLiteral("Controlla"));
        QVERIFY(pulsante);
        pulsante->click();
        TFControllo* c = f.finestraControllo();
        QVERIFY(c && c->isVisible());
        QCOMPARE(c->problemi().size(), std::size_t{1});
        const check::Problema& p = c->problemi().front();
        QCOMPARE(p.id, 2);
        QCOMPARE(p.colonna, std::string("c201"));
        QVERIFY(p.testo.find("«9x»") != std::string::npos);
        QCOMPARE(a.testo("select c201 from Zefo2 where ID = 2"), std::string());  // nothing saved by checking

        // The list stays while the operator moves on; its certificate comes back with the box.
        f.primo();
        f.schede().setCurrentIndex(0);
        auto* griglia = c->griglia();
        emit griglia->doubleClicked(griglia->model()->index(0, 0));
        QCOMPARE(f.elenco().integer("ID"), 2);
        QCOMPARE(f.schede().currentIndex(), 2);
        QCOMPARE(f.focusWidget(), f.vista(2).box(kZ2, "c201"));

        // A certificate put right: the list says so when checked again.
        digita(f.vista(2), kZ2, "c201", "9,00");
        pulsante->click();
        QVERIFY(c->problemi().empty());
        QVERIFY(r.informazioni.isEmpty());
    }

    void controllaIlProfessionista() {
        Archivio a;
        Registratore r;
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        auto* pulsante = f.findChild<QToolButton*>(QStringLiteral("Controlla"));
        QVERIFY(pulsante);
        pulsante->click();  // no row: nothing to check
        QCOMPARE(r.informazioni.size(), 1);
        f.aggiungi();  // a new row is checked before it is saved
        digita(f.vista(0), QStringLiteral("Professionisti"), "B02", "BIANCHI");
        pulsante->click();
        QStringList colonne;
        for (const auto& p : f.finestraControllo()->problemi()) colonne << QString::fromStdString(p.colonna);
        QCOMPARE(colonne, QStringList({"B01", "A01"}));
    }
};

int eseguiControlliTest(int argc, char** argv) {
    ControlliTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "controlli_test.moc"
