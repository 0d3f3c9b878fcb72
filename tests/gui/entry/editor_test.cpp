// The employee certificate editor: rows that follow the certificate, add, save, move, close,
// delete and the kind filter.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>
#include <map>
#include <set>

#include "entry/editorcertificati.h"
#include "entry/editordipendenti.h"
#include "entry/ricercadipendenti.h"
#include "telematic/ui/finestracontrollo.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"
#include "ui/testi.h"

namespace {

const QString kZ1 = QStringLiteral("Zefo1"), kZ2 = QStringLiteral("Zefo2"), kZ3 = QStringLiteral("Zefo3");

// Certificates 1..n with the given surnames; kinds "-" get no Zefo2 row.
void certificati(Archivio& a, const std::vector<std::pair<std::string, std::string>>& cognomiTipi) {
    for (const auto& [cognome, tipo] : cognomiTipi) {
        a.exec("insert into Zefo1 (B01, B02, B03) values ('CF" + cognome + "', '" + cognome + "', 'NOME')");
        if (tipo != "-")
            a.exec("insert into Zefo2 (ID, tipo) values (" + std::to_string(a.conn.lastInsertId()) + ", '" + tipo +
                   "')");
    }
}

std::set<std::string> cognomiElencati(TFPagina1& f) {
    std::set<std::string> r;
    auto& e = f.elenco();
    for (std::size_t i = 0; i < e.rowCount(); ++i) {
        e.moveTo(i);
        r.insert(e.text("B02"));
    }
    return r;
}

// The surnames of Zefo1 by number, joined by commas.
QString cognomiPerNumero(Archivio& a) {
    return QString::fromStdString(
        a.testo("select group_concat(ifnull(B02, ''), ',') from (select B02 from Zefo1 order by ID)"));
}

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void primaVisualizzazioneCreaUnaSolaRigaZefo2() {
        Archivio a;
        certificati(a, {{"ALFA", "-"}, {"BETA", "-"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        QCOMPARE(a.numero("select count(*) from Zefo2 where ID = 1"), 1LL);
        QCOMPARE(a.numero("select count(*) from Zefo2"), 1LL);
        f.successivo();
        f.primo();
        f.successivo();
        f.riapriElenco();
        QCOMPARE(a.numero("select count(*) from Zefo2 where ID = 1"), 1LL);
        QCOMPARE(a.numero("select count(*) from Zefo2 where ID = 2"), 1LL);
        QCOMPARE(a.numero("select count(*) from Zefo3"), 0LL);  // none made by showing
        QVERIFY(r.errori.isEmpty());
    }

    void aggiungiDigitaSalvaRileggi() {
        Archivio a;
        a.exec(
            "insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, Nome, TelefonoPref, telefono, email) "
            "values ('01234567897', 'COMUNE DI ESEMPIO', '', '06', '5551234', 'uff@esempio.it')");
        certificati(a, {{"ZETA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.aggiungi();
        const auto id = f.elenco().integer("ID");
        QCOMPARE(id, 2);
        QCOMPARE(f.elenco().text("A08"), std::string("065551234"));
        QCOMPARE(f.elenco().text("A01"), std::string("01234567897"));
        QCOMPARE(mostrato(f.vista(0), kZ1, "A02"), QStringLiteral("COMUNE DI ESEMPIO"));
        QCOMPARE(a.numero("select count(*) from Zefo2 where ID = 2"), 1LL);

        digita(f.vista(0), kZ1, "B02", "VERDI");
        f.schede().setCurrentIndex(2);
        digita(f.vista(2), kZ2, "c201", "1.234,50");
        f.schede().setCurrentIndex(4);
        digita(f.vista(4), kZ3, "D01", "1234567890");
        f.tipo().setCurrentText("AMM");
        f.salva();

        QCOMPARE(a.testo("select B02 from Zefo1 where ID = 2"), std::string("VERDI"));
        QCOMPARE(a.testo("select c201 from Zefo2 where ID = 2"), std::string("1.234,50"));
        QCOMPARE(a.testo("select tipo from Zefo2 where ID = 2"), std::string("AMM"));
        QCOMPARE(a.numero("select count(*) from Zefo3 where Id = 2"), 1LL);
        QCOMPARE(a.testo("select D01 from Zefo3 where Id = 2"), std::string("1234567890"));

        // A new window over the same archive shows what was saved ("VERDI" sorts first).
        TFPagina1 g(a.conn);
        g.riapriElenco();
        QCOMPARE(g.elenco().integer("ID"), 2);
        QCOMPARE(mostrato(g.vista(0), kZ1, "B02"), QStringLiteral("VERDI"));
        g.schede().setCurrentIndex(2);
        QCOMPARE(mostrato(g.vista(2), kZ2, "c201"), QStringLiteral("1.234,50"));
        g.schede().setCurrentIndex(4);
        QCOMPARE(mostrato(g.vista(4), kZ3, "D01"), QStringLiteral("1234567890"));
        QCOMPARE(g.tipo().currentText(), QStringLiteral("AMM"));
        QVERIFY(r.errori.isEmpty());
    }

    // "Aggiungi" copies exactly the agent's tax code, name, first name, telephone (prefix and
    // number joined) and e-mail into the new certificate, and nothing else; an empty agent table
    // leaves them empty.
    void aggiungiCopiaIlSostituto_data() {
        QTest::addColumn<bool>("conSostituto");
        QTest::newRow("con il sostituto") << true;
        QTest::newRow("senza sostituto") << false;
    }
    void aggiungiCopiaIlSostituto() {
        QFETCH(bool, conSostituto);
        Archivio a;
        if (conSostituto)
            a.exec(
                "insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, Nome, TelefonoPref, "
                "telefono, email, CodEnte, CFRapp, A1) values ('80012345678', 'ENTE', 'NOMEAGENTE', '0521', "
                "'765432', 'posta@ente.it', '99999999999', 'RSSMRA80A01H501U', '7')");
        certificati(a, {{"ZETA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.aggiungi();
        f.salva();
        const std::string pieno =
            "select group_concat(ifnull(A01,'')||'|'||ifnull(A02,'')||'|'||ifnull(A03,'')||'|'||"
            "ifnull(A08,'')||'|'||ifnull(A09,'')) from Zefo1 where ID = 2";
        QCOMPARE(a.testo(pieno),
                 std::string(conSostituto ? "80012345678|ENTE|NOMEAGENTE|0521765432|posta@ente.it" : "||||"));
        // Every other column of the new certificate stays empty.
        storage::Statement st(a.conn, "select * from Zefo1 where ID = 2");
        QVERIFY(st.step());
        for (int i = 0; i < st.columnCount(); ++i) {
            const std::string c = st.columnName(i);
            if (c == "ID" || c == "A01" || c == "A02" || c == "A03" || c == "A08" || c == "A09") continue;
            QVERIFY2(st.text(i).empty(), c.c_str());
        }
        QVERIFY(r.errori.isEmpty());
    }

    // Typing on "Pagina 4 bis" of a certificate without a further section makes one, tied to the
    // certificate, its tax code and its employee number.
    void primaSezioneUlterioreLegataAlCertificato() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "DIP"}});
        a.exec("update Zefo2 set MatrDip = '00' || ID || '7'");
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.successivo();
        QCOMPARE(f.elenco().text("B02"), std::string("BETA"));
        f.schede().setCurrentIndex(4);
        digita(f.vista(4), kZ3, "D01", "1234567890");
        f.salva();
        QCOMPARE(a.testo("select Id || '|' || Cf || '|' || matricola || '|' || D01 from Zefo3"),
                 std::string("2|CFBETA|0027|1234567890"));
        QCOMPARE(a.numero("select count(*) from Zefo3"), 1LL);
        QVERIFY(r.errori.isEmpty());
    }

    void spostarsiDopoLaDigitazioneSalvaTutto() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "DIP"}});
        a.exec("insert into Zefo3 (Id, D01) values (1, 'PRIMA')");
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        digita(f.vista(0), kZ1, "B03", "ANNA");
        f.schede().setCurrentIndex(2);
        digita(f.vista(2), kZ2, "c401", "99,00");
        f.schede().setCurrentIndex(4);
        QCOMPARE(mostrato(f.vista(4), kZ3, "D01"), QStringLiteral("PRIMA"));
        digita(f.vista(4), kZ3, "D01", "DOPO");
        f.successivo();
        QCOMPARE(f.elenco().text("B02"), std::string("BETA"));
        QCOMPARE(a.testo("select B03 from Zefo1 where ID = 1"), std::string("ANNA"));
        QCOMPARE(a.testo("select c401 from Zefo2 where ID = 1"), std::string("99,00"));
        QCOMPARE(a.testo("select D01 from Zefo3 where Id = 1"), std::string("DOPO"));
        QVERIFY(r.domande.isEmpty());
        // The page in view shows the new certificate, whose further section is empty.
        QCOMPARE(mostrato(f.vista(4), kZ3, "D01"), QString());
        QCOMPARE(a.numero("select count(*) from Zefo3"), 1LL);
    }

    // The save question on closing, and on clicking a filter box while the certificate just added
    // is not yet kept; No drops what was typed and the certificate just added.
    void domandaDiChiusura_data() {
        QTest::addColumn<bool>("filtro");  // left by a filter box instead of "Chiudi"
        QTest::addColumn<bool>("aggiungi");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<bool>("salvato");  // "Salva" before leaving
        QTest::addColumn<bool>("risposta");
        QTest::addColumn<bool>("chiede");
        QTest::addColumn<QString>("archivio");  // surnames of Zefo1 by number
        for (bool filtro : {false, true}) {
            const auto riga = [&](const char* nome) -> QTestData& {
                return QTest::addRow("%s, %s", filtro ? "filtro" : "Chiudi", nome) << filtro;
            };
            riga("dopo Aggiungi, senza digitare, No") << true << QString() << false << false << true << "ALFA";
            riga("dopo Aggiungi, senza digitare, Sì") << true << QString() << false << true << true << "ALFA,";
            riga("dopo Aggiungi, digitato, Sì") << true << "ROSSI" << false << true << true << "ALFA,ROSSI";
            riga("dopo Aggiungi, digitato, No") << true << "ROSSI" << false << false << true << "ALFA";
            riga("dopo Aggiungi e Salva") << true << "ROSSI" << true << false << false << "ALFA,ROSSI";
            if (filtro) continue;  // the filter keeps other typing as a move does
            riga("digitato, No") << false << "ROSSI" << false << false << true << "ALFA";
            riga("digitato, Sì") << false << "ROSSI" << false << true << true << "ROSSI";
            riga("niente di nuovo") << false << QString() << false << true << false << "ALFA";
        }
    }
    void domandaDiChiusura() {
        QFETCH(bool, filtro);
        QFETCH(bool, aggiungi);
        QFETCH(QString, digitato);
        QFETCH(bool, salvato);
        QFETCH(bool, risposta);
        QFETCH(bool, chiede);
        QFETCH(QString, archivio);
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}});
        Registratore r;
        r.risposta = risposta;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.show();
        if (aggiungi) f.aggiungi();
        if (!digitato.isEmpty()) digita(f.vista(0), kZ1, "B02", digitato);
        if (salvato) f.salva();
        if (filtro) {
            f.casellaFiltro(1).click();  // Amministratori off: Tutto still lists every certificate
            QVERIFY(!f.casellaFiltro(1).isChecked());
        } else {
            QVERIFY(f.chiudiFinestra());
            QVERIFY(!f.isVisible());
        }
        QCOMPARE(r.domande, chiede ? QStringList{ui::testi::kDomandaSalva} : QStringList{});
        QCOMPARE(cognomiPerNumero(a), archivio);
        // Nothing refused reaches the archive later, when the list moves on, is saved or closed.
        f.primo();
        f.ultimo();
        f.salva();
        QVERIFY(f.chiudiFinestra());
        QCOMPARE(r.domande.size(), chiede ? 1 : 0);
        QCOMPARE(cognomiPerNumero(a), archivio);
        QCOMPARE(a.numero("select count(*) from Zefo2 where ID not in (select ID from Zefo1)"), 0LL);
        QCOMPARE(f.elenco().rowCount(), static_cast<std::size_t>(archivio.count(',') + 1));
        QVERIFY(r.errori.isEmpty());
    }

    // No on the save question drops the typing of all three rows; a keystroke in the search
    // window afterwards must not write it.
    void noNonScriveDopo_data() {
        QTest::addColumn<int>("scheda");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<bool>("conZefo3");
        QTest::addColumn<QString>("mostra");  // the box, back on the certificate
        QTest::newRow("Zefo1") << 0 << kZ1 << "B03" << false << "NOME";
        QTest::newRow("Zefo2") << 2 << kZ2 << "c201" << false << "";
        QTest::newRow("Zefo3 esistente") << 4 << kZ3 << "D01" << true << "PRIMA";
        QTest::newRow("Zefo3 nuovo") << 4 << kZ3 << "D01" << false << "";
    }
    void noNonScriveDopo() {
        QFETCH(int, scheda);
        QFETCH(QString, tabella);
        QFETCH(QString, colonna);
        QFETCH(bool, conZefo3);
        QFETCH(QString, mostra);
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "DIP"}});
        if (conZefo3) a.exec("insert into Zefo3 (Id, D01) values (1, 'PRIMA')");
        Registratore r;
        TFPagina1 f(a.conn);
        TFRicDip ricerca(f);
        f.riapriElenco();
        f.show();
        f.schede().setCurrentIndex(scheda);
        digita(f.vista(scheda), tabella, colonna, "RIFIUTATO");
        QVERIFY(f.chiudiFinestra());
        QCOMPARE(r.domande, QStringList{ui::testi::kDomandaSalva});
        ricerca.show();
        QTest::keyClicks(&ricerca.cognome(), "BE");
        QCOMPARE(f.elenco().text("B02"), std::string("BETA"));
        ricerca.cognome().clear();
        QTest::keyClicks(&ricerca.cognome(), "AL");
        f.salva();
        const std::string dump = a.testo(
            "select group_concat(coalesce(B03,'') || coalesce(c201,'') || coalesce(Zefo3.D01,''), '|') "
            "from Zefo1 left join Zefo2 using (ID) left join Zefo3 on Zefo3.Id = Zefo1.ID");
        QVERIFY2(dump.find("RIFIUTATO") == std::string::npos, dump.c_str());
        QCOMPARE(a.numero("select count(*) from Zefo3"), conZefo3 ? 1LL : 0LL);
        f.schede().setCurrentIndex(scheda);
        QCOMPARE(mostrato(f.vista(scheda), tabella, colonna), mostra);
        QVERIFY(r.errori.isEmpty());
    }

    // Enter answers the save question Yes (the typing is kept) and the delete question No.
    void tastoInvioNelleDomande() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}});
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.show();
        QList<QMessageBox::StandardButton> predefiniti;
        const auto premiInvio = [&] {
            QTimer::singleShot(0, [&] {
                auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(m);
                predefiniti << m->standardButton(m->defaultButton());
                QTest::keyClick(m, Qt::Key_Return);
            });
        };
        digita(f.vista(0), kZ1, "B03", "TENUTO");
        premiInvio();
        QVERIFY(f.chiudiFinestra());
        QCOMPARE(a.testo("select B03 from Zefo1"), std::string("TENUTO"));
        f.show();
        premiInvio();
        f.cancella();
        QCOMPARE(a.numero("select count(*) from Zefo1"), 1LL);
        QCOMPARE(predefiniti, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    }

    void salvataggioFallitoTieneLaDigitazione_data() {
        QTest::addColumn<bool>("eliminata");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("riga eliminata da un'altra operazione")
            << true << "Il certificato è stato eliminato da un'altra operazione: le modifiche non sono state salvate.";
        QTest::newRow("archivio occupato da un altro programma")
            << false
            << "L'archivio è in uso da un altro programma: le modifiche non sono state salvate e restano "
               "sullo schermo; salvarle di nuovo quando ha finito.\nil database è bloccato da un altro programma";
    }
    void salvataggioFallitoTieneLaDigitazione() {
        QFETCH(bool, eliminata);
        QFETCH(QString, messaggio);
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.show();
        digita(f.vista(0), kZ1, "B02", "ROSSI");
        storage::Connection altro;
        altro.open(a.conn.percorso());
        if (eliminata) {
            altro.exec("delete from Zefo1");
        } else {
            altro.exec("BEGIN IMMEDIATE");
            a.conn.attesaOccupato(0);
        }
        // The operator's button, which shows a failure in a box.
        QToolButton* salva = nullptr;
        for (auto* b : f.findChildren<QToolButton*>())
            if (b->objectName() == ui::testi::kSalva) salva = b;
        QVERIFY(salva);
        salva->click();
        QCOMPARE(r.errori, QStringList{messaggio});
        QCOMPARE(mostrato(f.vista(0), kZ1, "B02"), QStringLiteral("ROSSI"));
        if (eliminata) return;
        // Once the other program has finished, the same typing is saved.
        altro.exec("ROLLBACK");
        r.errori.clear();
        salva->click();
        QVERIFY(r.errori.isEmpty());
        QCOMPARE(a.testo("select B02 from Zefo1"), std::string("ROSSI"));
    }

    // Another operator saved the certificate after this window read it: the save is refused
    // with nothing written, whatever page the typing is on, and the operator is asked; Sì shows
    // the certificate as stored, No keeps the typing on screen, unsaved. A move asks the same.
    void salvataggioSuModificaAltrui_data() {
        QTest::addColumn<int>("scheda");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<bool>("ricarica");
        QTest::addColumn<bool>("spostandosi");
        QTest::newRow("Pagina 1, No") << 0 << kZ1 << "B02" << false << false;
        QTest::newRow("Pagina 1, Sì") << 0 << kZ1 << "B02" << true << false;
        QTest::newRow("Pagina 2 sola, No") << 2 << kZ2 << "c201" << false << false;
        QTest::newRow("Pagina 2 sola, Sì, spostandosi") << 2 << kZ2 << "c201" << true << true;
    }
    void salvataggioSuModificaAltrui() {
        QFETCH(int, scheda);
        QFETCH(QString, tabella);
        QFETCH(QString, colonna);
        QFETCH(bool, ricarica);
        QFETCH(bool, spostandosi);
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.show();
        f.schede().setCurrentIndex(scheda);
        digita(f.vista(scheda), tabella, colonna, "1,00");
        storage::Connection altro;
        altro.open(a.conn.percorso());
        altro.exec("update Zefo1 set B03 = 'MARIA', Revisione = 1, RevisioneAlle = '10:42' where ID = 1");
        r.risposta = ricarica;
        ui::esegui(&f, [&] { spostandosi ? f.successivo() : f.salva(); });
        QCOMPARE(r.domande,
                 QStringList{"Il certificato è stato modificato da un altro operatore alle 10:42: ricaricarlo?"});
        QVERIFY(r.errori.isEmpty());
        QCOMPARE(f.elenco().integer("ID"), 1);
        // Nothing of the refused save is stored, not even the time of the change.
        QCOMPARE(a.testo("select B02 || '|' || B03 || '|' || Revisione from Zefo1 where ID = 1"),
                 std::string("ALFA|MARIA|1"));
        QCOMPARE(a.testo("select coalesce(c201, '') from Zefo2 where ID = 1"), std::string());
        QCOMPARE(a.numero("select count(*) from Invii where ModificatoIl is not null"), 0LL);
        QCOMPARE(mostrato(f.vista(scheda), tabella, colonna),
                 ricarica ? (colonna == "B02" ? QStringLiteral("ALFA") : QString()) : QStringLiteral("1,00"));
        f.schede().setCurrentIndex(0);
        QCOMPARE(mostrato(f.vista(0), kZ1, "B03"), ricarica ? QStringLiteral("MARIA") : QStringLiteral("NOME"));
        if (!ricarica) return;
        // Reloaded, the next save goes through over the other operator's, and again after it.
        r.domande.clear();
        for (const char* valore : {"2,00", "3,00"}) {
            f.schede().setCurrentIndex(scheda);
            digita(f.vista(scheda), tabella, colonna, valore);
            f.salva();
            QVERIFY(r.domande.isEmpty());
            QCOMPARE(a.testo("select " + colonna.toStdString() + " from " + tabella.toStdString() + " where ID = 1"),
                     std::string(valore));
        }
        QCOMPARE(a.testo("select B03 || '|' || Revisione from Zefo1 where ID = 1"), std::string("MARIA|3"));
    }

    // The keys: PgDn/PgUp and Ctrl+End/Ctrl+Home move, Ctrl+S saves, Enter goes to the next box;
    // the counter and the "*" of the title follow.
    void tastiera() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "DIP"}, {"GAMMA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(f.contatore(), QStringLiteral("1 di 3"));
        const struct {
            QKeySequence tasto;
            const char* cognome;
            const char* contatore;
        } mosse[] = {{QKeySequence(Qt::Key_PageDown), "BETA", "2 di 3"},
                     {QKeySequence(Qt::CTRL | Qt::Key_End), "GAMMA", "3 di 3"},
                     {QKeySequence(Qt::Key_PageDown), "GAMMA", "3 di 3"},
                     {QKeySequence(Qt::Key_PageUp), "BETA", "2 di 3"},
                     {QKeySequence(Qt::CTRL | Qt::Key_Home), "ALFA", "1 di 3"}};
        auto* b03 = qobject_cast<QLineEdit*>(f.vista(0).box(kZ1, "B03"));
        for (const auto& m : mosse) {
            b03->setFocus();
            QTest::keySequence(b03, m.tasto);
            QCOMPARE(QString::fromStdString(f.elenco().text("B02")), QString::fromLatin1(m.cognome));
            QCOMPARE(f.contatore(), QString::fromLatin1(m.contatore));
        }
        QVERIFY(!f.isWindowModified());
        digita(f.vista(0), kZ1, "B03", "ANNA");
        QVERIFY(f.isWindowModified());
        QTest::keyClick(b03, Qt::Key_Return);
        QVERIFY(QApplication::focusWidget() != b03);
        QTest::keySequence(&f, QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(a.testo("select B03 from Zefo1 where ID = 1"), std::string("ANNA"));
        QVERIFY(!f.isWindowModified());
        QVERIFY(r.domande.isEmpty());
    }

    void annullaRiportaIValoriSalvati() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.show();
        digita(f.vista(0), kZ1, "B02", "ERRATO");
        f.annulla();
        QCOMPARE(mostrato(f.vista(0), kZ1, "B02"), QStringLiteral("ALFA"));
        QVERIFY(f.chiudiFinestra());
        QVERIFY(r.domande.isEmpty());
        f.show();
        f.modifica();  // edit state alone makes closing ask
        QVERIFY(f.chiudiFinestra());
        QCOMPARE(r.domande.size(), 1);
        QCOMPARE(a.testo("select B02 from Zefo1"), std::string("ALFA"));
    }

    void cancellaTieneLeRigheZefo3() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "DIP"}, {"GAMMA", "DIP"}});
        a.exec("insert into Zefo3 (Id, D01) values (2, 'X'), (2, 'Y')");
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.successivo();
        r.risposte = {false, true};
        f.cancella();  // No: nothing happens
        QCOMPARE(a.numero("select count(*) from Zefo1"), 3LL);
        f.cancella();
        // The question names the person it is about.
        const QString domanda = ui::testi::kDomandaCancellazione + QStringLiteral("\nBETA NOME (CFBETA) n. 2");
        QCOMPARE(r.domande, (QStringList{domanda, domanda}));
        QCOMPARE(a.numero("select count(*) from Zefo1 where ID = 2"), 0LL);
        QCOMPARE(a.numero("select count(*) from Zefo2 where ID = 2"), 0LL);
        QCOMPARE(a.numero("select count(*) from Zefo3 where Id = 2"), 2LL);
        QCOMPARE(f.elenco().text("B02"), std::string("GAMMA"));  // the following row
        r.risposta = true;
        f.cancella();
        QCOMPARE(f.elenco().text("B02"), std::string("ALFA"));  // the last gone: the previous one
        f.cancella();
        QVERIFY(f.elenco().isEmpty());
        r.domande.clear();
        f.cancella();
        f.stampa();
        QCOMPARE(r.informazioni, (QStringList{ui::testi::kNessunCertificato, ui::testi::kNessunCertificato}));
        QVERIFY(r.domande.isEmpty());
        QVERIFY(r.errori.isEmpty());
    }

    void filtroPerTipo_data() {
        QTest::addColumn<int>("caselle");  // bits: Dipendenti, Amministratori, Co.Co.Co, Tutto
        QTest::addColumn<QStringList>("elencati");
        const QStringList dip{"D1", "D2"}, amm{"A1"}, coc{"C1"};
        const QStringList conZefo2 = dip + amm + coc + QStringList{"VUOTO"};
        for (int m = 0; m < 16; ++m) {
            QStringList atteso;
            if (m & 8) {
                atteso = conZefo2;
            } else {
                if (m & 1) atteso += dip;
                if (m & 2) atteso += amm;
                if (m & 4) atteso += coc;
            }
            atteso.sort();
            QTest::addRow("caselle %d%d%d%d", m & 1, (m >> 1) & 1, (m >> 2) & 1, (m >> 3) & 1) << m << atteso;
        }
    }
    void filtroPerTipo() {
        QFETCH(int, caselle);
        QFETCH(QStringList, elencati);
        Archivio a;
        // "ORFANO" has no Zefo2 row and is never shown before filtering.
        certificati(a, {{"D2", "DIP"}, {"A1", "AMM"}, {"ORFANO", "-"}, {"C1", "CoC"}, {"VUOTO", ""}, {"D1", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();  // shows "A1"
        for (int i = 0; i < 4; ++i) f.casellaFiltro(i).setChecked(caselle & (1 << i));
        f.filtra();
        QStringList trovati;
        for (const auto& s : cognomiElencati(f)) trovati << QString::fromStdString(s);
        QCOMPARE(trovati, elencati);
        QCOMPARE(r.informazioni, caselle == 0
                                     ? QStringList{"Non è stato selezionato il tipo di percipienti da filtrare."}
                                     : QStringList{});
        // The query stays in force when the menu re-opens the list.
        f.riapriElenco();
        QCOMPARE(f.elenco().rowCount(), static_cast<std::size_t>(elencati.size()));
    }

    void unClicSullaCasellaFiltraInOrdineDiCognome() {
        Archivio a;
        certificati(a, {{"ZETA", "AMM"}, {"ALFA", "DIP"}, {"BETA", "AMM"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        QCOMPARE(f.elenco().text("B02"), std::string("ALFA"));
        f.schede().setCurrentIndex(2);
        digita(f.vista(2), kZ2, "c202", "5,00");  // re-querying keeps what was typed
        f.casellaFiltro(3).click();               // Tutto off
        QCOMPARE(a.testo("select c202 from Zefo2 where ID = 2"), std::string("5,00"));
        f.casellaFiltro(0).click();  // Dipendenti off
        f.casellaFiltro(2).click();  // Co.Co.Co off
        QCOMPARE(f.elenco().rowCount(), std::size_t{2});
        QCOMPARE(f.elenco().text("B02"), std::string("BETA"));  // filtered, still by surname
        QCOMPARE(f.zefo2().text("tipo"), std::string("AMM"));
        QCOMPARE(f.tipo().currentText(), QStringLiteral("AMM"));
    }

    // A certificate just added and left untouched is dropped by any move, which goes on from where
    // it stood; typed into, it is kept. Annulla (or No) on it goes back to the certificate the
    // operator was on.
    void nuovoIntattoLasciato_data() {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<bool>("digitato");
        QTest::addColumn<QString>("arrivo");   // surname of the certificate shown after
        QTest::addColumn<QString>("cognomi");  // of Zefo1 by number
        QTest::newRow("PgUp") << "precedente" << false << "ZETA"
                              << "ALFA,BETA,ZETA";
        QTest::newRow("PgDn") << "successivo" << false << "ZETA"
                              << "ALFA,BETA,ZETA";
        QTest::newRow("Primo") << "primo" << false << "ALFA"
                               << "ALFA,BETA,ZETA";
        QTest::newRow("Ultimo") << "ultimo" << false << "ZETA"
                                << "ALFA,BETA,ZETA";
        QTest::newRow("Annulla") << "annulla" << false << "BETA"
                                 << "ALFA,BETA,ZETA";
        QTest::newRow("PgUp dopo aver scritto") << "precedente" << true << "ZETA"
                                                << "ALFA,BETA,ZETA,NUOVO";
        QTest::newRow("Annulla dopo aver scritto") << "annulla" << true << "BETA"
                                                   << "ALFA,BETA,ZETA";
    }
    void nuovoIntattoLasciato() {
        QFETCH(QString, comando);
        QFETCH(bool, digitato);
        QFETCH(QString, arrivo);
        QFETCH(QString, cognomi);
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "DIP"}, {"ZETA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.successivo();  // BETA
        f.aggiungi();
        QCOMPARE(f.elenco().integer("ID"), 4);
        if (digitato) digita(f.vista(0), kZ1, "B02", "NUOVO");
        const std::map<QString, std::function<void()>> comandi = {{"precedente", [&] { f.precedente(); }},
                                                                  {"successivo", [&] { f.successivo(); }},
                                                                  {"primo", [&] { f.primo(); }},
                                                                  {"ultimo", [&] { f.ultimo(); }},
                                                                  {"annulla", [&] { f.annulla(); }}};
        comandi.at(comando)();
        QCOMPARE(QString::fromStdString(f.elenco().text("B02")), arrivo);
        QCOMPARE(cognomiPerNumero(a), cognomi);
        QCOMPARE(a.numero("select count(*) from Zefo2 where ID not in (select ID from Zefo1)"), 0LL);
        QVERIFY(r.domande.isEmpty());
        QVERIFY(r.errori.isEmpty());
    }

    // A new certificate starts with the last one's employer part, date and signature and kind,
    // the agent's data over them.
    void nuovoDaUltimoCertificato() {
        Archivio a;
        a.exec(
            "insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, TelefonoPref, telefono) values "
            "('01234567897', 'ACME', '06', '5551234')");
        certificati(a, {{"ALFA", "DIP"}, {"BETA", "CoC"}});
        a.exec(
            "update Zefo1 set A04 = 'ROMA', A05 = 'RM', A10 = '841110', B44 = '28/02/2015', BFirma = 'X' where ID = 2");
        Registratore r;
        TFPagina1 f(a.conn);
        f.riapriElenco();
        f.aggiungi();
        QCOMPARE(a.testo("select A01 || A02 || A04 || A05 || A08 || A10 || B44 || BFirma from Zefo1 where ID = 3"),
                 std::string("01234567897ACMEROMARM065551234841110"
                             "28/02/2015X"));
        QCOMPARE(f.tipo().currentText(), QStringLiteral("CoC"));
        QCOMPARE(mostrato(f.vista(0), kZ1, "A04"), QStringLiteral("ROMA"));
    }

    // The wheel over a closed drop-down scrolls the page and changes nothing.
    void rotellaSullaTendina() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}});
        a.exec("update Zefo1 set B04 = 'F'");
        Registratore r;
        TFPagina1 f(a.conn);
        f.resize(900, 500);
        f.show();
        f.riapriElenco();
        auto* sesso = qobject_cast<QComboBox*>(f.vista(0).box(kZ1, QStringLiteral("B04")));
        QVERIFY(sesso);
        QCOMPARE(sesso->currentText(), QStringLiteral("F"));
        auto* area = qobject_cast<QScrollArea*>(f.schede().currentWidget());
        QVERIFY(area);
        const int prima = area->verticalScrollBar()->value();
        auto* operazione = f.findChild<QComboBox*>(QStringLiteral("Operazione"));
        QVERIFY(operazione);
        for (QComboBox* c : {sesso, &f.tipo(), operazione}) {
            const QPoint centro = c->rect().center();
            QWheelEvent rotella(centro, c->mapToGlobal(centro), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                                Qt::NoScrollPhase, false);
            QApplication::sendEvent(c, &rotella);
        }
        QCOMPARE(sesso->currentText(), QStringLiteral("F"));
        QCOMPARE(f.tipo().currentText(), QStringLiteral("DIP"));
        QCOMPARE(operazione->currentText(), QStringLiteral("nessuna"));
        QVERIFY(area->verticalScrollBar()->value() > prima);
        QVERIFY(!f.isWindowModified());
        f.successivo();
        QCOMPARE(a.testo("select B04 || tipo from Zefo1 join Zefo2 using (ID)"), std::string("FDIP"));
    }

    // "Controlla" names the person when there is no problem; the status line forgets the reason
    // of a box once the cursor is in another box that has none.
    void titoloEStato() {
        Archivio a;
        certificati(a, {{"ALFA", "DIP"}});
        Registratore r;
        TFPagina1 f(a.conn);
        f.show();
        f.riapriElenco();
        f.schede().setCurrentIndex(1);
        auto* punto1 = qobject_cast<QLineEdit*>(f.vista(1).box(kZ1, QStringLiteral("C001")));
        auto* punto3 = qobject_cast<QLineEdit*>(f.vista(1).box(kZ1, QStringLiteral("C003")));
        punto1->setFocus();
        QTest::keyClicks(punto1, "12abc");
        QTest::keyClick(punto1, Qt::Key_Return);
        QVERIFY(f.stato().startsWith(QStringLiteral("Errore")));
        const auto entra = [](QWidget* w) {
            QFocusEvent dentro(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(w, &dentro);
        };
        entra(punto3);
        QCOMPARE(f.stato(), QString());
        entra(punto1);
        QVERIFY(f.stato().startsWith(QStringLiteral("Errore")));
        digita(f.vista(1), kZ1, "C001", "1.000,00");
        f.salva();
        f.controlla();
        QVERIFY(f.finestraControllo());
        QVERIFY2(f.finestraControllo()->findChildren<QLabel*>().size() > 0, "");
        bool nominato = false;
        for (const QLabel* l : f.finestraControllo()->findChildren<QLabel*>())
            nominato = nominato || l->text().contains(QStringLiteral("ALFA NOME (CFALFA) n. 1"));
        QVERIFY(nominato);
    }
};

int eseguiEditorTest(int argc, char** argv) {
    EditorTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "editor_test.moc"
