// The professional certificate editor: add and save, the questions, the copy button.
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "entry/editorcertificati.h"
#include "entry/editorprofessionisti.h"
#include "tests/gui/entry/archivio.h"
#include "tests/gui/entry/suite.h"
#include "ui/testi.h"

namespace {

const QString kP = QStringLiteral("Professionisti");
const char* const kColonneSostituto[] = {"A01", "A02", "A03", "A04", "A05",    "A06", "A07",
                                         "A08", "A09", "A10", "A11", "BFirma", "B44"};

}  // namespace

class ProfessionistiTest : public QObject {
    Q_OBJECT
private slots:
    void aggiungiDigitaSalva() {
        Archivio a;
        Registratore r;
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        QVERIFY(f.elenco().isEmpty());
        f.aggiungi();
        digita(f.vista(0), kP, "B02", "BIANCHI");
        f.schede().setCurrentIndex(1);
        digita(f.vista(1), kP, "E04", "1.000,00");
        f.salva();
        QCOMPARE(a.numero("select count(*) from Professionisti"), 1LL);
        QCOMPARE(a.testo("select B02 from Professionisti"), std::string("BIANCHI"));
        QCOMPARE(a.testo("select E04 from Professionisti"), std::string("1.000,00"));
        QCOMPARE(f.elenco().rowCount(), std::size_t{1});
        // An untouched new row is dropped when the operator moves away.
        f.aggiungi();
        f.primo();
        QCOMPARE(a.numero("select count(*) from Professionisti"), 1LL);
        QVERIFY(r.domande.isEmpty());
        QVERIFY(r.errori.isEmpty());
    }

    void domandaDiChiusura_data() {
        QTest::addColumn<bool>("nuova");
        QTest::addColumn<bool>("digita");
        QTest::addColumn<bool>("chiede");
        QTest::addColumn<long long>("righe");  // after answering Yes
        QTest::newRow("riga nuova intatta") << true << false << false << 1LL;
        QTest::newRow("riga nuova con digitazione") << true << true << true << 2LL;
        QTest::newRow("riga salvata modificata") << false << true << true << 1LL;
        QTest::newRow("riga salvata intatta") << false << false << false << 1LL;
    }
    void domandaDiChiusura() {
        QFETCH(bool, nuova);
        QFETCH(bool, digita);
        QFETCH(bool, chiede);
        QFETCH(long long, righe);
        Archivio a;
        a.exec("insert into Professionisti (B02) values ('ALFA')");
        Registratore r;
        r.risposta = true;
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        f.show();
        if (nuova) f.aggiungi();
        if (digita) ::digita(f.vista(0), kP, "B03", "LUCA");
        QVERIFY(f.chiudiFinestra());
        QCOMPARE(r.domande, chiede ? QStringList{ui::testi::kDomandaSalva} : QStringList{});
        QCOMPARE(a.numero("select count(*) from Professionisti"), righe);
        QCOMPARE(a.numero("select count(*) from Professionisti where B03 = 'LUCA'"), digita ? 1LL : 0LL);
    }

    // Closing over a certificate another operator saved meanwhile: the save question, then the
    // conflict's; the window stays with nothing written. No keeps the typing; Sì shows the row
    // as stored, and then the window closes with no question.
    void chiusuraSuModificaAltrui_data() {
        QTest::addColumn<bool>("ricarica");
        QTest::newRow("No") << false;
        QTest::newRow("Sì") << true;
    }
    void chiusuraSuModificaAltrui() {
        QFETCH(bool, ricarica);
        Archivio a;
        a.exec("insert into Professionisti (B02, B03) values ('ALFA', 'ANNA')");
        Registratore r;
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        f.show();
        ::digita(f.vista(0), kP, "B03", "LUCA");
        storage::Connection altro;
        altro.open(a.conn.percorso());
        altro.exec("update Professionisti set B02 = 'BETA', Revisione = 4, RevisioneAlle = '09:05'");
        r.risposte = {true, ricarica};
        QVERIFY(!f.chiudiFinestra());
        QCOMPARE(r.domande,
                 (QStringList{ui::testi::kDomandaSalva,
                              "Il certificato è stato modificato da un altro operatore alle 09:05: ricaricarlo?"}));
        QCOMPARE(a.testo("select B02 || '|' || B03 || '|' || Revisione from Professionisti"),
                 std::string("BETA|ANNA|4"));
        QCOMPARE(mostrato(f.vista(0), kP, "B03"), ricarica ? QStringLiteral("ANNA") : QStringLiteral("LUCA"));
        QCOMPARE(mostrato(f.vista(0), kP, "B02"), ricarica ? QStringLiteral("BETA") : QStringLiteral("ALFA"));
        // Saving again meets the same refusal: the typing is never written over the other's.
        r.domande.clear();
        r.risposte = {true, false};
        QCOMPARE(f.chiudiFinestra(), ricarica);
        QCOMPARE(r.domande.size(), ricarica ? 0 : 2);
    }

