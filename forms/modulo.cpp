#include "forms/modulo.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

#include "storage/certificati.h"
#include "storage/larghezze.h"

namespace forms {

const Campo* Pagina::campo(const QString& tabella, const QString& colonna) const {
    for (const auto& c : campi)
        if (c.tabella.compare(tabella, Qt::CaseInsensitive) == 0 &&
            c.colonna.compare(colonna, Qt::CaseInsensitive) == 0 && !c.solaLettura)
            return &c;
    for (const auto& c : campi)
        if (c.tabella.compare(tabella, Qt::CaseInsensitive) == 0 &&
            c.colonna.compare(colonna, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QStringList TipiRecord() {
    QStringList tipi;
    for (const storage::Tipo t : storage::kTipi) tipi << QString::fromLatin1(storage::CodiceTipo(t));
    return tipi;
}

std::vector<const Pagina*> PagineCertificato() {
    return {&CertificatoPagina1(), &CertificatoPagina2(),    &CertificatoPagina3(),
            &CertificatoPagina4(), &CertificatoPagina4bis(), &CertificatoPagina5()};
}

namespace modulo {

namespace {

// Layout is measured on a 96-dpi surface whatever the screen, so that every machine (and the
// offscreen platform of the tests) lays a page out alike.
const QPaintDevice* superficie96() {
    static const QImage img = [] {
        QImage i(4, 4, QImage::Format_ARGB32);
        i.setDotsPerMeterX(qRound(96 / 0.0254));
        i.setDotsPerMeterY(qRound(96 / 0.0254));
        return i;
    }();
    return &img;
}

QFontMetricsF metriche(const QFont& f) { return QFontMetricsF(f, superficie96()); }

Voce nuova(const QString& punto, const QString& etichetta, const QString& colonna) {
    Voce v;
    v.punto = punto;
    v.etichetta = etichetta;
    v.colonna = colonna;
    return v;
}

// A text laid out once for a device, as QPainter::drawText(rect, flags) lays it out: the lines
// filling the rectangle's width (wrapped at words where asked), each aligned across it, the block
// aligned down it, lines on whole device pixels. Its glyph runs are drawn again page after page,
// so that a batch does not shape the same labels for every sheet.
std::vector<QGlyphRun> impagina(const QString& testo, const QFont& font, QPaintDevice* device, const QRectF& r,
                                int flags) {
    QString s = testo;
    s.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(s, font, device);
    QTextOption opzione;
    opzione.setWrapMode(flags & Qt::TextWordWrap ? QTextOption::WordWrap : QTextOption::ManualWrap);
    if (flags & Qt::AlignJustify) opzione.setAlignment(Qt::AlignJustify);
    layout.setTextOption(opzione);
    const qreal interlinea = QFontMetricsF(layout.font(), device).leading();
    const qreal larga = flags & Qt::TextWordWrap ? std::max<qreal>(0, r.width()) : 1e9;
    qreal alta = -interlinea;
    layout.beginLayout();
    for (QTextLine riga = layout.createLine(); riga.isValid(); riga = layout.createLine()) {
        riga.setLineWidth(larga);
        alta = std::ceil(alta + interlinea);
        riga.setPosition(QPointF(0, alta));
        alta += riga.ascent() + riga.descent();  // unrounded, as drawText counts it
    }
    layout.endLayout();
    qreal dy = 0;
    if (flags & Qt::AlignBottom)
        dy = r.height() - alta;
    else if (flags & Qt::AlignVCenter)
        dy = (r.height() - alta) / 2;
    std::vector<QGlyphRun> corse;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine riga = layout.lineAt(i);
        qreal dx = 0;
        if (flags & Qt::AlignRight)
            dx = r.width() - riga.horizontalAdvance();
        else if (flags & Qt::AlignHCenter)
            dx = (r.width() - riga.horizontalAdvance()) / 2;
        for (QGlyphRun corsa : riga.glyphRuns()) {
            QVector<QPointF> posizioni = corsa.positions();
            for (QPointF& q : posizioni) q += QPointF(r.x() + dx, r.y() + dy);
            corsa.setPositions(posizioni);
            corse.push_back(std::move(corsa));
        }
    }
    return corse;
}

}  // namespace

QFont carattere(qreal punti, bool grassetto) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return f;
}

QRectF misura(const QString& testo, const QFont& font, qreal larghezza) {
    if (testo.isEmpty()) return {};
    return metriche(font).boundingRect(QRectF(0, 0, std::max<qreal>(larghezza, 1), 100000),
                                       Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, testo);
}

Voce importo(const QString& punto, const QString& etichetta, const QString& colonna) {
    Voce v = nuova(punto, etichetta, colonna);
    v.campione = kCampioneImporto;
    return v;
}

Voce data(const QString& punto, const QString& etichetta, const QString& colonna) {
    Voce v = nuova(punto, etichetta, colonna);
    v.campione = kCampioneData;
    return v;
}

Voce casella(const QString& punto, const QString& etichetta, const QString& colonna) {
    Voce v = nuova(punto, etichetta, colonna);
    v.tipo = TipoCampo::Casella;
    v.allineamento = Qt::AlignCenter;
    return v;
}

Voce codiceFiscale(const QString& punto, const QString& etichetta, const QString& colonna) {
    Voce v = nuova(punto, etichetta, colonna);
    v.campione = kCampioneCodiceFiscale;
    return v;
}

Voce testo(const QString& punto, const QString& etichetta, const QString& colonna, const QString& campione) {
    Voce v = nuova(punto, etichetta, colonna);
    v.campione = campione;
    return v;
}

Voce elenco(const QString& punto, const QString& etichetta, const QString& colonna, const QStringList& valori) {
    Voce v = nuova(punto, etichetta, colonna);
    v.tipo = TipoCampo::Elenco;
    v.valori = valori;
    QString piuLungo;
    for (const auto& s : valori)
        if (s.size() > piuLungo.size()) piuLungo = s;
    // room for the value and the drop-down's arrow
    v.campione = piuLungo + QStringLiteral("MMM");
    return v;
}

Voce vuota(const QString& punto, const QString& etichetta, qreal larghezza) {
    Voce v = nuova(punto, etichetta, {});
    v.larghezza = larghezza;
    return v;
}

Modulo::Modulo(QString nome, QString tabella, qreal puntiValori)
    : nome_(std::move(nome)), tabella_(std::move(tabella)), puntiValori_(puntiValori) {}

qreal Modulo::altezzaBox() const { return std::ceil(puntiValori_ * 96.0 / 72.0) + 5; }

qreal Modulo::altezzaBox(const Voce& v) const {
    if (v.righe <= 1) return altezzaBox();
    return std::max(altezzaBox(), std::ceil(v.righe * metriche(carattere(7)).lineSpacing()) + 4);
}

qreal Modulo::larghezzaBox(const Voce& v) const {
    if (v.tipo == TipoCampo::Casella) return altezzaBox();
    if (v.campione.isEmpty()) return 0;
    const qreal punti = v.puntiFont > 0 ? v.puntiFont : puntiValori_;
    return std::ceil(metriche(carattere(punti, v.grassetto)).horizontalAdvance(v.campione)) + 8;
}

void Modulo::testata(const QString& titolo, const QString& sottotitolo) {
    const qreal y = y_;
    scrivi(QRectF(x0_, y, 300, 13), QStringLiteral("Agenzia delle Entrate"), 9, true, Qt::AlignLeft | Qt::AlignTop);
    const QString cu = QStringLiteral("CERTIFICAZIONE UNICA 2015");
    const qreal wCu = std::ceil(metriche(carattere(15, true)).horizontalAdvance(cu)) + 2;
    scrivi(QRectF(x0_, y + 13, wCu, 22), cu, 15, true, Qt::AlignLeft | Qt::AlignVCenter);
    scrivi(QRectF(x0_ + wCu + 8, y + 13, 140, 22), QStringLiteral("periodo d'imposta 2014"), 8, false,
           Qt::AlignLeft | Qt::AlignVCenter);
    qreal dy = 36;
    const qreal larga = 430;
    if (!titolo.isEmpty()) {
        const QRectF r = misura(titolo, carattere(8, true), larga);
        scrivi(QRectF(x0_, y + dy, larga, r.height()), titolo, 8, true, Qt::AlignLeft | Qt::TextWordWrap);
        dy += r.height() + 1;
    }
    if (!sottotitolo.isEmpty()) {
        const QRectF r = misura(sottotitolo, carattere(7), larga);
        scrivi(QRectF(x0_, y + dy, larga, r.height()), sottotitolo, 7, false, Qt::AlignLeft | Qt::TextWordWrap);
        dy += r.height() + 1;
    }
    y_ = y + std::max<qreal>(dy, 54) + 4;
}

void Modulo::fascia(const QString& titolo, bool principale) {
    const qreal punti = principale ? 7.5 : 6.5;
    const QRectF t = misura(titolo, carattere(punti, true), larghezza_ - 8);
    const qreal h = t.height() + (principale ? 4 : 2);
    riquadro(QRectF(x0_, y_, larghezza_, h), principale ? kFascia : kFasciaSecondaria, kBordo, 0.6);
    scrivi(QRectF(x0_ + 4, y_, larghezza_ - 8, h), titolo, punti, true,
           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
    y_ += h;
}

void Modulo::nota(const QString& testo, qreal punti, bool grassetto, Qt::Alignment allineamento, QColor colore) {
    const QRectF t = misura(testo, carattere(punti, grassetto), larghezza_ - 8);
    scrivi(QRectF(x0_ + 4, y_ + 2, larghezza_ - 8, t.height()), testo, punti, grassetto,
           int(allineamento) | Qt::AlignTop | Qt::TextWordWrap, colore);
    y_ += t.height() + 4;
}

void Modulo::riga(std::vector<Voce> voci) {
    if (voci.empty()) return;
    const QFont fNumero = carattere(puntiEtichette_ + 0.5, true);
    const QFont fEtichetta = carattere(puntiEtichette_);
    qreal hBox = 0;
    for (const Voce& v : voci)
        if (!v.colonna.isEmpty() || v.soloDisegno) hBox = std::max(hBox, altezzaBox(v));

    std::vector<qreal> naturale(voci.size()), box(voci.size()), numero(voci.size());
    qreal totale = 0;
    for (std::size_t i = 0; i < voci.size(); ++i) {
        const Voce& v = voci[i];
        box[i] = v.colonna.isEmpty() && !v.soloDisegno ? 0 : larghezzaBox(v);
        numero[i] = v.punto.isEmpty() ? 0 : metriche(fNumero).horizontalAdvance(v.punto) + 3;
        naturale[i] = v.larghezza > 0 ? v.larghezza : std::max<qreal>(box[i] + 6 + v.rientro, 58);
        totale += naturale[i];
    }
    const qreal fattore = larghezza_ / totale;
    std::vector<qreal> larghe(voci.size());
    // the labels over boxes share one line height; a cell without a box (a row's heading) may
    // run its label down the cell's whole height
    qreal hEtichetta = 0, hLibera = 0;
    for (std::size_t i = 0; i < voci.size(); ++i) {
        larghe[i] = naturale[i] * fattore;
        const qreal hNumero = numero[i] > 0 ? metriche(fNumero).height() : 0;
        const qreal hTesto = misura(voci[i].etichetta, fEtichetta, larghe[i] - 4 - numero[i]).height();
        const bool conBox = !voci[i].colonna.isEmpty() || voci[i].soloDisegno;
        (conBox || hBox == 0 ? hEtichetta : hLibera) =
            std::max({conBox || hBox == 0 ? hEtichetta : hLibera, hNumero, hTesto});
    }
    const qreal hCella = std::ceil(std::max(1 + hEtichetta + 2 + (hBox > 0 ? hBox + 3 : 0), 1 + hLibera + 2));

    riga_ = Riga{y_, hCella, {}, {}, {}};
    qreal x = x0_;
    for (std::size_t i = 0; i < voci.size(); ++i) {
        const Voce& v = voci[i];
        // the last cell closes the row exactly on the region's edge
        const qreal w = i + 1 == voci.size() ? x0_ + larghezza_ - x : larghe[i];
        riga_.celle.push_back(elementi_.size());
        riquadro(QRectF(x, y_, w, hCella), kFondoCella, kBordo, 0.5);
        if (!v.punto.isEmpty())
            scrivi(QRectF(x + 2, y_ + 1, numero[i], metriche(fNumero).height()), v.punto, puntiEtichette_ + 0.5, true,
                   Qt::AlignLeft | Qt::AlignTop);
        if (!v.etichetta.isEmpty())
            scrivi(QRectF(x + 2 + numero[i], y_ + 1, w - 4 - numero[i], hCella - 2), v.etichetta, puntiEtichette_,
                   false, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        if (!v.colonna.isEmpty() || v.soloDisegno) {
            const qreal bw = box[i] > 0 ? std::min(box[i], w - 6 - v.rientro) : w - 6 - v.rientro;
            const QRectF r(x + 3 + v.rientro, y_ + hCella - hBox - 3, bw, hBox);
            const std::size_t primo = elementi_.size();
            if (v.soloDisegno) {
                riquadro(r.adjusted(-0.5, -0.5, 0.5, 0.5), Qt::white, kBordo, 0.6);
                // blank on paper, as on the form; on screen it must not look like a box to type in
                const bool soloSchermo = soloSchermo_;
                soloSchermo_ = true;
                riquadro(r.adjusted(-0.5, -0.5, 0.5, 0.5), kSfondoSenzaDigitazione, kBordo, 0.6);
                soloSchermo_ = soloSchermo;
            } else {
                Campo& c = campo(r, v);
                // a value too long for its box may use the rest of the cell
                c.spazio = QRectF(r.topLeft(), QPointF(x + w - 3, r.bottom()));
                riga_.campi.push_back(campi_.size() - 1);
            }
            for (std::size_t k = primo; k < elementi_.size(); ++k) riga_.inBasso.push_back(k);
        }
        x += w;
    }
    y_ += hCella;
}

void Modulo::allunga(const Riga& r, qreal delta) {
    for (std::size_t i : r.celle)
        if (auto* q = std::get_if<Riquadro>(&elementi_[i].cosa)) q->r.setHeight(q->r.height() + delta);
    for (std::size_t i : r.inBasso) {
        auto& e = elementi_[i].cosa;
        if (auto* q = std::get_if<Riquadro>(&e)) q->r.translate(0, delta);
        if (auto* t = std::get_if<Testo>(&e)) t->r.translate(0, delta);
    }
    for (std::size_t i : r.campi) {
        campi_[i].rettangolo.translate(0, delta);
        campi_[i].spazio.translate(0, delta);
    }
}

void Modulo::affianca(const std::vector<qreal>& pesi, const std::vector<std::function<void(Modulo&)>>& parti) {
    const qreal x0 = x0_, larga = larghezza_, inizio = y_;
    qreal somma = 0;
    for (qreal p : pesi) somma += p;
    qreal x = x0, fondo = inizio;
    std::vector<std::pair<Riga, qreal>> ultime;
    for (std::size_t i = 0; i < parti.size() && i < pesi.size(); ++i) {
        const qreal w = i + 1 == parti.size() ? x0 + larga - x : std::round(larga * pesi[i] / somma);
        x0_ = x;
        larghezza_ = w;
        y_ = inizio;
        riga_ = Riga{};
        parti[i](*this);
        fondo = std::max(fondo, y_);
        // only a block that ends with a row can grow
        if (riga_.y >= inizio && riga_.y + riga_.altezza == y_) ultime.emplace_back(riga_, y_);
        x += w;
    }
    for (const auto& [r, fine] : ultime)
        if (fine < fondo) allunga(r, fondo - fine);
    riga_ = Riga{};
    x0_ = x0;
    larghezza_ = larga;
    y_ = fondo;
}

void Modulo::aggiungi(std::variant<Testo, Linea, Riquadro> e) { elementi_.push_back({std::move(e), soloSchermo_}); }

void Modulo::scrivi(const QRectF& r, const QString& testo, qreal punti, bool grassetto, int flags, QColor colore) {
    aggiungi(Testo{r, testo, punti, grassetto, flags, colore});
}

void Modulo::linea(const QLineF& l, qreal spessore, QColor colore) { aggiungi(Linea{l, spessore, colore}); }

void Modulo::riquadro(const QRectF& r, QColor riempimento, QColor bordo, qreal spessore) {
    aggiungi(Riquadro{r, riempimento, bordo, spessore});
}

Campo& Modulo::campo(const QRectF& r, const Voce& v) {
    Campo c;
    c.tabella = v.tabella.isEmpty() ? tabella_ : v.tabella;
    c.colonna = v.colonna;
    c.rettangolo = r;
    c.allineamento = v.allineamento;
    c.puntiFont = v.puntiFont > 0 ? v.puntiFont : puntiValori_;
    c.grassetto = v.grassetto;
    c.trasparente = v.trasparente;
    c.larghezzaMassima = v.larghezzaMassima > 0
                             ? v.larghezzaMassima
                             : storage::LarghezzaColonna(c.tabella.toStdString(), c.colonna.toStdString());
    c.tipo = v.tipo;
    c.valori = v.valori;
    c.suggerimento = v.suggerimento;
    c.solaLettura = v.solaLettura;
    c.sfondo = v.sfondo;
    c.soloSchermo = soloSchermo_;
    c.spazio = r;
    c.campione = v.campione;
    c.riferimento = !v.nome.isEmpty()        ? v.nome
                    : !v.punto.isEmpty()     ? QStringLiteral("punto ") + v.punto
                    : !v.etichetta.isEmpty() ? v.etichetta
                                             : v.colonna;
    if (!parte_.isEmpty()) c.riferimento += QStringLiteral(" (%1)").arg(parte_);
    // the frame sits just outside the box, so a value painted over the box leaves it whole; a
    // window's display has the entry box's own frame
    if (!soloSchermo_) riquadro(r.adjusted(-0.5, -0.5, 0.5, 0.5), Qt::white, kBordo, 0.6);
    // a month's letter stands beside its box, clear of the mark
    if (!v.lettera.isEmpty())
        scrivi(QRectF(r.left() - v.rientro, r.top(), v.rientro - 1, r.height()), v.lettera, 7, true, Qt::AlignCenter,
               QColor(90, 90, 90));
    campi_.push_back(c);
    return campi_.back();
}

Campo& codicePercipiente(Modulo& m, qreal y, const QString& tabella, const QString& etichetta) {
    Voce cf = codiceFiscale({}, {}, QStringLiteral("B01"));
    cf.tabella = tabella;
    cf.solaLettura = true;
    cf.allineamento = Qt::AlignCenter;
    cf.puntiFont = kPuntiCodicePercipiente;
    const QRectF r(m.sinistra() + 446, y + 16, m.larghezzaBox(cf) + 16,
                   std::ceil(kPuntiCodicePercipiente * 96.0 / 72.0) + 5);
    m.scrivi(QRectF(r.left(), y + 2, r.width(), 12), etichetta, 6.5, true, Qt::AlignCenter);
    Campo& c = m.campo(r, cf);
    c.riferimento = QStringLiteral("codice fiscale del percipiente");
    return c;
}

void intestazioneCertificato(Modulo& m, const QString& titolo, const QString& tabella, int modulo,
                             const QString& sottotitolo) {
    const qreal y = m.y();
    m.testata(titolo, sottotitolo);
    const QRectF cf = codicePercipiente(m, y, tabella, QStringLiteral("Codice fiscale del percipiente")).rettangolo;

    const QRectF mod(m.destra() - 34, cf.top(), 34, cf.height());
    m.scrivi(QRectF(mod.left() - 20, y + 2, mod.width() + 20, 12), QStringLiteral("Mod. N."), 6.5, true,
             Qt::AlignRight | Qt::AlignVCenter);
    m.riquadro(mod, Qt::white, kBordo, 0.6);
    m.scrivi(mod, QString::number(modulo), 10, true, Qt::AlignCenter);

    // the archive's number of the certificate helps the operator, but is no number of the form
    m.setSoloSchermo(true);
    Voce id = testo({}, {}, QStringLiteral("ID"), QStringLiteral("0000000"));
    id.tabella = tabella;
    id.solaLettura = true;
    id.allineamento = Qt::AlignRight | Qt::AlignVCenter;
    const qreal wi = m.larghezzaBox(id);
    const QRectF numero(m.destra() - wi, mod.bottom() + 3, wi, m.altezzaBox());
    m.scrivi(QRectF(numero.left() - 80, numero.top(), 78, numero.height()), QStringLiteral("Certificazione n."), 6.5,
             true, Qt::AlignRight | Qt::AlignVCenter);
    m.campo(numero, id);
    m.setSoloSchermo(false);
}

Pagina Modulo::fine() {
    Pagina p;
    p.nome = nome_;
    p.dimensione = QSizeF(kLarghezzaPagina, kAltezzaPagina);
    p.campi = campi_;
    p.fondo = y_;
    // the side legend, read upwards along the left edge
    scrivi(QRectF(0, kAltezzaPagina - 4, kAltezzaPagina - 8, 10),
           QStringLiteral("Palio 2015 versione %1 – stampa redatta sul modello di Certificazione Unica 2015 approvato "
                          "con provvedimento del Direttore dell'Agenzia delle Entrate del 15 gennaio 2015")
               .arg(QStringLiteral(PALIO_VERSIONE)),
           6, false, Qt::AlignLeft | Qt::AlignVCenter, QColor(80, 80, 80));
    std::get<Testo>(elementi_.back().cosa).verticale = true;
    const QSizeF dim = p.dimensione;
    // On paper the texts' glyphs are laid out once per device resolution and place (the same for
    // every sheet of a job) and kept with the page.
    struct Impaginato {
        qreal dpi;
        QRectF dest;
        std::vector<std::vector<QGlyphRun>> testi;
    };
    auto impaginati = std::make_shared<std::vector<Impaginato>>();
    p.disegna = [elementi = elementi_, dim, impaginati](QPainter& painter, const QRectF& dest, Supporto supporto) {
        const qreal sx = dest.width() / dim.width();
        const qreal sy = dest.height() / dim.height();
        auto mappa = [&](const QRectF& r) {
            return QRectF(dest.x() + r.x() * sx, dest.y() + r.y() * sy, r.width() * sx, r.height() * sy);
        };
        auto punto = [&](const QPointF& q) { return QPointF(dest.x() + q.x() * sx, dest.y() + q.y() * sy); };
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        // a page sets a few fonts hundreds of times: each is made once and set only when it changes
        std::map<std::pair<qreal, bool>, QFont> caratteri;
        std::pair<qreal, bool> impostato{-1, false};
        const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
        std::vector<std::vector<QGlyphRun>>* glifi = nullptr;
        bool nuovi = false;
        // only where the glyphs go to a PDF (a file, a printer on this system): a preview records
        // text by its characters, and other engines are not worth the risk
        if (supporto == Supporto::Carta && painter.device() && painter.paintEngine() &&
            painter.paintEngine()->type() == QPaintEngine::Pdf) {
            for (auto& i : *impaginati)
                if (i.dpi == dpi && i.dest == dest) glifi = &i.testi;
            if (!glifi) {
                impaginati->push_back({dpi, dest, std::vector<std::vector<QGlyphRun>>(elementi.size())});
                glifi = &impaginati->back().testi;
                nuovi = true;
            }
        }
        for (std::size_t indice = 0; indice < elementi.size(); ++indice) {
            const auto& [e, soloSchermo] = elementi[indice];
            if (soloSchermo && supporto == Supporto::Carta) continue;
            if (const auto* t = std::get_if<Testo>(&e)) {
                const std::pair<qreal, bool> chiave{t->punti, t->grassetto};
                if (chiave != impostato) {
                    auto [it, nuovo] = caratteri.try_emplace(chiave);
                    if (nuovo) it->second = carattere(t->punti, t->grassetto);
                    painter.setFont(it->second);
                    impostato = chiave;
                }
                painter.setPen(t->colore);
                if (t->verticale) {
                    painter.save();
                    painter.translate(punto(t->r.topLeft()));
                    painter.rotate(-90);
                    painter.drawText(QRectF(0, 0, t->r.width() * sy, t->r.height() * sx), t->flags | Qt::TextDontClip,
                                     t->s);
                    painter.restore();
                } else if (glifi) {
                    auto& corse = (*glifi)[indice];
                    if (nuovi) corse = impagina(t->s, painter.font(), painter.device(), mappa(t->r), t->flags);
                    for (const QGlyphRun& corsa : corse) painter.drawGlyphRun(QPointF(0, 0), corsa);
                } else {
                    // laid out to fit its rectangle; a clip would cost the PDF page a state of its own
                    painter.drawText(mappa(t->r), t->flags | Qt::TextDontClip, t->s);
                }
            } else if (const auto* l = std::get_if<Linea>(&e)) {
                painter.setPen(QPen(l->colore, l->spessore * sx));
                painter.drawLine(QLineF(punto(l->l.p1()), punto(l->l.p2())));
            } else if (const auto* q = std::get_if<Riquadro>(&e)) {
                painter.setPen(q->bordo.isValid() ? QPen(q->bordo, q->spessore * sx) : QPen(Qt::NoPen));
                painter.setBrush(q->riempimento.isValid() ? QBrush(q->riempimento) : QBrush(Qt::NoBrush));
                painter.drawRect(mappa(q->r));
            }
        }
        painter.restore();
    };
    return p;
}

}  // namespace modulo
}  // namespace forms
