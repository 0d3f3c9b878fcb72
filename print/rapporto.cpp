#include "print/rapporto.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <map>

namespace print {

namespace {

bool stessoNome(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Smallest size a value shrinks to before it is clipped at its box's edge.
constexpr qreal kPuntiMinimi = 5;

}  // namespace

void Sorgenti::imposta(const QString& tabella, storage::Row riga) {
    for (auto& [nome, r] : righe_) {
        if (stessoNome(nome, tabella)) {
            r = std::move(riga);
            return;
        }
    }
    righe_.emplace_back(tabella, std::move(riga));
}

QString Sorgenti::testo(const QString& tabella, const QString& colonna) const {
    for (const auto& [nome, r] : righe_) {
        if (!stessoNome(nome, tabella)) continue;
        const std::string c = colonna.toStdString();
        if (!r.has(c)) return {};
        return QString::fromStdString(r.text(c));
    }
    return {};
}

PaginaReport::PaginaReport(const forms::Pagina& pagina) : pagina_(&pagina) {
    for (const auto& c : pagina.campi) {
        if (c.tabella == forms::kTabellaCalcolata) continue;  // window-only displays
        Voce v;
        v.tabella = c.tabella;
        v.colonna = c.colonna;
        v.rettangolo = c.rettangolo;
        v.allineamento = c.allineamento;
        v.puntiFont = c.puntiFont > 0 ? c.puntiFont : 10;
        v.grassetto = c.grassetto;
        v.trasparente = c.trasparente;
        v.casella = c.tipo == forms::TipoCampo::Casella;
        voci_.push_back(std::move(v));
    }
}

Voce* PaginaReport::voce(const QString& tabella, const QString& colonna) {
    for (auto& v : voci_)
        if (stessoNome(v.tabella, tabella) && stessoNome(v.colonna, colonna)) return &v;
    return nullptr;
}

void PaginaReport::togli(const QString& tabella, const QString& colonna) {
    std::erase_if(voci_, [&](const Voce& v) {
        return stessoNome(v.tabella, tabella) && stessoNome(v.colonna, colonna);
    });
}

void PaginaReport::allinea(const QString& tabella, const QString& colonna, Qt::Alignment a) {
    for (auto& v : voci_)
        if (stessoNome(v.tabella, tabella) && stessoNome(v.colonna, colonna)) v.allineamento = a;
}

void PaginaReport::rinominaTabella(const QString& da, const QString& a) {
    for (auto& v : voci_)
        if (stessoNome(v.tabella, da)) v.tabella = a;
}

void PaginaReport::disegna(QPainter& p, const QRectF& dest, const Sorgenti& sorgenti) const {
    const QSizeF dim = pagina_->dimensione;
    if (dim.isEmpty()) return;
    p.save();
    p.setClipRect(dest);
    if (pagina_->disegna) {
        p.save();
        pagina_->disegna(p, dest);
        p.restore();
    }
    const qreal sx = dest.width() / dim.width();
    const qreal sy = dest.height() / dim.height();
    // A page pixel is 1/96 inch; a point is 1/72: the device size of a point at this scale.
    const qreal dpi = p.device() ? p.device()->logicalDpiY() : 96;
    const qreal puntiPerPunto = sy * 96.0 / dpi;
    const qreal margine = 1.5 * sx;

    std::map<std::pair<qreal, bool>, QFont> fonts;
    auto font = [&](qreal punti, bool grassetto) -> const QFont& {
        auto [it, nuovo] = fonts.try_emplace({punti, grassetto});
        if (nuovo) {
            it->second = QFont(QStringLiteral("Arial"));
            it->second.setStyleHint(QFont::SansSerif);
            it->second.setPointSizeF(punti);
            it->second.setBold(grassetto);
        }
        return it->second;
    };

    p.setPen(Qt::black);
    for (const auto& v : voci_) {
        const QRectF r(dest.left() + v.rettangolo.x() * sx, dest.top() + v.rettangolo.y() * sy,
                       v.rettangolo.width() * sx, v.rettangolo.height() * sy);
        // Inset by a hair so that the box's frame, part of the drawing, stays visible.
        if (!v.trasparente) p.fillRect(r.adjusted(sx, sy, -sx, -sy), Qt::white);
        const QString grezzo = v.testoFisso.isEmpty() ? sorgenti.testo(v.tabella, v.colonna).trimmed()
                                                 : v.testoFisso;
        // A check box holds any non-blank text when ticked: its mark is an "X".
        const QString t = v.casella && !grezzo.isEmpty() ? QStringLiteral("X") : grezzo;
        if (t.isEmpty()) continue;
        const QRectF area = r.adjusted(margine, 0, -margine, 0);
        qreal punti = v.puntiFont * puntiPerPunto;
        const qreal minimi = std::min(punti, kPuntiMinimi * puntiPerPunto);
        while (punti > minimi &&
               QFontMetricsF(font(punti, v.grassetto), p.device()).horizontalAdvance(t) >
                   area.width())
            punti = std::max(minimi, punti * 0.92);
        p.setFont(font(punti, v.grassetto));
        Qt::Alignment al = v.allineamento;
        if (!(al & Qt::AlignVertical_Mask)) al |= Qt::AlignVCenter;
        if (!(al & Qt::AlignHorizontal_Mask)) al |= Qt::AlignLeft;
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
        p.drawText(area, static_cast<int>(al) | Qt::TextSingleLine, t);
        p.restore();
    }
    p.restore();
}

Pittore::Pittore(QPagedPaintDevice& device) : device_(device) {}

Pittore::~Pittore() {
    if (painter_) {
        painter_->end();
        delete painter_;
    }
}

bool Pittore::inizia() {
    if (painter_) return true;
    painter_ = new QPainter;
    if (!painter_->begin(&device_)) {
        delete painter_;
        painter_ = nullptr;
        return false;
    }
    painter_->setRenderHint(QPainter::Antialiasing);
    painter_->setRenderHint(QPainter::TextAntialiasing);
    return true;
}

void Pittore::foglio(const PaginaReport& pagina, const Sorgenti& sorgenti) {
    if (!painter_ && !inizia()) return;
    if (fogli_ > 0) device_.newPage();
    ++fogli_;
    const qreal dpi = device_.logicalDpiX();
    const QRectF area(QPointF(0, 0), device_.pageLayout().paintRectPixels(qRound(dpi)).size());
    const QSizeF dim = pagina.pagina().dimensione;
    if (dim.isEmpty()) return;
    const QSizeF naturale = dim * (dpi / 96.0);
    // A full A4 page does not fit inside the margins: the whole sheet, text included, shrinks
    // alike, so that every value keeps its place in its box.
    const qreal k = std::min({1.0, area.width() / naturale.width(), area.height() / naturale.height()});
    painter_->save();
    painter_->translate(area.topLeft());
    painter_->scale(k, k);
    pagina.disegna(*painter_, QRectF(QPointF(0, 0), naturale), sorgenti);
    painter_->restore();
}

bool Pittore::fine() {
    if (!painter_) return false;
    const bool ok = painter_->end();
    delete painter_;
    painter_ = nullptr;
    return ok;
}

void ImpostaPagina(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

}  // namespace print
