// The generation windows' supply kind: the Quadro CT refused with a correction, the list of chosen
// certificates for an ordinary supply, and what each kind writes when run from the window.
#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "registratore.h"
#include "storage/invii.h"
#include "telematic/generazione.h"
#include "telematic/ui/finestracontrollo.h"
#include "telematic/ui/generazionedipendenti.h"
#include "telematic/ui/generazioneprofessionisti.h"
#include "telematic/ui/sceltecertificati.h"

namespace {

const QString kRifiutoCt = QString::fromUtf8(telematic::kRifiutoCtCorrezione);
const std::string kProtocollo = "15031012345678901";

// The record types of a written file.
QString tipiRecord(const std::string& dati) {
    QString t;
    for (std::size_t i = 0; i < dati.size(); i += 1900) t += QChar(dati[i]);
    return t;
}

}  // namespace

class FornituraTest : public QObject, private ConArchivio {
    Q_OBJECT
private slots:
    void init() {
        apriArchivio();
        esegui(arch->db,
               "insert into SostitutoImposta(CodiceFiscale, CognomeDenominazione) "
               "values('80012345676', 'COMUNE DI ESEMPIO');"
               "insert into Zefo1(ID, B01, B02, B03) values(3, 'RSSMRA70A01H501S', 'ROSSI', 'MARIO'),"
               " (7, 'VRDLGI60B02F205H', 'VERDI', 'LUIGI'), (9, 'BNCNNA80A41H501R', 'BIANCHI', 'ANNA');"
               "insert into Zefo2(ID, tipo) values(3, 'DIP'), (7, 'AMM'), (9, 'DIP');"
               "insert into Professionisti(B01, B02, B03) values('BNCLGU65B02F205I', 'BIANCHI', 'LUGI');");
    }
    void cleanup() { chiudiArchivio(); }
    void quadroCtRifiutato_data();
    void quadroCtRifiutato();
    void elencoScelti_data();
    void elencoScelti();
    void controlloDellaFornitura_data();
    void controlloDellaFornitura();
    void tastieraNellElenco();
    void fornituraDallaFinestra_data();
    void fornituraDallaFinestra();
};

// Ticking the Quadro CT with a correction supply, or choosing a correction with it ticked.
void FornituraTest::quadroCtRifiutato_data() {
    QTest::addColumn<bool>("dipendenti");
    QTest::addColumn<QString>("fornitura");
    QTest::addColumn<bool>("primaIlQuadro");  // the box is ticked before the kind is chosen
    QTest::addColumn<bool>("rifiutato");
    for (bool dip : {true, false}) {
        const char* chi = dip ? "dipendenti" : "professionisti";
        QTest::addRow("%s: ordinaria", chi) << dip << "FornituraOrdinaria" << false << false;
        QTest::addRow("%s: sostituzione, poi il quadro", chi) << dip << "FornituraSostituzione" << false << true;
        QTest::addRow("%s: annullamento, poi il quadro", chi) << dip << "FornituraAnnullamento" << false << true;
        QTest::addRow("%s: il quadro, poi sostituzione", chi) << dip << "FornituraSostituzione" << true << true;
    }
}

void FornituraTest::quadroCtRifiutato() {
    QFETCH(bool, dipendenti);
    QFETCH(QString, fornitura);
    QFETCH(bool, primaIlQuadro);
    QFETCH(bool, rifiutato);
    Registratore r;
    std::unique_ptr<TFGenerazione> w;
    if (dipendenti)
        w = std::make_unique<TFCreaFile>(*conn);
    else
        w = std::make_unique<TFCreaFileProfes>(*conn);
    w->show();
    QVERIFY(figlio<QRadioButton>(*w, "FornituraOrdinaria")->isChecked());
    auto* quadro = figlio<QCheckBox>(*w, "CheckBox1");
    if (primaIlQuadro) QTest::mouseClick(quadro, Qt::LeftButton);
    QTest::mouseClick(figlio<QRadioButton>(*w, qPrintable(fornitura)), Qt::LeftButton);
    if (!primaIlQuadro) QTest::mouseClick(quadro, Qt::LeftButton);
    QCOMPARE(r.informazioni, rifiutato ? QStringList{kRifiutoCt} : QStringList{});
    QCOMPARE(quadro->isChecked(), !rifiutato);
    // The chosen few belong to an ordinary supply only.
    QCOMPARE(figlio<QPushButton>(*w, "btnScelti")->isEnabled(), fornitura == "FornituraOrdinaria");
}

