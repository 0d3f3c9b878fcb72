#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "archivio.h"
#include "print/pdfcertificati.h"
#include "print/ui/stampacertificato.h"
#include "print/ui/stampadipendenti.h"
#include "print/ui/stampaprofessionisti.h"
#include "print/ui/stampasostituto.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"
#include "ui/dialoghi.h"

using prova::Archivio;

namespace {

// Every job goes to a PDF of its own, so that a test can read what each print held.
class UscitaFinta : public print::Uscita {
public:
    explicit UscitaFinta(const Archivio& a) : a_(a) {}
    bool stampantePresente() const override { return stampante; }
    bool stampa(const print::Lavoro& l, QWidget*) override { return salva(l, stampati); }
    bool anteprima(const print::Lavoro& l, QWidget*, const print::InfoAnteprima& info) override {
        // The operator looks at the preview a while: nothing may stand over it meanwhile.
        if (attesaAnteprima > 0) {
            QTest::qWait(attesaAnteprima);
            anteprimaBloccata = anteprimaBloccata || QApplication::activeModalWidget() != nullptr;
        }
        salva(l, anteprime);
        titoli << info.titolo + (info.interrompibile ? " [interrompibile]" : "");
        return static_cast<int>(anteprime.size()) != interrompiDopo;
    }
    QString chiediFilePdf(QWidget*, const QString&) override { return filePdf; }
    QString chiediCartella(QWidget*, const QString&) override { return {}; }

    bool stampante = true;
    int attesaAnteprima = 0;  // ms the operator spends on each preview
    int interrompiDopo = -1;  // the preview where the operator chooses "Interrompi anteprime"
    QStringList titoli;
    bool anteprimaBloccata = false;
    QString filePdf;
    std::vector<QString> stampati, anteprime;

private:
    bool salva(const print::Lavoro& l, std::vector<QString>& dove) {
        const QString f = a_.file(QString("lavoro-%1.pdf").arg(++n_));
        print::SalvaPdf(l, f);
        dove.push_back(f);
        return true;
    }
    const Archivio& a_;
    int n_ = 0;
};

class Risposte : public ui::Risponditore {
public:
    void informa(const QString& t) override { messaggi << t; }
    void errore(const QString& t) override { errori << t; }
    bool chiedi(const QString& d) override {
        domande << d;
        return si;
    }
    QStringList messaggi, errori, domande;
    bool si = true;
};

// Surnames printed by each job, read back from its first page.
QStringList cognomi(const std::vector<QString>& pdf, const QStringList& tutti) {
    QStringList v;
    for (const auto& f : pdf) {
        const QString t = prova::testi(f).value(0);
        for (const auto& c : tutti)
            if (t.contains(c)) v << c;
    }
    return v;
}

struct Finestra : ::testing::Test {
    Finestra() : uscita(a), installato(risposte) {
        a.certificato({{"B02", "ROSSI"}}, {{"tipo", "DIP"}, {"MatrDip", "10"}});
        const auto id = a.certificato({{"B02", "D'ANGELO"}}, {{"tipo", "AMM"}, {"MatrDip", "150"}});
        a.inserisci("Zefo3", {{"Id", std::to_string(id)}});
        a.certificato({{"B02", "VERDI"}}, {{"tipo", "CoC"}, {"MatrDip", "3"}});
        w = std::make_unique<print::TFStampeTutti>(a.conn);
        w->setUscita(uscita);
    }
    template <typename T>
    T* figlio(const char* nome) {
        return w->findChild<T*>(nome);
    }
    void intervallo(const char* da, const char* a_, const QString& x, const QString& y) {
        figlio<QLineEdit>(da)->setText(x);
        figlio<QLineEdit>(a_)->setText(y);
    }
    Archivio a;
    UscitaFinta uscita;
    Risposte risposte;
    ui::RisponditoreInstallato installato;
    std::unique_ptr<print::TFStampeTutti> w;
    const QStringList tutti = {"ROSSI", "D'ANGELO", "VERDI"};
};

}  // namespace

