#pragma once

#include "entry/finestraricerca.h"

class TFProfessionisti;

// Finds a professional's certificate by surname and first name in the professional editor's list.
class TFProfesRic : public entry::FinestraRicerca {
    Q_OBJECT
public:
    explicit TFProfesRic(TFProfessionisti& editor, QWidget* parent = nullptr);
};
