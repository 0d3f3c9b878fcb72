// The certificate editors in the running program: after a reset or a restore from the import
// window they show no certificate that is gone; a problem of the check, of the archive or of a
// written file, opens its certificate on the page of its box.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <fstream>

#include "app/avvio.h"
#include "app/menu.h"
#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/finestraquadroct.h"
#include "entry/finestrasostituto.h"
#include "entry/ricercadipendenti.h"
#include "entry/ricercaprofessionisti.h"
#include "entry/testatainvio.h"
#include "forms/vistapagina.h"
#include "import/ui/finestraimporta.h"
#include "registratore.h"
#include "storage/invii.h"
#include "storage/reporter.h"
#include "telematic/generazione.h"
#include "telematic/ui/finestracontrollo.h"
#include "telematic/ui/finestragenerazione.h"

namespace {

const QString kPerse = QStringLiteral(
    ": l'elenco è stato riletto dall'archivio e le modifiche non salvate del "
    "certificato che era aperto sono andate perse.");

void scrivi(forms::VistaPagina& p, const char* tabella, const char* colonna, const char* testo) {
    auto* e = qobject_cast<QLineEdit*>(p.box(QLatin1String(tabella), QLatin1String(colonna)));
    QVERIFY2(e && !e->isReadOnly(), colonna);
    e->selectAll();
    QTest::keyClicks(e, QLatin1String(testo));
}

}  // namespace

class EditoriTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        arch = std::make_unique<Archivio>();
        esegui(arch->db,
               "insert into Zefo1(B01, B02) values('RSSMRA80A01H501U', 'ALFA'), ('VRDLGU60A01H501X', 'BETA');"
               "insert into Zefo2(ID, tipo) values(1, 'DIP'), (2, 'DIP');"
               "insert into Professionisti(B01, B02) values('BNCGNN70A01F205X', 'GAMMA');");
        reg = std::make_unique<Registratore>();
        avvio = std::make_unique<Avvio>(OpzioniAvvio{arch->ini});
        avvio->esegui();
        QTRY_VERIFY(avvio->configurato());
    }
    void cleanup() {
        avvio.reset();
        reg.reset();
        arch.reset();
    }

    void dopoUnAzzeramento_data();
    void dopoUnAzzeramento();
    void finestreDelSostitutoDopoUnAzzeramento_data();
    void finestreDelSostitutoDopoUnAzzeramento();
    void problemaDelFileApreIlCertificato();
    void problemaDellArchivioApreLaPagina();
    void rigaDInvioDopoUnaFornitura_data();
    void rigaDInvioDopoUnaFornitura();
    void rigaDInvioDopoLeRicevute();

private:
    TFPagina1& pagina1() { return *qobject_cast<TFPagina1*>(avvio->finestre().pagina1->finestra()); }
    TFProfessionisti& professionale() {
        return *qobject_cast<TFProfessionisti*>(avvio->finestre().professionisti->finestra());
    }
    TFImportaFile& importa() { return *qobject_cast<TFImportaFile*>(avvio->finestre().importa); }
    void clicca(const char* nome) {
        auto* b = avvio->menu().findChild<QPushButton*>(QLatin1String(nome));
        QVERIFY2(b, nome);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    std::unique_ptr<Archivio> arch;
    std::unique_ptr<Registratore> reg;
    std::unique_ptr<Avvio> avvio;
};

// Both editors are open, something typed in one of them; then the import window empties data
// (the editor's save question answered Yes, then its three questions Yes, No, Yes) or a restore
// reloads the archive. An editor whose data went reads its list again; typing was saved before a
// reset, and a restore that found it unsaved says it was lost.
void EditoriTest::dopoUnAzzeramento_data() {
    QTest::addColumn<QString>("operazione");  // dipendenti, professionisti, rifiutata, ripristino
    QTest::addColumn<bool>("digitaDipendente");
    QTest::addColumn<int>("dipendenti");      // rows of each list afterwards
    QTest::addColumn<int>("professionisti");  // rows of the professionals' list
    QTest::addColumn<QString>("messaggio");   // after the reset's own, or ""
    QTest::newRow("dipendenti, con digitazione") << "dipendenti" << true << 0 << 1 << "";
    QTest::newRow("dipendenti, senza digitazione") << "dipendenti" << false << 0 << 1 << "";
    QTest::newRow("professionisti, con digitazione") << "professionisti" << false << 2 << 0 << "";
    QTest::newRow("azzeramento rifiutato") << "rifiutata" << true << 2 << 1 << "";
    QTest::newRow("ripristino di una copia")
        << "ripristino" << true << 2 << 1 << QStringLiteral("L'archivio è stato ripristinato da una copia") + kPerse;
}

