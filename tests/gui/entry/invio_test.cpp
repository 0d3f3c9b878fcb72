// The sending line of both editors' header: protocol, progressive and operation are saved with the
// certificate, dropped with it, and a save of the certificate's own boxes records when it changed.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "entry/editorcertificati.h"
#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/testatainvio.h"
#include "storage/invii.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"
#include "ui/testi.h"

namespace {

const QString kProtocollo = QStringLiteral("15031012345678901");

// Two certificates in each list, ALFA (number 1) shown first.
void dueCertificati(Archivio& a) {
    a.exec(
        "insert into Zefo1 (B01, B02) values ('CFALFA', 'ALFA'), ('CFBETA', 'BETA');"
        "insert into Zefo2 (ID, tipo) values (1, 'DIP'), (2, 'DIP');"
        "insert into Professionisti (B01, B02) values ('CFALFA', 'ALFA'), ('CFBETA', 'BETA')");
}

std::unique_ptr<entry::EditorCertificati> editor(Archivio& a, bool dipendenti) {
    std::unique_ptr<entry::EditorCertificati> e;
    if (dipendenti)
        e = std::make_unique<TFPagina1>(a.conn);
    else
        e = std::make_unique<TFProfessionisti>(a.conn);
    e->apriElencoSeChiuso();
    e->show();
    return e;
}

storage::Elenco elenco(bool dipendenti) {
    return dipendenti ? storage::Elenco::Dipendenti : storage::Elenco::Professionisti;
}

// What the header shows: "protocol/progressive/operation".
QString mostrato(entry::EditorCertificati& e) {
    return e.invio().protocollo().text() + '/' + e.invio().progressivo().text() + '/' +
           e.invio().operazione().currentText();
}

QString salvato(Archivio& a, bool dipendenti, std::int64_t id) {
    const storage::StatoInvio s = storage::LeggiInvio(a.conn, elenco(dipendenti), id);
    return QString::fromStdString(s.protocollo + '/' + s.progressivo + '/') +
           QString::fromUtf8(storage::TestoOperazione(s.operazione));
}

}  // namespace

class InvioTest : public QObject {
    Q_OBJECT
private slots:
    // How the typed line leaves the window: saved, kept, dropped or refused, in both editors.
    void salvataggio_data() {
        QTest::addColumn<bool>("dipendenti");
        QTest::addColumn<QString>("azione");
        QTest::addColumn<QString>("protocollo");
        QTest::addColumn<QString>("atteso");  // stored for certificate 1
        QTest::addColumn<QString>("errore");  // the one error box, or ""
        QTest::addColumn<bool>("domanda");    // the save question was asked

        const QString pieno = kProtocollo + QStringLiteral("/000042/Sostituzione");
        for (bool dip : {true, false}) {
            const char* chi = dip ? "dipendenti" : "professionisti";
            QTest::addRow("%s: Salva", chi) << dip << "salva" << kProtocollo << pieno << "" << false;
            QTest::addRow("%s: chiudi, Sì", chi) << dip << "chiudi-si" << kProtocollo << pieno << "" << true;
            QTest::addRow("%s: chiudi, No", chi) << dip << "chiudi-no" << kProtocollo << "//"
                                                 << "" << true;
            QTest::addRow("%s: passa al successivo", chi) << dip << "successivo" << kProtocollo << pieno << "" << false;
            QTest::addRow("%s: protocollo di 16 cifre", chi)
                << dip << "salva" << kProtocollo.left(16) << "//"
                << "Il protocollo \"" + kProtocollo.left(16) + "\" non è di 17 cifre." << false;
        }
    }
    void salvataggio() {
        QFETCH(bool, dipendenti);
        QFETCH(QString, azione);
        QFETCH(QString, protocollo);
        QFETCH(QString, atteso);
        QFETCH(QString, errore);
        QFETCH(bool, domanda);
        Archivio a;
        dueCertificati(a);
        Registratore r;
        r.risposta = azione == "chiudi-si";
        auto e = editor(a, dipendenti);
        QCOMPARE(mostrato(*e), QStringLiteral("//nessuna"));
        QTest::keyClicks(&e->invio().protocollo(), protocollo + "x");  // a letter is not taken
        QTest::keyClicks(&e->invio().progressivo(), QStringLiteral("000042"));
        e->invio().operazione().setCurrentIndex(1);
        QVERIFY(e->isWindowModified());

        if (azione == "salva") e->findChild<QToolButton*>(ui::testi::kSalva)->click();
        if (azione.startsWith("chiudi")) QVERIFY(e->chiudiFinestra());
        if (azione == "successivo") e->successivo();

        QCOMPARE(r.errori, errore.isEmpty() ? QStringList{} : QStringList{errore});
        QCOMPARE(r.domande, domanda ? QStringList{ui::testi::kDomandaSalva} : QStringList{});
        QCOMPARE(salvato(a, dipendenti, 1), atteso);
        if (!errore.isEmpty()) {
            // Refused: the typing stays on screen, still to be saved.
            QCOMPARE(e->invio().protocollo().text(), protocollo);
            QVERIFY(e->isWindowModified());
            return;
        }
        // The stored values come back in a window that opens afresh, and No left nothing behind.
        auto di_nuovo = editor(a, dipendenti);
        QCOMPARE(mostrato(*di_nuovo), atteso == "//" ? QStringLiteral("//nessuna") : atteso);
        if (azione == "chiudi-no") QCOMPARE(mostrato(*e), QStringLiteral("//nessuna"));
    }

