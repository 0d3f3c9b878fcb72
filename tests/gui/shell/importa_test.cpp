// The import window: its checks, a whole import from a panel, and the reset's three questions.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>

#include "import/ui/finestraimporta.h"
#include "registratore.h"
#include "ui/sfoglia.h"

namespace {
// One "H" record of a 770 Semplificato file: tax code in column 30, fields from column 90.
std::string rigaH(const std::string& cf, const std::string& campi) {
    std::string r = "H" + std::string(28, ' ') + cf;
    r.resize(89, ' ');
    return r + campi;
}

std::string campo(const std::string& codice, std::string valore) {
    valore.resize(16, ' ');
    return codice + valore;
}
}  // namespace

class ImportaTest : public QObject, private ConArchivio {
    Q_OBJECT
private slots:
    void init() { apriArchivio(); }
    void cleanup() { chiudiArchivio(); }
    void valoriIniziali();
    void controlliPaghe();
    void importa770DallaFinestra();
    void annullaNonImportaNulla();
    void azzeramento_data();
    void azzeramento();
    void ripristinoDallaFinestra();
    void ricevute_data();
    void ricevute();
    void rinumerazione();
    void sfoglia();
};

void ImportaTest::valoriIniziali() {
    TFImportaFile w(*conn);
    QCOMPARE(w.windowTitle(), QStringLiteral("Importazione del dati da Ravo"));
    QCOMPARE(figlio<QLineEdit>(w, "EditAttivita")->text(), QStringLiteral("841110"));
    QCOMPARE(figlio<QLineEdit>(w, "EditSede")->text(), QStringLiteral("001"));
    QCOMPARE(figlio<QLineEdit>(w, "EditSede")->toolTip(), QStringLiteral("Valori ammessi da 001 a 999"));
    QCOMPARE(figlio<QLineEdit>(w, "EditMatricola")->text(), QString());
    const std::pair<const char*, const char*> file[] = {{"EditPaghe", "RVTMP/zefo.43"},
                                                        {"EditAltro", "RVTMP/zefo.03"},
                                                        {"Edit770", "RVTMP/770Semplificato.txt"},
                                                        {"EditFinanziaria", "RVTMP/A.TXT"}};
    for (const auto& [nome, fine] : file)
        QVERIFY2(figlio<QLineEdit>(w, nome)->text().endsWith(QLatin1String(fine)), nome);
    for (const char* r : {"rbDipendenti", "rbAmministratori", "rbCoCoCo"})
        QVERIFY(!figlio<QRadioButton>(w, r)->isChecked());
}

// The layout is checked first, then the file; nothing is stored.
void ImportaTest::controlliPaghe() {
    Registratore r;
    TFImportaFile w(*conn);
    const QString mancante = QString::fromStdString(arch->percorso("zefo.43"));
    figlio<QLineEdit>(w, "EditPaghe")->setText(mancante);
    QTest::mouseClick(figlio<QPushButton>(w, "btnImportaPaghe"), Qt::LeftButton);
    QCOMPARE(r.informazioni + r.errori,
             QStringList{QStringLiteral("Non è stato indicato il tipo di tracciato da utilizzare per l'import.")});
    r.informazioni.clear();
    figlio<QRadioButton>(w, "rbAmministratori")->setChecked(true);
    QTest::mouseClick(figlio<QPushButton>(w, "btnImportaPaghe"), Qt::LeftButton);
    QCOMPARE(r.informazioni + r.errori,
             QStringList{"Il file " + mancante + " non esiste. Non è possibile eseguire l'import."});
    QCOMPARE(valore(arch->db, "select count(*) from Zefo1"), "0");
}

// The shared "Dati Aggiuntivi" reach the stored rows as typed.
void ImportaTest::importa770DallaFinestra() {
    const std::string file = arch->percorso("770.txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << "A intestazione\r\n"
            << rigaH("RSSMRA70A01H501U",
                     campo("AU001002", "ROSSI") + campo("AU001003", "MARIO") + campo("AU001005", "01021965"))
            << "\r\n"
            << rigaH("VRDLGI60B02F205Z", campo("AU001002", "VERDI")) << "\r\n";
    }
    Registratore r;
    TFImportaFile w(*conn);
    figlio<QLineEdit>(w, "Edit770")->setText(QString::fromStdString(file));
    figlio<QLineEdit>(w, "EditAttivita")->setText(QStringLiteral("123456"));
    figlio<QLineEdit>(w, "EditSede")->setText(QStringLiteral("1"));
    QTest::mouseClick(figlio<QPushButton>(w, "btnTracciato1"), Qt::LeftButton);
    QCOMPARE(r.errori, QStringList());
    QCOMPARE(r.informazioni, QStringList{"Operazione terminata.\nImportati 2 certificati dal file " +
                                         QString::fromStdString(file) + "."});
    QCOMPARE(valore(arch->db, "select count(*) from Professionisti"), "2");
    QCOMPARE(valore(arch->db,
                    "select B01 || '|' || B02 || '|' || B03 || '|' || B05 || '|' || A10 || '|' || A11 "
                    "from Professionisti order by ID"),
             "RSSMRA70A01H501U|ROSSI|MARIO|01/02/1965|123456|1");
}

