#pragma once

// The Quadro CT window: the request of the Quadro CT over the table QuadroCt, with the agent's
// tax code and e-mail from SostitutoImposta.

#include <QWidget>

#include "storage/dataset.h"

namespace forms {
class VistaPagina;
}

class TFQuadroCT : public QWidget {
    Q_OBJECT
public:
    explicit TFQuadroCT(storage::Connection& conn, QWidget* parent = nullptr);

    // The menu's preparation: each of the two rows re-read and put into edit state, or a new
    // row appended when its table is empty.
    void prepara();
    bool chiudiFinestra();
    bool salvaPrimaDiUscire();

    void salva();
    void stampa();

    storage::Dataset& QQuadroCT() { return quadro_; }
    storage::Dataset& TSostituto() { return sostituto_; }
    forms::VistaPagina& pagina() { return *pagina_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    bool daChiedere();
    bool regolaChiusura();
    bool salvaProtetto();

    storage::Connection& conn_;
    storage::Dataset quadro_;
    storage::Dataset sostituto_;
    forms::VistaPagina* pagina_;
};
