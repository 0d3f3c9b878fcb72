#pragma once

// The withholding agent's window: the frontispiece of the communication over the table
// SostitutoImposta, with the office codes on the tab "Aiuto".

#include <QWidget>

#include "storage/dataset.h"

class QTabWidget;
class QToolButton;
namespace forms {
class VistaPagina;
}

class TFSostituto : public QWidget {
    Q_OBJECT
public:
    explicit TFSostituto(storage::Connection& conn, QWidget* parent = nullptr);

    // The menu's preparation: the agent's row re-read and put into edit state, or a new row
    // appended when the table is empty.
    void prepara();
    // The closing rule with its save question, then the window is hidden. False only when the
    // row could not be saved.
    bool chiudiFinestra();
    // Before the program ends: typed changes are saved or dropped on the operator's answer.
    bool salvaPrimaDiUscire();

    void salva();
    void stampa();
    // The two count buttons: employee certificates into A1, self-employment ones into A2.
    void contaDipendenti();
    void contaAutonomi();

    storage::Dataset& TSostituto() { return sostituto_; }
    forms::VistaPagina& pagina() { return *pagina_; }
    QTabWidget& schede() { return *schede_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    bool regolaChiusura();
    bool salvaProtetto();
    void conta(const char* colonna, std::int64_t valore);

    storage::Connection& conn_;
    storage::Dataset sostituto_;
    QTabWidget* schede_;
    forms::VistaPagina* pagina_;
};
