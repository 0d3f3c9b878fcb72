#include "forms/valori.h"

#include <QFont>
#include <QPainter>

namespace forms {

QRectF RettangoloSu(const Pagina& pagina, const Campo& campo, const QRectF& destinazione) {
    const qreal sx = destinazione.width() / pagina.dimensione.width();
    const qreal sy = destinazione.height() / pagina.dimensione.height();
    const QRectF& r = campo.rettangolo;
    return QRectF(destinazione.x() + r.x() * sx, destinazione.y() + r.y() * sy, r.width() * sx, r.height() * sy);
}

void DisegnaValore(QPainter& painter, const Pagina& pagina, const Campo& campo, const QString& valore,
                   const QRectF& destinazione) {
    const QRectF r = RettangoloSu(pagina, campo, destinazione);
    painter.save();
    if (!campo.trasparente) painter.fillRect(r, Qt::white);
    QString testo = valore;
    if (campo.tipo == TipoCampo::Casella) testo = valore.trimmed().isEmpty() ? QString() : QStringLiteral("X");
    if (!testo.isEmpty()) {
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(campo.puntiFont);
        f.setBold(campo.grassetto);
        painter.setFont(f);
        painter.setPen(Qt::black);
        painter.setClipRect(r);
        const qreal margine = 2 * destinazione.width() / pagina.dimensione.width();
        painter.drawText(r.adjusted(margine, 0, -margine, 0), int(campo.allineamento) | Qt::TextSingleLine, testo);
    }
    painter.restore();
}

void DisegnaPagina(QPainter& painter, const Pagina& pagina, const QRectF& destinazione,
                   const std::function<QString(const Campo&)>& valore) {
    if (pagina.disegna) pagina.disegna(painter, destinazione);
    for (const auto& c : pagina.campi) DisegnaValore(painter, pagina, c, valore(c), destinazione);
}

}  // namespace forms