void EditoriTest::dopoUnAzzeramento() {
    QFETCH(QString, operazione);
    QFETCH(bool, digitaDipendente);
    QFETCH(int, dipendenti);
    QFETCH(int, professionisti);
    QFETCH(QString, messaggio);
    clicca("btnCuDipendenti");
    clicca("btnRicercaDipendente");
    auto* ricerca = qobject_cast<TFRicDip*>(avvio->finestre().ricDip);
    pagina1().show();  // the search button leaves the editor as it was; here both stay open
    professionale().riapriElenco();
    professionale().show();
    if (digitaDipendente)
        scrivi(pagina1().vista(0), "Zefo1", "B03", "DIGITATO");
    else
        scrivi(professionale().vista(0), "Professionisti", "B03", "DIGITATO");

    if (operazione == "ripristino") {
        emit importa().archivioRipristinato();
    } else {
        reg->risposte = {true, true, operazione == "rifiutata", true};
        if (operazione == "professionisti")
            importa().eliminaProfessionisti();
        else
            importa().eliminaDipendenti();
        // The editor's save question comes before the reset's own.
        QVERIFY(!reg->domande.isEmpty());
        QCOMPARE(
            reg->domande.first(),
            QStringLiteral("Attenzione: Hai effettuato delle modifiche nella finestra «Certificazione Unica dei %1». "
                           "Vuoi salvarle ?")
                .arg(digitaDipendente ? QStringLiteral("dipendenti") : QStringLiteral("professionisti")));
    }
    QCOMPARE(pagina1().elenco().rowCount(), static_cast<std::size_t>(dipendenti));
    QCOMPARE(professionale().elenco().rowCount(), static_cast<std::size_t>(professionisti));
    QCOMPARE(ricerca->griglia().model()->rowCount(), dipendenti);
    QStringList dopo = reg->informazioni.filter(QStringLiteral("elenco è stato riletto"));
    QCOMPARE(dopo, messaggio.isEmpty() ? QStringList() : QStringList{messaggio});
    QCOMPARE(reg->errori, QStringList());

    // Nothing typed reaches the archive unasked; typing on a list that was not read again is
    // still there to be saved.
    const bool tenuta = operazione == "rifiutata" || (operazione == "professionisti") == digitaDipendente;
    pagina1().salva();
    professionale().salva();
    const std::string salvati = valore(arch->db, "select count(*) from Zefo1 where B03 = 'DIGITATO'") + "/" +
                                valore(arch->db, "select count(*) from Professionisti where B03 = 'DIGITATO'");
    QCOMPARE(QString::fromStdString(salvati), !tenuta            ? QStringLiteral("0/0")
                                              : digitaDipendente ? QStringLiteral("1/0")
                                                                 : QStringLiteral("0/1"));
    // The editor emptied shows nothing of the certificate that was there.
    if (dipendenti == 0) {
        QCOMPARE(pagina1().findChild<QLineEdit*>(QStringLiteral("B02"))->text(), QString());
        QCOMPARE(pagina1().contatore(), QStringLiteral("0 di 0"));
    }
}

// The agent's window after the reset of the agent's data, the Quadro CT window after the
// employees' reset (which empties its intermediary boxes): each shows the archive as it is now.
void EditoriTest::finestreDelSostitutoDopoUnAzzeramento_data() {
    QTest::addColumn<bool>("quadroCt");
    QTest::addColumn<bool>("digita");
    QTest::addColumn<QString>("messaggio");
    // Typing is saved first (the save question's Yes), then emptied with the rest.
    QTest::newRow("dati generali, con digitazione") << false << true << "";
    QTest::newRow("dati generali, senza digitazione") << false << false << "";
    QTest::newRow("quadro CT, con digitazione") << true << true << "";
}

void EditoriTest::finestreDelSostitutoDopoUnAzzeramento() {
    QFETCH(bool, quadroCt);
    QFETCH(bool, digita);
    QFETCH(QString, messaggio);
    esegui(arch->db,
           "insert into SostitutoImposta(CognomeDenominazione) values('VECCHIO');"
           "insert into QuadroCt(B1, B4) values('RSSMRA80A01H501U', 'vecchio@esempio.it')");
    const char* tabella = quadroCt ? "QuadroCt" : "SostitutoImposta";
    const char* colonna = quadroCt ? "B4" : "CognomeDenominazione";
    const char* svuotata = quadroCt ? "B1" : "CognomeDenominazione";
    clicca(quadroCt ? "btnQuadroCT" : "btnDatiGenerali");
    auto* w = qobject_cast<agente::FinestraAgente*>(quadroCt ? avvio->finestre().quadroCt->finestra()
                                                             : avvio->finestre().sostituto->finestra());
    if (digita) scrivi(w->pagina(), tabella, colonna, "DIGITATO");
    reg->risposte = {true, false, true};
    if (digita) reg->risposte.push_front(true);
    if (quadroCt)
        importa().eliminaDipendenti();
    else
        importa().eliminaEnte();
    QCOMPARE(reg->informazioni.filter(QStringLiteral("riletti")),
             messaggio.isEmpty() ? QStringList() : QStringList{messaggio});
    const auto mostrato = [&](const char* c) {
        return qobject_cast<QLineEdit*>(w->pagina().box(QLatin1String(tabella), QLatin1String(c)))->text();
    };
    QCOMPARE(mostrato(svuotata), QString());
    QCOMPARE(mostrato(colonna), QString());
    reg->domande.clear();
    QVERIFY(w->chiudiFinestra());
    QCOMPARE(reg->domande, QStringList());
    QCOMPARE(QString::fromStdString(valore(arch->db, std::string("select ") + colonna + " from " + tabella)),
             QString());
    QCOMPARE(reg->errori, QStringList());
}

