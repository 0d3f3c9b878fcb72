// The "Archivio" window: a new archive, an existing one, the recent list, and what start-up and
// the menu do with it when the configured archive is missing or broken.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/avvio.h"
#include "app/dialogoserver.h"
#include "app/menu.h"
#include "app/sceltaarchivio.h"
#include "app/tdm.h"
#include "entry/finestrasostituto.h"
#include "forms/vistapagina.h"
#include "registratore.h"
#include "storage/archivi.h"
#include "storage/recenti.h"
#include "storage/server.h"
#include "storage/sistema.h"

namespace {

// The file dialog answered as the operator does: the path typed in its name box, then Enter.
void rispondiDialogo(const std::string& percorso) {
    quando<QFileDialog>([percorso](QFileDialog& d) {
        auto* nome = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        nome->setText(QString::fromStdString(percorso));
        QTest::keyClick(nome, Qt::Key_Return);
    });
}

QStringList righe(TFArchivio& w) {
    QStringList v;
    auto* t = w.findChild<QTreeWidget*>(QStringLiteral("Recenti"));
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        v << t->topLevelItem(i)->text(0) + " | " + t->topLevelItem(i)->text(1);
    return v;
}

void clicca(QWidget& w, const char* nome) { figlio<QPushButton>(w, nome)->click(); }

// A second archive with an agent, beside the first.
std::string archivioCon(const Archivio& a, const std::string& nome, const std::string& sostituto) {
    const std::string cartella = a.percorso(nome);
    const std::string db = storage::creaArchivio(cartella);
    if (!sostituto.empty())
        esegui(db, "insert into SostitutoImposta(CognomeDenominazione, Nome) values('" + sostituto + "', '')");
    return cartella;
}

}  // namespace

class ArchivioTest : public QObject {
    Q_OBJECT
private slots:
    void nuovoArchivioDallAvvio();
    void archivioConfiguratoGuasto_data();
    void archivioConfiguratoGuasto();
    void databaseVuotoRiceveLeTabelle();
    void recentiConSostitutoECartella();
    void apriArchivioEsistente();
    void esciChiudeIlProgramma();
    void cambiaArchivioDalMenu();
    void archivioSuServer();
};

// No configuration at all: after the message, a new archive is created and opened.
void ArchivioTest::nuovoArchivioDallAvvio() {
    Archivio a(false);
    std::filesystem::remove(a.ini);
    Registratore r;
    Avvio avvio({a.ini});
    // A folder typed in the dialog that does not exist yet: it is made with the archive.
    const std::string nuova = a.percorso("ROSSI SPA/2015");
    QVERIFY(!std::filesystem::exists(a.percorso("ROSSI SPA")));
    QStringList motivo;
    quando<TFArchivio>([&](TFArchivio& w) {
        motivo << figlio<QLabel>(w, "Motivo")->text();
        rispondiDialogo(nuova);
        clicca(w, "btnCreaArchivio");
    });
    avvio.esegui();
    QTRY_VERIFY(avvio.configurato());
    // The first start: the window says it, and no box about the configuration file comes first.
    QCOMPARE(r.errori, QStringList());
    QCOMPARE(motivo.size(), 1);
    QVERIFY2(motivo[0].startsWith(QStringLiteral("Non è configurato alcun archivio.")), qPrintable(motivo[0]));
    QVERIFY(!avvio.terminato());
    QVERIFY(avvio.menu().isVisible());
    QCOMPARE(avvio.dm().Conn.percorso(), storage::percorsoDatabase(nuova));
    QCOMPARE(valore(storage::percorsoDatabase(nuova), "select count(*) from Zefo1"), "0");
    QCOMPARE(storage::leggiCartellaDati(a.ini), nuova);
    QCOMPARE(storage::leggiArchiviRecenti(a.ini), std::vector<std::string>{nuova});
    QCOMPARE(avvio.menu().windowTitle(), QStringLiteral("Palio 2015 - %1").arg(QString::fromStdString(nuova)));
}

