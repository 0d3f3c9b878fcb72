#include "app/attesa.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TFAttendere::TFAttendere(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("TFAttendere"));
    setWindowTitle(QStringLiteral("Avvio in corso, attendere prego"));
    auto* l = new QVBoxLayout(this);
    auto* testo = new QLabel(QStringLiteral("Avvio in corso, attendere prego"), this);
    testo->setAlignment(Qt::AlignCenter);
    l->addWidget(testo);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 10);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    l->addWidget(ProgressBar1);
    setFixedSize(340, 90);
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
}

void TFAttendere::passo(int v) {
    ProgressBar1->setValue(v);
    passi_.push_back(v);
    if (isVisible()) repaint();
}

int TFAttendere::valore() const { return ProgressBar1->value(); }
