#include "entry/tfprofesric.h"

#include "entry/tfprofessionisti.h"

TFProfesRic::TFProfesRic(TFProfessionisti& editor, QWidget* parent)
    : entry::FinestraRicerca(editor, QStringLiteral("Ricerca professionista"), false, parent) {
    setObjectName(QStringLiteral("TFProfesRic"));
}