// The list to tick: by hand, through the search box, from the last check; Cancel keeps the
// earlier choice.
void FornituraTest::elencoScelti_data() {
    QTest::addColumn<QString>("cerca");
    QTest::addColumn<QString>("azione");     // "3": tick number 3; or a button's or menu item's name
    QTest::addColumn<QString>("controllo");  // "Controllo" was pressed first ("-": not), and these rows selected
    QTest::addColumn<bool>("conferma");
    QTest::addColumn<QString>("messaggio");
    QTest::addColumn<QString>("scelti");
    QTest::addColumn<QString>("etichetta");

    QTest::newRow("uno spuntato") << ""
                                  << "7"
                                  << "-" << true << ""
                                  << "7"
                                  << "1 certificato scelto";
    QTest::newRow("cerca per cognome, spunta tutti") << "bianchi"
                                                     << "btnTutti"
                                                     << "-" << true << ""
                                                     << "9"
                                                     << "1 certificato scelto";
    QTest::newRow("cerca per codice fiscale") << "H501"
                                              << "btnTutti"
                                              << "-" << true << ""
                                              << "3,9"
                                              << "2 certificati scelti";
    QTest::newRow("nessuno: tutti") << ""
                                    << "btnNessuno"
                                    << "-" << true << ""
                                    << ""
                                    << "tutti i certificati";
    // The check finds an error in 7's tax code, and warnings in all three.
    QTest::newRow("controllo: con errori") << ""
                                           << "azioneConErrori"
                                           << "" << true << ""
                                           << "7"
                                           << "1 certificato scelto";
    QTest::newRow("controllo: righe selezionate") << ""
                                                  << "azioneSelezionati"
                                                  << "9" << true << ""
                                                  << "9"
                                                  << "1 certificato scelto";
    QTest::newRow("controllo: tutti") << ""
                                      << "azioneTutti"
                                      << "" << true << ""
                                      << "3,7,9"
                                      << "3 certificati scelti";
    QTest::newRow("controllo: nessuna riga selezionata")
        << ""
        << "azioneSelezionati"
        << "Sostituto" << true << "Nell'elenco del controllo non è selezionata alcuna riga di un certificato."
        << ""
        << "tutti i certificati";
    QTest::newRow("senza controllo")
        << ""
        << "azioneTutti"
        << "-" << true
        << "Nessun controllo eseguito: premere «Controllo» nella finestra di generazione, poi tornare a questo elenco."
        << ""
        << "tutti i certificati";
    QTest::newRow("annullato") << ""
                               << "7"
                               << "-" << false << ""
                               << ""
                               << "tutti i certificati";
}