TEST_F(Finestra, StatoInizialeEAnteprimeVisibili) {
    EXPECT_EQ(w->windowTitle(), "Stampa C.U. Dipendenti");
    for (const char* n : {"CbDip", "CbAmm", "CbCoCo"}) EXPECT_TRUE(figlio<QCheckBox>(n)->isChecked()) << n;
    w->show();
    for (const char* n : {"CbAnteprimaMatricola", "CbAnteprimaCognome"}) {
        QCheckBox* cb = figlio<QCheckBox>(n);
        EXPECT_FALSE(cb->isChecked()) << n;
        const QRect r(cb->mapTo(w.get(), QPoint(0, 0)), cb->size());
        EXPECT_TRUE(w->rect().contains(r)) << n;
    }
}

TEST_F(Finestra, NessunTipoESelezioneVuota) {
    for (const char* n : {"CbDip", "CbAmm", "CbCoCo"}) figlio<QCheckBox>(n)->setChecked(false);
    w->stampaPerMatricola();
    EXPECT_EQ(risposte.messaggi, QStringList{print::kNessunTipo});
    figlio<QCheckBox>("CbDip")->setChecked(true);

    risposte.messaggi.clear();
    intervallo("EdDalNr", "EdAlNr", "4", "5");
    w->stampaPerMatricola();
    EXPECT_EQ(risposte.messaggi, (QStringList{print::kSelezioneVuota, print::kOperazioneEseguita}));
    risposte.messaggi.clear();
    intervallo("EdDa", "EdA", "Z", "A");
    w->stampaPerCognome();
    EXPECT_EQ(risposte.messaggi, QStringList{print::kSelezioneVuota});
    EXPECT_TRUE(uscita.stampati.empty());
}

TEST_F(Finestra, UnLavoroPerCertificatoNellOrdineEFiltratoPerTipo) {
    intervallo("EdDalNr", "EdAlNr", "1", "9");
    w->stampaPerMatricola();
    EXPECT_EQ(cognomi(uscita.stampati, tutti), (QStringList{"ROSSI", "D'ANGELO", "VERDI"}));
    EXPECT_EQ(prova::pagine(uscita.stampati[0]), 7);
    EXPECT_EQ(prova::pagine(uscita.stampati[1]), 8);
    EXPECT_EQ(risposte.messaggi, QStringList{print::kOperazioneEseguita});

    uscita.stampati.clear();
    risposte.messaggi.clear();
    figlio<QCheckBox>("CbDip")->setChecked(false);
    figlio<QCheckBox>("CbCoCo")->setChecked(false);
    figlio<QCheckBox>("CbAnteprimaCognome")->setChecked(true);
    intervallo("EdDa", "EdA", "A", "z");
    w->stampaPerCognome();
    EXPECT_TRUE(uscita.stampati.empty());
    EXPECT_EQ(cognomi(uscita.anteprime, tutti), QStringList{"D'ANGELO"});
    EXPECT_TRUE(risposte.messaggi.isEmpty());
    // One preview is not asked about.
    EXPECT_TRUE(risposte.domande.isEmpty());
}

// Previews follow one another, each free to be paged and closed: no progress box over them.
TEST_F(Finestra, AnteprimeInSequenzaSenzaBloccare) {
    uscita.attesaAnteprima = 400;
    figlio<QCheckBox>("CbAnteprimaCognome")->setChecked(true);
    intervallo("EdDa", "EdA", "A", "z");
    w->show();
    w->stampaPerCognome();
    EXPECT_EQ(cognomi(uscita.anteprime, tutti), (QStringList{"D'ANGELO", "ROSSI", "VERDI"}));
    EXPECT_FALSE(uscita.anteprimaBloccata);
    EXPECT_TRUE(risposte.messaggi.isEmpty());
}

