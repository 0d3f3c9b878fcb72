#pragma once

// The one base of the windows that edit rows (the two certificate editors, the agent's window
// and the Quadro CT window): what counts as a change, the save question before closing,
// printing and leaving the program, the print step, and the way a failure is shown.

#include <QWidget>
#include <functional>
#include <vector>

#include "storage/dataset.h"

class QCloseEvent;

namespace ui {

class FinestraModifica : public QWidget {
    Q_OBJECT
public:
    // What counts as a change. Always: values typed or computed and not yet saved. Where the
    // operator himself puts rows into edit state (the editors' Aggiungi and Modifica), also a row
    // in edit state with nothing typed yet; where the menu does it (the agent's windows), not.
    enum class Regola { ValoriOStatoDiModifica, SoloValori };

    FinestraModifica(storage::Connection& conn, Regola regola, QWidget* parent);

    storage::Connection& connessione() { return conn_; }
    // The closing rule: the save question, then the window is hidden. False only when the rows
    // could not be saved.
    bool chiudiFinestra();
    // Before the program ends or the archive changes: the question names the window; Yes saves
    // the changes, No drops them, Annulla keeps them and the window. False when the operator gave
    // up or saving failed.
    bool salvaPrimaDiUscire();

protected:
    // Some row holds a change; what was typed on the pages is written into the rows first.
    bool modificata();
    // Some row holds a change already written into it (the "*" of the title).
    bool righeInSospeso() const;
    // How the question before leaving names the window: its title, unless two windows share it.
    virtual QString nomeFinestra() const { return windowTitle(); }
    // A change held outside the rows (the editors' sending line), asked about and saved with them.
    virtual bool modificheFuoriDalleRighe() const { return false; }
    // Writes what was typed on the pages into the rows.
    virtual void scriviPagine() = 0;
    // Saves the rows' changes and shows them as saved.
    virtual void salvaModifiche() = 0;
    // The operator answered No: what he refused must never reach the archive later, so every
    // window drops it.
    virtual void scartaModifiche() = 0;
    // The save question itself (Enter answers Yes: the typing is kept).
    bool chiediSalvataggio();

    // Asks the save question when there are changes and saves on Yes; false only when saving
    // failed (an error box said why).
    bool salvaSeRichiesto();
    // The print step: the save question, then the print; nothing prints when saving failed.
    void stampaDopoLaDomanda(const std::function<void()>& stampa);
    // Runs an operator's command: a failure ends it and is shown in an error box. True when it
    // ran to the end.
    bool esegui(const std::function<void()>& azione);

    void closeEvent(QCloseEvent* e) override;

    storage::Connection& conn_;
    // The rows the question is about, in the order the window saves them.
    std::vector<storage::Dataset*> righe_;

private:
    Regola regola_;
};

}  // namespace ui
