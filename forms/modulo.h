#pragma once

// The layout rule the page descriptions are written with: a cursor walks down the page, and
// each call places a shaded section heading, a line of text, or a row of labelled cells (point
// number, label, and the box that holds a column). A page description then reads like the form.

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRectF>
#include <functional>
#include <variant>
#include <vector>

#include "forms/pagina.h"

namespace forms::modulo {

// Sample texts that size a box to what it holds.
inline const QString kCampioneImporto = QStringLiteral("99.999.999,99");
inline const QString kCampioneData = QStringLiteral("31/12/2014");
inline const QString kCampioneCodiceFiscale = QStringLiteral("RSSMRA85T10A562SX");

// One cell of a row: point number, label and (when colonna is not empty) the box of a column.
struct Voce {
    QString punto;
    QString etichetta;
    QString colonna;
    QString campione;  // sizes the box; empty: the box fills the cell
    TipoCampo tipo = TipoCampo::Testo;
    QStringList valori;
    qreal larghezza = 0;  // the cell's natural width in pixels; 0: from box and label
    Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter;
    bool grassetto = false;
    bool trasparente = false;
    bool solaLettura = false;
    qreal puntiFont = 0;  // 0: the page's value size
    QString suggerimento;
    QColor sfondo;
    QString tabella;  // empty: the page's table
    QString lettera;  // drawn faintly inside the box (month initials)
    int larghezzaMassima = 0;
    qreal rientro = 0;         // room left of the box inside its cell (for a button)
    bool soloDisegno = false;  // the box is drawn but holds no column (an empty form box)
    int righe = 1;             // lines of 7-point text the box holds (names, descriptions)
    QString nome;              // how a note names the box when point and label do not ("familiare 3, codice fiscale")
};

Voce importo(const QString& punto, const QString& etichetta, const QString& colonna);
Voce data(const QString& punto, const QString& etichetta, const QString& colonna);
Voce casella(const QString& punto, const QString& etichetta, const QString& colonna);
Voce codiceFiscale(const QString& punto, const QString& etichetta, const QString& colonna);
Voce testo(const QString& punto, const QString& etichetta, const QString& colonna, const QString& campione = {});
Voce elenco(const QString& punto, const QString& etichetta, const QString& colonna, const QStringList& valori);
// A cell with no box (a signature space, a heading cell).
Voce vuota(const QString& punto, const QString& etichetta, qreal larghezza = 0);

// Small adjustments of a cell, written inline in a row: largo(importo(...), 120).
inline Voce piccolo(Voce v, qreal punti = 8) {
    v.puntiFont = punti;
    return v;
}
inline Voce largo(Voce v, qreal larghezza) {
    v.larghezza = larghezza;
    return v;
}
inline Voce di(Voce v, const QString& tabella) {
    v.tabella = tabella;
    return v;
}
inline Voce spento(Voce v) {
    v.soloDisegno = true;
    return v;
}
inline Voce suRighe(Voce v, int righe) {
    v.righe = righe;
    return v;
}

// Fonts of the drawing, measured at 96 dpi so that the layout is the same on every machine.
QFont carattere(qreal punti, bool grassetto = false);
QRectF misura(const QString& testo, const QFont& font, qreal larghezza);

class Modulo {
public:
    Modulo(QString nome, QString tabella, qreal puntiValori = 10);

    qreal y() const { return y_; }
    void vaiA(qreal y) { y_ = y; }
    void spazio(qreal pixel) { y_ += pixel; }
    qreal sinistra() const { return x0_; }
    qreal larghezza() const { return larghezza_; }
    qreal destra() const { return x0_ + larghezza_; }
    void setTabella(const QString& tabella) { tabella_ = tabella; }
    void setPuntiValori(qreal punti) { puntiValori_ = punti; }
    void setPuntiEtichette(qreal punti) { puntiEtichette_ = punti; }
    // The part of the form the boxes that follow belong to, named in the notes at the page foot
    // where a point's number alone is ambiguous ("punto 2 (percipiente)"); empty: none.
    void setParte(const QString& parte) { parte_ = parte; }
    // While on, what is added shows in the window only (a note for the operator).
    void setSoloSchermo(bool solo) { soloSchermo_ = solo; }

