#pragma once

#include "entry/finestraricerca.h"

class TFPagina1;

// Finds an employee certificate by surname and first name in the employee editor's list.
class TFRicDip : public entry::FinestraRicerca {
    Q_OBJECT
public:
    explicit TFRicDip(TFPagina1& editor, QWidget* parent = nullptr);
};