// A range of previews is asked first with its count; each names its place and person, and the
// operator can stop the rest.
TEST_F(Finestra, AnteprimeChiesteNumerateEInterrompibili) {
    a.certificato({{"B02", "ZETA"}, {"B03", "ANNA"}}, {{"tipo", "DIP"}, {"MatrDip", "4"}});
    figlio<QCheckBox>("CbAnteprimaMatricola")->setChecked(true);
    intervallo("EdDalNr", "EdAlNr", "1", "9");
    struct Caso {
        const char* nome;
        bool si;
        int interrompiDopo;
        QStringList titoli;
        QStringList messaggi;
    };
    const QStringList tuttiETitoli = {"1 di 4 - ROSSI [interrompibile]", "2 di 4 - D'ANGELO [interrompibile]",
                                      "3 di 4 - VERDI [interrompibile]", "4 di 4 - ZETA ANNA"};
    const Caso casi[] = {
        {"si, fino in fondo", true, -1, tuttiETitoli, {print::kOperazioneEseguita}},
        {"no: nessuna anteprima", false, -1, {}, {}},
        {"interrotte alla seconda", true, 2, tuttiETitoli.mid(0, 2), {}},
    };
    for (const Caso& c : casi) {
        risposte.si = c.si;
        risposte.domande.clear();
        risposte.messaggi.clear();
        uscita.titoli.clear();
        uscita.anteprime.clear();
        uscita.interrompiDopo = c.interrompiDopo;
        w->stampaPerMatricola();
        EXPECT_EQ(risposte.domande, QStringList{"Mostrare l'anteprima di 4 certificati?"}) << c.nome;
        EXPECT_EQ(uscita.titoli, c.titoli) << c.nome;
        EXPECT_EQ(risposte.messaggi, c.messaggi) << c.nome;
        EXPECT_TRUE(uscita.stampati.empty()) << c.nome;
    }
    // A wide range: the count as messages write it, and No opens nothing.
    a.conn.exec("BEGIN");
    for (int i = 0; i < 1196; ++i) a.certificato({{"B02", "MOLTI"}}, {{"tipo", "DIP"}, {"MatrDip", "5"}});
    a.conn.exec("COMMIT");
    risposte.si = false;
    risposte.domande.clear();
    uscita.anteprime.clear();
    w->stampaPerMatricola();
    EXPECT_EQ(risposte.domande, QStringList{"Mostrare l'anteprima di 1.200 certificati?"});
    EXPECT_TRUE(uscita.anteprime.empty());
}

// The real preview of a batch: its title and the button that stops the previews after it.
TEST(Anteprima, InterrompiAnteprimeNellaFinestraReale) {
    Archivio a;
    for (const char* c : {"ALFA", "BETA", "GAMMA"}) a.certificato({{"B02", c}}, {{"tipo", "DIP"}, {"MatrDip", "1"}});
    Risposte risposte;
    ui::RisponditoreInstallato installato(risposte);
    QStringList titoli;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<QPrintPreviewDialog*>(w);
            if (!d || !d->isVisible()) continue;
            titoli << d->windowTitle();
            auto* b = d->findChild<QPushButton*>("btnInterrompiAnteprime");
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->text(), print::kInterrompiAnteprime);
            b->click();
        }
    });
    timer.start(50);
    print::TFStampeTutti w(a.conn);
    w.findChild<QCheckBox*>("CbAnteprimaMatricola")->setChecked(true);
    w.findChild<QLineEdit*>("EdDalNr")->setText("1");
    w.findChild<QLineEdit*>("EdAlNr")->setText("1");
    w.stampaPerMatricola();
    EXPECT_EQ(titoli, QStringList{"Anteprima di stampa - 1 di 3 - ALFA"});
    EXPECT_EQ(risposte.domande, QStringList{"Mostrare l'anteprima di 3 certificati?"});
    EXPECT_TRUE(risposte.messaggi.isEmpty());
}