    // The Agency's name, "CERTIFICAZIONE UNICA 2015" with the tax period, and the page's own
    // title (and subtitle) under it, in the left part of the page's top; the right part is
    // free for the boxes each page puts there.
    void testata(const QString& titolo, const QString& sottotitolo = {});
    // A shaded heading across the current region.
    void fascia(const QString& titolo, bool principale = true);
    // Text across the current region, wrapped.
    void nota(const QString& testo, qreal punti = 7, bool grassetto = false, Qt::Alignment allineamento = Qt::AlignLeft,
              QColor colore = Qt::black);
    // A row of cells filling the current region; each cell's spare width is shared in
    // proportion to its natural width.
    void riga(std::vector<Voce> voci);
    // Regions side by side, each as wide as its share of pesi; the cursor continues below
    // the tallest.
    void affianca(const std::vector<qreal>& pesi, const std::vector<std::function<void(Modulo&)>>& parti);

    // Free placement, for the few things no rule covers.
    void scrivi(const QRectF& r, const QString& testo, qreal punti, bool grassetto = false,
                int flags = Qt::AlignLeft | Qt::AlignVCenter, QColor colore = Qt::black);
    void linea(const QLineF& l, qreal spessore = 0.8, QColor colore = Qt::black);
    void riquadro(const QRectF& r, QColor riempimento, QColor bordo = Qt::black, qreal spessore = 0.8);
    // A box at a given place; its frame is part of the drawing.
    Campo& campo(const QRectF& r, const Voce& v);

    // Closes the page: the side legend, the end of the content (notes at the foot go below).
    Pagina fine();

    qreal altezzaBox() const;
    qreal altezzaBox(const Voce& v) const;
    qreal larghezzaBox(const Voce& v) const;

private:
    struct Testo {
        QRectF r;
        QString s;
        qreal punti;
        bool grassetto;
        int flags;
        QColor colore;
        bool verticale = false;  // read upwards, from the bottom left corner of r
    };
    struct Linea {
        QLineF l;
        qreal spessore;
        QColor colore;
    };
    struct Riquadro {
        QRectF r;
        QColor riempimento;
        QColor bordo;
        qreal spessore;
    };
    struct Elemento {
        std::variant<Testo, Linea, Riquadro> cosa;
        bool soloSchermo;
    };
    // The last row laid out: side-by-side blocks of different heights stretch their last row
    // down to the tallest block, so that the blocks end on one line.
    struct Riga {
        qreal y = -1, altezza = 0;
        std::vector<std::size_t> celle;    // the cells' grounds, which grow
        std::vector<std::size_t> inBasso;  // boxes' frames and letters, which move down
        std::vector<std::size_t> campi;    // fields, which move down
    };
    void allunga(const Riga& r, qreal delta);
    void aggiungi(std::variant<Testo, Linea, Riquadro> e);

    QString nome_;
    QString tabella_;
    qreal puntiValori_;
    qreal puntiEtichette_ = 6;
    // a strip at the left holds the side legend
    qreal x0_ = 12;
    qreal larghezza_ = kLarghezzaPagina - 14;
    qreal y_ = 0;
    bool soloSchermo_ = false;
    QString parte_;
    Riga riga_;
    std::vector<Elemento> elementi_;
    std::vector<Campo> campi_;
};

// The recipient's tax code at the top of a certificate page, the same box at the same size on
// every page, under its caption; y is the top of the page's heading. A display where the
// editor shows the page.
Campo& codicePercipiente(Modulo& m, qreal y, const QString& tabella, const QString& etichetta);

// The top of a certificate page: the title, the recipient's tax code (a display over the
// form's "Codice fiscale del percipiente" box) and, at the top right, the module number
// ("Mod. N."), 1 or, for a further section, 2; the window also shows the certificate's number.
void intestazioneCertificato(Modulo& m, const QString& titolo, const QString& tabella, int modulo = 1,
                             const QString& sottotitolo = {});

// Colours of the drawing.
inline const QColor kFondoCella(240, 243, 247);
inline const QColor kFascia(200, 208, 218);
inline const QColor kFasciaSecondaria(222, 228, 235);
inline const QColor kBordo(60, 60, 60);

}  // namespace forms::modulo