namespace {

struct Silenzioso : storage::Reporter {
    void info(const std::string&) override {}
    void error(const std::string&) override {}
    bool ask(const std::string&) override { return true; }
};

// The tab shown and the box with the cursor, as "Pagina 5 Professionisti.E04".
QString dove(entry::EditorCertificati& e) {
    QWidget* f = QApplication::focusWidget();
    return e.schede().tabText(e.schede().currentIndex()) + QLatin1Char(' ') + (f ? f->objectName() : QString());
}

}  // namespace

// "Controlla file" on the professionals' file, whose H record carries a damaged amount: a
// double-click on the problem opens the professional on "Pagina 5" at that box; once the
// professional is gone from the archive, the same double-click says why nothing opens.
void EditoriTest::problemaDelFileApreIlCertificato() {
    esegui(arch->db, "update Professionisti set E04 = '1.000,00'");
    const std::string cartella = arch->percorso("invio");
    {
        storage::Connection c;
        c.open(arch->db);
        telematic::OpzioniGenerazione opz;
        opz.cartella = cartella;
        opz.nomeFile = telematic::kNomeFileProfessionisti;
        Silenzioso s;
        QCOMPARE(int(telematic::GeneraFileProfessionisti(c, opz, s).esito), int(telematic::Esito::Concluso));
    }
    const std::string file = cartella + "/" + telematic::kNomeFileProfessionisti;
    std::string dati = contenuto(file);
    const auto campo = dati.find("AU001004");
    QVERIFY(campo != std::string::npos);
    dati[campo + 8 + 15] = 'X';
    { std::ofstream(file, std::ios::binary | std::ios::trunc) << dati; }

    clicca("btnGeneraProfessionisti");
    auto* generazione = qobject_cast<TFGenerazione*>(avvio->finestre().creaFileProfes);
    generazione->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QString::fromStdString(cartella));
    generazione->controllaFile();
    TFControllo& elenco = generazione->finestraControllo();
    QTableView& g = *elenco.griglia();
    int riga = -1;
    for (int r = 0; r < g.model()->rowCount(); ++r)
        if (g.model()->index(r, int(TFControllo::Colonna::Campo)).data().toString() == QStringLiteral("AU001004"))
            riga = r;
    QVERIFY2(riga >= 0, "nessun problema sul campo AU001004");
    const QRect cella = g.visualRect(g.model()->index(riga, int(TFControllo::Colonna::Problema)));
    const auto doppioClic = [&] {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cella.center());
        QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, cella.center());
    };
    doppioClic();
    QVERIFY(professionale().isVisible());
    QCOMPARE(professionale().elenco().key(), std::int64_t{1});
    QApplication::setActiveWindow(&professionale());
    QTRY_COMPARE(dove(professionale()), QStringLiteral("Pagina 5 Professionisti.E04"));
    QCOMPARE(reg->informazioni, QStringList());

    esegui(arch->db, "delete from Professionisti");
    doppioClic();
    QCOMPARE(
        reg->informazioni,
        QStringList{"Il certificato n. 1 del file (codice fiscale BNCGNN70A01F205X) non è nell'archivio aperto: il "
                    "file è stato scritto da un altro archivio, oppure il certificato è stato cancellato dopo."});
    QCOMPARE(reg->errori, QStringList());
}

// The archive check names the further INPS section's box: the editor opens on "Pagina 4 bis".
void EditoriTest::problemaDellArchivioApreLaPagina() {
    esegui(arch->db, "insert into Zefo3(Id, D04) values(2, 'X')");
    check::Problema p;
    p.origine = check::Origine::Dipendente;
    p.id = 2;
    p.colonna = "Zefo3.D04";
    emit qobject_cast<TFGenerazione*>(avvio->finestre().creaFile)->finestraControllo().apri(p);
    QVERIFY(pagina1().isVisible());
    QCOMPARE(pagina1().elenco().key(), std::int64_t{2});
    QApplication::setActiveWindow(&pagina1());
    QTRY_COMPARE(dove(pagina1()), QStringLiteral("Pagina 4 bis Zefo3.D04"));
}