// The print dialog opened from a preview proposes a PDF in the archive's PDF folder (or the one
// typed in the batch window), named after the certificate, not the program's folder.
TEST(Anteprima, LaStampaDallAnteprimaProponeLaCartellaPdf) {
    Archivio a;
    const auto id = a.certificato({{"B01", "RSSMRA80A01H501U"}, {"B02", "ROSSI"}}, {{"tipo", "DIP"}, {"MatrDip", "1"}});
    const QString nome = print::NomeFilePdf("RSSMRA80A01H501U", "ROSSI", id);
    Risposte risposte;
    ui::RisponditoreInstallato installato(risposte);
    struct Caso {
        const char* nome;
        std::function<void()> apri;
        QString proposto;
    };
    print::TFStampeTutti batch(a.conn);
    const Caso casi[] = {
        {"editor", [&] { print::StampaCertificato(a.conn, id, true, nullptr); }, a.file("PDF/" + nome)},
        {"dati generali", [&] { print::StampaSostituto(a.conn, nullptr); }, a.file("PDF/DatiGenerali.pdf")},
        {"batch, cartella digitata",
         [&] {
             batch.findChild<QCheckBox*>("CbAnteprimaMatricola")->setChecked(true);
             batch.findChild<QLineEdit*>("EdCartellaPdf")->setText(a.file("altrove/pdf"));
             batch.findChild<QLineEdit*>("EdDalNr")->setText("1");
             batch.findChild<QLineEdit*>("EdAlNr")->setText("1");
             batch.stampaPerMatricola();
         },
         a.file("altrove/pdf/" + nome)},
    };
    const QString stampa = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (const Caso& c : casi) {
        QString proposto = "<nessun dialogo di stampa>";
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (!w->isVisible()) continue;
                if (auto* dialogo = qobject_cast<QPrintDialog*>(w)) {
                    if (auto* e = dialogo->findChild<QLineEdit*>("filename")) proposto = e->text();
                    dialogo->reject();
                } else if (auto* d = qobject_cast<QPrintPreviewDialog*>(w)) {
                    if (QApplication::activeModalWidget() != d) continue;
                    if (proposto.startsWith('<')) {
                        for (QAction* azione : d->findChildren<QAction*>())
                            if (azione->text() == stampa)
                                QMetaObject::invokeMethod(azione, &QAction::trigger, Qt::QueuedConnection);
                    } else {
                        d->reject();
                    }
                }
            }
        });
        timer.start(50);
        c.apri();
        EXPECT_EQ(QDir::fromNativeSeparators(proposto).toStdString(), c.proposto.toStdString()) << c.nome;
        EXPECT_TRUE(QFileInfo(c.proposto).absoluteDir().exists()) << c.nome;
    }
}

TEST_F(Finestra, SenzaStampanteOffreUnPdf) {
    uscita.stampante = false;
    uscita.filePdf = a.file("tutti.pdf");
    intervallo("EdDa", "EdA", "A", "Z");
    w->stampaPerCognome();
    EXPECT_EQ(risposte.errori, QStringList{print::kNessunaStampante});
    EXPECT_EQ(risposte.domande, QStringList{print::kOffertaPdf});
    EXPECT_EQ(prova::pagine(uscita.filePdf), 7 + 8 + 7);

    // Refused: nothing printed and no "done".
    risposte.si = false;
    risposte.messaggi.clear();
    intervallo("EdDalNr", "EdAlNr", "1", "9");
    w->stampaPerMatricola();
    EXPECT_TRUE(uscita.stampati.empty());
    EXPECT_TRUE(risposte.messaggi.isEmpty());
}

TEST_F(Finestra, UnPdfPerCertificato) {
    figlio<QCheckBox>("CbPdfPerCertificato")->setChecked(true);
    figlio<QLineEdit>("EdCartellaPdf")->setText(a.file("pdf"));
    intervallo("EdDa", "EdA", "D'ANGELO", "ROSSI");
    w->stampaPerCognome();
    EXPECT_TRUE(uscita.stampati.empty());
    EXPECT_EQ(QDir(a.file("pdf")).entryList(QDir::Files).size(), 2);
    ASSERT_EQ(risposte.messaggi.size(), 1);
    EXPECT_TRUE(risposte.messaggi[0].startsWith("Creati 2 file PDF")) << risposte.messaggi[0].toStdString();

    figlio<QLineEdit>("EdCartellaPdf")->setText("");
    w->stampaPerCognome();
    EXPECT_EQ(risposte.errori, QStringList{print::kIndicareCartella});
}

