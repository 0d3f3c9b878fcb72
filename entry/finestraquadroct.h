#pragma once

// The Quadro CT window: the request of the Quadro CT over the table QuadroCt, with the agent's
// tax code and e-mail from SostitutoImposta.

#include "entry/agente/finestra.h"

class TFQuadroCT : public agente::FinestraAgente {
    Q_OBJECT
public:
    explicit TFQuadroCT(storage::Connection& conn, QWidget* parent = nullptr);

    // The menu's preparation: each of the two rows re-read and put into edit state, or a new
    // row appended when its table is empty.
    void prepara() override;
    void stampa() override;

    storage::Dataset& QQuadroCT() { return quadro_; }
    storage::Dataset& TSostituto() { return sostituto_; }

private:
    storage::Dataset quadro_;
    storage::Dataset sostituto_;
};
