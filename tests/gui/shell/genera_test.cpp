// The two generation windows: checks, the overwrite question and a whole run from the window.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "registratore.h"
#include "telematic/ui/tfcreafile.h"
#include "telematic/ui/tfcreafileprofes.h"

namespace {
std::string contenuto(const std::string& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

template <class T>
T* figlio(QWidget& w, const char* nome) {
    T* c = w.findChild<T*>(QLatin1String(nome));
    if (!c) qFatal("manca %s", nome);
    return c;
}
}  // namespace

class GeneraTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        arch = std::make_unique<Archivio>();
        esegui(arch->db,
               "insert into SostitutoImposta(CodiceFiscale, CognomeDenominazione) "
               "values('80012345678', 'COMUNE DI ESEMPIO');"
               "insert into Zefo1(ID, B01, B02, B03) values(3, 'RSSMRA70A01H501U', 'ROSSI', 'MARIO');"
               "insert into Zefo2(ID, tipo) values(3, 'DIP');"
               "insert into Zefo1(ID, B01, B02, B03) values(7, 'VRDLGI60B02F205Z', 'VERDI', 'LUIGI');"
               "insert into Zefo2(ID, tipo) values(7, 'AMM');"
               "insert into Professionisti(B01, B02, B03) values('BNCLGU65B02F205X', 'BIANCHI', 'LUGI');");
        conn = std::make_unique<storage::Connection>();
        conn->open(arch->db);
    }
    void cleanup() {
        conn.reset();
        arch.reset();
    }
    void valoriIniziali();
    void dipendenti_data();
    void dipendenti();
    void sovrascrittura_data();
    void sovrascrittura();
    void professionisti();

private:
    std::unique_ptr<Archivio> arch;
    std::unique_ptr<storage::Connection> conn;
};

void GeneraTest::valoriIniziali() {
    TFCreaFile d(*conn);
    TFCreaFileProfes p(*conn);
    QCOMPARE(d.windowTitle(), QStringLiteral("Creazione del file da inviare DIPENDENTI"));
    QCOMPARE(p.windowTitle(), QStringLiteral("Creazione del file PROFESSIONISTI"));
    QCOMPARE(figlio<QLineEdit>(d, "Edit1")->text(), QStringLiteral("ZF2015.txt"));
    QCOMPARE(figlio<QLineEdit>(p, "Edit1")->text(), QStringLiteral("ZF2015Prof.txt"));
    QVERIFY(figlio<QLineEdit>(d, "Edit2")->text().endsWith(QStringLiteral("RAVO/Zefo2015/FileXInvio")));
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
    QTest::newRow("solo amministratori")
        << QStringList{"CbAmministratori"} << "invio/" << "Operazione conclusa. Controlla il file LOG" << "ABDGZ";
    QTest::newRow("tutti con quadro CT")
        << QStringList{"CBDipendenti", "CbAmministratori", "CbCoCoCo", "CheckBox1"} << "invio"
        << "Operazione conclusa. Controlla il file LOG" << "ABCDGDGZ";
    QTest::newRow("cartella vuota") << QStringList{"CBDipendenti"} << "<vuota>"
                                    << "Indicare la cartella di destinazione" << "-";
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

    QCOMPARE(r.informazioni + r.errori, QStringList{messaggio});
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
        QCOMPARE(r.informazioni, QStringList{QStringLiteral("Operazione conclusa. Controlla il file LOG")});
    } else {
        QCOMPARE(contenuto(file), "vecchio");
        QCOMPARE(r.informazioni + r.errori, QStringList{QStringLiteral("Modificare il nome del file da generare")});
    }
}

void GeneraTest::professionisti() {
    Registratore r;
    TFCreaFileProfes w(*conn);
    figlio<QRadioButton>(w, "Fornitore10")->setChecked(true);
    figlio<QLineEdit>(w, "Edit2")->setText(QString::fromStdString(arch->percorso("prof")));
    QTest::mouseClick(figlio<QPushButton>(w, "btnGenera"), Qt::LeftButton);
    QCOMPARE(r.informazioni.value(r.informazioni.size() - 1), QStringLiteral("Operazione conclusa"));
    const std::string dati = contenuto(arch->percorso("prof/ZF2015Prof.txt"));
    QString trovati;
    for (std::size_t i = 0; i < dati.size(); i += 1900) trovati += QChar(dati[i]);
    QCOMPARE(trovati, QStringLiteral("ABDHZ"));
    QVERIFY(!std::filesystem::exists(arch->percorso("prof/Zf2015.log")));
}

QTEST_MAIN(GeneraTest)
#include "genera_test.moc"
