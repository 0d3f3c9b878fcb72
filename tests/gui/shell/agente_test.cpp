// The agent and Quadro CT windows: the two counts, "Salva" and the closing question.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "agente_prova.h"
#include "entry/finestraquadroct.h"
#include "entry/finestrasostituto.h"
#include "forms/vistapagina.h"
#include "registratore.h"

namespace {
QString testo(forms::VistaPagina& p, const char* colonna) {
    auto* e = qobject_cast<QLineEdit*>(p.box(QStringLiteral("SostitutoImposta"), QLatin1String(colonna)));
    return e ? e->text() : QStringLiteral("<nessuna casella>");
}
}  // namespace

class AgenteTest : public QObject, private ConArchivio {
    Q_OBJECT
private slots:
    void init() { apriArchivio(); }
    void cleanup() { chiudiArchivio(); }
    void conteggi_data();
    void conteggi();
    void chiusura_data();
    void chiusura();
    void salvaPoiChiudiNonChiede();
    void rotellaSulleTendine();
    void aiutoElencaICodiciDiCarica();
    void quadroCtSalvaEntrambeLeRighe();
    void quadroCtChiedePerIDatiDelSostituto();
};

// A1 counts the certificates of a kind DIP, AMM or CoC (point 1 plays no part), A2 the professionals.
void AgenteTest::conteggi_data() {
    QTest::addColumn<QString>("righe");  // the kinds of the Zefo1 rows; "~" = no Zefo2 row
    QTest::addColumn<int>("professionisti");
    QTest::addColumn<bool>("conRigaAgente");
    QTest::addColumn<QString>("a1");
    QTest::addColumn<QString>("a2");
    QTest::newRow("archivio vuoto") << "" << 0 << true << "0"
                                    << "0";
    QTest::newRow("misto") << "DIP,amm,CoC,~,XYZ," << 2 << true << "3"
                           << "2";
    QTest::newRow("agente ancora da inserire") << "DIP" << 1 << false << "1"
                                               << "1";
}

void AgenteTest::conteggi() {
    QFETCH(QString, righe);
    QFETCH(int, professionisti);
    QFETCH(bool, conRigaAgente);
    QFETCH(QString, a1);
    QFETCH(QString, a2);
    if (conRigaAgente) esegui(arch->db, "insert into SostitutoImposta(A1, A2) values('9', '9')");
    if (!righe.isEmpty())
        for (const QString& t : righe.split(',')) {
            // Point 1 filled where the old rule would not count, empty where it would.
            std::string sql = std::string("insert into Zefo1(C001) values('") + (t == "DIP" ? "" : "1,00") + "');";
            if (t != "~") sql += "insert into Zefo2(ID, tipo) values(last_insert_rowid(), '" + t.toStdString() + "');";
            esegui(arch->db, sql);
        }
    for (int i = 0; i < professionisti; ++i) esegui(arch->db, "insert into Professionisti(B02) values('P')");
    Registratore r;
    TFSostituto w(*conn);
    w.prepara();
    w.show();
    QTest::mouseClick(w.pagina().findChild<QToolButton*>(QStringLiteral("btnContaA1")), Qt::LeftButton);
    QTest::mouseClick(w.pagina().findChild<QToolButton*>(QStringLiteral("btnContaA2")), Qt::LeftButton);
    QCOMPARE(QString::fromStdString(w.TSostituto().text("A1")), a1);
    QCOMPARE(QString::fromStdString(w.TSostituto().text("A2")), a2);
    QCOMPARE(testo(w.pagina(), "A1"), a1);
    QCOMPARE(testo(w.pagina(), "A2"), a2);
    // Pending until saved: closing asks, and No leaves the archive as it was.
    QVERIFY(w.close());
    QCOMPARE(r.domande, QStringList{kDomanda});
    QCOMPARE(valore(arch->db, "select count(*) from SostitutoImposta"), conRigaAgente ? "1" : "0");
    if (conRigaAgente) QCOMPARE(valore(arch->db, "select A1 from SostitutoImposta"), "9");
}

void AgenteTest::chiusura_data() {
    QTest::addColumn<bool>("conRiga");
    QTest::addColumn<QString>("digitato");  // empty: nothing typed
    QTest::addColumn<bool>("risposta");
    QTest::addColumn<bool>("chiede");
    QTest::addColumn<QString>("archivio");  // the stored name afterwards; "-" = no row

    // Opened for editing by the menu, nothing typed: no question claiming changes.
    QTest::newRow("riga in modifica senza digitare") << true << "" << false << false << "VECCHIO";
    QTest::newRow("digitato, si") << true << "NUOVO" << true << true << "NUOVO";
    QTest::newRow("digitato, no") << true << "NUOVO" << false << true << "VECCHIO";
    QTest::newRow("riga nuova vuota") << false << "" << true << false << "-";
    QTest::newRow("riga nuova digitata, si") << false << "NUOVO" << true << true << "NUOVO";
}

