#include "entry/agente/finestra.h"

#include <QCloseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "entry/agente/comandi.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "ui/dialoghi.h"

namespace agente {

FinestraAgente::FinestraAgente(storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn) {}

QTabWidget* FinestraAgente::creaPagina(
    const forms::Pagina& pagina,
    std::initializer_list<std::pair<QString, storage::Dataset*>> tabelle) {
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(barraComandi(
        this, [this] { salva(); }, [this] { stampa(); }, [this] { close(); }));

    auto* schede = new QTabWidget(this);
    schede->setObjectName(QStringLiteral("PageControl1"));
    auto* area = new QScrollArea(schede);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    area->setBackgroundRole(QPalette::Dark);
    pagina_ = new forms::VistaPagina(pagina, area);
    for (const auto& [tabella, righe] : tabelle) {
        pagina_->collega(tabella, righe);
        righe_.push_back(righe);
    }
    area->setWidget(pagina_);
    schede->addTab(area, QStringLiteral("Pagina 1"));
    l->addWidget(schede);
    return schede;
}

void FinestraAgente::dimensiona(int larghezzaPagina) {
    const int altezza = screen() ? std::min(760, screen()->availableGeometry().height() - 60) : 760;
    resize(larghezzaPagina + 40, altezza);
}

void FinestraAgente::apriPrimaRiga(storage::Dataset& d, const char* sql) {
    d.close();
    d.open(sql);
    if (d.rowCount() > 0)
        d.edit();
    else
        d.append();
}

bool FinestraAgente::aperta() const { return righe_.front()->isOpen(); }

bool FinestraAgente::modificata() const {
    return std::any_of(righe_.begin(), righe_.end(),
                       [](const storage::Dataset* d) { return d->modified(); });
}

bool FinestraAgente::esegui(const std::function<void()>& azione) { return ui::esegui(this, azione); }

bool FinestraAgente::salvaProtetto() {
    return esegui([this] {
        pagina_->scrivi();
        for (storage::Dataset* d : righe_) d->post();
        pagina_->carica();
    });
}

void FinestraAgente::salva() {
    if (aperta()) salvaProtetto();
}

bool FinestraAgente::salvaSeRichiesto() {
    if (!aperta()) return true;
    pagina_->scrivi();
    if (modificata() && ui::chiedi(this, kDomandaSalva)) return salvaProtetto();
    return true;
}

bool FinestraAgente::chiudiFinestra() {
    if (!salvaSeRichiesto()) return false;
    hide();
    return true;
}

void FinestraAgente::closeEvent(QCloseEvent* e) {
    if (salvaSeRichiesto())
        e->accept();
    else
        e->ignore();
}

bool FinestraAgente::salvaPrimaDiUscire() {
    if (!aperta()) return true;
    pagina_->scrivi();
    if (!modificata()) return true;
    if (ui::chiedi(this, kDomandaSalva)) return salvaProtetto();
    for (storage::Dataset* d : righe_) d->cancel();
    return true;
}

void FinestraAgente::stampaCon(const std::function<void()>& stampaPagina) {
    if (!aperta() || !salvaSeRichiesto()) return;
    esegui(stampaPagina);
}

}  // namespace agente
