#include "entry/tfquadroct.h"

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

#if defined(PALIO_CON_STAMPA) && __has_include("print/stampasostituto.h")
#include "print/stampasostituto.h"
#define PALIO_STAMPA_QUADRO 1
#endif

namespace {

void apriPrimaRiga(storage::Dataset& d, const char* sql) {
    d.close();
    d.open(sql);
    if (d.rowCount() > 0)
        d.edit();
    else
        d.append();
}

}  // namespace

TFQuadroCT::TFQuadroCT(storage::Connection& conn, QWidget* parent)
    : QWidget(parent, Qt::Window), conn_(conn), quadro_(conn), sostituto_(conn) {
    setObjectName(QStringLiteral("TFQuadroCT"));
    setWindowTitle(QStringLiteral("Quadro CT"));
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(agente::barraComandi(
        this, [this] { salva(); }, [this] { stampa(); }, [this] { close(); }));

    auto* schede = new QTabWidget(this);
    schede->setObjectName(QStringLiteral("PageControl1"));
    auto* area = new QScrollArea(schede);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    area->setBackgroundRole(QPalette::Dark);
    pagina_ = new forms::VistaPagina(forms::PaginaQuadroCT(), area);
    pagina_->collega(QStringLiteral("QuadroCt"), &quadro_);
    pagina_->collega(QStringLiteral("SostitutoImposta"), &sostituto_);
    area->setWidget(pagina_);
    schede->addTab(area, QStringLiteral("Pagina 1"));
    l->addWidget(schede);

    // The whole width of the page, and as much of its height as the screen allows.
    const int altezza = screen() ? std::min(760, screen()->availableGeometry().height() - 60) : 760;
    resize(static_cast<int>(forms::PaginaQuadroCT().dimensione.width()) + 40, altezza);
}

bool TFQuadroCT::salvaProtetto() {
    try {
        pagina_->scrivi();
        // The Quadro CT row first, then the agent's.
        quadro_.post();
        sostituto_.post();
        pagina_->carica();
        return true;
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
        return false;
    }
}

void TFQuadroCT::prepara() {
    // Re-reading drops pending changes: ask first, so that typing is never lost unasked.
    if (quadro_.isOpen() || sostituto_.isOpen()) {
        pagina_->scrivi();
        if ((quadro_.modified() || sostituto_.modified()) && ui::chiedi(this, agente::kDomandaSalva) &&
            !salvaProtetto())
            return;
    }
    apriPrimaRiga(sostituto_, "select * from SostitutoImposta");
    apriPrimaRiga(quadro_, "select * from QuadroCt");
    pagina_->carica();
}

void TFQuadroCT::salva() {
    if (quadro_.isOpen()) salvaProtetto();
}

bool TFQuadroCT::daChiedere() {
    pagina_->scrivi();
    using S = storage::Dataset::State;
    // The agent's tax code and e-mail typed here count as changes too: they would be lost.
    return quadro_.state() == S::Edit || quadro_.modified() || sostituto_.modified();
}

bool TFQuadroCT::regolaChiusura() {
    if (!quadro_.isOpen()) return true;
    if (daChiedere() && ui::chiedi(this, agente::kDomandaSalva)) return salvaProtetto();
    return true;
}

bool TFQuadroCT::chiudiFinestra() {
    if (!regolaChiusura()) return false;
    hide();
    return true;
}

void TFQuadroCT::closeEvent(QCloseEvent* e) {
    if (regolaChiusura())
        e->accept();
    else
        e->ignore();
}

bool TFQuadroCT::salvaPrimaDiUscire() {
    if (!quadro_.isOpen()) return true;
    pagina_->scrivi();
    if (!quadro_.modified() && !sostituto_.modified()) return true;
    if (ui::chiedi(this, agente::kDomandaSalva)) return salvaProtetto();
    quadro_.cancel();
    sostituto_.cancel();
    return true;
}

void TFQuadroCT::stampa() {
    if (!quadro_.isOpen()) return;
    if (daChiedere() && ui::chiedi(this, agente::kDomandaSalva) && !salvaProtetto()) return;
#if defined(PALIO_STAMPA_QUADRO)
    try {
        print::StampaQuadroCT(conn_, this);
    } catch (const std::exception& e) {
        ui::errore(this, ui::testoDaMessaggio(e.what()));
    }
#else
    ui::informa(this, QStringLiteral("La stampa non è ancora disponibile in questa versione del programma."));
#endif
}