// Missing, not a database, not an archive: the start-up message about the archive, then the
// window; the operator picks a recent archive and works on it.
void ArchivioTest::archivioConfiguratoGuasto_data() {
    QTest::addColumn<QString>("contenuto");  // of Zefo2015.db; "<manca>": no file
    QTest::addColumn<QString>("informazione");
    QTest::addColumn<QString>("errore");
    QTest::newRow("manca") << "<manca>"
                           << "ATTENZIONE!!!  Non esiste il file db dei dati. Consultare l'assistenza tecnica. %1"
                           << "";
    QTest::newRow("non è un database") << "testo qualunque, non un database"
                                       << ""
                                       << "L'archivio %1 è danneggiato o non è un archivio";
    QTest::newRow("senza tabelle") << "<altro>"
                                   << ""
                                   << "Il file %1 non è un archivio di Palio 2015";
}

void ArchivioTest::archivioConfiguratoGuasto() {
    QFETCH(QString, contenuto);
    QFETCH(QString, informazione);
    QFETCH(QString, errore);
    Archivio a(false);
    if (contenuto == "<altro>") {
        storage::Connection::crea(a.db);
        esegui(a.db, "drop table Zefo3; drop table Professionisti");
    } else if (contenuto != "<manca>")
        std::ofstream(a.db, std::ios::binary) << contenuto.toStdString() << std::string(4096, ' ');
    const std::string buono = archivioCon(a, "buono", "ROSSI SPA");
    storage::ricordaArchivio(a.ini, buono);
    Registratore r;
    Avvio avvio({a.ini});
    QStringList elenco;
    quando<TFArchivio>([&](TFArchivio& w) {
        elenco = righe(w);
        clicca(w, "btnApri");
    });
    avvio.esegui();
    QTRY_VERIFY(avvio.configurato());
    const QString db = QString::fromStdString(a.db);
    QCOMPARE(r.informazioni, informazione.isEmpty() ? QStringList() : QStringList{informazione.arg(db)});
    QCOMPARE(r.errori.size(), errore.isEmpty() ? 0 : 1);
    if (!errore.isEmpty()) QVERIFY2(r.errori[0].startsWith(errore.arg(db)), qPrintable(r.errori[0]));
    QCOMPARE(elenco, QStringList{QStringLiteral("ROSSI SPA | %1").arg(QString::fromStdString(buono))});
    QCOMPARE(avvio.dm().Conn.percorso(), storage::percorsoDatabase(buono));
    QCOMPARE(storage::leggiCartellaDati(a.ini), buono);
    QVERIFY(avvio.menu().windowTitle().contains(QStringLiteral("ROSSI SPA")));
    // The broken file is left as it was.
    QCOMPARE(std::filesystem::exists(a.db), contenuto != "<manca>");
}

// A 0-byte database opens at once with the archive's tables.
void ArchivioTest::databaseVuotoRiceveLeTabelle() {
    Archivio a(false);
    std::ofstream(a.db, std::ios::binary).flush();
    Registratore r;
    Avvio avvio({a.ini});
    avvio.esegui();
    QTRY_VERIFY(avvio.configurato());
    QVERIFY(r.errori.isEmpty() && r.informazioni.isEmpty());
    QVERIFY(avvio.dm().Conn.isOpen());
    QCOMPARE(valore(a.db, "select count(*) from SostitutoImposta"), "0");
    avvio.menu().datiGenerali();
    QVERIFY(r.errori.isEmpty());
}

// Each recent archive with its agent and folder, the latest first; a vanished one greyed.
void ArchivioTest::recentiConSostitutoECartella() {
    Archivio a;
    const std::string rossi = archivioCon(a, "rossi", "ROSSI SPA");
    const std::string nuovo = archivioCon(a, "nuovo", "");
    const std::string sparito = a.percorso("sparito");
    for (const auto& c : {sparito, nuovo, rossi}) storage::ricordaArchivio(a.ini, c);
    Registratore r;
    TFArchivio w(a.ini);
    w.prepara(QString(), false);
    QCOMPARE(righe(w), (QStringList{"ROSSI SPA | " + QString::fromStdString(rossi),
                                    "(dati del sostituto da compilare) | " + QString::fromStdString(nuovo),
                                    "(archivio non trovato o non valido) | " + QString::fromStdString(sparito)}));
    QCOMPARE(figlio<QPushButton>(w, "btnEsci")->text(), QStringLiteral("Annulla"));
    auto* t = figlio<QTreeWidget>(w, "Recenti");
    // A double-click on the second opens it.
    t->setCurrentItem(t->topLevelItem(1));
    emit t->itemActivated(t->topLevelItem(1), 0);
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(w.scelto(), storage::percorsoDatabase(nuovo));
    // The vanished one refuses, says why and keeps the window.
    w.prepara(QString(), false);
    t->setCurrentItem(t->topLevelItem(2));
    w.apriRecente();
    QVERIFY(w.scelto().empty());
    QCOMPARE(r.errori.size(), 1);
}

