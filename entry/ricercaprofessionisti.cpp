#include "entry/ricercaprofessionisti.h"

#include "entry/editorprofessionisti.h"

TFProfesRic::TFProfesRic(TFProfessionisti& editor, QWidget* parent)
    : entry::FinestraRicerca(editor, QStringLiteral("Ricerca professionista"), false, parent) {
    setObjectName(QStringLiteral("TFProfesRic"));
}
