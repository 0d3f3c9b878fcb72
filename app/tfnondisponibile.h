#pragma once

#include <QWidget>

#include "app/finestre.h"

// Stands in for a window that this build of the program does not hold yet.
class TFNonDisponibile : public QWidget {
    Q_OBJECT
public:
    TFNonDisponibile(const QString& titolo, const QString& funzione, QWidget* parent = nullptr);
};

// A data window's stand-in: nothing to prepare, nothing to save.
class SegnapostoDati : public FinestraDati {
public:
    SegnapostoDati(const QString& titolo, const QString& funzione);
    QWidget* finestra() override { return &finestra_; }
    void prepara() override {}
    bool chiudiFinestra() override {
        finestra_.hide();
        return true;
    }
    bool salvaPrimaDiUscire() override { return true; }
    bool segnaposto() const override { return true; }

private:
    TFNonDisponibile finestra_;
};
