#include "entry/tfricdip.h"

#include "entry/tfpagina1.h"

TFRicDip::TFRicDip(TFPagina1& editor, QWidget* parent)
    : entry::FinestraRicerca(editor, QStringLiteral("Ricerca dipendente"), true, parent) {
    setObjectName(QStringLiteral("TFRicDip"));
}
