#pragma once

// What the two certificate editors share: a list of certificates the search windows move,
// toolbar buttons and the page tabs. The save question, the print step and the failure box are
// those of every editing window (ui::FinestraModifica).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "check/controllo.h"
#include "storage/invii.h"
#include "ui/finestramodifica.h"

class QHBoxLayout;
class QIcon;
class QLabel;
class QLineEdit;
class QScrollArea;
class QTabWidget;
class QToolButton;
class TFControllo;

namespace forms {
class Pagina;
class VistaPagina;
}  // namespace forms

namespace entry {

// The current row of a list as shown, changes not yet saved included.
storage::Row rigaMostrata(const storage::Dataset& d);
class TestataInvio;

// Shows a value the window computes in its box, when the page has one.
void mostraCampo(forms::VistaPagina& vista, const QString& tabella, const QString& colonna, const QString& testo);

class EditorCertificati : public ui::FinestraModifica {
    Q_OBJECT
public:
    EditorCertificati(storage::Connection& conn, QWidget* parent);

    virtual storage::Dataset& elenco() = 0;
    // Makes the row at this position of the list current, as the navigator does (the changes
    // of the certificate left are saved first).
    void spostaA(std::size_t posizione);
    // Makes the certificate with this number current; false when the list does not hold it
    // (deleted meanwhile, or left out by the filter).
    bool vaiACertificato(std::int64_t id);
    // The navigator's moves; at either end of the list they stay where they are.
    void primo();
    void precedente();
    void successivo();
    void ultimo();
    virtual void apriElencoSeChiuso() = 0;
    // Closes and re-opens the list with its current query text, on its first row.
    virtual void riapriElenco() = 0;
    // The archive changed under the window (a reset or a restore elsewhere): an open list is read
    // again, so that no deleted certificate is shown or typed into. Typing not yet saved cannot
    // be kept, and the operator is told why, after operazione ("I dati dei dipendenti sono
    // stati eliminati").
    void rileggiDopo(const QString& operazione);
    // A supply or a receipts import changed the sending rows: the sending line shows them,
    // keeping what the operator typed there and has not saved.
    void rileggiInvio();

    // The list limited to one kind, or (none) every certificate again; false when the list has
    // no kinds to filter by or the filter could not change (a save failed).
    virtual bool filtraSolo(std::optional<storage::Tipo> tipo) {
        (void)tipo;
        return false;
    }

    // The toolbar's commands (the buttons call these, and so can a test).
    virtual void salva() = 0;
    virtual void aggiungi() = 0;
    virtual void modifica() = 0;
    virtual void annulla() = 0;
    virtual void cancella() = 0;

    // "Controlla": the current certificate's problems as the pre-send check finds them, typing
    // not yet saved included, in the check's list; a double-click there goes to the box.
    void controlla();
    TFControllo* finestraControllo() { return controllo_; }
    // Shows the certificate, the tab and the box a problem names, scrolled to it, and puts the
    // cursor in it; false when none shows it.
    bool vaiAllaCasella(const check::Problema& problema);
    // The same for a column as the check names it ("C001", "tipo", "Zefo3.D04"; a table alone,
    // "Zefo3", its first box).
    bool vaiAllaCasella(const QString& colonna);
    // The status line under the pages: the reason a box is marked.
    QString stato() const;

