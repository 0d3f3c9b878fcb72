#pragma once

// Painting a field's value over its box, as the print shows it: the same rule serves the
// reports and the preview tool, so a value looks the same wherever a page is drawn.

#include <QRectF>
#include <QString>
#include <functional>

#include "forms/pagina.h"

class QPainter;

namespace forms {

// The box's rectangle mapped from page pixels onto the target rectangle.
QRectF RettangoloSu(const Pagina& pagina, const Campo& campo, const QRectF& destinazione);

// Paints one value: a white background unless the field is transparent, then the text in Arial
// at the field's size, weight and alignment, clipped to the box. A check box shows "X" when its
// value is not blank; an empty value paints the background only.
void DisegnaValore(QPainter& painter, const Pagina& pagina, const Campo& campo, const QString& valore,
                   const QRectF& destinazione);

// The page and every field's value (valore returns the text for a field).
void DisegnaPagina(QPainter& painter, const Pagina& pagina, const QRectF& destinazione,
                   const std::function<QString(const Campo&)>& valore);

}  // namespace forms
