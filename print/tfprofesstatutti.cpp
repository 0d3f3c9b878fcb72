#include "print/tfprofesstatutti.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "print/sezionepdf.h"
#include "storage/error.h"
#include "ui/dialoghi.h"

namespace print {

TFProfesStaTutti::TFProfesStaTutti(storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn), uscita_(&UscitaPredefinita()) {
    setObjectName(QStringLiteral("TFProfesStaTutti"));
    setWindowTitle(QStringLiteral("Stampa C.U. Professionisti"));

    auto* g = new QGroupBox(QStringLiteral("Stampa per cognome"), this);
    da_ = new QLineEdit(g);
    a_ = new QLineEdit(g);
    da_->setObjectName(QStringLiteral("EdDa"));
    a_->setObjectName(QStringLiteral("EdA"));
    da_->setMinimumWidth(140);
    a_->setMinimumWidth(140);
    anteprima_ = new QCheckBox(QStringLiteral("Anteprima"), g);
    anteprima_->setObjectName(QStringLiteral("CbAnteprima"));
    auto* stampa = new QPushButton(QStringLiteral("Stampa"), g);
    stampa->setObjectName(QStringLiteral("BtStampa"));
    auto* lg = new QHBoxLayout(g);
    lg->addWidget(new QLabel(QStringLiteral("Da"), g));
    lg->addWidget(da_, 1);
    lg->addSpacing(8);
    lg->addWidget(new QLabel(QStringLiteral("a"), g));
    lg->addWidget(a_, 1);
    lg->addSpacing(12);
    lg->addWidget(anteprima_);
    lg->addWidget(stampa);

    auto* pdf = new SezionePdf(uscita_, this);
    pdfPerCertificato_ = pdf->attivo();
    cartella_ = pdf->cartella();

    auto* esci = new QGroupBox(QStringLiteral("Esci"), this);
    auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), esci);
    chiudi->setObjectName(QStringLiteral("BtChiudi"));
    auto* le = new QHBoxLayout(esci);
    le->addStretch(1);
    le->addWidget(chiudi);

    auto* l = new QVBoxLayout(this);
    l->addWidget(g);
    l->addWidget(pdf);
    l->addWidget(esci);

    connect(stampa, &QPushButton::clicked, this, &TFProfesStaTutti::stampaPerCognome);
    connect(chiudi, &QPushButton::clicked, this, &QWidget::hide);
}

void TFProfesStaTutti::stampaPerCognome() {
    std::vector<std::int64_t> ids;
    try {
        ids = SelezionaProfessionisti(conn_, da_->text().toStdString(), a_->text().toStdString());
    } catch (const storage::Error& e) {
        return ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
    if (ids.empty()) return ui::informa(this, QString::fromUtf8(kSelezioneVuota));
    OpzioniBatch o;
    o.anteprima = anteprima_->isChecked();
    o.pdfPerCertificato = pdfPerCertificato_->isChecked();
    o.cartella = cartella_->text().trimmed();
    StampaBatch(conn_, Famiglia::Professionisti, ids, o, *uscita_, this);
}

}  // namespace print
