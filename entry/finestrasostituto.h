#pragma once

// The withholding agent's window: the frontispiece of the communication over the table
// SostitutoImposta, with the office codes on the tab "Aiuto".

#include "entry/agente/finestra.h"

class QTabWidget;

class TFSostituto : public agente::FinestraAgente {
    Q_OBJECT
public:
    explicit TFSostituto(storage::Connection& conn, QWidget* parent = nullptr);

    // The menu's preparation: the agent's row re-read and put into edit state, or a new row
    // appended when the table is empty.
    void prepara() override;
    void stampa() override;
    // The two count buttons: employee certificates into A1, self-employment ones into A2.
    void contaDipendenti();
    void contaAutonomi();

    storage::Dataset& TSostituto() { return sostituto_; }
    QTabWidget& schede() { return *schede_; }

private:
    void conta(const char* colonna, std::int64_t valore);

    storage::Dataset sostituto_;
    QTabWidget* schede_;
};