void AgenteTest::chiusura() {
    QFETCH(bool, conRiga);
    QFETCH(QString, digitato);
    QFETCH(bool, risposta);
    QFETCH(bool, chiede);
    QFETCH(QString, archivio);
    if (conRiga) esegui(arch->db, "insert into SostitutoImposta(CognomeDenominazione) values('VECCHIO')");
    Registratore r;
    r.risposte = {risposta};
    TFSostituto w(*conn);
    w.prepara();
    w.show();
    if (!digitato.isEmpty()) scrivi(w.pagina(), "SostitutoImposta", "CognomeDenominazione", qPrintable(digitato));
    QVERIFY(w.chiudiFinestra());
    QVERIFY(!w.isVisible());
    QCOMPARE(r.domande, chiede ? QStringList{kDomanda} : QStringList());
    QCOMPARE(QString::fromStdString(valore(arch->db, "select ifnull(CognomeDenominazione, '') from SostitutoImposta")),
             archivio == "-" ? QStringLiteral("<nessuna riga>") : archivio);
    // "No" drops the typing: nothing refused stays pending to be written later.
    if (!risposta && !digitato.isEmpty()) {
        QVERIFY(!w.TSostituto().modified());
        QVERIFY(w.TSostituto().text("CognomeDenominazione") != digitato.toStdString());
    }
}

void AgenteTest::salvaPoiChiudiNonChiede() {
    esegui(arch->db, "insert into SostitutoImposta(CognomeDenominazione) values('VECCHIO')");
    Registratore r;
    TFSostituto w(*conn);
    w.prepara();
    w.show();
    scrivi(w.pagina(), "SostitutoImposta", "CognomeDenominazione", "NUOVO");
    w.salva();
    QCOMPARE(valore(arch->db, "select CognomeDenominazione from SostitutoImposta"), "NUOVO");
    QCOMPARE(w.TSostituto().state(), storage::Dataset::State::Browse);
    QVERIFY(w.chiudiFinestra());
    QCOMPARE(r.domande, QStringList());
    QCOMPARE(r.informazioni + r.errori, QStringList());
}

// The wheel over a closed drop-down ("Annullamento", "Impegno") changes nothing in either window:
// only the list opened or a key typed does.
void AgenteTest::rotellaSulleTendine() {
    esegui(arch->db, "insert into SostitutoImposta(CognomeDenominazione) values('ENTE')");
    Registratore r;
    TFSostituto sostituto(*conn);
    TFQuadroCT quadroCt(*conn);
    qsizetype provate = 0;
    for (agente::FinestraAgente* w : std::initializer_list<agente::FinestraAgente*>{&sostituto, &quadroCt}) {
        w->prepara();
        w->show();
        const auto tendine = w->pagina().findChildren<QComboBox*>();
        provate += tendine.size();
        for (QComboBox* c : tendine) {
            const QString prima = c->currentText();
            for (int verso : {-120, 120, -120}) {
                const QPointF centro = c->rect().center();
                QWheelEvent rotella(centro, c->mapToGlobal(centro), QPoint(), QPoint(0, verso), Qt::NoButton,
                                    Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(c, &rotella);
            }
            QCOMPARE(c->currentText(), prima);
        }
        QVERIFY(w->chiudiFinestra());
    }
    QVERIFY(provate >= 3);
    // Nothing changed, so closing asked nothing.
    QCOMPARE(r.domande, QStringList());
}

void AgenteTest::aiutoElencaICodiciDiCarica() {
    TFSostituto w(*conn);
    QCOMPARE(w.windowTitle(), QStringLiteral("Dati del Sostituto d'imposta."));
    QCOMPARE(w.schede().count(), 2);
    QCOMPARE(w.schede().tabText(0), QStringLiteral("Pagina 1"));
    QCOMPARE(w.schede().tabText(1), QStringLiteral("Aiuto"));
    QStringList testi;
    for (auto* l : w.schede().widget(1)->findChildren<QLabel*>()) testi << l->text();
    QCOMPARE(testi.size(), 16);
    QCOMPARE(testi.first(), QStringLiteral("TABELLA GENERALE DEI CODICI DI CARICA"));
    QCOMPARE(testi.last(), QStringLiteral("15 - Commissario liquidatore di una pubblica amministrazione"));
}

// "Salva" stores the Quadro CT row and the agent's row, each as edited or appended.
void AgenteTest::quadroCtSalvaEntrambeLeRighe() {
    Registratore r;
    TFQuadroCT w(*conn);
    QCOMPARE(w.windowTitle(), QStringLiteral("Quadro CT"));
    w.prepara();
    w.show();
    scrivi(w.pagina(), "QuadroCt", "B1", "BNCLGU65B02F205X");
    scrivi(w.pagina(), "SostitutoImposta", "email", "ufficio@esempio.it");
    w.salva();
    QCOMPARE(valore(arch->db, "select B1 from QuadroCt"), "BNCLGU65B02F205X");
    QCOMPARE(valore(arch->db, "select email from SostitutoImposta"), "ufficio@esempio.it");
    QVERIFY(w.chiudiFinestra());
    QCOMPARE(r.domande, QStringList());
}

// Typing into the agent's boxes on this page is not dropped unasked when the window closes.
void AgenteTest::quadroCtChiedePerIDatiDelSostituto() {
    esegui(arch->db, "insert into SostitutoImposta(email) values('vecchia@esempio.it')");
    Registratore r;
    r.risposte = {true};
    TFQuadroCT w(*conn);
    w.prepara();
    w.show();
    scrivi(w.pagina(), "SostitutoImposta", "email", "nuova@esempio.it");
    QVERIFY(w.chiudiFinestra());
    QCOMPARE(r.domande, QStringList{kDomanda});
    QCOMPARE(valore(arch->db, "select email from SostitutoImposta"), "nuova@esempio.it");
    QCOMPARE(valore(arch->db, "select count(*) from QuadroCt"), "1");
}

QTEST_MAIN(AgenteTest)
#include "agente_test.moc"
