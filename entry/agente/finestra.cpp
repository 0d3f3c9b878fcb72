#include "entry/agente/finestra.h"

#include <QComboBox>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "entry/agente/comandi.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "ui/dialoghi.h"
#include "ui/tendine.h"

namespace agente {

FinestraAgente::FinestraAgente(storage::Connection& conn, QWidget* parent)
    : FinestraModifica(conn, Regola::SoloValori, parent) {}

QTabWidget* FinestraAgente::creaPagina(const forms::Pagina& pagina,
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
    for (QComboBox* c : pagina_->findChildren<QComboBox*>()) ui::tendinaSenzaRotella(c);
    schede->addTab(area, QStringLiteral("Pagina 1"));
    l->addWidget(schede);
    return schede;
}

void FinestraAgente::dimensiona(int larghezzaPagina) {
    const int altezza = screen() ? std::min(760, screen()->availableGeometry().height() - 60) : 760;
    resize(larghezzaPagina + 40, altezza);
}

void FinestraAgente::apriPrimaRiga(storage::Dataset& d, storage::Righe riga) {
    d.close();
    d.open(std::move(riga));
    if (d.rowCount() > 0)
        d.edit();
    else
        d.append();
}

bool FinestraAgente::aperta() const { return righe_.front()->isOpen(); }

void FinestraAgente::scriviPagine() { pagina_->scrivi(); }

void FinestraAgente::salvaModifiche() {
    pagina_->scrivi();
    for (storage::Dataset* d : righe_) d->post();
    pagina_->carica();
    emit salvata();
}

void FinestraAgente::rileggiDopo(const QString& operazione) {
    if (!aperta()) return;  // the menu opens the rows afresh
    bool perse = false;
    esegui([&] {
        pagina_->scrivi();
        for (storage::Dataset* d : righe_) {
            perse = perse || d->modified();
            d->cancel();  // nothing left for the preparation to ask about
        }
    });
    esegui([this] { prepara(); });
    if (perse)
        ui::informa(this, operazione + QStringLiteral(": i dati della finestra sono stati riletti dall'archivio e le "
                                                      "modifiche non salvate sono andate perse."));
}

void FinestraAgente::scartaModifiche() {
    for (storage::Dataset* d : righe_) {
        if (!d->isOpen()) continue;
        const bool nuova = d->state() == storage::Dataset::State::Insert;
        d->cancel();
        if (nuova)
            d->append();
        else if (!d->eof())
            d->edit();
    }
    pagina_->carica();
}

void FinestraAgente::salva() {
    if (aperta()) esegui([this] { salvaModifiche(); });
}

void FinestraAgente::stampaCon(const std::function<void()>& stampaPagina) {
    if (aperta()) stampaDopoLaDomanda(stampaPagina);
}

}  // namespace agente
