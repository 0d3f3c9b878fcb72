#include "entry/finestraquadroct.h"

#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "print/ui/stampasostituto.h"
#include "storage/certificati.h"
#include "storage/elenchi.h"

TFQuadroCT::TFQuadroCT(storage::Connection& conn, QWidget* parent)
    : FinestraAgente(conn, parent), quadro_(conn), sostituto_(conn) {
    setObjectName(QStringLiteral("TFQuadroCT"));
    setWindowTitle(QStringLiteral("Quadro CT"));
    creaPagina(forms::PaginaQuadroCT(),
               {{QStringLiteral("QuadroCt"), &quadro_}, {QStringLiteral("SostitutoImposta"), &sostituto_}});
    dimensiona(static_cast<int>(forms::PaginaQuadroCT().dimensione.width()));
}

void TFQuadroCT::prepara() {
    // Re-reading drops pending changes: ask first, so that typing is never lost unasked.
    if (!salvaSeRichiesto()) return;
    apriPrimaRiga(sostituto_, storage::RigaDelSostituto());
    apriPrimaRiga(quadro_, storage::RigaDelQuadroCt());
    pagina_->carica();
}

void TFQuadroCT::stampa() {
    stampaCon([this] { print::StampaQuadroCT(conn_, this); });
}