// "Apri archivio…" takes a Zefo2015.db and nothing else.
void ArchivioTest::apriArchivioEsistente() {
    Archivio a;
    const std::string rossi = archivioCon(a, "rossi", "ROSSI SPA");
    Registratore r;
    TFArchivio w(a.ini);
    w.prepara(QString(), false);
    rispondiDialogo(a.ini);
    w.apriAltro();
    QVERIFY(w.scelto().empty());
    QCOMPARE(r.errori.size(), 1);
    rispondiDialogo(storage::percorsoDatabase(rossi));
    w.apriAltro();
    QCOMPARE(w.scelto(), storage::percorsoDatabase(rossi));
}

// At start-up the window's way out ends the program, as the missing archive always did.
void ArchivioTest::esciChiudeIlProgramma() {
    Archivio a(false);
    Registratore r;
    Avvio avvio({a.ini});
    QString esci;
    quando<TFArchivio>([&](TFArchivio& w) {
        esci = figlio<QPushButton>(w, "btnEsci")->text();
        clicca(w, "btnEsci");
    });
    avvio.esegui();
    QTRY_VERIFY(avvio.configurato());
    QCOMPARE(esci, QStringLiteral("Esci"));
    QVERIFY(avvio.terminato());
    QVERIFY(!avvio.menu().isVisible());
    QVERIFY(!std::filesystem::exists(a.db));
}

// "Cambia archivio…": the open windows close (asking to save), the menu reopens on the other
// archive and its windows show the other archive's data.
void ArchivioTest::cambiaArchivioDalMenu() {
    Archivio a;
    esegui(a.db, "insert into SostitutoImposta(CognomeDenominazione) values('PRIMA SRL')");
    const std::string seconda = archivioCon(a, "seconda", "SECONDA SPA");
    storage::ricordaArchivio(a.ini, seconda);
    Registratore r;
    Avvio avvio({a.ini});
    avvio.esegui();
    QTRY_VERIFY(avvio.configurato());
    QVERIFY(avvio.menu().windowTitle().contains(QStringLiteral("PRIMA SRL")));
    avvio.menu().datiGenerali();
    auto* vecchia = qobject_cast<TFSostituto*>(avvio.finestre().sostituto->finestra());
    QVERIFY(vecchia->isVisible());
    auto* nome = qobject_cast<QLineEdit*>(vecchia->pagina().box("SostitutoImposta", "CognomeDenominazione"));
    nome->selectAll();
    QTest::keyClicks(nome, QStringLiteral("PRIMA NUOVA"));
    r.risposte = {true};

    auto* cambia = figlio<QPushButton>(avvio.menu(), "btnCambiaArchivio");
    auto* esci = figlio<QPushButton>(avvio.menu(), "btnEsci");
    QVERIFY(cambia->y() < esci->y());
    QCOMPARE(cambia->text(), QStringLiteral("Cambia archivio…"));
    const QString domanda = QStringLiteral(
        "Attenzione: Hai effettuato delle modifiche nella finestra «Dati del Sostituto d'imposta». Vuoi salvarle ?");
    // Annulla: the same archive, the window and its typing as they were.
    r.annulla = true;
    cambia->click();
    QCOMPARE(r.domande, QStringList{domanda});
    QCOMPARE(avvio.dm().Conn.percorso(), storage::percorsoDatabase(a.cartella));
    QVERIFY(vecchia->isVisible());
    QCOMPARE(nome->text(), QStringLiteral("PRIMA NUOVA"));
    QCOMPARE(valore(a.db, "select CognomeDenominazione from SostitutoImposta"), "PRIMA SRL");
    r.annulla = false;
    r.domande.clear();
    QStringList elenco;
    quando<TFArchivio>([&](TFArchivio& w) {
        elenco = righe(w);
        auto* t = figlio<QTreeWidget>(w, "Recenti");
        t->setCurrentItem(t->topLevelItem(1));
        clicca(w, "btnApri");
    });
    cambia->click();
    QCOMPARE(r.domande, QStringList{domanda});
    QCOMPARE(valore(a.db, "select CognomeDenominazione from SostitutoImposta"), "PRIMA NUOVA");
    QCOMPARE(elenco.size(), 2);
    QCOMPARE(avvio.dm().Conn.percorso(), storage::percorsoDatabase(seconda));
    QCOMPARE(storage::leggiCartellaDati(a.ini), seconda);
    QCOMPARE(avvio.menu().windowTitle(),
             QStringLiteral("Palio 2015 - SECONDA SPA - %1").arg(QString::fromStdString(seconda)));
    avvio.menu().datiGenerali();
    QWidget* nuova = avvio.finestre().sostituto->finestra();
    QVERIFY(nuova->isVisible());
    QVERIFY(r.errori.isEmpty());
}

