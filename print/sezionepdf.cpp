#include "print/sezionepdf.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "print/uscita.h"
#include "storage/config.h"

namespace print {

SezionePdf::SezionePdf(Uscita*& uscita, QWidget* parent)
    : QGroupBox(QStringLiteral("PDF"), parent), uscita_(uscita) {
    attivo_ = new QCheckBox(QStringLiteral("Un PDF per certificato"), this);
    attivo_->setObjectName(QStringLiteral("CbPdfPerCertificato"));
    attivo_->setToolTip(QStringLiteral(
        "Invece di stampare, scrive un file PDF per ogni certificato nella cartella indicata"));
    cartella_ = new QLineEdit(this);
    cartella_->setObjectName(QStringLiteral("EdCartellaPdf"));
    cartella_->setText(QString::fromStdString(storage::cartellaUtente("RAVO/Zefo2015/PDF")));
    auto* sfoglia = new QPushButton(QStringLiteral("..."), this);
    sfoglia->setObjectName(QStringLiteral("BtSfogliaPdf"));
    sfoglia->setToolTip(QStringLiteral("Scegli la cartella"));
    sfoglia->setFixedWidth(32);
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

}  // namespace print