    // Makes "Pagina 1" the current tab, every page shown from its top.
    void paginaIniziale();
    // "12 di 36": where the current certificate is in the list.
    QString contatore() const;
    QTabWidget& schede() { return *schede_; }
    forms::VistaPagina& vista(int indice) { return *viste_[static_cast<std::size_t>(indice)]; }
    // The sending line under the header: protocol, progressive and operation of the certificate.
    TestataInvio& invio() { return *invio_; }

signals:
    // The rows of the list changed: re-opened, filtered, a certificate added or deleted.
    void elencoCambiato();
    // Another certificate became current.
    void certificatoCambiato();
    // Values of the current certificate were saved.
    void datiCambiati();

protected:
    // The window fits the screen it opens on: the pages scroll inside their tabs.
    void showEvent(QShowEvent* evento) override;
    // Saves what the certificate left holds, applies the move and shows the new certificate.
    virtual void sposta(const std::function<void()>& movimento) = 0;
    // The current row is a stored certificate (not a new row, not past the end).
    virtual bool rigaCorrenteSalvata() const = 0;
    // The framed row of the four arrows and the counter, for the toolbar.
    QWidget* navigatore();
    // The counter and the "*" of unsaved changes in the title follow the rows.
    void aggiornaSegni();
    // Ctrl+Home and Ctrl+End move through the list even from a box that would take them.
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    // Salva, Aggiungi, Modifica, Annulla and Cancella, in this order.
    void pulsantiModifica(QHBoxLayout* barra);
    QToolButton* pulsanteChiudi();
    // The current certificate as shown, for the check; none when there is no certificate.
    virtual std::optional<std::vector<check::Problema>> problemiCorrenti() = 0;
    // The person of the certificate shown, as the delete question names it; empty when none.
    virtual QString personaCorrente() const = 0;
    // A box of the header line that holds a column ("tipo"), or nullptr.
    virtual QWidget* casellaDellaTestata(const std::string& colonna) {
        (void)colonna;
        return nullptr;
    }
    // The status line shows why a box is marked, or nothing when this box is right now.
    void mostraStato(QWidget* box, int gravita, const QString& messaggio);
    // A grey read-only box of the header line, named for tests and scripts.
    QLineEdit* casellaTestata(const QString& nome, int larghezza);

    // The page tabs, one a page with its title; a page's typing is written at once into its rows.
    void creaSchede(std::initializer_list<std::pair<const forms::Pagina*, QString>> pagine);
    // The sending line of the certificates of this list (before componi).
    void creaTestataInvio(storage::Elenco elenco);
    // The window's layout: the toolbar, the header line, the sending line, the tabs filling the rest.
    void componi(QHBoxLayout* barra, QHBoxLayout* testata);
    bool modificheFuoriDalleRighe() const override;
    // Saves the sending line of the current certificate. Called before its rows are saved: a
    // wrong identifier stops the save with nothing written.
    void salvaInvio();
    // The rows of this certificate were saved with changes, to be compared with its last sending.
    void segnaModificato(std::int64_t id);
    // Writes a save of the certificate as one, from the revision the window read. When another
    // operator saved it meanwhile nothing is written and the operator is asked whether to reload
    // it: Sì shows it as stored (the typing is dropped), No keeps the typing on screen, unsaved;
    // either way the command ends there (ui::AzioneInterrotta).
    void salvaCertificato(std::int64_t id, std::int64_t revisioneLetta, const std::function<void()>& scrivi);
    // The current certificate as stored now, what was typed dropped.
    virtual void ricaricaCertificato() = 0;
    // Binds a page to the current rows and shows them (called while caricando_ holds).
    virtual void mostraPagina(forms::VistaPagina& vista) = 0;
    // Shows the current certificate's values in the header line.
    virtual void aggiornaTestata() = 0;
    // Every page is to be shown again; the one in view is shown now.
    void caricaPagine();
    // Pages are loaded when shown: moving touches only the page in view.
    void caricaVisibile();
    // Writes what was typed on the pages shown for the current certificate.
    void scriviPagineCaricate();

    // The checks before a command on a stored certificate, with their messages: false when
    // there is none, or deleting is not confirmed.
    bool certificatoPresente(bool presente);
    // The delete question names the person (ui::testi::persona) on its second line.
    bool cancellazioneConfermata(bool presente, const QString& persona);
    // What the operator refused is dropped from the rows and the pages show the rows again.
    void scartaModifiche() override = 0;

    // An image button whose word is its tooltip (and its object name, for tests and scripts).
    QToolButton* pulsante(const QString& parola, const QIcon& icona, const std::function<void()>& azione);
    // A scrolling white surface holding a page at its natural size.
    static QScrollArea* scheda(forms::VistaPagina* vista);

    QString domandaCancellazione_;  // names the kind of person the editor holds
    QTabWidget* schede_ = nullptr;
    std::vector<forms::VistaPagina*> viste_;
    std::vector<QScrollArea*> aree_;  // the scrolling surface of each page
    QLabel* contatore_ = nullptr;
    QLabel* stato_ = nullptr;
    QWidget* statoDi_ = nullptr;  // the box whose reason the status line shows
    TFControllo* controllo_ = nullptr;
    TestataInvio* invio_ = nullptr;
    storage::Elenco elencoInvii_ = storage::Elenco::Dipendenti;
    std::vector<bool> caricata_;  // the page shows the current certificate
    bool caricando_ = false;      // the boxes are being filled, not typed into
};

}  // namespace entry
