#pragma once

// Pictures of the image buttons that the style does not offer, drawn so they are sharp at any size.

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace ui {

// "Chiudi": a red disc with a white cross.
inline QIcon iconaChiudi() {
    QPixmap p(48, 48);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(150, 20, 20), 2));
    g.setBrush(QColor(210, 45, 45));
    g.drawEllipse(QRectF(5, 5, 38, 38));
    g.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(17, 17), QPointF(31, 31));
    g.drawLine(QPointF(31, 17), QPointF(17, 31));
    return QIcon(p);
}

// "Stampa": a printer with a sheet going in and one coming out.
inline QIcon iconaStampa() {
    QPixmap p(48, 48);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(70, 70, 70), 2));
    g.setBrush(Qt::white);
    g.drawRect(QRectF(13, 5, 22, 16));
    g.setBrush(QColor(120, 125, 135));
    g.drawRoundedRect(QRectF(5, 18, 38, 17), 4, 4);
    g.setBrush(Qt::white);
    g.drawRect(QRectF(13, 29, 22, 14));
    g.setPen(QPen(QColor(90, 90, 90), 1.5));
    g.drawLine(QPointF(16, 34), QPointF(32, 34));
    g.drawLine(QPointF(16, 38), QPointF(28, 38));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(80, 200, 80));
    g.drawEllipse(QPointF(37, 23), 2, 2);
    return QIcon(p);
}

// The closing image button at the bottom-left of the program's windows.
inline QToolButton* bottoneChiudi(QWidget* finestra, const char* nome) {
    auto* b = new QToolButton(finestra);
    b->setObjectName(QLatin1String(nome));
    b->setToolTip(QStringLiteral("Chiudi"));
    b->setIcon(iconaChiudi());
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    QObject::connect(b, &QToolButton::clicked, finestra, &QWidget::close);
    return b;
}

}  // namespace ui
