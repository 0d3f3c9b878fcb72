#include "entry/editorcertificati.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "forms/vistapagina.h"
#include "ui/dialoghi.h"

namespace entry {

bool inModifica(const storage::Dataset& d) {
    using S = storage::Dataset::State;
    return d.state() == S::Edit || (d.state() == S::Insert && d.modified());
}

namespace {

void impostaTesto(QWidget* w, const QString& testo) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(testo);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable())
            c->setEditText(testo);
        else
            c->setCurrentIndex(c->findText(testo));
    } else if (auto* k = qobject_cast<QCheckBox*>(w)) {
        k->setChecked(!testo.trimmed().isEmpty());
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(testo);
    }
}

}  // namespace

void mostraCampo(forms::VistaPagina& vista, const QString& tabella, const QString& colonna,
                 const QString& testo) {
    impostaTesto(vista.box(tabella, colonna), testo);
}

EditorCertificati::EditorCertificati(storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn) {}

bool EditorCertificati::chiudiFinestra() {
    // A hidden window was closed already: its question was answered then.
    if (!isVisible()) return true;
    return close();
}

void EditorCertificati::closeEvent(QCloseEvent* e) {
    bool chiudi = false;
    esegui([&] { chiudi = confermaChiusura(); });
    if (chiudi)
        e->accept();
    else
        e->ignore();
}

bool EditorCertificati::esegui(const std::function<void()>& azione) { return ui::esegui(this, azione); }

QToolButton* EditorCertificati::pulsante(const QString& parola, const QIcon& ic,
                                         const std::function<void()>& azione) {
    auto* b = new QToolButton(this);
    b->setObjectName(parola);
    b->setToolTip(parola);
    b->setText(parola);
    b->setIcon(ic);
    b->setIconSize(QSize(24, 24));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setMinimumWidth(58);
    connect(b, &QToolButton::clicked, this, [this, azione] { esegui(azione); });
    return b;
}

void EditorCertificati::pulsantiModifica(QHBoxLayout* barra) {
    barra->addWidget(pulsante(QStringLiteral("Salva"), icona(Icona::Salva), [this] { salva(); }));
    barra->addWidget(pulsante(QStringLiteral("Aggiungi"), icona(Icona::Aggiungi), [this] { aggiungi(); }));
    barra->addWidget(pulsante(QStringLiteral("Modifica"), icona(Icona::Modifica), [this] { modifica(); }));
    barra->addWidget(pulsante(QStringLiteral("Annulla"), icona(Icona::Annulla), [this] { annulla(); }));
    barra->addWidget(pulsante(QStringLiteral("Cancella"), icona(Icona::Cancella), [this] { cancella(); }));
}

QToolButton* EditorCertificati::pulsanteChiudi() {
    return pulsante(QStringLiteral("Chiudi"), icona(Icona::Chiudi), [this] { close(); });
}

QLineEdit* EditorCertificati::casellaTestata(const QString& nome, int larghezza) {
    auto* e = new QLineEdit(this);
    e->setObjectName(nome);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setFixedWidth(larghezza);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, QColor(240, 240, 240));
    e->setPalette(p);
    return e;
}

void EditorCertificati::creaSchede(std::initializer_list<std::pair<const forms::Pagina*, QString>> pagine) {
    schede_ = new QTabWidget(this);
    for (const auto& [pagina, titolo] : pagine) {
        const std::size_t i = viste_.size();
        auto* v = new forms::VistaPagina(*pagina);
        viste_.push_back(v);
        caricata_.push_back(false);
        schede_->addTab(scheda(v), titolo);
        connect(v, &forms::VistaPagina::modificato, this, [this, i] {
            if (caricando_ || !caricata_[i]) return;
            esegui([&] {
                viste_[i]->scrivi();
                aggiornaTestata();
            });
        });
    }
    connect(schede_, &QTabWidget::currentChanged, this, [this] { esegui([this] { caricaVisibile(); }); });
}

void EditorCertificati::componi(QHBoxLayout* barra, QHBoxLayout* testata) {
    auto* tutto = new QVBoxLayout(this);
    tutto->setContentsMargins(4, 4, 4, 4);
    tutto->addLayout(barra);
    tutto->addLayout(testata);
    tutto->addWidget(schede_, 1);
    resize(860, 820);
    caricaPagine();
}

void EditorCertificati::paginaIniziale() { schede_->setCurrentIndex(0); }

void EditorCertificati::caricaPagine() {
    caricata_.assign(caricata_.size(), false);
    caricaVisibile();
    aggiornaTestata();
}

void EditorCertificati::caricaVisibile() {
    const auto i = static_cast<std::size_t>(std::max(0, schede_->currentIndex()));
    if (caricata_[i]) return;
    caricando_ = true;
    mostraPagina(*viste_[i]);
    caricando_ = false;
    caricata_[i] = true;
}

void EditorCertificati::scriviPagineCaricate() {
    for (std::size_t i = 0; i < viste_.size(); ++i)
        if (caricata_[i]) viste_[i]->scrivi();
}

bool EditorCertificati::certificatoPresente(bool presente) {
    if (!presente) ui::informa(this, kNessunCertificato);
    return presente;
}

bool EditorCertificati::cancellazioneConfermata(bool presente) {
    return certificatoPresente(presente) && ui::chiedi(this, kDomandaCancellazione);
}

