#pragma once

// The professional certificate editor: one row of Professionisti on two pages of the form.

#include <string>
#include <vector>

#include "entry/editorcertificati.h"
#include "storage/certificati.h"

class QLineEdit;

class TFProfessionisti : public entry::EditorCertificati {
    Q_OBJECT
public:
    explicit TFProfessionisti(storage::Connection& conn, QWidget* parent = nullptr);

    void riapriElenco() override;
    void apriElencoSeChiuso() override;
    storage::Dataset& elenco() override { return elenco_; }

    void salva() override;
    void aggiungi() override;
    void modifica() override;
    void annulla() override;
    void cancella() override;
    void anteprima();
    void stampa();
    // Copies the agent's data of the current row (as shown) to every certificate.
    void riportaSostituto();

    QToolButton& pulsanteCopia() { return *copia_; }

protected:
    QString nomeFinestra() const override { return QStringLiteral("Certificazione Unica dei professionisti"); }
    void sposta(const std::function<void()>& movimento) override;
    bool rigaCorrenteSalvata() const override { return rigaSalvata(); }
    void scriviPagine() override;
    void salvaModifiche() override { salva(); }
    // The row drops its changes; a new row is discarded.
    void scartaModifiche() override;
    void ricaricaCertificato() override;
    void mostraPagina(forms::VistaPagina& vista) override;
    void aggiornaTestata() override;
    QString personaCorrente() const override;
    std::optional<std::vector<check::Problema>> problemiCorrenti() override;

private:
    bool rigaSalvata() const;
    // A new row holds nothing but what "Aggiungi" put in it.
    bool nuovaIntatta();
    // A row, stored or new, is current.
    bool conRiga() const;
    void stampaRiga(bool conAnteprima);
    // Saves the row being left (its sending line first), then makes the move.
    void salvaLasciando(const std::function<void()>& movimento);
    void posizionaCopia();

    storage::Dataset elenco_;
    std::vector<storage::ValoreColonna> precompilati_;  // what a new row starts with
    QToolButton* copia_ = nullptr;
    QLineEdit* cognome_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QLineEdit* codiceFiscale_ = nullptr;
};
