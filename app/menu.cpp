#include "app/menu.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "app/tdm.h"
#include "ui/collocazione.h"
#include "ui/dialoghi.h"

namespace {
const int kLarghezzaBottone = 200;
const int kAltezzaBottone = 32;
}  // namespace

TFmenu::TFmenu(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TFmenu"));
    setWindowTitle(QStringLiteral("Palio 2015"));
    QFont carattere(QStringLiteral("Comic Sans MS"));
    carattere.setStyleHint(QFont::SansSerif);
    carattere.setPointSize(10);
    setFont(carattere);

    auto* esterno = new QVBoxLayout(this);
    esterno->setContentsMargins(0, 0, 0, 0);
    auto* pannello = new QFrame(this);
    pannello->setObjectName(QStringLiteral("Panel1"));
    pannello->setFrameShape(QFrame::StyledPanel);
    esterno->addWidget(pannello);

    auto* l = new QVBoxLayout(pannello);
    l->setContentsMargins(20, 16, 12, 8);
    l->setSpacing(8);
    l->addWidget(bottone(QStringLiteral("Importazione dati"), "btnImportazione", &TFmenu::importazioneDati), 0,
                 Qt::AlignHCenter);
    l->addWidget(bottone(QStringLiteral("Dati generali"), "btnDatiGenerali", &TFmenu::datiGenerali), 0,
                 Qt::AlignHCenter);
    l->addWidget(bottone(QStringLiteral("Quadro CT"), "btnQuadroCT", &TFmenu::quadroCt), 0, Qt::AlignHCenter);

    auto gruppo = [&](const QString& titolo, const char* nome) {
        auto* g = new QGroupBox(titolo, pannello);
        g->setObjectName(QLatin1String(nome));
        auto* gl = new QVBoxLayout(g);
        gl->setContentsMargins(6, 6, 6, 8);
        gl->setSpacing(6);
        l->addWidget(g);
        return gl;
    };
    auto* dip = gruppo(QStringLiteral("Dipendenti "), "GroupBox1");
    dip->addWidget(bottone(QStringLiteral("Comunicazione Unica 2015"), "btnCuDipendenti", &TFmenu::cuDipendenti, true),
                   0, Qt::AlignHCenter);
    dip->addWidget(bottone(QStringLiteral("Ricerca dipendente"), "btnRicercaDipendente", &TFmenu::ricercaDipendente), 0,
                   Qt::AlignHCenter);
    dip->addWidget(bottone(QStringLiteral("Stampa C.U."), "btnStampaDipendenti", &TFmenu::stampaDipendenti), 0,
                   Qt::AlignHCenter);
    dip->addWidget(bottone(QStringLiteral("Generazione del file"), "btnGeneraDipendenti", &TFmenu::generaDipendenti), 0,
                   Qt::AlignHCenter);

    auto* pro = gruppo(QStringLiteral("Professionisti"), "GroupBox2");
    pro->addWidget(
        bottone(QStringLiteral("Comunicazione Unica 2015"), "btnCuProfessionisti", &TFmenu::cuProfessionisti, true), 0,
        Qt::AlignHCenter);
    pro->addWidget(
        bottone(QStringLiteral("Ricerca professionista"), "btnRicercaProfessionista", &TFmenu::ricercaProfessionista),
        0, Qt::AlignHCenter);
    pro->addWidget(bottone(QStringLiteral("Stampa C.U."), "btnStampaProfessionisti", &TFmenu::stampaProfessionisti), 0,
                   Qt::AlignHCenter);
    pro->addWidget(
        bottone(QStringLiteral("Generazione del file"), "btnGeneraProfessionisti", &TFmenu::generaProfessionisti), 0,
        Qt::AlignHCenter);

    l->addSpacing(4);
    auto* cambia = new QPushButton(QStringLiteral("Cambia archivio…"), pannello);
    cambia->setObjectName(QStringLiteral("btnCambiaArchivio"));
    cambia->setFixedSize(kLarghezzaBottone, kAltezzaBottone);
    cambia->setToolTip(QStringLiteral("Chiude le finestre aperte e lavora su un altro archivio"));
    connect(cambia, &QPushButton::clicked, this, &TFmenu::cambiaArchivioRichiesto);
    l->addWidget(cambia, 0, Qt::AlignHCenter);
    auto* esci = new QPushButton(QStringLiteral("Esci"), pannello);
    esci->setObjectName(QStringLiteral("btnEsci"));
    esci->setFixedSize(kLarghezzaBottone, kAltezzaBottone);
    connect(esci, &QPushButton::clicked, this, &QWidget::close);
    l->addWidget(esci, 0, Qt::AlignHCenter);
    l->addStretch(1);

    auto* versione = new QLabel(QStringLiteral("V. 1.0.13"), pannello);
    versione->setObjectName(QStringLiteral("Label1"));
    l->addWidget(versione, 0, Qt::AlignRight | Qt::AlignBottom);

    // Where the form's font is missing, the bold captions are wider than the design's buttons:
    // every button grows to the widest caption so that none is clipped.
    int larghezza = kLarghezzaBottone;
    const auto bottoni = pannello->findChildren<QPushButton*>();
    for (QPushButton* b : bottoni) larghezza = std::max(larghezza, b->sizeHint().width() + 8);
    for (QPushButton* b : bottoni) b->setFixedWidth(larghezza);
    resize(252 + larghezza - kLarghezzaBottone, std::max(594, sizeHint().height()));
    move(0, 0);
}

