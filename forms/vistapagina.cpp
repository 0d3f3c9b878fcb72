#include "forms/vistapagina.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include "storage/dataset.h"

namespace forms {

struct VistaPagina::Box {
    const Campo* campo = nullptr;
    QWidget* widget = nullptr;
    QLineEdit* linea = nullptr;
    QCheckBox* spunta = nullptr;
    QComboBox* elenco = nullptr;
    bool modificato = false;  // typed into since the last carica()
    bool maiuscole = false;   // what is typed turns to capitals
    QString stile;            // the box's style sheet when not marked
    Esame::Gravita segno = Esame::Giusto;

    QString valore() const {
        if (linea) return linea->text();
        if (spunta) return spunta->isChecked() ? QStringLiteral("X") : QString();
        return elenco->currentText();
    }
    void mostra(const QString& v) {
        if (linea) {
            linea->setText(v);
            linea->setCursorPosition(0);
        } else if (spunta) {
            spunta->setChecked(!v.trimmed().isEmpty());
        } else {
            const int i = elenco->findText(v, Qt::MatchExactly);
            elenco->setCurrentIndex(i);
            if (i < 0) elenco->setEditText(v);
        }
    }
    void setScrivibile(bool si) {
        if (linea)
            linea->setReadOnly(!si);
        else
            widget->setEnabled(si);
    }
};

namespace {

QString chiave(const QString& tabella) { return tabella.toLower(); }

QFont fontDi(const Campo& c) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(c.puntiFont);
    f.setBold(c.grassetto);
    return f;
}

QString coloreSfondo(const Campo& c) { return c.sfondo.isValid() ? c.sfondo.name() : QStringLiteral("white"); }

// A marked box: a thick border and a pale background, the text black and readable.
QString stileSegnato(const char* classe, Esame::Gravita g) {
    const bool errore = g == Esame::Errore;
    return QStringLiteral("%1 { border: 2px solid %2; background: %3; color: black; padding: 0; }")
        .arg(QLatin1String(classe), errore ? QStringLiteral("#c00000") : QStringLiteral("#c87800"),
             errore ? QStringLiteral("#ffd5d5") : QStringLiteral("#fff0c0"));
}

}  // namespace

