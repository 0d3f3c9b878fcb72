#pragma once

// What the two certificate editors share: a list of certificates the search windows move,
// toolbar buttons, the page tabs and the way a command reports a failure.

#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "storage/dataset.h"

class QCloseEvent;
class QHBoxLayout;
class QLineEdit;
class QScrollArea;
class QTabWidget;
class QToolButton;

namespace forms {
class Pagina;
class VistaPagina;
}  // namespace forms

namespace entry {

// The text shown when a command needs a stored certificate and there is none.
inline const QString kNessunCertificato = QStringLiteral("Nessun certificato selezionato.");
inline const QString kDomandaSalvataggio =
    QStringLiteral("Attenzione: Hai effettuato delle modifiche. Vuoi salvarle ?");
inline const QString kDomandaCancellazione =
    QStringLiteral("Attenzione: Confermi la cancellazione del seguente dipendente?");

// A row being edited, or a new row the operator typed into: what the save questions ask about.
bool inModifica(const storage::Dataset& d);

// Shows a value the window computes in its box, when the page has one.
void mostraCampo(forms::VistaPagina& vista, const QString& tabella, const QString& colonna,
                 const QString& testo);

class EditorCertificati : public QWidget {
    Q_OBJECT
public:
    EditorCertificati(storage::Connection& conn, QWidget* parent);

    storage::Connection& connessione() { return conn_; }
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
    // The closing rule with the save question, then hide; false only if it could not close.
    bool chiudiFinestra();

    // The toolbar's commands (the buttons call these, and so can a test).
    virtual void salva() = 0;
    virtual void aggiungi() = 0;
    virtual void modifica() = 0;
    virtual void annulla() = 0;
    virtual void cancella() = 0;

    // Makes "Pagina 1" the current tab.
    void paginaIniziale();
    QTabWidget& schede() { return *schede_; }
    forms::VistaPagina& vista(int indice) { return *viste_[static_cast<std::size_t>(indice)]; }

signals:
    // The rows of the list changed: re-opened, filtered, a certificate added or deleted.
    void elencoCambiato();
    // Another certificate became current.
    void certificatoCambiato();
    // Values of the current certificate were saved.
    void datiCambiati();

protected:
    // Asks the save question when needed and saves; false keeps the window open.
    virtual bool confermaChiusura() = 0;
    void closeEvent(QCloseEvent* e) override;

    // Saves what the certificate left holds, applies the move and shows the new certificate.
    virtual void sposta(const std::function<void()>& movimento) = 0;
    // The current row is a stored certificate (not a new row, not past the end).
    virtual bool rigaCorrenteSalvata() const = 0;
    // The framed row of the four arrows, for the toolbar.
    QWidget* navigatore();
    // Salva, Aggiungi, Modifica, Annulla and Cancella, in this order.
    void pulsantiModifica(QHBoxLayout* barra);
    QToolButton* pulsanteChiudi();
    // A grey read-only box of the header line, named for tests and scripts.
    QLineEdit* casellaTestata(const QString& nome, int larghezza);

    // The page tabs, one a page with its title; a page's typing is written at once into its rows.
    void creaSchede(std::initializer_list<std::pair<const forms::Pagina*, QString>> pagine);
    // The window's layout: the toolbar, the header line, the tabs filling the rest.
    void componi(QHBoxLayout* barra, QHBoxLayout* testata);
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
    bool cancellazioneConfermata(bool presente);

    // Runs an operator's command: a failure ends it and is shown in an error box.
    bool esegui(const std::function<void()>& azione);

    // An image button whose word is its tooltip (and its object name, for tests and scripts).
    QToolButton* pulsante(const QString& parola, const QIcon& icona,
                          const std::function<void()>& azione);
    // A scrolling white surface holding a page at its natural size.
    static QScrollArea* scheda(forms::VistaPagina* vista);

    storage::Connection& conn_;
    QTabWidget* schede_ = nullptr;
    std::vector<forms::VistaPagina*> viste_;
    std::vector<bool> caricata_;  // the page shows the current certificate
    bool caricando_ = false;  // the boxes are being filled, not typed into
};

// Icons of the toolbars, drawn here so that every platform shows the same ones.
enum class Icona { Salva, Aggiungi, Modifica, Annulla, Cancella, Stampa, Anteprima, Primo,
                   Precedente, Successivo, Ultimo, Chiudi, Copia };
QIcon icona(Icona i);

}  // namespace entry
