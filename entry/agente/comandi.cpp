#include "entry/agente/comandi.h"

#include <QAction>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace agente {

namespace {

// A printer, drawn: the style offers no picture for it.
QIcon iconaStampa() {
    QPixmap p(48, 48);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(70, 70, 70), 2));
    g.setBrush(Qt::white);
    g.drawRect(QRectF(13, 5, 22, 16));  // paper coming in
    g.setBrush(QColor(120, 125, 135));
    g.drawRoundedRect(QRectF(5, 18, 38, 17), 4, 4);  // body
    g.setBrush(Qt::white);
    g.drawRect(QRectF(13, 29, 22, 14));  // paper coming out
    g.setPen(QPen(QColor(90, 90, 90), 1.5));
    g.drawLine(QPointF(16, 34), QPointF(32, 34));
    g.drawLine(QPointF(16, 38), QPointF(28, 38));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(80, 200, 80));
    g.drawEllipse(QPointF(37, 23), 2, 2);
    return QIcon(p);
}

}  // namespace

QToolBar* barraComandi(QWidget* finestra, const std::function<void()>& salva,
                       const std::function<void()>& stampa, const std::function<void()>& chiudi) {
    auto* barra = new QToolBar(finestra);
    barra->setObjectName(QStringLiteral("barraComandi"));
    barra->setIconSize(QSize(28, 28));
    barra->setMovable(false);
    auto aggiungi = [&](const QIcon& icona, const QString& testo, const char* nome,
                        const std::function<void()>& azione) {
        QAction* a = barra->addAction(icona, testo);
        a->setToolTip(testo);
        a->setObjectName(QLatin1String(nome));
        QObject::connect(a, &QAction::triggered, finestra, azione);
        if (auto* b = barra->widgetForAction(a)) b->setObjectName(QLatin1String(nome) + QStringLiteral("Bottone"));
    };
    QStyle* s = finestra->style();
    aggiungi(s->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Salva"), "Salva", salva);
    aggiungi(iconaStampa(), QStringLiteral("Stampa"), "Stampa", stampa);
    aggiungi(s->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Chiudi"), "Chiudi",
             chiudi);
    return barra;
}

}  // namespace agente