// The configured archive is a schema not made yet on a server, at a port where nobody answers:
// after the start-up's message, the server window starts from that address; the operator corrects
// the port, agrees to create the schema, and the menu opens on it, its title naming schema and
// server. Nothing stored holds a password.
void ArchivioTest::archivioSuServer() {
    const char* server = std::getenv("PALIO_PG_PROVA");
    if (!server || !*server)
        QFAIL("PALIO_PG_PROVA non è impostata: i test sul server vanno avviati con scripts/postgres-prova.sh");
    Archivio a(false);
    const storage::DatiServer buono = [&] {
        storage::DatiServer d = storage::DatiDellIndirizzo(server);
        d.schema = "palio_gui_" + std::to_string(storage::sistema::idProcesso());
        return d;
    }();
    const std::string indirizzo = storage::IndirizzoServer(buono);
    struct Pulizia {
        std::string indirizzo, schema;
        ~Pulizia() {
            try {
                storage::Connection c;
                c.open(indirizzo);
                c.exec("drop schema " + schema + " cascade");
            } catch (...) {
            }
        }
    } pulizia{indirizzo, buono.schema};
    storage::DatiServer spento = buono;
    spento.porta = "1";
    storage::scriviCartellaDati(a.ini, storage::IndirizzoServer(spento));

    Registratore r;
    r.risposte = {true};
    Avvio avvio({a.ini});
    QStringList caselle;
    quando<TFArchivio>([&](TFArchivio& w) {
        quando<DialogoServer>([&](DialogoServer& d) {
            for (const char* nome : {"Host", "Porta", "Database", "Utente", "Schema"})
                caselle << figlio<QLineEdit>(d, nome)->text();
            clicca(d, "btnApriServer");
            figlio<QLineEdit>(d, "Porta")->setText(QString::fromStdString(buono.porta));
            clicca(d, "btnApriServer");
        });
        clicca(w, "btnArchivioServer");
    });
    avvio.esegui();
    QTRY_VERIFY(avvio.configurato());
    QVERIFY(!avvio.terminato());
    QCOMPARE(caselle, (QStringList{QString::fromStdString(buono.host), "1", QString::fromStdString(buono.database),
                                   QString::fromStdString(buono.utente), QString::fromStdString(buono.schema)}));
    QCOMPARE(r.errori.size(), 2);
    QVERIFY2(r.errori[0].startsWith(QStringLiteral("Impossibile collegarsi al server dell'archivio")),
             qPrintable(r.errori[0]));
    QVERIFY2(r.errori[1].startsWith(
                 QStringLiteral("Il server %1 non risponde sulla porta 1: ").arg(QString::fromStdString(buono.host))),
             qPrintable(r.errori[1]));
    QCOMPARE(r.domande,
             QStringList{QStringLiteral("Sul server %1 non c'è lo schema %2. Crearlo come nuovo archivio vuoto?")
                             .arg(QString::fromStdString(buono.host), QString::fromStdString(buono.schema))});
    QCOMPARE(avvio.dm().Conn.percorso(), indirizzo);
    QVERIFY(avvio.dm().Conn.suServer());
    QCOMPARE(avvio.menu().windowTitle(),
             QStringLiteral("Palio 2015 - schema %1 su %2:%3/%4")
                 .arg(QString::fromStdString(buono.schema), QString::fromStdString(buono.host),
                      QString::fromStdString(buono.porta), QString::fromStdString(buono.database)));
    QCOMPARE(storage::leggiCartellaDati(a.ini), indirizzo);
    QCOMPARE(storage::leggiArchiviRecenti(a.ini).front(), indirizzo);
}

QTEST_MAIN(ArchivioTest)
#include "archivio_test.moc"
