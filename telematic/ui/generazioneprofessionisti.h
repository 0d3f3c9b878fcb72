#pragma once

#include "telematic/ui/finestragenerazione.h"

// Creation of the professionals' transmission file.
class TFCreaFileProfes : public TFGenerazione {
    Q_OBJECT
public:
    explicit TFCreaFileProfes(storage::Connection& conn, QWidget* parent = nullptr)
        : TFGenerazione(Tipo::Professionisti, conn, parent) {}
};