    // No drops a new row, whether the window is closed or the program ends: the row shown, the
    // counter and the archive are back to the stored row.
    void noScartaLaRigaNuova_data() {
        QTest::addColumn<bool>("uscita");
        QTest::newRow("chiusura della finestra") << false;
        QTest::newRow("uscita dal programma") << true;
    }
    void noScartaLaRigaNuova() {
        QFETCH(bool, uscita);
        Archivio a;
        a.exec("insert into Professionisti (B02) values ('ALFA')");
        Registratore r;
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        f.show();
        f.aggiungi();
        digita(f.vista(0), kP, "B02", "BETA");
        QCOMPARE(f.contatore(), QStringLiteral("nuovo di 1"));
        QVERIFY(uscita ? f.salvaPrimaDiUscire() : f.chiudiFinestra());
        // Before leaving, the question names the window that holds the typing.
        QCOMPARE(r.domande, QStringList{uscita ? ui::testi::domandaSalvaFinestra(
                                                     QStringLiteral("Certificazione Unica dei professionisti"))
                                               : ui::testi::kDomandaSalva});
        QCOMPARE(f.contatore(), QStringLiteral("1 di 1"));
        QCOMPARE(mostrato(f.vista(0), kP, "B02"), QStringLiteral("ALFA"));
        f.salva();
        QCOMPARE(a.testo("select group_concat(B02) from Professionisti"), std::string("ALFA"));
    }

    // The copy button settles the row's typing by the save question, then asks before writing
    // every professional, and stays on the row it was pressed on.
    void copiaDatiSostituto_data() {
        QTest::addColumn<bool>("salva");
        QTest::addColumn<bool>("copia");
        QTest::addColumn<QString>("a01");       // of every row, when copied
        QTest::addColumn<QString>("cognome");   // of the row pressed on
        QTest::addColumn<long long>("conA01");  // rows whose A01 is that of the row pressed on
        QTest::newRow("Sì, Sì") << true << true << "01234567897"
                                << "CAMBIATO" << 3LL;
        QTest::newRow("No, Sì") << false << true << "VECCHIO1"
                                << "ROSSI" << 3LL;
        QTest::newRow("Sì, No") << true << false << "01234567897"
                                << "CAMBIATO" << 1LL;
        QTest::newRow("No, No") << false << false << "VECCHIO1"
                                << "ROSSI" << 1LL;
    }
    void copiaDatiSostituto() {
        QFETCH(bool, salva);
        QFETCH(bool, copia);
        QFETCH(QString, a01);
        QFETCH(QString, cognome);
        QFETCH(long long, conA01);
        Archivio a;
        // Each of the agent's columns holds a value of its own on the row copied from.
        a.exec(
            "insert into Professionisti (B02, B03, A01, A02, A03, A04, A05, A06, A07, A08, A09, A10, A11, "
            "BFirma, B44) values "
            "('ROSSI', 'A', 'VECCHIO1', 'VECCHIO', 'N3', 'N4', 'N5', 'N6', 'N7', 'N8', 'N9', 'N10', 'N11', "
            "'NFIRMA', '01/01/2015'), "
            "('BIANCHI', 'B', 'VECCHIO2', 'ALTRO', '', '', '', '', '', '', 'X9', '', '', '', ''), "
            "('VERDI', 'C', 'VECCHIO3', 'ALTRO', '', '', '', '', '', '', '', 'X10', '', 'XFIRMA', '')");
        Registratore r;
        r.risposte = {salva, copia};
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        f.successivo();  // ROSSI, between BIANCHI and VERDI
        QCOMPARE(f.elenco().integer("ID"), 1);
        digita(f.vista(0), kP, "A01", "01234567897");
        digita(f.vista(0), kP, "A08", "065551234");
        digita(f.vista(0), kP, "B02", "CAMBIATO");
        f.pulsanteCopia().click();
        QCOMPARE(r.domande, (QStringList{ui::testi::kDomandaSalva,
                                         QStringLiteral("Copiare i 13 dati del sostituto di questo certificato "
                                                        "(A01-A11, firma e data) in tutti i 3 professionisti?")}));
        QCOMPARE(a.numero("select count(*) from Professionisti where A01 = '" + a01.toStdString() + "'"), conA01);
        QCOMPARE(QString::fromStdString(a.testo("select B02 from Professionisti where ID = 1")), cognome);
        if (copia) {
            for (const char* c : kColonneSostituto)
                QCOMPARE(a.numero(std::string("select count(distinct coalesce(") + c + ", '')) from Professionisti"),
                         1LL);
            QCOMPARE(a.testo("select group_concat(A03||A04||A05||A06||A07||A09||A10||A11||BFirma, ' ') "
                             "from Professionisti"),
                     std::string("N3N4N5N6N7N9N10N11NFIRMA N3N4N5N6N7N9N10N11NFIRMA N3N4N5N6N7N9N10N11NFIRMA"));
        } else
            QCOMPARE(a.numero("select count(*) from Professionisti where A02 = 'ALTRO'"), 2LL);
        QCOMPARE(f.elenco().integer("ID"), 1);  // still the row pressed on
        QCOMPARE(mostrato(f.vista(0), kP, "A01"), a01);
        QVERIFY(r.errori.isEmpty());
    }