// "Annulla" in the progress box: nothing stored, and the operator is told so.
void ImportaTest::annullaNonImportaNulla() {
    const std::string file = arch->percorso("zefo.43");
    {
        std::ifstream in(PALIO_SOURCE_DIR "/examples/paghe/zefo.43", std::ios::binary);
        std::string riga;
        std::getline(in, riga);
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < 40000; ++i) out << riga << '\n';
    }
    Registratore r;
    Annullatore annulla;
    TFImportaFile w(*conn);
    w.show();
    figlio<QLineEdit>(w, "EditPaghe")->setText(QString::fromStdString(file));
    figlio<QRadioButton>(w, "rbDipendenti")->setChecked(true);
    QTest::mouseClick(figlio<QPushButton>(w, "btnImportaPaghe"), Qt::LeftButton);
    QVERIFY(annulla.premuto);
    QCOMPARE(r.informazioni + r.errori,
             QStringList{QStringLiteral("Operazione annullata: nessun dato è stato modificato.")});
    QCOMPARE(valore(arch->db, "select count(*) from Zefo1"), "0");
}

// The reset goes ahead only on Yes, No, Yes; any other answer stops it with no message.
void ImportaTest::azzeramento_data() {
    QTest::addColumn<QList<bool>>("risposte");
    QTest::addColumn<int>("domande");
    QTest::addColumn<QString>("rimasti");
    QTest::addColumn<QStringList>("messaggi");
    const QStringList fatto{QStringLiteral("Operazione terminata.\nEliminate 1 riga dei professionisti.")};
    QTest::newRow("si no si") << QList<bool>{true, false, true} << 3 << "0" << fatto;
    QTest::newRow("no") << QList<bool>{false} << 1 << "1" << QStringList();
    QTest::newRow("si si") << QList<bool>{true, true} << 2 << "1" << QStringList();
    QTest::newRow("si no no") << QList<bool>{true, false, false} << 3 << "1" << QStringList();
}

void ImportaTest::azzeramento() {
    QFETCH(QList<bool>, risposte);
    QFETCH(int, domande);
    QFETCH(QString, rimasti);
    QFETCH(QStringList, messaggi);
    esegui(arch->db,
           "insert into Professionisti(B02) values('ROSSI');"
           "insert into Zefo1(B02) values('VERDI')");
    Registratore r;
    r.risposte.assign(risposte.begin(), risposte.end());
    TFImportaFile w(*conn);
    QTest::mouseClick(figlio<QPushButton>(w, "btnEliminaProfessionisti"), Qt::LeftButton);
    QCOMPARE(r.domande.size(), domande);
    QCOMPARE(r.domande[0], QStringLiteral("Archivio: %1 (sostituto d'imposta non indicato)\n"
                                          "Questa procedura elimina tutti i dati presenti negli archivi dei "
                                          "professionisti . \nSei veramente sicuro di voler procedere  ?")
                               .arg(QString::fromStdString(arch->cartella)));
    QCOMPARE(r.informazioni + r.errori, messaggi);
    QCOMPARE(QString::fromStdString(valore(arch->db, "select count(*) from Professionisti")), rimasti);
    QCOMPARE(valore(arch->db, "select count(*) from Zefo1"), "1");
}

