// The two generation windows: checks, the overwrite question and a whole run from the window.
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "registratore.h"
#include "telematic/ui/finestracontrollo.h"
#include "telematic/ui/generazionedipendenti.h"
#include "telematic/ui/generazioneprofessionisti.h"

namespace {
// The employees' final message: "%LOG" stands for the log's full path.
const QString kFineConLog = QStringLiteral("Operazione conclusa. Controlla il file LOG\n%LOG");
QString logIn(const Archivio& a) { return QString::fromStdString(a.percorso("invio/Zf2015.log")); }
}  // namespace

class GeneraTest : public QObject, private ConArchivio {
    Q_OBJECT
private slots:
    void init() {
        apriArchivio();
        esegui(arch->db,
               "insert into SostitutoImposta(CodiceFiscale, CognomeDenominazione) "
               "values('80012345676', 'COMUNE DI ESEMPIO');"
               "insert into Zefo1(ID, B01, B02, B03) values(3, 'RSSMRA70A01H501S', 'ROSSI', 'MARIO');"
               "insert into Zefo2(ID, tipo) values(3, 'DIP');"
               "insert into Zefo1(ID, B01, B02, B03) values(7, 'VRDLGI60B02F205H', 'VERDI', 'LUIGI');"
               "insert into Zefo2(ID, tipo) values(7, 'AMM');"
               "insert into Professionisti(B01, B02, B03) values('BNCLGU65B02F205I', 'BIANCHI', 'LUGI');");
    }
    void cleanup() { chiudiArchivio(); }
    void valoriIniziali();
    void dipendenti_data();
    void dipendenti();
    void sovrascrittura_data();
    void sovrascrittura();
    void professionisti();
    void annullaNonScriveNulla();
    void erroriPrimaDiScrivere_data();
    void erroriPrimaDiScrivere();
    void elencoDelControllo();
    void controlloDelFile();
    void ordineDelleColonneDiTesto_data();
    void ordineDelleColonneDiTesto();
};

void GeneraTest::valoriIniziali() {
    TFCreaFile d(*conn);
    TFCreaFileProfes p(*conn);
    QCOMPARE(d.windowTitle(), QStringLiteral("Creazione del file da inviare DIPENDENTI"));
    QCOMPARE(p.windowTitle(), QStringLiteral("Creazione del file PROFESSIONISTI"));
    QCOMPARE(figlio<QLineEdit>(d, "Edit1")->text(), QStringLiteral("ZF2015.txt"));
    QCOMPARE(figlio<QLineEdit>(p, "Edit1")->text(), QStringLiteral("ZF2015Prof.txt"));
    // The destination is the archive's own folder, so that two agents' files never meet.
    const QString propria = QDir::toNativeSeparators(QString::fromStdString(arch->percorso("FileXInvio")));
    QCOMPARE(figlio<QLineEdit>(d, "Edit2")->text(), propria);
    {
        // Made before the archive opens, as at start-up: the archive's folder once shown; a folder
        // the operator typed is his.
        storage::Connection chiusa;
        TFCreaFile prima(chiusa);
        QVERIFY(figlio<QLineEdit>(prima, "Edit2")->text().endsWith(QStringLiteral("RAVO/Zefo2015/FileXInvio")));
        chiusa.open(arch->db);
        prima.show();
        QCOMPARE(figlio<QLineEdit>(prima, "Edit2")->text(), propria);
        prima.hide();
        figlio<QLineEdit>(prima, "Edit2")->setText(QStringLiteral("/tmp/altrove"));
        prima.show();
        QCOMPARE(figlio<QLineEdit>(prima, "Edit2")->text(), QStringLiteral("/tmp/altrove"));
    }
    QVERIFY(figlio<QRadioButton>(d, "Fornitore01")->isChecked());
    for (const char* c : {"CheckBox1", "CBDipendenti", "CbAmministratori", "CbCoCoCo"})
        QVERIFY(!figlio<QCheckBox>(d, c)->isChecked());
    QVERIFY(!p.findChild<QCheckBox*>(QStringLiteral("CBDipendenti")));
}

