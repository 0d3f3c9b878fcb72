#pragma once

// Painting a field's value over its box, as the print shows it: the same rule serves the
// reports and the preview tool, so a value looks the same wherever a page is drawn.

#include <QFont>
#include <QRectF>
#include <QString>
#include <functional>
#include <map>
#include <utility>

#include "forms/pagina.h"

class QPainter;

namespace forms {

// A value is never set smaller than this.
inline constexpr qreal kPuntiMinimiValore = 7;

struct StileValore {
    qreal punti = 10;
    bool grassetto = false;
    Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter;
    bool trasparente = false;  // no white ground (a mark over a form's letter)
    bool cornice = false;      // the box is no frame of the drawing (boxes joined): it gets its own
};

// The Arial fonts of a page's values, made once per size and weight while the page is painted.
class Caratteri {
public:
    const QFont& arial(qreal punti, bool grassetto);

private:
    std::map<std::pair<qreal, bool>, QFont> fonts_;
};

// Sets one value in its box, all rectangles in device coordinates: at its size in the box; if it
// is too long, in the free width of the box's cell (spazio); then wrapped onto the lines the box
// holds; only then smaller, down to kPuntiMinimiValore. scalaPunti is the device's size of a
// point over the painter's, pixel that of a page pixel. Returns false when the value could not
// be set whole: it is then drawn cut, ending in "…", and the caller prints it in full elsewhere.
bool ScriviValore(QPainter& painter, const QString& testo, const QRectF& box, const QRectF& spazio,
                  const StileValore& stile, qreal scalaPunti, qreal pixel, Caratteri& caratteri);

// The box's rectangle mapped from page pixels onto the target rectangle.
QRectF RettangoloSu(const Pagina& pagina, const QRectF& rettangolo, const QRectF& destinazione);
inline QRectF RettangoloSu(const Pagina& pagina, const Campo& campo, const QRectF& destinazione) {
    return RettangoloSu(pagina, campo.rettangolo, destinazione);
}

// The notes for values that did not fit, at the page foot below its content ("segue: …").
void DisegnaSeguiti(QPainter& painter, const Pagina& pagina, const QStringList& note, const QRectF& destinazione,
                    qreal scalaPunti);

// Paints one value of a field as on paper (a check box shows "X" when its value is not blank).
// Returns false as ScriviValore does.
bool DisegnaValore(QPainter& painter, const Pagina& pagina, const Campo& campo, const QString& valore,
                   const QRectF& destinazione);

// The page as printed and every field's value (valore returns the text for a field); a window's
// displays are left out.
void DisegnaPagina(QPainter& painter, const Pagina& pagina, const QRectF& destinazione,
                   const std::function<QString(const Campo&)>& valore);

}  // namespace forms