VistaPagina::VistaPagina(const Pagina& pagina, QWidget* parent) : QWidget(parent), pagina_(pagina) {
    setFixedSize(pagina_.dimensione.toSize());
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (const auto& c : pagina_.campi) {
        auto* b = new Box;
        b->campo = &c;
        const QRect r = c.rettangolo.toAlignedRect();
        switch (c.tipo) {
        case TipoCampo::Testo: {
            auto* e = new QLineEdit(this);
            e->setFrame(false);
            e->setAlignment(c.allineamento);
            b->stile = QStringLiteral(
                           "QLineEdit { border: 1px solid #5a6f8c; background: %1; padding: 0 1px; }"
                           "QLineEdit:read-only { background: %2; }")
                           .arg(coloreSfondo(c), c.sfondo.isValid() ? c.sfondo.name() : kSfondoSenzaDigitazione.name());
            e->setStyleSheet(b->stile);
            if (c.larghezzaMassima > 0) e->setMaxLength(c.larghezzaMassima);
            e->setReadOnly(c.solaLettura);
            connect(e, &QLineEdit::textEdited, this, [this, b, e](const QString& testo) {
                if (b->maiuscole && testo != testo.toUpper()) {
                    const int cursore = e->cursorPosition();
                    e->setText(testo.toUpper());
                    e->setCursorPosition(cursore);
                }
                b->modificato = true;
                // a display of the same column (the tax code in a page's header) follows the typing
                for (Box* altro : boxes_)
                    if (altro != b && altro->campo->solaLettura &&
                        altro->campo->tabella.compare(b->campo->tabella, Qt::CaseInsensitive) == 0 &&
                        altro->campo->colonna.compare(b->campo->colonna, Qt::CaseInsensitive) == 0)
                        altro->mostra(b->valore());
                emit modificato();
            });
            connect(e, &QLineEdit::editingFinished, this, [this, b] { esamina(b, true); });
            b->linea = e;
            b->widget = e;
            break;
        }
        case TipoCampo::Casella: {
            auto* s = new QCheckBox(this);
            const int lato = std::max(8, std::min(r.width(), r.height()) - 3);
            s->setStyleSheet(QStringLiteral("QCheckBox { spacing: 0; background: transparent; }"
                                            "QCheckBox::indicator { width: %1px; height: %1px; }")
                                 .arg(lato));
            connect(s, &QCheckBox::clicked, this, [this, b] {
                b->modificato = true;
                emit modificato();
            });
            b->spunta = s;
            b->widget = s;
            break;
        }
        case TipoCampo::Elenco: {
            auto* cb = new QComboBox(this);
            cb->setEditable(true);
            cb->setInsertPolicy(QComboBox::NoInsert);
            cb->addItems(c.valori);
            b->stile = QStringLiteral("QComboBox { border: 1px solid #5a6f8c; background: %1; padding: 0 1px; }")
                           .arg(coloreSfondo(c));
            cb->setStyleSheet(b->stile);
            auto segna = [this, b] {
                b->modificato = true;
                emit modificato();
            };
            connect(cb, &QComboBox::activated, this, segna);
            connect(cb->lineEdit(), &QLineEdit::textEdited, this, segna);
            connect(cb->lineEdit(), &QLineEdit::editingFinished, this, [this, b] { esamina(b, true); });
            connect(cb, &QComboBox::activated, this, [this, b] { esamina(b, true); });
            b->elenco = cb;
            b->widget = cb;
            break;
        }
        }
        b->widget->setFont(fontDi(c));
        b->widget->setGeometry(r);
        if (!c.suggerimento.isEmpty()) b->widget->setToolTip(c.suggerimento);
        b->widget->setObjectName(c.tabella + QLatin1Char('.') + c.colonna);
        if (c.tipo == TipoCampo::Casella) {
            // the indicator is centred on the form's box
            const QSize h = b->widget->sizeHint();
            b->widget->setGeometry(
                QRect(QPoint(r.center().x() - h.width() / 2 + 1, r.center().y() - h.height() / 2 + 1), h));
        }
        if (c.solaLettura) b->widget->setFocusPolicy(Qt::NoFocus);
        boxes_.push_back(b);
    }
}

void VistaPagina::collega(const QString& tabella, storage::Dataset* dataset) {
    if (dataset)
        dataset_.insert(chiave(tabella), dataset);
    else
        dataset_.remove(chiave(tabella));
}

void VistaPagina::carica() {
    for (Box* b : boxes_) {
        const Campo& c = *b->campo;
        if (c.tabella.compare(kTabellaCalcolata, Qt::CaseInsensitive) == 0) continue;
        storage::Dataset* ds = dataset_.value(chiave(c.tabella), nullptr);
        const std::string colonna = c.colonna.toStdString();
        // a box whose row does not exist (no further section, a table not bound) shows nothing
        // and takes no typing, which would have nowhere to go
        const bool riga = ds && ds->isOpen() && (ds->state() == storage::Dataset::State::Insert || !ds->eof()) &&
                          ds->columns().indexOf(colonna) >= 0;
        b->mostra(riga ? QString::fromStdString(ds->text(colonna)) : QString());
        b->modificato = false;
        b->setScrivibile(riga && !c.solaLettura && !solaLettura_);
        b->widget->setProperty("collegato", riga);
    }
    // Judged once every box shows its value: a day is judged with its month.
    for (Box* b : boxes_) esamina(b, false);
}

