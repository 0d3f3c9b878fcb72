#include "print/ui/sezionibatch.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "print/ui/uscita.h"
#include "storage/archivi.h"

namespace print {

SezioneIntervallo::SezioneIntervallo(const QString& titolo, const QString& etDa, const QString& etA, const Nomi& nomi,
                                     QWidget* parent)
    : QGroupBox(titolo, parent) {
    da_ = new QLineEdit(this);
    a_ = new QLineEdit(this);
    da_->setObjectName(QString::fromLatin1(nomi.da));
    a_->setObjectName(QString::fromLatin1(nomi.a));
    da_->setMinimumWidth(140);
    a_->setMinimumWidth(140);
    anteprima_ = new QCheckBox(QStringLiteral("Anteprima"), this);
    anteprima_->setObjectName(QString::fromLatin1(nomi.anteprima));
    auto* stampa = new QPushButton(QStringLiteral("Stampa"), this);
    stampa->setObjectName(QString::fromLatin1(nomi.stampa));
    auto* l = new QHBoxLayout(this);
    l->addWidget(new QLabel(etDa, this));
    l->addWidget(da_, 1);
    l->addSpacing(8);
    l->addWidget(new QLabel(etA, this));
    l->addWidget(a_, 1);
    l->addSpacing(12);
    l->addWidget(anteprima_);
    l->addWidget(stampa);
    connect(stampa, &QPushButton::clicked, this, &SezioneIntervallo::stampa);
}

std::string SezioneIntervallo::da() const { return da_->text().toStdString(); }

std::string SezioneIntervallo::a() const { return a_->text().toStdString(); }

bool SezioneIntervallo::anteprima() const { return anteprima_->isChecked(); }

SezionePdf::SezionePdf(Uscita*& uscita, const storage::Connection& conn, QWidget* parent)
    : QGroupBox(QStringLiteral("PDF"), parent), uscita_(uscita), conn_(conn) {
    attivo_ = new QCheckBox(QStringLiteral("Un PDF per certificato"), this);
    attivo_->setObjectName(QStringLiteral("CbPdfPerCertificato"));
    attivo_->setToolTip(
        QStringLiteral("Invece di stampare, scrive un file PDF per ogni certificato nella cartella indicata"));
    cartella_ = new QLineEdit(this);
    cartella_->setObjectName(QStringLiteral("EdCartellaPdf"));
    cartellaProposta_ = QString::fromStdString(storage::cartellaDiUscita(conn_, "PDF"));
    cartella_->setText(cartellaProposta_);
    auto* sfoglia = new QPushButton(QStringLiteral("Sfoglia…"), this);
    sfoglia->setObjectName(QStringLiteral("BtSfogliaPdf"));
    sfoglia->setToolTip(QStringLiteral("Scegli la cartella"));
    cartella_->setEnabled(false);
    sfoglia->setEnabled(false);
    connect(attivo_, &QCheckBox::toggled, cartella_, &QWidget::setEnabled);
    connect(attivo_, &QCheckBox::toggled, sfoglia, &QWidget::setEnabled);
    connect(sfoglia, &QPushButton::clicked, this, [this] {
        const QString c = uscita_->chiediCartella(this, cartella_->text());
        if (!c.isEmpty()) cartella_->setText(c);
    });
    auto* l = new QHBoxLayout(this);
    l->addWidget(attivo_);
    l->addWidget(cartella_, 1);
    l->addWidget(sfoglia);
}

void SezionePdf::showEvent(QShowEvent* e) {
    const QString proposta = QString::fromStdString(storage::cartellaDiUscita(conn_, "PDF"));
    if (cartella_->text() == cartellaProposta_) cartella_->setText(proposta);
    cartellaProposta_ = proposta;
    QGroupBox::showEvent(e);
}

OpzioniBatch SezionePdf::opzioni(bool anteprima) const {
    OpzioniBatch o;
    o.anteprima = anteprima;
    o.pdfPerCertificato = attivo_->isChecked();
    o.cartella = cartella_->text().trimmed();
    return o;
}

SezionePdf* AggiungiPiede(QVBoxLayout& l, Uscita*& uscita, const storage::Connection& conn, QWidget& finestra) {
    auto* pdf = new SezionePdf(uscita, conn, &finestra);
    auto* esci = new QGroupBox(QStringLiteral("Esci"), &finestra);
    auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), esci);
    chiudi->setObjectName(QStringLiteral("BtChiudi"));
    auto* le = new QHBoxLayout(esci);
    le->addStretch(1);
    le->addWidget(chiudi);
    l.addWidget(pdf);
    l.addWidget(esci);
    QObject::connect(chiudi, &QPushButton::clicked, &finestra, &QWidget::hide);
    return pdf;
}

}  // namespace print
