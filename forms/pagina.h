#pragma once

// A form page is data: its size in 96-dpi pixels, its static drawing (titles, sections, labels,
// point numbers, lines, shaded headings) and its fields (the boxes that hold a column's value).
// The editor lays an entry box over each field; the print paints each field's value in it.

#include <QColor>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPainter;

namespace forms {

enum class TipoCampo {
    Testo,    // free text
    Casella,  // check box: "X" when ticked
    Elenco,   // drop-down of fixed values (valori)
};

struct Campo {
    QString tabella;    // "Zefo1", "Zefo2", "Zefo3", "Professionisti", "SostitutoImposta", "QuadroCt"
    QString colonna;    // column name, matched without regard to case
    QRectF rettangolo;  // in page pixels at 96 dpi
    Qt::Alignment allineamento = Qt::AlignLeft | Qt::AlignVCenter;
    qreal puntiFont = 10;  // print font size (Arial)
    bool grassetto = false;
    bool trasparente = false;  // printed without a white background
    int larghezzaMassima = 0;  // characters the box accepts; 0 = no limit
    TipoCampo tipo = TipoCampo::Testo;
    QStringList valori;        // for Elenco
    QString suggerimento;      // tooltip
    bool solaLettura = false;  // a display (the recipient's tax code at the top of a page)
    QColor sfondo;             // the entry box's background; invalid: white
    bool soloSchermo = false;  // a window's display (the certificate number): never on paper
    // The room of the box's cell a value may use when the box is too narrow for it (the box
    // and, at its right, the cell's free width); empty: the box alone.
    QRectF spazio;
    QString campione;     // the text that sized the box: a code of that width always fits
    QString riferimento;  // how a note at the page foot names the box ("punto 2")
};

// The field that holds no column but a value the window computes (DittaMatr).
inline const QString kTabellaCalcolata = QStringLiteral("Calcolato");

// On screen, a box that takes no typing (a read-only box, a box drawn only) has this ground,
// as a disabled box of the window system does.
inline const QColor kSfondoSenzaDigitazione(228, 230, 233);

// Where a page is drawn: a window shows a few things (notes, displays) paper never carries.
enum class Supporto { Schermo, Carta };

// A page is the printable area of an A4 sheet inside 10 mm margins (190 x 277 mm), so that it
// prints at its natural size: a point on the page is a point on paper.
inline constexpr qreal kLarghezzaPagina = 718;
inline constexpr qreal kAltezzaPagina = 1046;

// The size of the recipient's tax code at the top of every certificate page.
inline constexpr qreal kPuntiCodicePercipiente = 10;

class Pagina {
public:
    QString nome;       // e.g. "Pagina 1", "Frontespizio"
    QSizeF dimensione;  // page pixels at 96 dpi
    std::vector<Campo> campi;
    qreal fondo = 0;  // where the page's content ends: notes go below it
    // Draws the static page (not the values) into the target rectangle, scaling coordinates
    // (not the painter) so that fonts keep their point size on any device.
    std::function<void(QPainter&, const QRectF& destinazione, Supporto supporto)> disegna;

    const Campo* campo(const QString& tabella, const QString& colonna) const;
};

// The page descriptions, built once on first use.
const Pagina& Frontespizio();           // the withholding agent's frontispiece
const Pagina& PaginaQuadroCT();         // Quadro CT
const Pagina& CertificatoPagina1();     // anagraphic data (parts A and B)
const Pagina& CertificatoPagina2();     // part C, points 1 to 192
const Pagina& CertificatoPagina3();     // points 201 to 413 and dependent family members
const Pagina& CertificatoPagina4();     // social-security and INAIL, annotations
const Pagina& CertificatoPagina4bis();  // further social-security section (Zefo3)
const Pagina& CertificatoPagina5();     // self-employment (Zefo2.E01..E23)
const Pagina& CertificatoPagina6();     // 8/5/2 per mille choice sheet, first page
const Pagina& CertificatoPagina7();     // 8/5/2 per mille choice sheet, second page
const Pagina& ProfessionistaPagina1();  // professional: parts A and B (Professionisti)
const Pagina& ProfessionistaPagina2();  // professional: self-employment (Professionisti.E01..E23)

// The six pages of the employee certificate editor, in tab order (1, 2, 3, 4, 4 bis, 5).
std::vector<const Pagina*> PagineCertificato();
// The record kinds the certificate's header drop-down offers.
QStringList TipiRecord();

}  // namespace forms
