#include "entry/tfquadroct.h"

#include "entry/agente/comandi.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "ui/dialoghi.h"

#if defined(PALIO_CON_STAMPA) && __has_include("print/stampasostituto.h")
#include "print/stampasostituto.h"
#define PALIO_STAMPA_QUADRO 1
#endif

TFQuadroCT::TFQuadroCT(storage::Connection& conn, QWidget* parent)
    : FinestraAgente(conn, parent), quadro_(conn), sostituto_(conn) {
    setObjectName(QStringLiteral("TFQuadroCT"));
    setWindowTitle(QStringLiteral("Quadro CT"));
    creaPagina(forms::PaginaQuadroCT(), {{QStringLiteral("QuadroCt"), &quadro_},
                                         {QStringLiteral("SostitutoImposta"), &sostituto_}});
    dimensiona(static_cast<int>(forms::PaginaQuadroCT().dimensione.width()));
}

void TFQuadroCT::prepara() {
    // Re-reading drops pending changes: ask first, so that typing is never lost unasked.
    if (quadro_.isOpen() || sostituto_.isOpen()) {
        pagina_->scrivi();
        if (modificata() && ui::chiedi(this, agente::kDomandaSalva) && !salvaProtetto()) return;
    }
    apriPrimaRiga(sostituto_, "select * from SostitutoImposta");
    apriPrimaRiga(quadro_, "select * from QuadroCt");
    pagina_->carica();
}

bool TFQuadroCT::daChiedere() const {
    // The agent's tax code and e-mail typed here count as changes too: they would be lost.
    return quadro_.modified() || sostituto_.modified();
}

void TFQuadroCT::stampa() {
#if defined(PALIO_STAMPA_QUADRO)
    stampaCon(&print::StampaQuadroCT);
#else
    stampaCon(nullptr);
#endif
}