TEST(FinestraProfessionisti, BatchPerCognome) {
    Archivio a;
    a.inserisci("Professionisti", {{"B02", "BIANCHI"}});
    a.inserisci("Professionisti", {{"B02", "ALBERTI"}});
    UscitaFinta uscita(a);
    Risposte risposte;
    ui::RisponditoreInstallato installato(risposte);
    print::TFProfesStaTutti w(a.conn);
    w.setUscita(uscita);
    EXPECT_EQ(w.windowTitle(), "Stampa C.U. Professionisti");
    w.findChild<QLineEdit*>("EdDa")->setText("a");
    w.findChild<QLineEdit*>("EdA")->setText("c");
    w.stampaPerCognome();
    EXPECT_EQ(cognomi(uscita.stampati, {"ALBERTI", "BIANCHI"}), (QStringList{"ALBERTI", "BIANCHI"}));
    for (const auto& f : uscita.stampati) EXPECT_EQ(prova::pagine(f), 4);
    EXPECT_TRUE(risposte.messaggi.isEmpty());
    w.findChild<QLineEdit*>("EdDa")->setText("x");
    w.stampaPerCognome();
    EXPECT_EQ(risposte.messaggi, QStringList{print::kSelezioneVuota});
}

TEST(StampaSingola, EditorECasiLimite) {
    Archivio a;
    const auto id = a.certificato({{"B02", "ROSSI"}}, {{"tipo", "DIP"}});
    UscitaFinta uscita(a);
    Risposte risposte;
    ui::RisponditoreInstallato installato(risposte);

    print::StampaCertificato(a.conn, id, false, nullptr, uscita);
    EXPECT_EQ(uscita.stampati.size(), 1u);
    EXPECT_EQ(risposte.messaggi, QStringList{print::kOperazioneEseguita});

    risposte.messaggi.clear();
    print::StampaCertificato(a.conn, id, true, nullptr, uscita);
    EXPECT_EQ(uscita.anteprime.size(), 1u);
    EXPECT_TRUE(risposte.messaggi.isEmpty());

    uscita.stampante = false;
    risposte.si = false;
    print::StampaCertificato(a.conn, id, false, nullptr, uscita);
    EXPECT_EQ(risposte.errori, QStringList{print::kNessunaStampante});
    EXPECT_TRUE(risposte.messaggi.isEmpty());

    risposte.errori.clear();
    print::StampaCertificato(a.conn, 0, false, nullptr, uscita);
    print::StampaCertificato(a.conn, 4242, false, nullptr, uscita);
    print::StampaProfessionista(a.conn, 4242, true, nullptr, uscita);
    EXPECT_EQ(risposte.messaggi, QStringList{"Nessun certificato da stampare."});
    EXPECT_EQ(risposte.errori, (QStringList{"Certificato 4242 non trovato.", "Certificato 4242 non trovato."}));
}

TEST(StampaSostituto, LeggeLeRigheSalvateNonLeModifichePendenti) {
    Archivio a;
    a.inserisci("SostitutoImposta", {{"CognomeDenominazione", "SALVATA SPA"}});
    storage::Dataset d(a.conn);
    d.open(storage::TutteLeRighe(storage::Tabella::SostitutoImposta));
    d.setText("CognomeDenominazione", "NON SALVATA SPA");
    UscitaFinta uscita(a);
    print::StampaSostituto(a.conn, nullptr, uscita);
    print::StampaQuadroCT(a.conn, nullptr, uscita);
    ASSERT_EQ(uscita.anteprime.size(), 2u);
    const QString t = prova::testi(uscita.anteprime[0]).value(0);
    EXPECT_TRUE(t.contains("SALVATA SPA"));
    EXPECT_FALSE(t.contains("NON SALVATA"));
}

// The real preview window: it shows the job's sheets and the call returns once it is closed.
TEST(Anteprima, FinestraDiAnteprimaReale) {
    Archivio a;
    const auto id = a.certificato({{"B02", "ROSSI"}}, {{"tipo", "DIP"}});
    a.inserisci("Zefo3", {{"Id", std::to_string(id)}});
    int pagine = -1;
    QString titolo;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* d = qobject_cast<QPrintPreviewDialog*>(w);
            if (!d || !d->isVisible()) continue;
            auto* anteprima = d->findChild<QPrintPreviewWidget*>();
            pagine = anteprima ? anteprima->pageCount() : -2;
            titolo = d->printer()->docName();
            d->reject();
        }
    });
    timer.start(50);
    print::StampaCertificato(a.conn, id, true, nullptr);
    EXPECT_EQ(pagine, 8);
    EXPECT_EQ(titolo, "Zf2015");
}
