#pragma once

#include "telematic/ui/finestragenerazione.h"

// Creation of the employees' transmission file.
class TFCreaFile : public TFGenerazione {
    Q_OBJECT
public:
    explicit TFCreaFile(storage::Connection& conn, QWidget* parent = nullptr)
        : TFGenerazione(Tipo::Dipendenti, conn, parent) {}
};
