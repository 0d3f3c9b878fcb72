#include "entry/editorcertificati.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "check/casella.h"
#include "entry/testatainvio.h"
#include "forms/vistapagina.h"
#include "storage/certificati.h"
#include "storage/error.h"
#include "telematic/ui/finestracontrollo.h"
#include "ui/collocazione.h"
#include "ui/dialoghi.h"
#include "ui/icone.h"
#include "ui/tendine.h"
#include "ui/testi.h"

namespace entry {

using ui::Icona;
using ui::icona;

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

storage::Row rigaMostrata(const storage::Dataset& d) {
    auto colonne = std::make_shared<storage::Columns>(d.columns().names());
    std::vector<std::string> valori;
    valori.reserve(colonne->size());
    for (const auto& nome : colonne->names()) valori.push_back(d.text(nome));
    return storage::Row(std::move(colonne), std::move(valori));
}

void mostraCampo(forms::VistaPagina& vista, const QString& tabella, const QString& colonna, const QString& testo) {
    impostaTesto(vista.box(tabella, colonna), testo);
}

namespace {

// The toolbar's words with the letter Alt presses.
QString conTasto(const QString& parola) {
    static const QHash<QString, QString> tasti = {{QStringLiteral("Salva"), QStringLiteral("&Salva")},
                                                  {QStringLiteral("Aggiungi"), QStringLiteral("&Aggiungi")},
                                                  {QStringLiteral("Modifica"), QStringLiteral("&Modifica")},
                                                  {QStringLiteral("Annulla"), QStringLiteral("A&nnulla")},
                                                  {QStringLiteral("Cancella"), QStringLiteral("&Cancella")},
                                                  {QStringLiteral("Stampa"), QStringLiteral("S&tampa")},
                                                  {QStringLiteral("Anteprima"), QStringLiteral("Ante&prima")},
                                                  {QStringLiteral("Chiudi"), QStringLiteral("C&hiudi")},
                                                  {QStringLiteral("Controlla"), QStringLiteral("C&ontrolla")}};
    return tasti.value(parola, parola);
}

// The rows an editor's page box is stored in, by the page's table name.
std::optional<check::Tabella> tabellaDi(const QString& t) {
    const struct {
        const char* nome;
        check::Tabella tabella;
    } tabelle[] = {{"Zefo1", check::Tabella::Zefo1},
                   {"Zefo2", check::Tabella::Zefo2},
                   {"Zefo3", check::Tabella::Zefo3},
                   {"Professionisti", check::Tabella::Professionisti}};
    for (const auto& x : tabelle)
        if (t.compare(QLatin1String(x.nome), Qt::CaseInsensitive) == 0) return x.tabella;
    return std::nullopt;
}

// A box judged by the pre-send check's rules.
forms::Esame esame(const forms::Campo& c, const QString& valore, const std::function<QString(const QString&)>& altra) {
    forms::Esame e;
    e.valore = valore;
    const auto tabella = tabellaDi(c.tabella);
    if (!tabella) return e;
    const check::Giudizio g =
        check::GiudicaCasella(*tabella, c.colonna.toStdString(), valore.toStdString(), [&](std::string_view colonna) {
            return altra(QString::fromUtf8(colonna.data(), static_cast<qsizetype>(colonna.size()))).toStdString();
        });
    if (g.normalizzato) e.valore = QString::fromStdString(g.valore);
    if (!g.problemi.empty()) e.gravita = g.errore() ? forms::Esame::Errore : forms::Esame::Avviso;
    e.messaggio = QString::fromStdString(g.messaggio());
    return e;
}

bool maiuscole(const forms::Campo& c) {
    const auto tabella = tabellaDi(c.tabella);
    return tabella && check::ColonnaCodiceFiscale(*tabella, c.colonna.toStdString());
}

}  // namespace

EditorCertificati::EditorCertificati(storage::Connection& conn, QWidget* parent)
    : FinestraModifica(conn, Regola::ValoriOStatoDiModifica, parent),
      domandaCancellazione_(ui::testi::kDomandaCancellazione) {
    const std::pair<QKeySequence, std::function<void()>> tasti[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_S), [this] { salva(); }},
        {QKeySequence(Qt::Key_PageUp), [this] { precedente(); }},
        {QKeySequence(Qt::Key_PageDown), [this] { successivo(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { primo(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_End), [this] { ultimo(); }}};
    for (const auto& [tasto, azione] : tasti) {
        auto* s = new QShortcut(tasto, this);
        connect(s, &QShortcut::activated, this, [this, azione = azione] { esegui(azione); });
    }
    connect(this, &EditorCertificati::certificatoCambiato, this, &EditorCertificati::aggiornaSegni);
    connect(this, &EditorCertificati::elencoCambiato, this, &EditorCertificati::aggiornaSegni);
    connect(this, &EditorCertificati::datiCambiati, this, &EditorCertificati::aggiornaSegni);
}

bool EditorCertificati::eventFilter(QObject* oggetto, QEvent* evento) {
    // Back on a marked box, the status line says again why; on another box it says nothing.
    if (evento->type() == QEvent::FocusIn) {
        auto* w = qobject_cast<QWidget*>(oggetto);
        if (w && qobject_cast<QComboBox*>(w->parentWidget())) w = w->parentWidget();
        const QString problema = w ? w->property("problema").toString() : QString();
        if (!problema.isEmpty())
            mostraStato(w, w->property("gravita").toInt(), problema);
        else
            mostraStato(nullptr, forms::Esame::Giusto, {});
    }
    if (ui::rotellaSullaTendina(oggetto, evento)) return true;
    if (evento->type() == QEvent::ShortcutOverride) {
        const auto* k = static_cast<QKeyEvent*>(evento);
        if (k->modifiers() == Qt::ControlModifier && (k->key() == Qt::Key_Home || k->key() == Qt::Key_End)) {
            evento->ignore();
            return true;
        }
    }
    return FinestraModifica::eventFilter(oggetto, evento);
}

QString EditorCertificati::contatore() const { return contatore_ ? contatore_->text() : QString(); }

void EditorCertificati::aggiornaSegni() {
    setWindowModified(righeInSospeso());
    if (!contatore_) return;
    auto& e = const_cast<EditorCertificati*>(this)->elenco();
    const std::size_t n = e.isOpen() ? e.rowCount() : 0;
    if (e.isOpen() && e.state() == storage::Dataset::State::Insert)
        contatore_->setText(QStringLiteral("nuovo di %1").arg(ui::testi::conteggio(n)));
    else
        contatore_->setText(
            QStringLiteral("%1 di %2")
                .arg(ui::testi::conteggio(n == 0 || e.eof() ? 0 : e.position() + 1), ui::testi::conteggio(n)));
}

QToolButton* EditorCertificati::pulsante(const QString& parola, const QIcon& ic, const std::function<void()>& azione) {
    auto* b = new QToolButton(this);
    b->setObjectName(parola);
    b->setToolTip(parola);
    b->setText(conTasto(parola));
    b->setIcon(ic);
    b->setIconSize(QSize(24, 24));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setMinimumWidth(58);
    connect(b, &QToolButton::clicked, this, [this, azione] { esegui(azione); });
    return b;
}

void EditorCertificati::pulsantiModifica(QHBoxLayout* barra) {
    barra->addWidget(pulsante(ui::testi::kSalva, icona(Icona::Salva), [this] { salva(); }));
    barra->addWidget(pulsante(QStringLiteral("Aggiungi"), icona(Icona::Aggiungi), [this] { aggiungi(); }));
    barra->addWidget(pulsante(QStringLiteral("Modifica"), icona(Icona::Modifica), [this] { modifica(); }));
    barra->addWidget(pulsante(QStringLiteral("Annulla"), icona(Icona::Annulla), [this] { annulla(); }));
    barra->addWidget(pulsante(QStringLiteral("Cancella"), icona(Icona::Cancella), [this] { cancella(); }));
    barra->addWidget(pulsante(QStringLiteral("Controlla"), icona(Icona::Controlla), [this] { controlla(); }));
}

QToolButton* EditorCertificati::pulsanteChiudi() {
    return pulsante(ui::testi::kChiudi, icona(Icona::Chiudi), [this] { close(); });
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
        aree_.push_back(scheda(v));
        schede_->addTab(aree_.back(), titolo);
        v->setEsaminatore(esame, maiuscole);
        connect(v, &forms::VistaPagina::esaminata, this,
                [this](QWidget* box, forms::Esame::Gravita g, const QString& m) { mostraStato(box, g, m); });
        connect(v, &forms::VistaPagina::modificato, this, [this, i] {
            if (caricando_ || !caricata_[i]) return;
            esegui([&] {
                viste_[i]->scrivi();
                aggiornaTestata();
            });
            aggiornaSegni();
        });
        for (QComboBox* c : v->findChildren<QComboBox*>()) {
            c->setFocusPolicy(Qt::StrongFocus);
            c->installEventFilter(this);
        }
        // Enter moves on to the next box of the page, as Tab does.
        for (QLineEdit* e : v->findChildren<QLineEdit*>()) {
            e->installEventFilter(this);
            connect(e, &QLineEdit::returnPressed, v, [e] {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(e, &tab);
            });
        }
    }
    connect(schede_, &QTabWidget::currentChanged, this, [this] {
        mostraStato(nullptr, forms::Esame::Giusto, {});  // the reason of a box on another page
        esegui([this] { caricaVisibile(); });
    });
}

void EditorCertificati::creaTestataInvio(storage::Elenco elenco) {
    elencoInvii_ = elenco;
    invio_ = new TestataInvio(conn_, elenco, this);
    connect(invio_, &TestataInvio::modificato, this, &EditorCertificati::aggiornaSegni);
    // "Operazione" too changes only when opened or typed in, never under the wheel.
    for (QComboBox* c : invio_->findChildren<QComboBox*>()) ui::tendinaSenzaRotella(c);
}

bool EditorCertificati::modificheFuoriDalleRighe() const { return invio_ && invio_->modificata(); }

void EditorCertificati::salvaCertificato(std::int64_t id, std::int64_t revisioneLetta,
                                         const std::function<void()>& scrivi) {
    try {
        storage::SalvaCertificato(conn_, elencoInvii_, id, revisioneLetta, scrivi);
    } catch (const storage::Error& e) {
        if (e.causa() != storage::Error::Causa::ModificatoDaAltri) throw;
        if (ui::chiedi(this, QString::fromStdString(e.frase()), ui::Predefinito::Si)) ricaricaCertificato();
        throw ui::AzioneInterrotta();
    }
}

void EditorCertificati::salvaInvio() {
    if (invio_) invio_->salva();
}

void EditorCertificati::segnaModificato(std::int64_t id) {
    storage::SegnaModificato(conn_, elencoInvii_, id);
    if (invio_ && invio_->id() == id) invio_->ricarica();
}

void EditorCertificati::componi(QHBoxLayout* barra, QHBoxLayout* testata) {
    auto* tutto = new QVBoxLayout(this);
    tutto->setContentsMargins(4, 4, 4, 4);
    tutto->addLayout(barra);
    tutto->addLayout(testata);
    if (invio_) tutto->addWidget(invio_);
    tutto->addWidget(schede_, 1);
    stato_ = new QLabel(this);
    stato_->setObjectName(QStringLiteral("stato"));
    stato_->setTextFormat(Qt::PlainText);
    stato_->setMinimumHeight(stato_->fontMetrics().height() + 4);
    tutto->addWidget(stato_);
    resize(860, 820);
    caricaPagine();
}

QString EditorCertificati::stato() const { return stato_ ? stato_->text() : QString(); }

void EditorCertificati::mostraStato(QWidget* box, int gravita, const QString& messaggio) {
    if (!stato_) return;
    if (gravita == forms::Esame::Giusto) {
        if (box && box != statoDi_) return;
        statoDi_ = nullptr;
        stato_->clear();
        return;
    }
    statoDi_ = box;
    stato_->setText(QString(messaggio).replace(QLatin1Char('\n'), QStringLiteral("   ")));
    stato_->setStyleSheet(gravita == forms::Esame::Errore ? QStringLiteral("color: #b00000;")
                                                          : QStringLiteral("color: #805000;"));
}

void EditorCertificati::controlla() {
    const auto problemi = problemiCorrenti();
    if (!certificatoPresente(problemi.has_value())) return;
    if (!controllo_) {
        controllo_ = new TFControllo(this);
        connect(controllo_, &TFControllo::apri, this,
                [this](const check::Problema& p) { esegui([&] { vaiAllaCasella(p); }); });
        connect(controllo_, &TFControllo::ripeti, this, [this] { esegui([this] { controlla(); }); });
    }
    QString chi = personaCorrente();
    if (chi.isEmpty())
        chi = QString::fromStdString(problemi->empty() ? std::string() : problemi->front().nominativo).trimmed();
    if (chi.isEmpty()) chi = windowTitle().remove(QStringLiteral("[*]"));
    controllo_->mostra(*problemi, QStringLiteral("Controllo del certificato (%1)").arg(chi), false);
    if (!controllo_->isVisible()) ui::colloca(controllo_);
    controllo_->show();
    controllo_->raise();
    controllo_->activateWindow();
}

bool EditorCertificati::vaiAllaCasella(const check::Problema& p) {
    // The list stays open while the operator moves on: its certificate comes back first.
    const storage::Dataset& e = elenco();
    const bool altro = p.id > 0 && (!e.isOpen() || e.eof() || e.integer("ID") != p.id);
    if (altro && !vaiACertificato(p.id)) return false;
    return vaiAllaCasella(QString::fromStdString(p.colonna));
}

bool EditorCertificati::vaiAllaCasella(const QString& nome) {
    QString colonna = nome;
    QStringList tabelle = {QStringLiteral("Zefo1"), QStringLiteral("Zefo2"), QStringLiteral("Professionisti")};
    if (colonna.startsWith(QStringLiteral("Zefo3."))) {
        colonna = colonna.mid(6);
        tabelle = {QStringLiteral("Zefo3")};
    }
    QWidget* w = casellaDellaTestata(nome.toStdString());
    const auto mostra = [&](std::size_t i, QWidget* b) {
        if (!b || b->focusPolicy() == Qt::NoFocus) return false;
        schede_->setCurrentIndex(static_cast<int>(i));
        aree_[i]->ensureWidgetVisible(b, 40, 80);
        w = b;
        return true;
    };
    for (std::size_t i = 0; !w && i < viste_.size(); ++i)
        for (const QString& t : tabelle)
            if (mostra(i, viste_[i]->box(t, colonna))) break;
    // A table alone (the further sections, "Zefo3"): its first box.
    for (std::size_t i = 0; !w && i < viste_.size(); ++i)
        for (const forms::Campo& c : viste_[i]->pagina().campi)
            if (c.tabella.compare(colonna, Qt::CaseInsensitive) == 0 && mostra(i, viste_[i]->box(c.tabella, c.colonna)))
                break;
    if (!w) return false;
    raise();
    activateWindow();
    w->setFocus(Qt::OtherFocusReason);
    return true;
}

void EditorCertificati::paginaIniziale() {
    schede_->setCurrentIndex(0);
    for (QScrollArea* a : aree_) {
        a->verticalScrollBar()->setValue(0);
        a->horizontalScrollBar()->setValue(0);
    }
}

void EditorCertificati::rileggiDopo(const QString& operazione) {
    if (!elenco().isOpen()) return;  // the menu opens it afresh
    bool perse = false;
    esegui([&] {
        scriviPagine();
        perse = std::any_of(righe_.begin(), righe_.end(), [](const storage::Dataset* d) { return d->modified(); });
    });
    esegui([this] { riapriElenco(); });
    if (perse)
        ui::informa(this, operazione + QStringLiteral(": l'elenco è stato riletto dall'archivio e le modifiche non "
                                                      "salvate del certificato che era aperto sono andate perse."));
}

void EditorCertificati::rileggiInvio() {
    if (!invio_) return;
    esegui([this] { invio_->rileggiTenendo(); });
    aggiornaSegni();
}

void EditorCertificati::showEvent(QShowEvent* evento) {
    // The menu has placed the window; a window manager adds a title bar and a border, known
    // only once the window has been shown (before, a usual title bar is assumed).
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        const bool cornice = frameGeometry().size() != size();
        const int sopra = cornice ? geometry().top() - frameGeometry().top() : 32;
        const int attorno = cornice ? frameGeometry().width() - width() : 4;
        QPoint in = pos();
        QSize dim = size();
        // Below its place the window gets shorter, down to a height that still shows a good
        // part of a page; where that would not fit, it moves up.
        const int minima = std::min(dim.height(), 600);
        if (in.y() + sopra + minima + attorno / 2 > area.bottom() + 1)
            in.setY(area.bottom() + 1 - sopra - minima - attorno / 2);
        in.setY(std::max(in.y(), area.top()));
        dim.setHeight(std::min(dim.height(), area.bottom() + 1 - in.y() - sopra - attorno / 2));
        dim.setWidth(std::min(dim.width(), area.width() - attorno));
        if (in.x() + dim.width() + attorno > area.right() + 1)
            in.setX(std::max(area.left(), area.right() + 1 - dim.width() - attorno));
        if (dim != size()) resize(dim);
        if (in != pos()) move(in);
    }
    FinestraModifica::showEvent(evento);
}