// Records written for the kinds ticked; the folder shown back without its final separator.
void GeneraTest::dipendenti_data() {
    QTest::addColumn<QStringList>("spunte");
    QTest::addColumn<QString>("cartella");   // relative to the archive folder
    QTest::addColumn<QString>("messaggio");  // the one box shown
    QTest::addColumn<QString>("tipi");       // record types in the file; "-" = no file

    QTest::newRow("nessun tipo") << QStringList{} << "invio"
                                 << "Attenzione, non hai selezionato alcun tipo di fornitura da esportare."
                                 << "-";
    QTest::newRow("solo amministratori") << QStringList{"CbAmministratori"} << "invio/" << kFineConLog << "ABDGZ";
    QTest::newRow("tutti con quadro CT") << QStringList{"CBDipendenti", "CbAmministratori", "CbCoCoCo", "CheckBox1"}
                                         << "invio" << kFineConLog << "ABCDGDGZ";
    QTest::newRow("cartella vuota") << QStringList{"CBDipendenti"} << "<vuota>"
                                    << "Indicare la cartella di destinazione"
                                    << "-";
}

void GeneraTest::dipendenti() {
    QFETCH(QStringList, spunte);
    QFETCH(QString, cartella);
    QFETCH(QString, messaggio);
    QFETCH(QString, tipi);
    Registratore r;
    TFCreaFile w(*conn);
    w.show();
    for (const QString& s : spunte) figlio<QCheckBox>(w, qPrintable(s))->setChecked(true);
    const QString base = QString::fromStdString(arch->cartella) + "/";
    auto* edit2 = figlio<QLineEdit>(w, "Edit2");
    edit2->setText(cartella == "<vuota>" ? QString() : base + cartella);
    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);

    QCOMPARE(r.informazioni + r.errori, QStringList{QString(messaggio).replace("%LOG", logIn(*arch))});
    const std::string file = arch->percorso("invio/ZF2015.txt");
    if (tipi == "-") {
        QVERIFY(!std::filesystem::exists(file));
        return;
    }
    QCOMPARE(edit2->text(), base + "invio");
    const std::string dati = contenuto(file);
    QCOMPARE(dati.size() % 1900, std::size_t{0});
    QString trovati;
    for (std::size_t i = 0; i < dati.size(); i += 1900) trovati += QChar(dati[i]);
    QCOMPARE(trovati, tipi);
    QVERIFY(std::filesystem::exists(arch->percorso("invio/Zf2015.log")));
}

void GeneraTest::sovrascrittura_data() {
    QTest::addColumn<bool>("risposta");
    QTest::newRow("si") << true;
    QTest::newRow("no") << false;
}

// An existing file is replaced only on Yes; No leaves it as it was and asks for another name.
void GeneraTest::sovrascrittura() {
    QFETCH(bool, risposta);
    std::filesystem::create_directories(arch->percorso("invio"));
    const std::string file = arch->percorso("invio/ZF2015.txt");
    { std::ofstream(file) << "vecchio"; }
    Registratore r;
    r.risposte = {risposta};
    TFCreaFile w(*conn);
    figlio<QCheckBox>(w, "CBDipendenti")->setChecked(true);
    figlio<QLineEdit>(w, "Edit2")->setText(QString::fromStdString(arch->percorso("invio")));
    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);
    QCOMPARE(r.domande, QStringList{QStringLiteral("Il file ZF2015.txt esiste già. Lo vuoi sovrascrivere?")});
    if (risposta) {
        QCOMPARE(contenuto(file).size(), std::size_t{5 * 1900});
        QCOMPARE(r.informazioni, QStringList{QString(kFineConLog).replace("%LOG", logIn(*arch))});
    } else {
        QCOMPARE(contenuto(file), "vecchio");
        QCOMPARE(r.informazioni + r.errori, QStringList{QStringLiteral("Modificare il nome del file da generare")});
    }
}

