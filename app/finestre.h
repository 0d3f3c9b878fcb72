#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QWidget;

// What the menu asks of a window that edits data: the agent and Quadro CT windows and the two
// certificate editors.
class FinestraDati {
public:
    virtual ~FinestraDati() = default;
    virtual QWidget* finestra() = 0;
    // Re-opens the window's data as the menu does before showing it.
    virtual void prepara() = 0;
    // The search buttons' rule: the editor's list is opened only when closed.
    virtual void apriElencoSeChiuso() {}
    // The window's closing rule, with its save question; false when it could not close.
    virtual bool chiudiFinestra() = 0;
    // Before the program ends: the save question for typed changes; false keeps the program.
    virtual bool salvaPrimaDiUscire() = 0;
    // The archive changed under the window (a reset or a restore elsewhere): what it shows is
    // read again; operazione says what happened, for the operator.
    virtual void rileggiDopo(const QString& operazione) { (void)operazione; }
    // A supply was written or receipts imported: the sending rows may have changed.
    virtual void rileggiInvio() {}
    // Shows the page holding the box of this column (as the check names it: "C001", "Zefo3.D04")
    // and puts the cursor in it; nothing for a column no page holds.
    virtual void vaiAllaCasella(const QString& colonna) { (void)colonna; }
    // Makes the certificate with this number current; false when the window's list lacks it.
    virtual bool vaiACertificato(std::int64_t id) {
        (void)id;
        return false;
    }
};

// Every window the menu reaches.
struct Finestre {
    QWidget* importa = nullptr;
    QWidget* stampeTutti = nullptr;
    QWidget* profesStaTutti = nullptr;
    QWidget* ricDip = nullptr;
    QWidget* profesRic = nullptr;
    QWidget* creaFile = nullptr;
    QWidget* creaFileProfes = nullptr;
    FinestraDati* sostituto = nullptr;
    FinestraDati* quadroCt = nullptr;
    FinestraDati* pagina1 = nullptr;
    FinestraDati* professionisti = nullptr;
};
