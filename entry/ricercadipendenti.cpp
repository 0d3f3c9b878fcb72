#include "entry/ricercadipendenti.h"

#include "entry/editordipendenti.h"

TFRicDip::TFRicDip(TFPagina1& editor, QWidget* parent)
    : entry::FinestraRicerca(editor, QStringLiteral("Ricerca dipendente"), true, parent) {
    setObjectName(QStringLiteral("TFRicDip"));
}