void EditorCertificati::caricaPagine() {
    caricata_.assign(caricata_.size(), false);
    mostraStato(nullptr, forms::Esame::Giusto, {});
    caricaVisibile();
    aggiornaTestata();
    aggiornaSegni();
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
    if (!presente) ui::informa(this, ui::testi::kNessunCertificato);
    return presente;
}

bool EditorCertificati::cancellazioneConfermata(bool presente, const QString& persona) {
    return certificatoPresente(presente) && ui::chiedi(this, domandaCancellazione_ + QLatin1Char('\n') + persona);
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
    contatore_ = new QLabel(cornice);
    contatore_->setObjectName(QStringLiteral("contatore"));
    contatore_->setMinimumWidth(contatore_->fontMetrics().horizontalAdvance(QStringLiteral("000000 di 000000")));
    contatore_->setAlignment(Qt::AlignCenter);
    nav->addWidget(contatore_);
    return cornice;
}

void EditorCertificati::primo() {
    sposta([this] { elenco().first(); });
}

// A new row not yet stored stands after the list's last row.
void EditorCertificati::precedente() {
    if (elenco().isOpen() && elenco().state() == storage::Dataset::State::Insert) {
        const std::size_t ultima = elenco().rowCount();
        sposta([this, ultima] {
            if (ultima > 0)
                elenco().moveTo(ultima - 1);
            else
                elenco().first();
        });
        return;
    }
    sposta([this] {
        if (elenco().position() > 0) elenco().prior();
    });
}

void EditorCertificati::successivo() {
    if (elenco().isOpen() && elenco().state() == storage::Dataset::State::Insert) {
        sposta([this] { elenco().last(); });
        return;
    }
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
