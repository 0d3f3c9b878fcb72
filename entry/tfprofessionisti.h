#pragma once

// The professional certificate editor: one row of Professionisti on two pages of the form.

#include <array>
#include <string>

#include "entry/editorcertificati.h"

class QLineEdit;
class QTabWidget;

class TFProfessionisti : public entry::EditorCertificati {
    Q_OBJECT
public:
    explicit TFProfessionisti(storage::Connection& conn, QWidget* parent = nullptr);

    void riapriElenco();
    void apriElencoSeChiuso() override;
    void paginaIniziale();
    storage::Dataset& elenco() override { return elenco_; }

    void salva();
    void aggiungi();
    void modifica();
    void annulla();
    void cancella();
    void anteprima();
    void stampa();
    // Copies the agent's data of the current row (as shown) to every certificate.
    void riportaSostituto();

    QTabWidget& schede() { return *schede_; }
    forms::VistaPagina& vista(int indice) { return *viste_[static_cast<std::size_t>(indice)]; }
    QToolButton& pulsanteCopia() { return *copia_; }

protected:
    void sposta(const std::function<void()>& movimento) override;
    bool rigaCorrenteSalvata() const override { return rigaSalvata(); }
    bool confermaChiusura() override;

private:
    bool rigaSalvata() const;
    void scriviPagine();
    void caricaPagine();
    void caricaVisibile();
    void aggiornaTestata();
    void stampaRiga(bool conAnteprima);
    void posizionaCopia();

    storage::Dataset elenco_;
    QTabWidget* schede_ = nullptr;
    std::array<forms::VistaPagina*, 2> viste_{};
    std::array<bool, 2> caricata_{};
    QToolButton* copia_ = nullptr;
    QLineEdit* cognome_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QLineEdit* codiceFiscale_ = nullptr;
    bool caricando_ = false;
};
