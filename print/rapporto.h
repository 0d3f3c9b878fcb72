#pragma once

// The page-report layer: a page report paints one form page and the values of its boxes; a
// job paints sheets one after another onto a paged device (printer, preview or PDF file).

#include <QFont>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "forms/pagina.h"
#include "storage/row.h"

class QPagedPaintDevice;
class QPainter;

namespace print {

// Title of every print job.
inline const QString kTitoloLavoro = QStringLiteral("Zf2015");

// The rows a page prints from, by table name (matched without regard to case). A table with no
// row reads every column as empty.
class Sorgenti {
public:
    void imposta(const QString& tabella, storage::Row riga);
    QString testo(const QString& tabella, const QString& colonna) const;

private:
    std::vector<std::pair<QString, storage::Row>> righe_;
};

// One printed item: a column's value (or a fixed text) over its box.
struct Voce {
    QString tabella;
    QString colonna;
    QString testoFisso;   // printed instead of a column when not empty
    QRectF rettangolo;    // page pixels at 96 dpi
    QRectF spazio;        // the room of its cell a long value may use (page pixels)
    QString riferimento;  // names the box in a note at the page foot
    Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter;
    qreal puntiFont = 10;
    bool grassetto = false;
    bool trasparente = false;
    bool casella = false;  // a check box: its mark sits in the middle
    bool cornice = false;  // spans boxes of the drawing: framed as one box
};

// One form page and its items; built from the page description with one item per box, then
// adjusted by the report that uses it (a variant aligns or joins a few boxes differently).
class PaginaReport {
public:
    explicit PaginaReport(const forms::Pagina& pagina);

    const forms::Pagina& pagina() const { return *pagina_; }
    const std::vector<Voce>& voci() const { return voci_; }
    std::vector<Voce>& voci() { return voci_; }
    // The (first) item of a column, or nullptr.
    Voce* voce(const QString& tabella, const QString& colonna);
    void togli(const QString& tabella, const QString& colonna);
    // Every item of the column (a page may print one column twice).
    void allinea(const QString& tabella, const QString& colonna, Qt::Alignment allineamento);
    // Prints every item of tabella from another table's row (the professional's per mille
    // sheet reads its columns from Professionisti).
    void rinominaTabella(const QString& da, const QString& a);

    // Paints the page into destinazione (device coordinates) with the items' values; a value too
    // long for its box takes the free width of its cell, wraps or is set smaller (forms::ScriviValore);
    // one that still does not fit is printed whole in a note at the page foot.
    void disegna(QPainter& painter, const QRectF& destinazione, const Sorgenti& sorgenti) const;

private:
    const forms::Pagina* pagina_;
    std::vector<Voce> voci_;
};

// Paints sheets onto a paged device, one sheet per page, each page at its natural size or, when
// that does not fit the printable area, shrunk as a whole (text included) until it does.
class Pittore {
public:
    explicit Pittore(QPagedPaintDevice& device);
    ~Pittore();
    Pittore(const Pittore&) = delete;
    Pittore& operator=(const Pittore&) = delete;

    // False when the device can't be painted (no printer, a file that can't be written).
    bool inizia();
    void foglio(const PaginaReport& pagina, const Sorgenti& sorgenti);
    bool fine();
    int fogli() const { return fogli_; }

private:
    QPagedPaintDevice& device_;
    QPainter* painter_ = nullptr;
    int fogli_ = 0;
};

// A print job: paints its sheets, in order; returns false when it was stopped before its end.
using Lavoro = std::function<bool(Pittore&)>;

// A4 portrait with 10 mm margins on every side.
void ImpostaPagina(QPagedPaintDevice& device);

}  // namespace print