QPushButton* TFmenu::bottone(const QString& testo, const char* nome, void (TFmenu::*azione)(), bool grassetto) {
    auto* b = new QPushButton(testo, this);
    b->setObjectName(QLatin1String(nome));
    b->setFixedSize(kLarghezzaBottone, kAltezzaBottone);
    if (grassetto) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }
    connect(b, &QPushButton::clicked, this, azione);
    return b;
}

void TFmenu::collega(TDM& dm, Finestre& finestre, std::function<void()> assicura) {
    dm_ = &dm;
    f_ = &finestre;
    assicura_ = std::move(assicura);
}

bool TFmenu::pronte() {
    if (!f_) return false;
    if (assicura_) assicura_();
    return true;
}

void TFmenu::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!mostrato_) {
        mostrato_ = true;
        emit primaApparizione();
    }
}

bool TFmenu::salvaPrimaDiUscire() {
    // Typed changes are never lost silently: each editing window asks its save question first.
    if (!f_) return true;
    for (FinestraDati* d : {f_->sostituto, f_->quadroCt, f_->professionisti, f_->pagina1}) {
        if (!d) continue;
        bool ok = false;
        esegui([&] { ok = d->salvaPrimaDiUscire(); });
        if (!ok) return false;
    }
    return true;
}

void TFmenu::closeEvent(QCloseEvent* e) {
    if (!salvaPrimaDiUscire()) {
        e->ignore();
        return;
    }
    e->accept();
    emit chiuso();
}

void TFmenu::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) emit attivato();
}

void TFmenu::mostraArchivio(const QString& sostituto, const QString& cartella) {
    QStringList parti{QStringLiteral("Palio 2015")};
    if (!sostituto.isEmpty()) parti << sostituto;
    parti << cartella;
    setWindowTitle(parti.join(QStringLiteral(" - ")));
}

void TFmenu::esegui(const std::function<void()>& azione) { ui::esegui(this, azione); }

bool TFmenu::chiudiEditori() {
    for (FinestraDati* d : {f_->sostituto, f_->professionisti, f_->pagina1})
        if (d && !d->chiudiFinestra()) return false;
    return true;
}

void TFmenu::mostra(QWidget* w) {
    if (w->isMinimized()) w->showNormal();
    w->show();
    w->raise();
    w->activateWindow();
}

void TFmenu::mostraAlSuoPosto(QWidget* w, ui::Posto posto) {
    // A window already on screen stays where the operator put it.
    if (!w->isVisible()) ui::colloca(w, posto);
    mostra(w);
}

bool TFmenu::apri(QWidget* w, const std::function<void()>& prepara, bool centrata) {
    if (!f_ || !w) return false;
    bool aperta = false;
    esegui([&] {
        ui::colloca(w, centrata ? ui::Posto::Centrata : ui::Posto::AccantoAlMenu);
        if (!chiudiEditori()) return;
        dm_->assicuraAperta();
        if (prepara) prepara();
        mostra(w);
        aperta = true;
    });
    return aperta;
}

void TFmenu::apriCertificato(FinestraDati* d, std::int64_t id, const QString& colonna) {
    if (!f_ || !d) return;
    if (!apri(
            d->finestra(), [d] { d->prepara(); }, false))
        return;
    bool trovato = false;
    esegui([&] { trovato = d->vaiACertificato(id); });
    if (trovato) d->vaiAllaCasella(colonna);
    if (!trovato)
        ui::informa(d->finestra(), QStringLiteral("Il certificato n. %1 non è nell'elenco: è stato cancellato "
                                                  "oppure il filtro lo esclude.")
                                       .arg(id));
}

void TFmenu::importazioneDati() {
    if (!pronte()) return;
    esegui([&] {
        dm_->assicuraAperta();
        mostraAlSuoPosto(f_->importa, ui::Posto::Centrata);
    });
}

void TFmenu::datiGenerali() {
    if (pronte())
        apri(
            f_->sostituto->finestra(), [this] { f_->sostituto->prepara(); }, false);
}

void TFmenu::quadroCt() {
    if (pronte())
        apri(
            f_->quadroCt->finestra(), [this] { f_->quadroCt->prepara(); }, false);
}

void TFmenu::cuDipendenti() {
    if (pronte())
        apri(
            f_->pagina1->finestra(), [this] { f_->pagina1->prepara(); }, false);
}

void TFmenu::cuProfessionisti() {
    if (pronte())
        apri(
            f_->professionisti->finestra(), [this] { f_->professionisti->prepara(); }, false);
}

void TFmenu::ricercaDipendente() {
    if (!pronte()) return;
    esegui([&] {
        dm_->assicuraAperta();
        f_->pagina1->apriElencoSeChiuso();
        mostra(f_->ricDip);
    });
}

void TFmenu::ricercaProfessionista() {
    if (!pronte()) return;
    esegui([&] {
        dm_->assicuraAperta();
        f_->professionisti->apriElencoSeChiuso();
        mostra(f_->profesRic);
    });
}

void TFmenu::stampaDipendenti() {
    if (!pronte()) return;
    esegui([&] {
        dm_->assicuraAperta();
        mostraAlSuoPosto(f_->stampeTutti, ui::Posto::Centrata);
    });
}

void TFmenu::stampaProfessionisti() {
    if (!pronte()) return;
    esegui([&] {
        dm_->assicuraAperta();
        mostraAlSuoPosto(f_->profesStaTutti, ui::Posto::AccantoAlMenu);
    });
}

void TFmenu::generaDipendenti() {
    if (pronte()) apri(f_->creaFile, {}, true);
}

void TFmenu::generaProfessionisti() {
    if (pronte()) apri(f_->creaFileProfes, {}, false);
}
