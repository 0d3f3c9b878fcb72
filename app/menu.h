#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/finestre.h"
#include "ui/collocazione.h"

class QPushButton;
class TDM;

// The main window: a column of buttons at the top-left corner of the screen from which every
// other window is reached. It holds no state of its own.
class TFmenu : public QWidget {
    Q_OBJECT
public:
    explicit TFmenu(QWidget* parent = nullptr);

    // The data module and the windows; assicura makes those start-up has not made yet.
    void collega(TDM& dm, Finestre& finestre, std::function<void()> assicura = {});

    // The button handlers, also reached by the buttons' object names.
    void importazioneDati();
    void datiGenerali();
    void quadroCt();
    void cuDipendenti();
    void ricercaDipendente();
    void stampaDipendenti();
    void generaDipendenti();
    void cuProfessionisti();
    void ricercaProfessionista();
    void stampaProfessionisti();
    void generaProfessionisti();

    // The title names the archive open: its agent (when typed) and its folder.
    void mostraArchivio(const QString& sostituto, const QString& cartella);
    // Before leaving the archive: each editing window's save question; false keeps it.
    bool salvaPrimaDiUscire();

    // Opens an editor, as its menu button does, on the certificate with this number, and shows
    // the box of this column (as the check names it) when there is one.
    void apriCertificato(FinestraDati* editor, std::int64_t id, const QString& colonna = {});

signals:
    // The first time the menu appears: start-up's configuration step follows.
    void primaApparizione();
    // The menu closed: the program ends.
    void chiuso();
    // "Cambia archivio…" was pressed.
    void cambiaArchivioRichiesto();
    // The operator came back to the menu: its title reads the agent's name again (an import may
    // have brought it).
    void attivato();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QPushButton* bottone(const QString& testo, const char* nome, void (TFmenu::*azione)(), bool grassetto = false);
    // Runs a handler; an error of the core reaches the operator in an error box.
    void esegui(const std::function<void()>& azione);
    // Steps shared by the buttons that open an editing or generation window.
    // False when the window could not be opened (an error box said why).
    bool apri(QWidget* finestra, const std::function<void()>& prepara, bool centrata);
    bool chiudiEditori();
    void mostra(QWidget* finestra);
    // The windows the menu only shows: placed when they open, left where they are when on screen.
    void mostraAlSuoPosto(QWidget* finestra, ui::Posto posto);
    // Every window made; false before start-up has given them.
    bool pronte();

    TDM* dm_ = nullptr;
    Finestre* f_ = nullptr;
    std::function<void()> assicura_;
    bool mostrato_ = false;
};