    // On a new row, "Precedente" (PgUp) saves what was typed, or drops an untouched row, and moves
    // to the row before it, as "Primo" does to the first; the delete question names a professional.
    void precedenteSuUnaRigaNuova_data() {
        QTest::addColumn<bool>("digitato");
        QTest::addColumn<long long>("righe");
        QTest::newRow("intatta") << false << 2LL;
        QTest::newRow("scritta") << true << 3LL;
    }
    void precedenteSuUnaRigaNuova() {
        QFETCH(bool, digitato);
        QFETCH(long long, righe);
        Archivio a;
        a.exec("insert into Professionisti (B02, A04) values ('ALFA', 'ROMA'), ('BETA', 'MILANO')");
        Registratore r;
        TFProfessionisti f(a.conn);
        f.riapriElenco();  // on ALFA, the first row
        f.aggiungi();
        QCOMPARE(mostrato(f.vista(0), kP, "A04"), QStringLiteral("MILANO"));  // from the last certificate
        if (digitato) digita(f.vista(0), kP, "B02", "ZETA");
        f.precedente();
        QCOMPARE(a.numero("select count(*) from Professionisti"), righe);
        QCOMPARE(f.elenco().text("B02"), std::string("BETA"));
        QVERIFY(r.domande.isEmpty());
        r.risposta = false;
        f.cancella();
        QCOMPARE(r.domande.value(0).section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Attenzione: Confermi la cancellazione del seguente professionista?"));
    }

    // What the operator refuses is never written later; a new row refused or deleted is gone.
    void noScartaLaRiga_data() {
        QTest::addColumn<bool>("nuova");
        QTest::addColumn<QString>("comando");  // how the row is left
        QTest::newRow("riga salvata, Chiudi e No") << false << "chiudi";
        QTest::newRow("riga nuova, Chiudi e No") << true << "chiudi";
        QTest::newRow("riga nuova, Cancella e Sì") << true << "cancella";
    }
    void noScartaLaRiga() {
        QFETCH(bool, nuova);
        QFETCH(QString, comando);
        Archivio a;
        a.exec("insert into Professionisti (B02, B03) values ('ALFA', 'A'), ('BETA', 'B')");
        Registratore r;
        r.risposta = comando == "cancella";
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        f.show();
        if (nuova) f.aggiungi();
        digita(f.vista(0), kP, "B03", "RIFIUTATO");
        if (comando == "chiudi")
            QVERIFY(f.chiudiFinestra());
        else
            f.cancella();
        QCOMPARE(r.domande.size(), 1);
        f.successivo();
        f.primo();
        f.salva();
        QCOMPARE(a.numero("select count(*) from Professionisti"), 2LL);
        QCOMPARE(a.numero("select count(*) from Professionisti where B03 = 'RIFIUTATO'"), 0LL);
        QCOMPARE(f.elenco().rowCount(), std::size_t{2});
        QVERIFY(r.informazioni.isEmpty());
        QVERIFY(r.errori.isEmpty());
    }

    void senzaCertificatoNienteStampaNeCancellazione() {
        Archivio a;
        Registratore r;
        TFProfessionisti f(a.conn);
        f.riapriElenco();
        f.cancella();
        f.stampa();
        f.aggiungi();  // a new row has no number yet
        f.anteprima();
        f.cancella();  // and is dropped without a word when nothing was typed
        QVERIFY(f.elenco().isEmpty());
        QCOMPARE(f.elenco().state(), storage::Dataset::State::Browse);
        QCOMPARE(r.errori, QStringList{});
        QCOMPARE(r.informazioni, QStringList(3, ui::testi::kNessunCertificato));
        QVERIFY(r.domande.isEmpty());
    }
};

int eseguiProfessionistiTest(int argc, char** argv) {
    ProfessionistiTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "professionisti_test.moc"
