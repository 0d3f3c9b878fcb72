#include "print/rapporto.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <algorithm>

#include "forms/valori.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace print {

namespace {

bool stessoNome(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

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
        if (c.soloSchermo || c.tabella == forms::kTabellaCalcolata) continue;  // window-only displays
        Voce v;
        v.tabella = c.tabella;
        v.colonna = c.colonna;
        v.rettangolo = c.rettangolo;
        v.spazio = c.spazio;
        v.riferimento = c.riferimento;
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
    std::erase_if(voci_,
                  [&](const Voce& v) { return stessoNome(v.tabella, tabella) && stessoNome(v.colonna, colonna); });
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
        pagina_->disegna(p, dest, forms::Supporto::Carta);
        p.restore();
    }
    const qreal sx = dest.width() / dim.width();
    const qreal sy = dest.height() / dim.height();
    // A page pixel is 1/96 inch; a point is 1/72: the device size of a point at this scale.
    const qreal dpi = p.device() ? p.device()->logicalDpiY() : 96;
    const qreal puntiPerPunto = sy * 96.0 / dpi;
    auto mappa = [&](const QRectF& r) {
        return QRectF(dest.left() + r.x() * sx, dest.top() + r.y() * sy, r.width() * sx, r.height() * sy);
    };

    QStringList seguiti;
    forms::Caratteri caratteri;
    for (const auto& v : voci_) {
        const QString grezzo = v.testoFisso.isEmpty() ? sorgenti.testo(v.tabella, v.colonna).trimmed() : v.testoFisso;
        // A check box holds any non-blank text when ticked: its mark is an "X".
        const QString t = v.casella && !grezzo.isEmpty() ? QStringLiteral("X") : grezzo;
        const forms::StileValore stile{v.puntiFont, v.grassetto, v.allineamento, v.trasparente, v.cornice};
        if (!forms::ScriviValore(p, t, mappa(v.rettangolo), mappa(v.spazio), stile, puntiPerPunto, sx, caratteri))
            seguiti << QStringLiteral("segue: %1: %2").arg(v.riferimento, t);
    }
    forms::DisegnaSeguiti(p, *pagina_, seguiti, dest, puntiPerPunto);
    p.restore();
}

Pittore::Pittore(QPagedPaintDevice& device) : device_(device) {}

Pittore::~Pittore() {
    if (painter_) {
        painter_->end();
        delete painter_;
    }
}

namespace {

// Qt's PDF engine compresses each page through buffers of 10 MB, taken and given back once a
// page: above glibc's default thresholds each one is a fresh mapping of the memory and its return
// to the system, which cost a third of a print's time. Kept in the process's heap instead they
// are reused page after page; the peak memory is the same.
void TrattieniBufferDiPagina() {
#ifdef __GLIBC__
    static const bool fatto = [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
        return true;
    }();
    (void)fatto;
#endif
}

}  // namespace

bool Pittore::inizia() {
    if (painter_) return true;
    TrattieniBufferDiPagina();
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
    // A page is the printable area of A4 and prints at its natural size; on a smaller sheet the
    // whole page, text included, shrinks alike, so that every value keeps its place in its box.
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
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
}

}  // namespace print
