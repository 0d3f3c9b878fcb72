#include "app/tfnondisponibile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFNonDisponibile::TFNonDisponibile(const QString& titolo, const QString& funzione, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFNonDisponibile"));
    setWindowTitle(titolo);
    auto* l = new QVBoxLayout(this);
    auto* riga = new QHBoxLayout;
    auto* icona = new QLabel(this);
    icona->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icona->setAlignment(Qt::AlignTop);
    riga->addWidget(icona);
    auto* testo = new QLabel(
        QStringLiteral("<b>%1</b><br><br>La funzione non è ancora disponibile in questa versione "
                       "del programma.")
            .arg(funzione.toHtmlEscaped()),
        this);
    testo->setObjectName(QStringLiteral("testo"));
    testo->setWordWrap(true);
    riga->addWidget(testo, 1);
    l->addLayout(riga);
    auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    connect(chiudi, &QPushButton::clicked, this, &QWidget::close);
    l->addWidget(chiudi, 0, Qt::AlignRight);
    setFixedWidth(360);
}

SegnapostoDati::SegnapostoDati(const QString& titolo, const QString& funzione)
    : finestra_(titolo, funzione) {}