QScrollArea* EditorCertificati::scheda(forms::VistaPagina* vista) {
    auto* area = new QScrollArea;
    area->setBackgroundRole(QPalette::Base);
    QPalette p = area->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Window, Qt::white);
    area->setPalette(p);
    area->setAutoFillBackground(true);
    area->setWidget(vista);
    area->setWidgetResizable(false);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return area;
}

namespace {

void freccia(QPainter& p, bool destra, qreal x) {
    QPainterPath t;
    if (destra) {
        t.moveTo(x, 6);
        t.lineTo(x + 9, 12);
        t.lineTo(x, 18);
    } else {
        t.moveTo(x + 9, 6);
        t.lineTo(x, 12);
        t.lineTo(x + 9, 18);
    }
    t.closeSubpath();
    p.fillPath(t, QColor(40, 80, 150));
}

// A white sheet outlined in grey, the ground of the printing and copying pictures.
void foglio(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

}  // namespace

QIcon icona(Icona i) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blu(40, 80, 150), verde(30, 130, 60), rosso(190, 40, 40), grigio(90, 90, 90);
    switch (i) {
    case Icona::Salva:
        p.setPen(QPen(blu, 1.5));
        p.setBrush(QColor(200, 215, 240));
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3.5, 10, 6));
        p.fillRect(QRectF(7, 13, 10, 7.5), blu);
        break;
    case Icona::Aggiungi:
        p.fillRect(QRectF(10, 3, 4, 18), verde);
        p.fillRect(QRectF(3, 10, 18, 4), verde);
        break;
    case Icona::Modifica: {
        p.setPen(QPen(QColor(170, 120, 20), 4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(6, 18), QPointF(18, 6));
        p.setPen(QPen(grigio, 1.5));
        p.drawLine(QPointF(3, 21), QPointF(6, 18));
        break;
    }
    case Icona::Annulla: {
        p.setPen(QPen(blu, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 6, 14, 13), 90 * 16, -250 * 16);
        QPainterPath t;
        t.moveTo(12, 2);
        t.lineTo(7, 6.5);
        t.lineTo(12, 11);
        t.closeSubpath();
        p.fillPath(t, blu);
        break;
    }
    case Icona::Cancella:
    case Icona::Chiudi:
        p.setPen(QPen(i == Icona::Cancella ? rosso : grigio, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    case Icona::Stampa:
        foglio(p, QRectF(7, 3, 10, 7));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(2.5, 9, 19, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 15, 10, 6));
        break;
    case Icona::Anteprima:
        foglio(p, QRectF(3.5, 2.5, 13, 18));
        p.setPen(QPen(blu, 2));
        p.setBrush(QColor(220, 235, 255));
        p.drawEllipse(QRectF(10, 10, 8, 8));
        p.drawLine(QPointF(17, 17), QPointF(21.5, 21.5));
        break;
    case Icona::Primo:
        p.fillRect(QRectF(5, 6, 2.5, 12), blu);
        freccia(p, false, 9);
        break;
    case Icona::Precedente:
        freccia(p, false, 7);
        break;
    case Icona::Successivo:
        freccia(p, true, 8);
        break;
    case Icona::Ultimo:
        freccia(p, true, 6);
        p.fillRect(QRectF(16.5, 6, 2.5, 12), blu);
        break;
    case Icona::Copia:
        foglio(p, QRectF(3.5, 3.5, 11, 13));
        p.setBrush(QColor(220, 235, 255));
        p.drawRect(QRectF(9.5, 8.5, 11, 13));
        break;
    }
    p.end();
    return QIcon(pm);
}

QWidget* EditorCertificati::navigatore() {
    auto* cornice = new QFrame(this);
    cornice->setFrameShape(QFrame::StyledPanel);
    auto* nav = new QHBoxLayout(cornice);
    nav->setContentsMargins(2, 0, 2, 0);
    nav->setSpacing(0);
    // The navigator shows its arrows only; the words are the tooltips.
    const auto freccia = [&](const QString& parola, Icona i, const std::function<void()>& azione) {
        QToolButton* b = pulsante(parola, icona(i), azione);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setMinimumWidth(34);
        nav->addWidget(b);
    };
    freccia(QStringLiteral("Primo"), Icona::Primo, [this] { primo(); });
    freccia(QStringLiteral("Precedente"), Icona::Precedente, [this] { precedente(); });
    freccia(QStringLiteral("Successivo"), Icona::Successivo, [this] { successivo(); });
    freccia(QStringLiteral("Ultimo"), Icona::Ultimo, [this] { ultimo(); });
    return cornice;
}

void EditorCertificati::primo() {
    sposta([this] { elenco().first(); });
}

void EditorCertificati::precedente() {
    sposta([this] {
        if (elenco().position() > 0) elenco().prior();
    });
}

void EditorCertificati::successivo() {
    sposta([this] {
        if (elenco().position() + 1 < elenco().rowCount()) elenco().next();
    });
}

void EditorCertificati::ultimo() {
    sposta([this] { elenco().last(); });
}

void EditorCertificati::spostaA(std::size_t posizione) {
    storage::Dataset& d = elenco();
    if (!d.isOpen() || posizione >= d.rowCount()) return;
    if (posizione == d.position() && rigaCorrenteSalvata()) return;
    sposta([&] { d.moveTo(posizione); });
}

bool EditorCertificati::vaiACertificato(std::int64_t id) {
    apriElencoSeChiuso();
    // Through spostaA, so that the certificate left keeps what was typed.
    const auto posizione = elenco().positionOf(id);
    if (posizione) spostaA(*posizione);
    return posizione.has_value();
}

}  // namespace entry