void VistaPagina::scrivi() {
    for (Box* b : boxes_) {
        if (!b->modificato) continue;
        storage::Dataset* ds = dataset_.value(chiave(b->campo->tabella), nullptr);
        if (!ds || !ds->isOpen() || (ds->state() != storage::Dataset::State::Insert && ds->eof())) continue;
        ds->setText(b->campo->colonna.toStdString(), b->valore().toStdString());
        b->modificato = false;
    }
}

bool VistaPagina::modificata() const {
    for (const Box* b : boxes_)
        if (b->modificato) return true;
    return false;
}

QWidget* VistaPagina::box(const QString& tabella, const QString& colonna) const {
    QWidget* display = nullptr;
    for (const Box* b : boxes_) {
        if (b->campo->tabella.compare(tabella, Qt::CaseInsensitive) != 0 ||
            b->campo->colonna.compare(colonna, Qt::CaseInsensitive) != 0)
            continue;
        if (!b->campo->solaLettura) return b->widget;
        if (!display) display = b->widget;
    }
    return display;
}

void VistaPagina::setSolaLettura(bool sola) {
    solaLettura_ = sola;
    for (Box* b : boxes_)
        if (!b->campo->solaLettura) b->setScrivibile(!sola && b->widget->property("collegato").toBool());
}

void VistaPagina::setEsaminatore(Esaminatore esaminatore, const std::function<bool(const Campo&)>& maiuscole) {
    esaminatore_ = std::move(esaminatore);
    for (Box* b : boxes_) b->maiuscole = b->linea && !b->campo->solaLettura && maiuscole && maiuscole(*b->campo);
}

Esame::Gravita VistaPagina::segno(const QString& tabella, const QString& colonna) const {
    const QWidget* w = box(tabella, colonna);
    for (const Box* b : boxes_)
        if (b->widget == w) return b->segno;
    return Esame::Giusto;
}

void VistaPagina::esamina(Box* b, bool lasciata) {
    const Campo& c = *b->campo;
    const bool scrivibile = !c.solaLettura && b->widget->property("collegato").toBool();
    if (!esaminatore_ || b->spunta || !scrivibile) {
        segna(b, Esame::Giusto, {});
        return;
    }
    const QString valore = b->valore();
    const auto altra = [this, &c](const QString& colonna) {
        const Box* a = nullptr;
        for (const Box* x : boxes_)
            if (!x->campo->solaLettura && x->campo->tabella.compare(c.tabella, Qt::CaseInsensitive) == 0 &&
                x->campo->colonna.compare(colonna, Qt::CaseInsensitive) == 0)
                a = x;
        return a ? a->valore() : QString();
    };
    const Esame e = esaminatore_(c, valore, altra);
    if (lasciata && e.valore != valore) {
        b->mostra(e.valore);
        b->modificato = true;
        emit modificato();
    }
    segna(b, e.gravita, e.messaggio);
    if (!lasciata) return;
    // A box judged with this one (the day and month of a date) may be right now.
    for (Box* altro : boxes_)
        if (altro != b && altro->segno != Esame::Giusto) esamina(altro, false);
    emit esaminata(b->widget, e.gravita, e.messaggio);
}

void VistaPagina::segna(Box* b, Esame::Gravita g, const QString& messaggio) {
    b->widget->setProperty("problema", messaggio);
    b->widget->setProperty("gravita", static_cast<int>(g));
    if (g == b->segno && g == Esame::Giusto) return;
    b->widget->setToolTip(g == Esame::Giusto ? b->campo->suggerimento : messaggio);
    if (g == b->segno) return;
    b->segno = g;
    const char* classe = b->linea ? "QLineEdit" : "QComboBox";
    b->widget->setStyleSheet(g == Esame::Giusto ? b->stile : stileSegnato(classe, g));
}

void VistaPagina::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (pagina_.disegna) pagina_.disegna(p, QRectF(QPointF(0, 0), pagina_.dimensione), Supporto::Schermo);
}

VistaPagina::~VistaPagina() {
    for (Box* b : boxes_) delete b;
}

}  // namespace forms