void GeneraTest::professionisti() {
    // Two dates the encoder cannot write whole: one list of reports, not a box each.
    esegui(arch->db,
           "update Professionisti set B05 = '1/1/65';"
           "insert into Professionisti(ID, B01, B02, B03, B05) values(9, 'X', 'NERI', 'ADA', '2/2/70');");
    Registratore r;
    r.risposte = {true};  // the pre-send check finds those dates: generate all the same
    TFCreaFileProfes w(*conn);
    figlio<QRadioButton>(w, "Fornitore10")->setChecked(true);
    figlio<QLineEdit>(w, "Edit2")->setText(QString::fromStdString(arch->percorso("prof")));
    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);
    QCOMPARE(r.informazioni.value(r.informazioni.size() - 1), QStringLiteral("Operazione conclusa"));
    const std::string dati = contenuto(arch->percorso("prof/ZF2015Prof.txt"));
    QString trovati;
    for (std::size_t i = 0; i < dati.size(); i += 1900) trovati += QChar(dati[i]);
    QCOMPARE(trovati, QStringLiteral("ABDHDHZ"));
    QVERIFY(!std::filesystem::exists(arch->percorso("prof/Zf2015.log")));
    QVERIFY(r.errori.isEmpty());
    QVERIFY(w.finestraControllo().isVisible());
    const auto& p = w.finestraControllo().problemi();
    QCOMPARE(p.size(), std::size_t{2});
    QCOMPARE(p[1].origine, check::Origine::Professionista);
    QCOMPARE(p[1].id, std::int64_t{9});
    QCOMPARE(p[1].nominativo, std::string("NERI ADA"));
    QCOMPARE(p[1].testo, std::string("Errore 47812 nei campi non posizionali al dipendente NERI ADA - codice DA002005 "
                                     "- tipo DT - valore 2/2/70"));
}

// "Annulla" in the progress box: no file written, and the operator is told so.
void GeneraTest::annullaNonScriveNulla() {
    esegui(arch->db,
           "with recursive n(i) as (select 100 union all select i + 1 from n where i < 40000) "
           "insert into Zefo1(ID, B01, B02, B03) select i, 'RSSMRA70A01H501S', 'ROSSI', 'MARIO' from n;"
           "insert into Zefo2(ID, tipo) select ID, 'DIP' from Zefo1 where ID >= 100;");
    Registratore r;
    r.risposte = {true};
    Annullatore annulla;
    TFCreaFile w(*conn);
    w.show();
    figlio<QCheckBox>(w, "CBDipendenti")->setChecked(true);
    figlio<QLineEdit>(w, "Edit2")->setText(QString::fromStdString(arch->percorso("invio")));
    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);
    QVERIFY(annulla.premuto);
    QCOMPARE(r.informazioni, QStringList{QStringLiteral("Operazione annullata: nessun file è stato scritto.")});
    QVERIFY(!std::filesystem::exists(arch->percorso("invio/ZF2015.txt")));
    QVERIFY(!std::filesystem::exists(arch->percorso("invio/Zf2015.log")));
}

void GeneraTest::erroriPrimaDiScrivere_data() {
    QTest::addColumn<QString>("sql");      // what spoils the archive
    QTest::addColumn<QString>("domanda");  // "" = no question, the file is written
    QTest::addColumn<bool>("risposta");

    const QString cfErrati = "update Zefo1 set B01 = substr(B01, 1, 15) || 'Z';";
    QTest::newRow("nessun errore") << ""
                                   << "" << false;
    QTest::newRow("due errori, si") << cfErrati << "Sono stati trovati 2 errori. Generare comunque il file?" << true;
    QTest::newRow("due errori, no") << cfErrati << "Sono stati trovati 2 errori. Generare comunque il file?" << false;
    QTest::newRow("un errore") << "update Zefo1 set B01 = 'RSSMRA70A01H501Z' where ID = 3;"
                               << "È stato trovato 1 errore. Generare comunque il file?" << false;
    // Warnings alone (a count on the front page that differs) never stop the run.
    QTest::newRow("solo avvisi") << "update SostitutoImposta set A1 = '9';"
                                 << "" << false;
}

// The check runs before writing; with errors, No writes nothing and shows the list instead.
void GeneraTest::erroriPrimaDiScrivere() {
    QFETCH(QString, sql);
    QFETCH(QString, domanda);
    QFETCH(bool, risposta);
    if (!sql.isEmpty()) esegui(arch->db, sql.toStdString());
    Registratore r;
    r.risposte = {risposta};
    TFCreaFile w(*conn);
    for (const char* c : {"CBDipendenti", "CbAmministratori"}) figlio<QCheckBox>(w, c)->setChecked(true);
    figlio<QLineEdit>(w, "Edit2")->setText(QString::fromStdString(arch->percorso("invio")));
    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);

    const bool scritto = domanda.isEmpty() || risposta;
    QCOMPARE(r.domande, domanda.isEmpty() ? QStringList{} : QStringList{domanda});
    QCOMPARE(std::filesystem::exists(arch->percorso("invio/ZF2015.txt")), scritto);
    QCOMPARE(r.informazioni, scritto ? QStringList{QString(kFineConLog).replace("%LOG", logIn(*arch))} : QStringList{});
    QCOMPARE(w.finestraControllo().isVisible(), !scritto);
    if (!scritto) QVERIFY(check::ContaErrori(w.finestraControllo().problemi()) > 0);
}

