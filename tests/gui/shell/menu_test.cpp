// The main menu: what each button prepares and shows, where, and what it closes first.
#include "app/menu.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "app/avvio.h"
#include "app/tdm.h"
#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/finestraquadroct.h"
#include "entry/finestrasostituto.h"
#include "forms/vistapagina.h"
#include "registratore.h"
#include "telematic/ui/finestracontrollo.h"
#include "telematic/ui/finestragenerazione.h"

using Stato = storage::Dataset::State;
Q_DECLARE_METATYPE(storage::Dataset::State)

class MenuTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void preparazione_data();
    void preparazione();
    void ogniBottoneMostraUnaFinestra();
    void posizioneADestraDelMenu();
    void chiudeLaFinestraDelSostitutoChiedendo();
    void esciChiedeDiSalvare_data();
    void esciChiedeDiSalvare();
    void generazioneCentrata();
    void controlloApreIlCertificato();
    void nessunaDomandaSenzaModifiche();
    void titoloSegueIlSostituto();
    void controlloInteroSulloSchermo();

private:
    TFSostituto& sostituto() { return *qobject_cast<TFSostituto*>(avvio->finestre().sostituto->finestra()); }
    TFQuadroCT& quadro() { return *qobject_cast<TFQuadroCT*>(avvio->finestre().quadroCt->finestra()); }
    void clicca(const char* nome) {
        auto* b = avvio->menu().findChild<QPushButton*>(QLatin1String(nome));
        QVERIFY2(b, nome);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void scrivi(forms::VistaPagina& p, const char* tabella, const char* colonna, const char* testo) {
        auto* e = qobject_cast<QLineEdit*>(p.box(QLatin1String(tabella), QLatin1String(colonna)));
        QVERIFY2(e, colonna);
        e->selectAll();
        QTest::keyClicks(e, QLatin1String(testo));
    }

    // Whole on the menu's screen; not over the menu where the screen leaves room beside it.
    void interaSulloSchermo(QWidget* w, const char* nome) {
        const QRect area = avvio->menu().screen()->availableGeometry();
        const QRect menu = avvio->menu().frameGeometry();
        const QRect r = w->frameGeometry();
        QVERIFY2(area.contains(r),
                 qPrintable(
                     QStringLiteral("%1: %2,%3 %4x%5").arg(nome).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
        if (r.width() <= area.right() - menu.right() - 10) QVERIFY2(!r.intersects(menu), nome);
    }

    std::unique_ptr<Archivio> arch;
    std::unique_ptr<Registratore> reg;
    std::unique_ptr<Avvio> avvio;
};

void MenuTest::init() {
    arch = std::make_unique<Archivio>();
    reg = std::make_unique<Registratore>();
    avvio = std::make_unique<Avvio>(OpzioniAvvio{arch->ini});
    avvio->esegui();
    QTRY_VERIFY(avvio->configurato());
    QVERIFY(avvio->dm().Conn.isOpen());
}

void MenuTest::cleanup() {
    avvio.reset();
    reg.reset();
    arch.reset();
}

// Edit when the single-row table has its row, append when it is empty; nothing stored yet.
void MenuTest::preparazione_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("bottone");
    QTest::addColumn<Stato>("agente");
    QTest::addColumn<Stato>("quadroCt");  // Closed: not the Quadro CT window

    QTest::newRow("dati generali, archivio vuoto") << ""
                                                   << "btnDatiGenerali" << Stato::Insert << Stato::Closed;
    QTest::newRow("dati generali con la riga") << "insert into SostitutoImposta(CodiceFiscale) values('80012345678')"
                                               << "btnDatiGenerali" << Stato::Edit << Stato::Closed;
    QTest::newRow("quadro CT, archivio vuoto") << ""
                                               << "btnQuadroCT" << Stato::Insert << Stato::Insert;
    QTest::newRow("quadro CT senza la sua riga") << "insert into SostitutoImposta(CodiceFiscale) values('80012345678')"
                                                 << "btnQuadroCT" << Stato::Edit << Stato::Insert;
    QTest::newRow("quadro CT con entrambe le righe") << "insert into SostitutoImposta(CodiceFiscale) values('1');"
                                                        "insert into QuadroCt(B1) values('2')"
                                                     << "btnQuadroCT" << Stato::Edit << Stato::Edit;
}

void MenuTest::preparazione() {
    QFETCH(QString, sql);
    QFETCH(QString, bottone);
    QFETCH(Stato, agente);
    QFETCH(Stato, quadroCt);
    if (!sql.isEmpty()) esegui(arch->db, sql.toStdString());
    const std::string prima = valore(arch->db, "select count(*) from SostitutoImposta") + "/" +
                              valore(arch->db, "select count(*) from QuadroCt");

    clicca(qPrintable(bottone));
    if (quadroCt == Stato::Closed) {
        QVERIFY(sostituto().isVisible());
        QCOMPARE(sostituto().TSostituto().state(), agente);
    } else {
        QVERIFY(quadro().isVisible());
        QCOMPARE(quadro().TSostituto().state(), agente);
        QCOMPARE(quadro().QQuadroCT().state(), quadroCt);
    }
    QCOMPARE(valore(arch->db, "select count(*) from SostitutoImposta") + "/" +
                 valore(arch->db, "select count(*) from QuadroCt"),
             prima);
    QCOMPARE(reg->domande, QStringList());
}

// Never a crash: every button shows its window, whole on the screen beside the menu.
void MenuTest::ogniBottoneMostraUnaFinestra() {
    Finestre& f = avvio->finestre();
    const std::pair<const char*, QWidget*> casi[] = {
        {"btnImportazione", f.importa},
        {"btnDatiGenerali", f.sostituto->finestra()},
        {"btnQuadroCT", f.quadroCt->finestra()},
        {"btnCuDipendenti", f.pagina1->finestra()},
        {"btnRicercaDipendente", f.ricDip},
        {"btnStampaDipendenti", f.stampeTutti},
        {"btnGeneraDipendenti", f.creaFile},
        {"btnCuProfessionisti", f.professionisti->finestra()},
        {"btnRicercaProfessionista", f.profesRic},
        {"btnStampaProfessionisti", f.profesStaTutti},
        {"btnGeneraProfessionisti", f.creaFileProfes},
    };
    for (const auto& [nome, finestra] : casi) {
        clicca(nome);
        QVERIFY2(finestra->isVisible(), nome);
        QVERIFY2(!finestra->windowTitle().isEmpty(), nome);
        interaSulloSchermo(finestra, nome);
    }
    QCOMPARE(reg->errori, QStringList());
}

void MenuTest::posizioneADestraDelMenu() {
    avvio->menu().resize(400, avvio->menu().height());
    clicca("btnDatiGenerali");
    const QRect menu = avvio->menu().frameGeometry();
    const int alto = avvio->menu().screen()->availableGeometry().top();
    QCOMPARE(sostituto().pos(), QPoint(menu.x() + menu.width() + 10, alto + 10));
}

// "Quadro CT" closes the agent window first, with its question; Yes stores the typing.
void MenuTest::chiudeLaFinestraDelSostitutoChiedendo() {
    esegui(arch->db, "insert into SostitutoImposta(CognomeDenominazione) values('VECCHIO')");
    clicca("btnQuadroCT");
    clicca("btnDatiGenerali");
    QVERIFY(quadro().isVisible());  // the Quadro CT window is not closed by the menu
    scrivi(sostituto().pagina(), "SostitutoImposta", "CognomeDenominazione", "NUOVO");
    reg->domande.clear();
    reg->risposte = {true};
    clicca("btnQuadroCT");
    QVERIFY(!sostituto().isVisible());
    QCOMPARE(reg->domande, QStringList{QStringLiteral("Attenzione: Hai effettuato delle modifiche. Vuoi salvarle ?")});
    QCOMPARE(valore(arch->db, "select CognomeDenominazione from SostitutoImposta"), "NUOVO");
    QCOMPARE(quadro().TSostituto().text("CognomeDenominazione"), "NUOVO");
}

void MenuTest::esciChiedeDiSalvare_data() {
    QTest::addColumn<bool>("editore");
    QTest::addColumn<bool>("risposta");
    QTest::addColumn<bool>("annulla");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("sostituto, si salva") << false << true << false << "NUOVO";
    QTest::newRow("sostituto, no lascia") << false << false << false << "VECCHIO";
    // Annulla: the program stays, with the typing on screen and nothing written.
    QTest::newRow("sostituto, annulla resta") << false << false << true << "VECCHIO";
    // No when the editor was closed dropped its typing: leaving the program has nothing to ask
    // about it and writes nothing of it, whatever the answers.
    QTest::newRow("editore chiuso con No, si") << true << true << false << "VECCHIO";
    QTest::newRow("editore chiuso con No, no") << true << false << false << "VECCHIO";
}

void MenuTest::esciChiedeDiSalvare() {
    QFETCH(bool, editore);
    QFETCH(bool, risposta);
    QFETCH(bool, annulla);
    QFETCH(QString, atteso);
    const char* lettura = editore ? "select A03 from Zefo1" : "select CognomeDenominazione from SostitutoImposta";
    if (editore) {
        esegui(arch->db, "insert into Zefo1(B02, A03) values('ALFA', 'VECCHIO')");
        auto& pagina1 = *qobject_cast<TFPagina1*>(avvio->finestre().pagina1->finestra());
        clicca("btnCuDipendenti");
        scrivi(pagina1.vista(0), "Zefo1", "A03", "NUOVO");
        QVERIFY(pagina1.chiudiFinestra());
        QVERIFY(!pagina1.isVisible());
    } else {
        esegui(arch->db, "insert into SostitutoImposta(CognomeDenominazione) values('VECCHIO')");
        clicca("btnDatiGenerali");
        scrivi(sostituto().pagina(), "SostitutoImposta", "CognomeDenominazione", "NUOVO");
    }
    QCOMPARE(valore(arch->db, lettura), "VECCHIO");
    QSignalSpy chiuso(&avvio->menu(), &TFmenu::chiuso);
    reg->risposte = {risposta};
    reg->annulla = annulla;
    clicca("btnEsci");
    QCOMPARE(chiuso.count(), annulla ? 0 : 1);
    QCOMPARE(reg->domande,
             editore ? QStringList{QStringLiteral("Attenzione: Hai effettuato delle modifiche. Vuoi salvarle ?")}
                     : QStringList{QStringLiteral("Attenzione: Hai effettuato delle modifiche nella finestra «Dati del "
                                                  "Sostituto d'imposta». Vuoi salvarle ?")});
    QCOMPARE(QString::fromStdString(valore(arch->db, lettura)), atteso);
    if (annulla) {
        QVERIFY(sostituto().isVisible());
        QCOMPARE(qobject_cast<QLineEdit*>(sostituto().pagina().box("SostitutoImposta", "CognomeDenominazione"))->text(),
                 QStringLiteral("NUOVO"));
        // The close box of the menu asks the same.
        reg->domande.clear();
        QVERIFY(!avvio->menu().close());
        QCOMPARE(reg->domande.size(), 1);
        QCOMPARE(chiuso.count(), 0);
    }
}

// The menu's title names the agent as saved, also when the name changes.
void MenuTest::titoloSegueIlSostituto() {
    clicca("btnDatiGenerali");
    scrivi(sostituto().pagina(), "SostitutoImposta", "CognomeDenominazione", "NUOVA SPA");
    QVERIFY(!avvio->menu().windowTitle().contains("NUOVA SPA"));
    sostituto().salva();
    QCOMPARE(avvio->menu().windowTitle(), QStringLiteral("Palio 2015 - NUOVA SPA - %1")
                                              .arg(QDir::toNativeSeparators(QString::fromStdString(arch->cartella))));
}

// The check's list opened from a generation window or from an editor's "Controlla" lies whole on
// the screen, not over the menu.
void MenuTest::controlloInteroSulloSchermo() {
    esegui(arch->db, "insert into Zefo1(B02) values('ALFA')");
    clicca("btnGeneraDipendenti");
    auto* generazione = qobject_cast<TFGenerazione*>(avvio->finestre().creaFile);
    generazione->controlla();
    QTRY_VERIFY(generazione->finestraControllo().isVisible());
    clicca("btnCuDipendenti");
    auto& pagina1 = *qobject_cast<TFPagina1*>(avvio->finestre().pagina1->finestra());
    pagina1.controlla();
    QVERIFY(pagina1.finestraControllo() && pagina1.finestraControllo()->isVisible());
    const std::pair<const char*, QWidget*> casi[] = {{"generazione", &generazione->finestraControllo()},
                                                     {"editore", pagina1.finestraControllo()}};
    for (const auto& [nome, finestra] : casi) interaSulloSchermo(finestra, nome);
}

void MenuTest::generazioneCentrata() {
    clicca("btnGeneraDipendenti");
    QWidget* w = avvio->finestre().creaFile;
    const QRect area = avvio->menu().screen()->availableGeometry();
    const QRect r = w->frameGeometry();
    const QString dove = QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    QVERIFY2(qAbs(r.center().x() - area.center().x()) <= 2, qPrintable(dove));
    QVERIFY2(qAbs(r.center().y() - area.center().y()) <= 2, qPrintable(dove));
}

// A row of the check's list opens where its problem lies, as the menu's buttons would.
void MenuTest::controlloApreIlCertificato() {
    esegui(arch->db,
           "insert into Zefo1(ID, B02, B03) values(4, 'ALFA', 'A'), (9, 'BETA', 'B'), (12, 'GAMMA', 'C');"
           "insert into Professionisti(ID, B02, B03) values(5, 'DELTA', 'D'), (6, 'EPSILON', 'E');");
    Finestre& f = avvio->finestre();
    auto& pagina1 = *qobject_cast<TFPagina1*>(f.pagina1->finestra());
    auto& professionisti = *qobject_cast<TFProfessionisti*>(f.professionisti->finestra());
    auto apri = [&](QWidget* generazione, check::Origine o, std::int64_t id) {
        check::Problema p;
        p.origine = o;
        p.id = id;
        emit qobject_cast<TFGenerazione*>(generazione)->finestraControllo().apri(p);
    };

    apri(f.creaFile, check::Origine::Dipendente, 9);
    QVERIFY(pagina1.isVisible());
    QCOMPARE(pagina1.elenco().key(), std::int64_t{9});
    apri(f.creaFileProfes, check::Origine::Professionista, 6);
    QVERIFY(professionisti.isVisible());
    QCOMPARE(professionisti.elenco().key(), std::int64_t{6});
    apri(f.creaFile, check::Origine::Sostituto, 0);
    QVERIFY(sostituto().isVisible());
    apri(f.creaFileProfes, check::Origine::QuadroCt, 0);
    QVERIFY(quadro().isVisible());
    QCOMPARE(reg->informazioni, QStringList());

    esegui(arch->db, "delete from Zefo1 where ID = 12");
    apri(f.creaFile, check::Origine::Dipendente, 12);
    QCOMPARE(reg->informazioni,
             QStringList{"Il certificato n. 12 non è nell'elenco: è stato cancellato oppure il filtro lo esclude."});
}

// Windows opened for editing and left untouched ask nothing when later buttons close them.
void MenuTest::nessunaDomandaSenzaModifiche() {
    esegui(arch->db,
           "insert into SostitutoImposta(CognomeDenominazione) values('VECCHIO');"
           "insert into QuadroCt(NumCellulare) values('333');"
           "insert into Zefo1(B02) values('ALFA'); insert into Professionisti(B02) values('BETA');");
    for (const char* b : {"btnDatiGenerali", "btnQuadroCT", "btnCuDipendenti", "btnCuProfessionisti",
                          "btnGeneraDipendenti", "btnDatiGenerali", "btnGeneraProfessionisti"})
        clicca(b);
    QCOMPARE(reg->domande, QStringList());

    // Typed and refused with No, the agent's change is dropped: later buttons never ask about it.
    clicca("btnDatiGenerali");
    scrivi(sostituto().pagina(), "SostitutoImposta", "CognomeDenominazione", "NUOVO");
    clicca("btnCuDipendenti");
    clicca("btnGeneraDipendenti");
    QCOMPARE(reg->domande.size(), 1);
    QCOMPARE(valore(arch->db, "select CognomeDenominazione from SostitutoImposta"), "VECCHIO");
}

QTEST_MAIN(MenuTest)
#include "menu_test.moc"
