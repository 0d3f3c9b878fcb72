#include "forms/valori.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <cmath>

namespace forms {

namespace {

QFont arial(qreal punti, bool grassetto) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return f;
}

// A value set beyond its box has a white ground and a frame of its own, so it reads as one box.
void allarga(QPainter& p, const QRectF& spazio, const StileValore& s, qreal pixel) {
    if (s.trasparente) return;
    p.fillRect(spazio, Qt::white);
    p.setPen(QPen(QColor(60, 60, 60), 0.6 * pixel));
    p.setBrush(Qt::NoBrush);
    p.drawRect(spazio.adjusted(-0.5 * pixel, -0.5 * pixel, 0.5 * pixel, 0.5 * pixel));
}

}  // namespace

const QFont& Caratteri::arial(qreal punti, bool grassetto) {
    auto [it, nuovo] = fonts_.try_emplace({punti, grassetto});
    if (nuovo) it->second = forms::arial(punti, grassetto);
    return it->second;
}

bool ScriviValore(QPainter& p, const QString& testo, const QRectF& box, const QRectF& spazioCella, const StileValore& s,
                  qreal scalaPunti, qreal pixel, Caratteri& caratteri) {
    if (s.cornice) allarga(p, box, s, pixel);
    // the drawing's box is white already: an empty value adds nothing to the page
    if (testo.isEmpty()) return true;
    // inset by a hair so that the box's frame, part of the drawing, stays visible
    if (!s.cornice && !s.trasparente) p.fillRect(box.adjusted(pixel, pixel, -pixel, -pixel), Qt::white);
    const QRectF spazio = spazioCella.isEmpty() ? box : spazioCella.united(box);
    const qreal margine = 1.5 * pixel;
    const QRectF area = box.adjusted(margine, 0, -margine, 0);
    const QRectF larga = spazio.adjusted(margine, 0, -margine, 0);
    Qt::Alignment al = s.allineamento;
    if (!(al & Qt::AlignVertical_Mask)) al |= Qt::AlignVCenter;
    if (!(al & Qt::AlignHorizontal_Mask)) al |= Qt::AlignLeft;
    const int sinistra = Qt::AlignLeft | Qt::AlignVCenter;

    // the first way that holds the whole value: the box, the cell's free width, the box's lines,
    // each at the value's size and then smaller; else the value is cut at the smallest size
    bool intero = true;
    QString scritto = testo;
    QRectF dove = larga;
    int flags = sinistra | Qt::TextSingleLine;
    QFont f;
    for (qreal punti = s.punti;; punti -= 0.5) {
        f = caratteri.arial(punti * scalaPunti, s.grassetto);
        const QFontMetricsF fm(f, p.device());
        const qreal w = fm.horizontalAdvance(testo);
        if (w <= area.width()) {
            dove = area;
            flags = int(al) | Qt::TextSingleLine;
            break;
        }
        if (w <= larga.width()) break;
        const int righe = int((box.height() - pixel) / fm.lineSpacing());
        if (righe >= 2) {
            const QRectF b = fm.boundingRect(QRectF(0, 0, larga.width(), 1e6),
                                             Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, testo);
            if (b.width() <= larga.width() + 0.01 && b.height() <= righe * fm.lineSpacing() + 0.5) {
                flags = sinistra | Qt::TextWordWrap;
                break;
            }
        }
        if (punti - 0.5 < kPuntiMinimiValore) {
            intero = false;
            scritto = fm.elidedText(testo, Qt::ElideRight, larga.width());
            break;
        }
    }
    // No clip: each way above was chosen because the text fits its rectangle, and a clip (saved
    // and restored around every value) made a PDF page restate its whole state for each box.
    if (dove != area) allarga(p, spazio, s, pixel);
    p.setPen(Qt::black);
    p.setFont(f);
    p.drawText(dove, flags | Qt::TextDontClip, scritto);
    return intero;
}

QRectF RettangoloSu(const Pagina& pagina, const QRectF& r, const QRectF& destinazione) {
    const qreal sx = destinazione.width() / pagina.dimensione.width();
    const qreal sy = destinazione.height() / pagina.dimensione.height();
    return QRectF(destinazione.x() + r.x() * sx, destinazione.y() + r.y() * sy, r.width() * sx, r.height() * sy);
}

void DisegnaSeguiti(QPainter& p, const Pagina& pagina, const QStringList& note, const QRectF& destinazione,
                    qreal scalaPunti) {
    if (note.isEmpty()) return;
    const QRectF r = RettangoloSu(
        pagina,
        QRectF(12, pagina.fondo + 4, pagina.dimensione.width() - 14, pagina.dimensione.height() - pagina.fondo - 6),
        destinazione);
    p.save();
    p.setPen(Qt::black);
    p.setFont(arial(kPuntiMinimiValore * scalaPunti, false));
    p.setClipRect(r, Qt::IntersectClip);
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note.join(QLatin1Char('\n')));
    p.restore();
}

bool DisegnaValore(QPainter& painter, const Pagina& pagina, const Campo& campo, const QString& valore,
                   const QRectF& destinazione) {
    QString testo = valore.trimmed();
    if (campo.tipo == TipoCampo::Casella) testo = testo.isEmpty() ? QString() : QStringLiteral("X");
    const qreal pixel = destinazione.width() / pagina.dimensione.width();
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const StileValore stile{campo.puntiFont, campo.grassetto, campo.allineamento, campo.trasparente};
    Caratteri caratteri;
    return ScriviValore(painter, testo, RettangoloSu(pagina, campo.rettangolo, destinazione),
                        RettangoloSu(pagina, campo.spazio, destinazione), stile, pixel * 96.0 / dpi, pixel, caratteri);
}

void DisegnaPagina(QPainter& painter, const Pagina& pagina, const QRectF& destinazione,
                   const std::function<QString(const Campo&)>& valore) {
    if (pagina.disegna) pagina.disegna(painter, destinazione, Supporto::Carta);
    QStringList seguiti;
    for (const auto& c : pagina.campi) {
        if (c.soloSchermo) continue;
        const QString v = valore(c);
        if (!DisegnaValore(painter, pagina, c, v, destinazione))
            seguiti << QStringLiteral("segue: %1: %2").arg(c.riferimento, v.trimmed());
    }
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    DisegnaSeguiti(painter, pagina, seguiti, destinazione,
                   destinazione.height() / pagina.dimensione.height() * 96.0 / dpi);
}

}  // namespace forms