void FornituraTest::elencoScelti() {
    QFETCH(QString, cerca);
    QFETCH(QString, azione);
    QFETCH(QString, controllo);
    QFETCH(bool, conferma);
    QFETCH(QString, messaggio);
    QFETCH(QString, scelti);
    QFETCH(QString, etichetta);
    esegui(arch->db, "update Zefo1 set B01 = 'VRDLGI60B02F205Z' where ID = 7");  // the check names 7
    Registratore r;
    TFCreaFile w(*conn);
    w.show();
    for (const char* c : {"CBDipendenti", "CbAmministratori"}) figlio<QCheckBox>(w, c)->setChecked(true);
    if (controllo != "-") {
        QTest::mouseClick(figlio<QPushButton>(w, "btnControllo"), Qt::LeftButton);
        QTableView* g = w.finestraControllo().griglia();
        g->clearSelection();
        for (int i = 0; i < g->model()->rowCount(); ++i)
            if (g->model()->index(i, int(TFControllo::Colonna::Numero)).data().toString() == controllo)
                g->selectionModel()->select(g->model()->index(i, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    int righe = -1;
    quando<TFScelti>([&](TFScelti& d) {
        figlio<QLineEdit>(d, "EditFiltro")->setText(cerca);
        auto* m = figlio<QTableView>(d, "grdScelti")->model();
        righe = m->rowCount();
        if (azione.startsWith("btn"))
            QTest::mouseClick(figlio<QPushButton>(d, qPrintable(azione)), Qt::LeftButton);
        else if (azione.startsWith("azione"))
            d.findChild<QAction*>(azione)->trigger();
        else
            for (int i = 0; i < m->rowCount(); ++i)
                if (m->index(i, 0).data().toString() == azione)
                    m->setData(m->index(i, 0), Qt::Checked, Qt::CheckStateRole);
        if (conferma)
            d.accept();
        else
            d.reject();
    });
    QTest::mouseClick(figlio<QPushButton>(w, "btnScelti"), Qt::LeftButton);
    QCOMPARE(righe, cerca.isEmpty() ? 3 : static_cast<int>(scelti.split(',').size()));
    QCOMPARE(r.informazioni + r.errori, messaggio.isEmpty() ? QStringList{} : QStringList{messaggio});
    QStringList numeri;
    for (std::int64_t id : w.scelti()) numeri << QString::number(id);
    QCOMPARE(numeri.join(','), scelti);
    QCOMPARE(figlio<QLabel>(w, "lblScelti")->text(), etichetta);
}

// From the search box the keyboard goes on to the list: Enter does not close it half done.
void FornituraTest::tastieraNellElenco() {
    Registratore r;
    TFCreaFile w(*conn);
    TFScelti d(*conn, storage::Elenco::Dipendenti, {}, std::nullopt, &w);
    d.show();
    auto* cerca = figlio<QLineEdit>(d, "EditFiltro");
    cerca->setFocus();
    QTest::keyClicks(cerca, "verdi");
    QTest::keyClick(cerca, Qt::Key_Return);
    QVERIFY(d.isVisible());
    auto* griglia = figlio<QTableView>(d, "grdScelti");
    QCOMPARE(d.focusWidget(), griglia);
    QTest::keyClick(griglia, Qt::Key_Space);
    QCOMPARE(d.scelti(), std::vector<std::int64_t>{7});
}

// "Controllo" checks the supply the window would write: a correction looks at the certificates
// marked for it, here number 3 without its identifiers.
void FornituraTest::controlloDellaFornitura_data() {
    QTest::addColumn<QString>("fornitura");
    QTest::addColumn<QString>("intestazione");
    QTest::addColumn<bool>("errore3");
    QTest::newRow("ordinaria") << "FornituraOrdinaria"
                               << "Controllo dell'archivio (Dipendenti - LPU / LSU)" << false;
    QTest::newRow("sostituzione") << "FornituraSostituzione"
                                  << "Controllo dell'archivio (Dipendenti - LPU / LSU, fornitura di sostituzione)"
                                  << true;
}

void FornituraTest::controlloDellaFornitura() {
    QFETCH(QString, fornitura);
    QFETCH(QString, intestazione);
    QFETCH(bool, errore3);
    storage::SegnaOperazione(*conn, storage::Elenco::Dipendenti, {3}, storage::Operazione::Sostituzione);
    Registratore r;
    TFCreaFile w(*conn);
    w.show();
    figlio<QCheckBox>(w, "CBDipendenti")->setChecked(true);
    QTest::mouseClick(figlio<QRadioButton>(w, qPrintable(fornitura)), Qt::LeftButton);
    QTest::mouseClick(figlio<QPushButton>(w, "btnControllo"), Qt::LeftButton);
    const QString sommario = figlio<QLabel>(w.finestraControllo(), "lblSommario")->text();
    QVERIFY2(sommario.startsWith(intestazione + ": "), qPrintable(sommario));
    bool trovato = false;
    for (const check::Problema& p : w.finestraControllo().problemi())
        trovato = trovato || (p.id == 3 && p.gravita == check::Gravita::Errore);
    QCOMPARE(trovato, errore3);
}

// A whole run from the window: an ordinary supply of the chosen few, and a substitution of the
// certificate marked for it; the Quadro CT never travels with the correction.
void FornituraTest::fornituraDallaFinestra_data() {
    QTest::addColumn<QString>("fornitura");
    QTest::addColumn<bool>("scegli9");  // the list limits the ordinary supply to number 9
    QTest::addColumn<QString>("tipi");
    QTest::addColumn<QString>("numeri");  // the D records' certificate numbers
    QTest::newRow("ordinaria, tutti") << "FornituraOrdinaria" << false << "ABDGDGDGZ"
                                      << "3,7,9";
    QTest::newRow("ordinaria, scelti") << "FornituraOrdinaria" << true << "ABDGZ"
                                       << "9";
    QTest::newRow("sostituzione") << "FornituraSostituzione" << false << "ABDGZ"
                                  << "7";
}

void FornituraTest::fornituraDallaFinestra() {
    QFETCH(QString, fornitura);
    QFETCH(bool, scegli9);
    QFETCH(QString, tipi);
    QFETCH(QString, numeri);
    storage::ScriviIdentificativi(*conn, storage::Elenco::Dipendenti, 7, kProtocollo, "000002");
    storage::SegnaOperazione(*conn, storage::Elenco::Dipendenti, {7}, storage::Operazione::Sostituzione);
    Registratore r;
    TFCreaFile w(*conn);
    w.show();
    for (const char* c : {"CBDipendenti", "CbAmministratori"}) figlio<QCheckBox>(w, c)->setChecked(true);
    QTest::mouseClick(figlio<QRadioButton>(w, qPrintable(fornitura)), Qt::LeftButton);
    if (scegli9) {
        quando<TFScelti>([](TFScelti& d) {
            d.scegli(9, true);
            d.accept();
        });
        QTest::mouseClick(figlio<QPushButton>(w, "btnScelti"), Qt::LeftButton);
    }
    figlio<QLineEdit>(w, "Edit2")->setText(QString::fromStdString(arch->percorso("invio")));
    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);
    QVERIFY2(r.errori.isEmpty(), qPrintable(r.errori.join('\n')));

    const std::string dati = contenuto(arch->percorso("invio/ZF2015.txt"));
    QCOMPARE(tipiRecord(dati), tipi);
    QStringList trovati;
    for (std::size_t i = 0; i < dati.size(); i += 1900)
        if (dati[i] == 'D') trovati << QString::number(std::stoi(dati.substr(i + 41, 5)));
    QCOMPARE(trovati.join(','), numeri);
    const bool sostituzione = fornitura == "FornituraSostituzione";
    // Record B: cancellation at 91, substitution at 92; the D record carries the identifiers.
    const std::string b = dati.substr(1900, 1900);
    QCOMPARE(b.substr(90, 2), std::string(sostituzione ? "01" : "00"));
    if (sostituzione) {
        const std::string d = dati.substr(2 * 1900, 1900);
        QCOMPARE(d.substr(46, 17), kProtocollo);
        QCOMPARE(d.substr(63, 6), std::string("000002"));
        // The mark is cleared once sent, and the window's count follows.
        QCOMPARE(storage::LeggiInvio(*conn, storage::Elenco::Dipendenti, 7).operazione, storage::Operazione::Nessuna);
        QCOMPARE(figlio<QLabel>(w, "lblScelti")->text(), QStringLiteral("0 certificati segnati «Sostituzione»"));
    }
}

QTEST_MAIN(FornituraTest)
#include "fornitura_test.moc"