// The list: every problem of the ticked supplies, sortable, and a double-click names its certificate.
void GeneraTest::elencoDelControllo() {
    esegui(arch->db,
           "update Zefo1 set B01 = 'RSSMRA70A01H501Z', C008 = '31/02/2014' where ID = 3;"
           "update Zefo1 set B01 = 'VRDLGI60B02F205Z' where ID = 7;"
           "update SostitutoImposta set A1 = '9';");
    Registratore r;
    TFCreaFile w(*conn);
    w.show();
    figlio<QCheckBox>(w, "CBDipendenti")->setChecked(true);  // not the officers: certificate 7 is left out
    QTest::mouseClick(figlio<QPushButton>(w, "btnControllo"), Qt::LeftButton);
    TFControllo& c = w.finestraControllo();
    QVERIFY(c.isVisible());
    QVERIFY(r.informazioni.isEmpty() && r.errori.isEmpty() && r.domande.isEmpty());

    QTableView* g = c.griglia();
    auto* m = g->model();
    QCOMPARE(m->rowCount(), static_cast<int>(c.problemi().size()));
    QStringList numeri, caselle;
    for (int i = 0; i < m->rowCount(); ++i) {
        numeri << m->index(i, int(TFControllo::Colonna::Numero)).data().toString();
        caselle << m->index(i, int(TFControllo::Colonna::Casella)).data().toString();
    }
    QVERIFY2(!numeri.contains("7"), qPrintable(numeri.join(',')));
    QCOMPARE(numeri.first(), QStringLiteral("Sostituto"));
    QVERIFY(caselle.contains("B01") && caselle.contains("C008") && caselle.contains("A1"));
    const QString sommario = c.findChild<QLabel*>("lblSommario")->text();
    QVERIFY2(sommario.startsWith("Controllo dell'archivio (Dipendenti - LPU / LSU): 2 errori, "), qPrintable(sommario));

    // Sorting by severity puts the errors first and keeps the chosen problem chosen.
    g->selectRow(m->rowCount() - 1);
    const QString scelto = m->index(m->rowCount() - 1, int(TFControllo::Colonna::Problema)).data().toString();
    g->sortByColumn(int(TFControllo::Colonna::Gravita), Qt::AscendingOrder);
    QCOMPARE(g->currentIndex().siblingAtColumn(int(TFControllo::Colonna::Problema)).data().toString(), scelto);
    QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Errore"));
    QCOMPARE(m->index(1, 0).data().toString(), QStringLiteral("Errore"));
    QCOMPARE(m->index(m->rowCount() - 1, 0).data().toString(), QStringLiteral("Avviso"));
    std::vector<check::Problema> aperti;
    connect(&c, &TFControllo::apri, &c, [&](const check::Problema& p) { aperti.push_back(p); });
    for (int riga : {0, m->rowCount() - 1}) {
        const QModelIndex i = m->index(riga, int(TFControllo::Colonna::Problema));
        g->scrollTo(i);
        // The view opens a row only when the double-click follows a press on it, as a real one does.
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(i).center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(i).center());
    }
    QCOMPARE(aperti.size(), std::size_t{2});
    QCOMPARE(aperti[0].gravita, check::Gravita::Errore);
    QCOMPARE(aperti[0].id, std::int64_t{3});
    QCOMPARE(aperti[1].gravita, check::Gravita::Avviso);

    // Sorting by number sorts numerically, the agent before the certificates.
    g->sortByColumn(int(TFControllo::Colonna::Numero), Qt::DescendingOrder);
    QCOMPARE(m->index(m->rowCount() - 1, int(TFControllo::Colonna::Numero)).data().toString(),
             QStringLiteral("Sostituto"));

    // Fixed in the archive, the list empties on "Ripeti controllo".
    esegui(arch->db,
           "update Zefo1 set B01 = 'RSSMRA70A01H501S', C008 = '' where ID = 3; update SostitutoImposta set A1 = '';");
    QTest::mouseClick(c.findChild<QPushButton*>("btnRipeti"), Qt::LeftButton);
    QCOMPARE(check::ContaErrori(c.problemi()), std::size_t{0});
}