    // Saving the certificate's own boxes records the time of the change; the sending line alone,
    // or a save with nothing typed, does not: the check would take it for a change after sending.
    void momentoDellaModifica_data() {
        QTest::addColumn<bool>("dipendenti");
        QTest::addColumn<bool>("casella");  // a box of the page is typed into
        QTest::addColumn<bool>("invio");    // the sending line is typed into
        QTest::addColumn<bool>("segnato");
        for (bool dip : {true, false}) {
            const char* chi = dip ? "dipendenti" : "professionisti";
            QTest::addRow("%s: casella della pagina", chi) << dip << true << false << true;
            QTest::addRow("%s: solo la riga di invio", chi) << dip << false << true << false;
            QTest::addRow("%s: niente", chi) << dip << false << false << false;
        }
    }
    void momentoDellaModifica() {
        QFETCH(bool, dipendenti);
        QFETCH(bool, casella);
        QFETCH(bool, invio);
        QFETCH(bool, segnato);
        Archivio a;
        dueCertificati(a);
        Registratore r;
        auto e = editor(a, dipendenti);
        if (casella) digita(e->vista(0), dipendenti ? "Zefo1" : "Professionisti", "B03", "ANNA");
        if (invio) e->invio().operazione().setCurrentIndex(3);
        e->salva();
        QVERIFY(r.errori.isEmpty());
        const storage::StatoInvio s = storage::LeggiInvio(a.conn, elenco(dipendenti), 1);
        QCOMPARE(!s.modificatoIl.empty(), segnato);
        QCOMPARE(s.operazione, invio ? storage::Operazione::Escluso : storage::Operazione::Nessuna);
        // Another certificate's time is never touched.
        QVERIFY(storage::LeggiInvio(a.conn, elenco(dipendenti), 2).modificatoIl.empty());
    }

    // The line shows the last file written, and a change made after it, read again when the menu
    // re-opens the list (a run or a receipts import changed it meanwhile).
    void ultimoInvio() {
        Archivio a;
        dueCertificati(a);
        Registratore r;
        TFPagina1 e(a.conn);
        e.riapriElenco();
        auto* etichetta = e.findChild<QLabel*>(QStringLiteral("lblScritto"));
        QVERIFY(etichetta);
        QCOMPARE(etichetta->text(), QString());
        storage::SegnaScritti(a.conn, storage::Elenco::Dipendenti, {1}, "/tmp/invio/ZF2015.txt", false);
        storage::ScriviIdentificativi(a.conn, storage::Elenco::Dipendenti, 1, kProtocollo.toStdString(), "000007");
        a.exec("update Invii set ScrittoIl = '2015-03-02T10:15:00', ModificatoIl = '2015-03-05T08:00:00'");
        e.riapriElenco();
        QCOMPARE(etichetta->text(),
                 QStringLiteral("Scritto in ZF2015.txt il 02/03/2015 10:15, modificato il 05/03/2015 08:00"));
        QCOMPARE(mostrato(e), kProtocollo + QStringLiteral("/000007/nessuna"));
        QVERIFY(!e.isWindowModified());
        e.successivo();
        QCOMPARE(etichetta->text(), QString());
        QVERIFY(e.invio().protocollo().isEnabled());
    }
};

int eseguiInvioTest(int argc, char** argv) {
    InvioTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "invio_test.moc"
