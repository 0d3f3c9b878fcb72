#pragma once

// What the agent's window and the Quadro CT window share: the toolbar over one page on a tab,
// the save question before closing, printing and leaving, and the way a failure is shown.

#include <QWidget>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "storage/dataset.h"

class QCloseEvent;
class QTabWidget;

namespace forms {
class Pagina;
class VistaPagina;
}  // namespace forms

namespace agente {

class FinestraAgente : public QWidget {
    Q_OBJECT
public:
    FinestraAgente(storage::Connection& conn, QWidget* parent);

    // The closing rule with its save question, then the window is hidden. False only when the
    // rows could not be saved.
    bool chiudiFinestra();
    // Before the program ends: typed changes are saved or dropped on the operator's answer.
    bool salvaPrimaDiUscire();

    void salva();
    virtual void stampa() = 0;

    forms::VistaPagina& pagina() { return *pagina_; }

protected:
    void closeEvent(QCloseEvent* e) override;

    // The toolbar and a tab "Pagina 1" holding the page, each table bound to its row; the rows
    // are saved in this order. Returns the tabs, for a window that adds more.
    QTabWidget* creaPagina(const forms::Pagina& pagina,
                           std::initializer_list<std::pair<QString, storage::Dataset*>> tabelle);
    // The whole width of the page, and as much of its height as the screen allows.
    void dimensiona(int larghezzaPagina);

    // Re-reads the table's first row and puts it into edit state, or appends one to an empty table.
    static void apriPrimaRiga(storage::Dataset& d, const char* sql);
    // The first row has been opened by the menu's preparation.
    bool aperta() const;
    // Some row holds typed or computed changes not yet saved (in the Quadro CT window the
    // agent's tax code and e-mail count too). Only these are asked about: the menu opens the
    // rows for editing, and a question claiming changes with nothing typed would be false.
    bool modificata() const;
    // Asks when there are changes and saves on Yes; false only when saving failed.
    bool salvaSeRichiesto();
    // Writes the page, saves the rows and shows them again; false after an error box.
    bool salvaProtetto();
    // Asks first, then prints; a failure is shown in an error box.
    void stampaCon(const std::function<void()>& stampaPagina);
    // Runs an operator's command: a failure ends it and is shown in an error box.
    bool esegui(const std::function<void()>& azione);

    storage::Connection& conn_;
    forms::VistaPagina* pagina_ = nullptr;

private:
    std::vector<storage::Dataset*> righe_;
};

}  // namespace agente
