#include "forms/vistapagina.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "storage/connection.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"

namespace {

namespace fs = std::filesystem;

class VistaPaginaTest : public ::testing::Test {
protected:
    void SetUp() override {
        percorso_ =
            (fs::temp_directory_path() / ("palio_vista_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db"))
                .string();
        fs::remove(percorso_);
        storage::Connection::crea(percorso_);
        conn_.open(percorso_);
        conn_.exec(
            "insert into SostitutoImposta (Annullamento, CodiceFiscale, CognomeDenominazione, email, A3, A8) "
            "values ('X', '01234567890', 'ROSSI SPA', 'a@b.it', '1', '2')");
    }
    void TearDown() override {
        conn_.close();
        for (const char* s : {"", "-wal", "-shm"}) fs::remove(percorso_ + s);
    }
    std::string valore(const std::string& sql) {
        storage::Statement st(conn_, sql);
        return st.step() ? std::string(st.text(0)) : std::string("<nessuna riga>");
    }
    template <class T>
    T* box(forms::VistaPagina& v, const char* tabella, const char* colonna) {
        auto* w = qobject_cast<T*>(v.box(tabella, colonna));
        EXPECT_TRUE(w) << colonna;
        return w;
    }

    std::string percorso_;
    storage::Connection conn_;
};

TEST_F(VistaPaginaTest, CaricaIValoriDellaRigaCorrente) {
    storage::Dataset ds(conn_);
    ds.open(storage::TutteLeRighe(storage::Tabella::SostitutoImposta));
    forms::VistaPagina vista(forms::Frontespizio());
    vista.collega("sostitutoimposta", &ds);  // the table's name in any case
    vista.carica();
    EXPECT_EQ(box<QLineEdit>(vista, "SostitutoImposta", "CognomeDenominazione")->text(), "ROSSI SPA");
    EXPECT_EQ(box<QComboBox>(vista, "SostitutoImposta", "Annullamento")->currentText(), "X");
    EXPECT_EQ(box<QComboBox>(vista, "SostitutoImposta", "A8")->currentText(), "2");
    EXPECT_EQ(box<QComboBox>(vista, "SostitutoImposta", "sostituzione")->currentText(), "");
    // any value that is not blank ticks a check box
    EXPECT_TRUE(box<QCheckBox>(vista, "SostitutoImposta", "A3")->isChecked());
    EXPECT_EQ(box<QLineEdit>(vista, "SostitutoImposta", "Nome")->text(), "");
    EXPECT_EQ(vista.size(), QSize(718, 1046));  // the page at its natural size
    EXPECT_FALSE(vista.modificata());
    EXPECT_EQ(ds.state(), storage::Dataset::State::Browse);
}

TEST_F(VistaPaginaTest, ScriveSoloIBoxModificati) {
    storage::Dataset ds(conn_);
    ds.open(storage::TutteLeRighe(storage::Tabella::SostitutoImposta));
    forms::VistaPagina vista(forms::Frontespizio());
    vista.collega("SostitutoImposta", &ds);
    vista.carica();
    QSignalSpy modifiche(&vista, &forms::VistaPagina::modificato);

    // nothing typed: nothing written, the row stays browsed
    vista.scrivi();
    EXPECT_EQ(ds.state(), storage::Dataset::State::Browse);

    auto* email = box<QLineEdit>(vista, "SostitutoImposta", "email");
    email->selectAll();
    QTest::keyClicks(email, "uffici@rossi.it");
    QTest::mouseClick(box<QCheckBox>(vista, "SostitutoImposta", "A3"), Qt::LeftButton);
    auto* cf = box<QLineEdit>(vista, "SostitutoImposta", "CodiceFiscale");
    cf->selectAll();
    QTest::keyClicks(cf, "RSSMRA85T10A562S");
    auto* sost = box<QComboBox>(vista, "SostitutoImposta", "sostituzione");
    sost->lineEdit()->selectAll();
    QTest::keyClicks(sost->lineEdit(), "X");
    EXPECT_GT(modifiche.count(), 0);
    EXPECT_TRUE(vista.modificata());

    // the header's display of the tax code follows the typing and is not itself editable
    QLineEdit* intestazione = nullptr;
    for (auto* e : vista.findChildren<QLineEdit*>())
        if (e != cf && e->objectName() == "SostitutoImposta.CodiceFiscale") intestazione = e;
    ASSERT_TRUE(intestazione);
    EXPECT_TRUE(intestazione->isReadOnly());
    EXPECT_EQ(intestazione->text(), "RSSMRA85T10A562S");

    vista.scrivi();
    EXPECT_FALSE(vista.modificata());
    ds.post();
    EXPECT_EQ(valore("select email from SostitutoImposta"), "uffici@rossi.it");
    EXPECT_EQ(valore("select coalesce(A3, 'null') from SostitutoImposta"), "");
    EXPECT_EQ(valore("select CodiceFiscale from SostitutoImposta"), "RSSMRA85T10A562S");
    EXPECT_EQ(valore("select sostituzione from SostitutoImposta"), "X");
    // untouched boxes were not written: a null stays null, a value stays as stored
    EXPECT_EQ(valore("select coalesce(Nome, 'null') from SostitutoImposta"), "null");
    EXPECT_EQ(valore("select coalesce(telefono, 'null') from SostitutoImposta"), "null");
    EXPECT_EQ(valore("select A8 from SostitutoImposta"), "2");
    EXPECT_EQ(valore("select Annullamento from SostitutoImposta"), "X");
}

TEST_F(VistaPaginaTest, BoxDiUnaTabellaSenzaRigaNonAccettanoTesto) {
    storage::Dataset sostituto(conn_), ct(conn_);
    sostituto.open(storage::TutteLeRighe(storage::Tabella::SostitutoImposta));
    ct.open(storage::TutteLeRighe(storage::Tabella::QuadroCt));  // empty table
    forms::VistaPagina vista(forms::PaginaQuadroCT());
    vista.collega("SostitutoImposta", &sostituto);
    vista.collega("QuadroCt", &ct);
    vista.carica();
    EXPECT_EQ(box<QLineEdit>(vista, "SostitutoImposta", "email")->text(), "a@b.it");
    EXPECT_FALSE(box<QLineEdit>(vista, "SostitutoImposta", "email")->isReadOnly());
    EXPECT_TRUE(box<QLineEdit>(vista, "QuadroCt", "B1")->isReadOnly());
    EXPECT_FALSE(box<QCheckBox>(vista, "QuadroCt", "B5")->isEnabled());

    // once the row exists (appended by the window) the boxes take typing and write it there
    ct.append();
    vista.carica();
    auto* b1 = box<QLineEdit>(vista, "QuadroCt", "B1");
    EXPECT_FALSE(b1->isReadOnly());
    QTest::keyClicks(b1, "BNCLRA70A01H501X");
    vista.scrivi();
    ct.post();
    EXPECT_EQ(valore("select B1 from QuadroCt"), "BNCLRA70A01H501X");

    vista.setSolaLettura(true);
    EXPECT_TRUE(b1->isReadOnly());
    vista.setSolaLettura(false);
    EXPECT_FALSE(b1->isReadOnly());

    // unbinding leaves the boxes empty
    vista.collega("QuadroCt", nullptr);
    vista.carica();
    EXPECT_EQ(b1->text(), "");
    EXPECT_TRUE(b1->isReadOnly());
}

TEST_F(VistaPaginaTest, OgniCampoHaIlSuoBoxSopraIlRiquadro) {
    for (const forms::Pagina* p : forms::PagineCertificato()) {
        forms::VistaPagina vista(*p);
        for (const auto& c : p->campi) {
            QWidget* w = vista.box(c.tabella, c.colonna);
            ASSERT_TRUE(w) << c.colonna.toStdString();
            if (c.solaLettura) continue;
            EXPECT_TRUE(c.rettangolo.adjusted(-2, -2, 2, 2).contains(QRectF(w->geometry())))
                << p->nome.toStdString() << " " << c.colonna.toStdString();
            const char* atteso = c.tipo == forms::TipoCampo::Testo     ? "QLineEdit"
                                 : c.tipo == forms::TipoCampo::Casella ? "QCheckBox"
                                                                       : "QComboBox";
            EXPECT_TRUE(w->inherits(atteso)) << c.colonna.toStdString();
        }
    }
}

}  // namespace

namespace {

// The agent's boxes take no more than their columns hold: typing goes no further.
TEST_F(VistaPaginaTest, BoxDelSostitutoLimitatiAllaColonna) {
    storage::Dataset ds(conn_);
    ds.open(storage::TutteLeRighe(storage::Tabella::SostitutoImposta));
    forms::VistaPagina vista(forms::Frontespizio());
    vista.collega("SostitutoImposta", &ds);
    vista.carica();
    const struct {
        const char* colonna;
        int caratteri;
    } casi[] = {{"CodiceFiscale", 16}, {"TelefonoPref", 10}, {"CFRapp", 16}, {"A7", 4}, {"CognomeDenominazione", 0}};
    for (const auto& c : casi) {
        auto* e = box<QLineEdit>(vista, "SostitutoImposta", c.colonna);
        ASSERT_TRUE(e);
        e->clear();
        QTest::keyClicks(e, QString(40, QLatin1Char('9')));
        EXPECT_EQ(e->text().size(), c.caratteri ? c.caratteri : 40) << c.colonna;
    }
    forms::VistaPagina ct(forms::PaginaQuadroCT());
    EXPECT_EQ(box<QLineEdit>(ct, "QuadroCt", "NumCellulare")->maxLength(), 50);
}

}  // namespace