// "Ripristina archivio…" lists the copies taken before each change and restores the chosen one
// after a question.
void ImportaTest::ripristinoDallaFinestra() {
    const std::string file = arch->percorso("770.txt");
    std::ofstream(file, std::ios::binary) << rigaH("RSSMRA70A01H501U", campo("AU001002", "ROSSI")) << "\r\n";
    Registratore r;
    r.risposte = {true};
    TFImportaFile w(*conn);
    figlio<QLineEdit>(w, "Edit770")->setText(QString::fromStdString(file));
    QTest::mouseClick(figlio<QPushButton>(w, "btnTracciato1"), Qt::LeftButton);
    QCOMPARE(valore(arch->db, "select count(*) from Professionisti"), "1");

    QStringList voci;
    QTimer::singleShot(0, [&] {
        auto* d = qApp->activeModalWidget();
        QVERIFY(d);
        auto* elenco = d->findChild<QTreeWidget*>(QStringLiteral("ListaCopie"));
        for (int i = 0; i < elenco->topLevelItemCount(); ++i) voci << elenco->topLevelItem(i)->text(1);
        d->findChild<QPushButton*>(QStringLiteral("btnEseguiRipristino"))->click();
    });
    QTest::mouseClick(figlio<QPushButton>(w, "btnRipristina"), Qt::LeftButton);
    QCOMPARE(voci, QStringList{QStringLiteral("prima dell'importazione del 770 Semplificato (tracciato 1)")});
    QCOMPARE(r.domande.size(), 1);
    QVERIFY(r.domande[0].startsWith(QStringLiteral("Ripristinare l'archivio com'era il ")));
    QCOMPARE(valore(arch->db, "select count(*) from Professionisti"), "0");
}

// The "Ricevute" panel: the core's count or its refusal naming line and value reach the operator,
// and the list chosen decides where a certificate number and tax code found in both lists go.
void ImportaTest::ricevute_data() {
    QTest::addColumn<QString>("righe");      // the file's lines, "|" between them; "-": no file named
    QTest::addColumn<int>("elenco");         // 0 both lists, 1 employees only, 2 professionals only
    QTest::addColumn<QString>("messaggio");  // "%F" stands for the file's path
    QTest::addColumn<QString>("salvati");    // "D3,P3": the certificates given the identifiers

    const QString p = "12345678901234567";
    QTest::newRow("buone, con intestazione") << "codice fiscale;numero;protocollo;progressivo|RSSMRA70A01H501S;5;" + p +
                                                    ";000001|BNCLGU65B02F205I;3;" + p + ";000002"
                                             << 0 << "Operazione terminata.\nImportate 2 ricevute dal file %F."
                                             << "D5,P3";
    QTest::newRow("stesso numero e codice nei due elenchi")
        << "VRDLGI60B02F205H;4;" + p + ";000003" << 0
        << "File %F, riga 1: il certificato numero 4 con codice fiscale \"VRDLGI60B02F205H\" è sia di un dipendente "
           "sia "
           "di un professionista: importare la ricevuta indicando l'elenco. Nessuna ricevuta è stata importata."
        << "";
    QTest::newRow("solo professionisti") << "VRDLGI60B02F205H;4;" + p + ";000003" << 2
                                         << "Operazione terminata.\nImportata 1 ricevuta dal file %F."
                                         << "P4";
    QTest::newRow("certificato sconosciuto")
        << "RSSMRA70A01H501S;5;" + p + ";000001|RSSMRA70A01H501S;6;" + p + ";000002" << 0
        << "File %F, riga 2: nessun certificato numero 6 con codice fiscale \"RSSMRA70A01H501S\". "
           "Nessuna ricevuta è stata importata."
        << "";
    QTest::newRow("progressivo di 5 cifre")
        << "RSSMRA70A01H501S;5;" + p + ";00001" << 0
        << "File %F, riga 1: il progressivo \"00001\" non è di 6 cifre. Nessuna ricevuta è stata importata."
        << "";
    QTest::newRow("nessun file") << "-" << 0 << "Indicare il file delle ricevute da importare."
                                 << "";
}

void ImportaTest::ricevute() {
    QFETCH(QString, righe);
    QFETCH(int, elenco);
    QFETCH(QString, messaggio);
    QFETCH(QString, salvati);
    // Number 4 with the same tax code is both an employee's and a professional's.
    esegui(arch->db,
           "insert into Zefo1(ID, B01) values(5, 'RSSMRA70A01H501S'), (4, 'VRDLGI60B02F205H');"
           "insert into Professionisti(ID, B01) values(3, 'BNCLGU65B02F205I'), (4, 'VRDLGI60B02F205H');");
    const QString file = QString::fromStdString(arch->percorso("ricevute.csv"));
    if (righe != "-") std::ofstream(file.toStdString()) << righe.replace('|', '\n').toStdString() << '\n';
    Registratore r;
    TFImportaFile w(*conn);
    auto* edit = figlio<QLineEdit>(w, "EditRicevute");
    if (righe != "-") edit->setText(file);
    figlio<QComboBox>(w, "CbElencoRicevute")->setCurrentIndex(elenco);
    QTest::mouseClick(figlio<QPushButton>(w, "btnImportaRicevute"), Qt::LeftButton);
    QCOMPARE(r.informazioni + r.errori, QStringList{QString(messaggio).replace("%F", file)});
    QStringList trovati;
    storage::Statement st(*conn, "select Elenco || ID from Invii where Protocollo <> '' order by Elenco, ID");
    while (st.step()) trovati << QString::fromStdString(std::string(st.text(0)));
    QCOMPARE(trovati.join(','), salvati);
}

