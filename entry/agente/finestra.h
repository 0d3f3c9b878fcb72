#pragma once

// What the agent's window and the Quadro CT window share: the toolbar over one page on a tab,
// each of the window's tables bound to its first row. The save question, the print step and
// the failure box are those of every editing window (ui::FinestraModifica).

#include <QString>
#include <functional>
#include <initializer_list>
#include <utility>

#include "storage/dataset.h"
#include "ui/finestramodifica.h"

class QTabWidget;

namespace forms {
class Pagina;
class VistaPagina;
}  // namespace forms

namespace agente {

class FinestraAgente : public ui::FinestraModifica {
    Q_OBJECT
public:
    FinestraAgente(storage::Connection& conn, QWidget* parent);

    void salva();
    virtual void stampa() = 0;
    // The menu's preparation: the rows re-read and put into edit state.
    virtual void prepara() = 0;
    // The archive changed under the window (a reset or a restore elsewhere): rows the menu opened
    // are read again, so that the window shows what the archive holds now. Typing not yet saved
    // cannot be kept, and the operator is told why, after operazione.
    void rileggiDopo(const QString& operazione);

    forms::VistaPagina& pagina() { return *pagina_; }

signals:
    // The rows were saved: what other windows show of the agent (the menu's title) follows.
    void salvata();

protected:
    // The toolbar and a tab "Pagina 1" holding the page, each table bound to its row; the rows
    // are saved in this order. Returns the tabs, for a window that adds more.
    QTabWidget* creaPagina(const forms::Pagina& pagina,
                           std::initializer_list<std::pair<QString, storage::Dataset*>> tabelle);
    // The whole width of the page, and as much of its height as the screen allows.
    void dimensiona(int larghezzaPagina);

    // Re-reads the table's first row and puts it into edit state, or appends one to an empty table.
    static void apriPrimaRiga(storage::Dataset& d, storage::Righe riga);
    // The first row has been opened by the menu's preparation.
    bool aperta() const;
    // With the rows opened: the save question, then the print.
    void stampaCon(const std::function<void()>& stampaPagina);

    void scriviPagine() override;
    // Writes the page, saves the rows and shows them again.
    void salvaModifiche() override;
    // No drops what was typed or computed: the rows show the archive again, still open for typing
    // as the menu left them.
    void scartaModifiche() override;

    forms::VistaPagina* pagina_ = nullptr;
};

}  // namespace agente
