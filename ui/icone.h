#pragma once

// The pictures of the program's image buttons: one registry, the SVG files of ui/icone/ rendered
// to PNG at the sizes shown (scripts/icone-png.sh) and built into the program as Qt resources, so
// that every platform shows the same ones without Qt's SVG module.

#include <QIcon>

class QToolButton;
class QWidget;

namespace ui {

enum class Icona {
    Salva,
    Aggiungi,
    Modifica,
    Annulla,
    Cancella,
    Stampa,
    Anteprima,
    Primo,
    Precedente,
    Successivo,
    Ultimo,
    Chiudi,
    Copia,
    Controlla
};

QIcon icona(Icona i);

// The closing image button at the bottom-left of the program's windows.
QToolButton* bottoneChiudi(QWidget* finestra, const char* nome);

}  // namespace ui