// "Rinumera i certificati…": the plan in one question; on Yes the number past 99,999 moves and the
// windows are told, on No nothing changes and nobody is told.
void ImportaTest::rinumerazione() {
    esegui(arch->db,
           "insert into Zefo1(ID, B02, B03) values(100000, 'VERDI', 'ANNA');"
           "insert into Zefo2(ID, tipo) values(100000, 'DIP')");
    TFImportaFile w(*conn);
    int avvisi = 0;
    QObject::connect(&w, &TFImportaFile::certificatiRinumerati, [&] { ++avvisi; });
    for (const bool si : {false, true}) {
        Registratore r;
        r.risposte = {si};
        QTest::mouseClick(figlio<QPushButton>(w, "btnRinumera"), Qt::LeftButton);
        QCOMPARE(r.domande.size(), 1);
        QVERIFY(r.domande[0].contains(QStringLiteral("1 certificato dei dipendenti: 100000 diventa 1.")));
        QCOMPARE(valore(arch->db, "select group_concat(ID) from Zefo2"), si ? "1" : "100000");
        QCOMPARE(r.informazioni, si ? QStringList{QStringLiteral("Operazione terminata.\nRinumerato 1 certificato dei "
                                                                 "dipendenti: 100000 diventa 1.")}
                                    : QStringList());
        QCOMPARE(avvisi, si ? 1 : 0);
    }
}

// "Sfoglia…" of a panel: with the box empty it starts in the export folder (never among the
// archive's files), shows the panel's kind of file first, and next time starts where the operator
// chose last.
void ImportaTest::sfoglia() {
    const QByteArray casa = qgetenv("HOME");
    qputenv("HOME", arch->cartella.c_str());
    const QString esportazioni = QString::fromStdString(arch->percorso("RVTMP"));
    const QString scelta = QString::fromStdString(arch->percorso("ricevute/aprile"));
    QDir().mkpath(esportazioni);
    QDir().mkpath(scelta);
    std::ofstream((scelta + "/ricevute.csv").toStdString()) << "x\n";
    TFImportaFile w(*conn);
    qputenv("HOME", casa);
    auto* edit = figlio<QLineEdit>(w, "EditRicevute");
    struct Visto {
        QString cartella;
        QStringList filtri;
    };
    auto apri = [&](const QString& file) {
        Visto v;
        quando<QFileDialog>([&](QFileDialog& d) {
            v = {d.directory().absolutePath(), d.nameFilters()};
            if (file.isEmpty()) return d.reject();
            auto* nome = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            nome->setText(file);
            QTest::keyClick(nome, Qt::Key_Return);
        });
        QTest::mouseClick(figlio<QPushButton>(w, "SfogliaEditRicevute"), Qt::LeftButton);
        return v;
    };
    const QStringList filtri{"Elenco delle ricevute (*.csv *.txt)", "Tutti i file (*)"};
    Visto v = apri(scelta + "/ricevute.csv");
    QCOMPARE(v.cartella, esportazioni);
    QCOMPARE(v.filtri, filtri);
    QCOMPARE(edit->text(), QDir::toNativeSeparators(scelta + "/ricevute.csv"));
    edit->clear();
    v = apri({});
    QCOMPARE(v.cartella, scelta);
    QVERIFY(edit->text().isEmpty());
    // The payroll panel's own filter.
    QString filtriPaghe;
    quando<QFileDialog>([&](QFileDialog& d) {
        filtriPaghe = d.nameFilters().value(0);
        d.reject();
    });
    QTest::mouseClick(figlio<QPushButton>(w, "SfogliaEditPaghe"), Qt::LeftButton);
    QCOMPARE(filtriPaghe, QStringLiteral("Esportazione delle paghe (zefo.* *.43 *.03 *.txt)"));
}

QTEST_MAIN(ImportaTest)
#include "importa_test.moc"