// Certificate 1, marked for substitution, is open in the editor while the generation window
// writes the substitution supply: the sending line shows the mark cleared and the file written,
// what was typed there and not yet saved stays, and a save writes no stale mark back.
void EditoriTest::rigaDInvioDopoUnaFornitura_data() {
    QTest::addColumn<QString>("digitato");  // "progressivo", "operazione" (Annullamento chosen), or ""
    QTest::addColumn<QString>("mostrato");  // protocol/progressive/operation after the run
    QTest::addColumn<QString>("salvato");   // after the editor's save
    const QString prot = QStringLiteral("15031012345678901/");
    QTest::newRow("niente digitato") << "" << prot + "000002/nessuna" << prot + "000002/";
    QTest::newRow("progressivo digitato") << "progressivo" << prot + "000003/nessuna" << prot + "000003/";
    QTest::newRow("operazione scelta") << "operazione" << prot + "000002/Annullamento" << prot + "000002/Annullamento";
}

void EditoriTest::rigaDInvioDopoUnaFornitura() {
    QFETCH(QString, digitato);
    QFETCH(QString, mostrato);
    QFETCH(QString, salvato);
    {
        storage::Connection c;
        c.open(arch->db);
        storage::ScriviIdentificativi(c, storage::Elenco::Dipendenti, 1, "15031012345678901", "000002");
        storage::SegnaOperazione(c, storage::Elenco::Dipendenti, {1}, storage::Operazione::Sostituzione);
    }
    // The menu closes the editors before it shows a window; the generation window stays open
    // while the editor is opened after it.
    clicca("btnGeneraDipendenti");
    clicca("btnCuDipendenti");
    QCOMPARE(pagina1().elenco().key(), std::int64_t{1});
    entry::TestataInvio& invio = pagina1().invio();
    QCOMPARE(invio.operazione().currentText(), QStringLiteral("Sostituzione"));
    if (digitato == "progressivo") {
        invio.progressivo().selectAll();
        QTest::keyClicks(&invio.progressivo(), "000003");
    } else if (digitato == "operazione") {
        invio.operazione().setCurrentIndex(invio.operazione().findText(QStringLiteral("Annullamento")));
    }

    QCOMPARE(invio.modificata(), !digitato.isEmpty());
    auto* generazione = qobject_cast<TFGenerazione*>(avvio->finestre().creaFile);
    generazione->findChild<QCheckBox*>(QStringLiteral("CBDipendenti"))->setChecked(true);
    generazione->findChild<QRadioButton*>(QStringLiteral("FornituraSostituzione"))->setChecked(true);
    const QString cartella = QString::fromStdString(arch->percorso("invio"));
    generazione->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(cartella);
    reg->risposte = {true, true, true};
    QVERIFY(generazione->isVisible());
    generazione->generaFile();
    QCOMPARE(reg->errori, QStringList());
    QCOMPARE(contenuto(arch->percorso("invio/ZF2015.txt")).size(), std::size_t{5 * 1900});

    QCOMPARE(invio.protocollo().text() + '/' + invio.progressivo().text() + '/' + invio.operazione().currentText(),
             mostrato);
    const QString scritto = invio.findChild<QLabel*>(QStringLiteral("lblScritto"))->text();
    QVERIFY2(scritto.startsWith(QStringLiteral("Scritto in ZF2015.txt il ")), qPrintable(scritto));
    QCOMPARE(invio.modificata(), !digitato.isEmpty());
    pagina1().salva();
    storage::Connection c;
    c.open(arch->db);
    const storage::StatoInvio s = storage::LeggiInvio(c, storage::Elenco::Dipendenti, 1);
    QCOMPARE(QString::fromStdString(s.protocollo + '/' + s.progressivo + '/') +
                 QString::fromUtf8(storage::TestoOperazione(s.operazione)),
             salvato);
    QCOMPARE(reg->errori, QStringList());
}

// Receipts imported while the professionals' editor is open: its sending line shows the
// identifiers they wrote.
void EditoriTest::rigaDInvioDopoLeRicevute() {
    clicca("btnCuProfessionisti");
    entry::TestataInvio& invio = professionale().invio();
    QCOMPARE(invio.id(), std::int64_t{1});
    {
        storage::Connection c;
        c.open(arch->db);
        storage::ScriviIdentificativi(c, storage::Elenco::Professionisti, 1, "15031012345678901", "000004");
    }
    emit importa().ricevuteImportate();
    QCOMPARE(invio.protocollo().text() + '/' + invio.progressivo().text(), QStringLiteral("15031012345678901/000004"));
    QVERIFY(!invio.modificata());
}

QTEST_MAIN(EditoriTest)
#include "editori_test.moc"