// "Controlla file": the file named by the window, good then cut short; a missing file is said.
void GeneraTest::controlloDelFile() {
    Registratore r;
    TFCreaFileProfes w(*conn);
    figlio<QLineEdit>(w, "Edit2")->setText(QString::fromStdString(arch->percorso("prof")));
    QTest::mouseClick(figlio<QPushButton>(w, "btnControllaFile"), Qt::LeftButton);
    QCOMPARE(r.errori.size(), 1);
    QVERIFY2(
        r.errori[0].startsWith("Il file ") && r.errori[0].endsWith(" non esiste: generarlo prima di controllarlo."),
        qPrintable(r.errori[0]));
    QVERIFY(!w.finestraControllo().isVisible());

    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);
    QTest::mouseClick(figlio<QPushButton>(w, "btnControllaFile"), Qt::LeftButton);
    TFControllo& c = w.finestraControllo();
    QVERIFY(c.isVisible());
    QCOMPARE(check::ContaErrori(c.problemi()), std::size_t{0});

    const std::string file = arch->percorso("prof/ZF2015Prof.txt");
    std::string dati = contenuto(file);
    dati.erase(1900 * 3 + 100, 50);  // record H cut short
    { std::ofstream(file, std::ios::binary | std::ios::trunc) << dati; }
    QTest::mouseClick(figlio<QPushButton>(w, "btnControllaFile"), Qt::LeftButton);
    QVERIFY(check::ContaErrori(c.problemi()) > 0);
    QCOMPARE(c.griglia()->model()->headerData(int(TFControllo::Colonna::Numero), Qt::Horizontal).toString(),
             QStringLiteral("Record"));
    QCOMPARE(c.griglia()->model()->index(0, int(TFControllo::Colonna::Numero)).data().toString(), QStringLiteral("4"));
}

void GeneraTest::ordineDelleColonneDiTesto_data() {
    QTest::addColumn<int>("colonna");
    QTest::addColumn<int>("verso");
    QTest::addColumn<QStringList>("righe");
    using C = TFControllo::Colonna;
    // Equal texts keep the check's order, in either direction.
    QTest::newRow("cognome crescente") << int(C::Nominativo) << int(Qt::AscendingOrder)
                                       << QStringList{"BIANCHI LUCA|c", "ROSSI MARIO|b", "ROSSI MARIO|a",
                                                      "VERDI ANNA|b"};
    QTest::newRow("cognome decrescente") << int(C::Nominativo) << int(Qt::DescendingOrder)
                                         << QStringList{"VERDI ANNA|b", "ROSSI MARIO|b", "ROSSI MARIO|a",
                                                        "BIANCHI LUCA|c"};
    QTest::newRow("problema crescente") << int(C::Problema) << int(Qt::AscendingOrder)
                                        << QStringList{"ROSSI MARIO|a", "ROSSI MARIO|b", "VERDI ANNA|b",
                                                       "BIANCHI LUCA|c"};
    QTest::newRow("casella decrescente") << int(C::Casella) << int(Qt::DescendingOrder)
                                         << QStringList{"VERDI ANNA|b", "ROSSI MARIO|b", "BIANCHI LUCA|c",
                                                        "ROSSI MARIO|a"};
}

void GeneraTest::ordineDelleColonneDiTesto() {
    QFETCH(int, colonna);
    QFETCH(int, verso);
    QFETCH(QStringList, righe);
    std::vector<check::Problema> ps;
    const char* const dati[][3] = {{"ROSSI MARIO", "b", "B02"},
                                   {"BIANCHI LUCA", "c", "B01"},
                                   {"ROSSI MARIO", "a", "A01"},
                                   {"VERDI ANNA", "b", "C002"}};
    for (const auto& d : dati) {
        check::Problema p;
        p.nominativo = d[0];
        p.testo = d[1];
        p.colonna = d[2];
        ps.push_back(p);
    }
    TFControllo c;
    c.mostra(ps, QStringLiteral("Controllo"), false);
    c.griglia()->sortByColumn(colonna, static_cast<Qt::SortOrder>(verso));
    const auto* m = c.griglia()->model();
    QStringList viste;
    for (int r = 0; r < m->rowCount(); ++r)
        viste << m->index(r, int(TFControllo::Colonna::Nominativo)).data().toString() + '|' +
                     m->index(r, int(TFControllo::Colonna::Problema)).data().toString();
    QCOMPARE(viste, righe);
}

QTEST_MAIN(GeneraTest)
#include "genera_test.moc"
