#pragma once

// The employee certificate editor: one certificate at a time (its Zefo1 row, its Zefo2 row
// and the first of its Zefo3 rows) on the pages of the official form.

#include <array>
#include <cstdint>
#include <string>

#include "entry/editorcertificati.h"
#include "storage/dataset.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class TFPagina1 : public entry::EditorCertificati {
    Q_OBJECT
public:
    explicit TFPagina1(storage::Connection& conn, QWidget* parent = nullptr);

    void riapriElenco() override;
    void apriElencoSeChiuso() override;
    storage::Dataset& elenco() override { return zefo1_; }
    storage::Dataset& zefo2() { return zefo2_; }
    storage::Dataset& zefo3() { return zefo3_; }

    void salva() override;
    void aggiungi() override;
    void modifica() override;
    void annulla() override;
    void cancella() override;
    void stampa();
    // Re-queries the list from the four kind boxes. A certificate just added and not yet kept is
    // left through the save question (No removes it); false when its saving failed and the list
    // stays as it was.
    bool filtra();
    // One click: only the certificates of this kind, or all of them (none); false as filtra.
    bool filtraSolo(std::optional<storage::Tipo> tipo) override;

    QCheckBox& casellaFiltro(int indice) { return *filtri_[static_cast<std::size_t>(indice)]; }
    QComboBox& tipo() { return *tipo_; }
    // The query text the list is opened with (the kind filter replaces it).
    const storage::Righe& interrogazione() const { return interrogazione_; }

protected:
    QString nomeFinestra() const override { return QStringLiteral("Certificazione Unica dei dipendenti"); }
    void sposta(const std::function<void()>& movimento) override;
    bool rigaCorrenteSalvata() const override { return certificatoCorrente(); }
    void scriviPagine() override;
    // Saves the whole certificate and shows it again, as saved.
    void salvaModifiche() override;
    // A certificate just added and refused is deleted; otherwise the three rows drop their changes.
    void scartaModifiche() override;
    void ricaricaCertificato() override;
    void mostraPagina(forms::VistaPagina& vista) override;
    void aggiornaTestata() override;
    QString personaCorrente() const override;
    std::optional<std::vector<check::Problema>> problemiCorrenti() override;
    QWidget* casellaDellaTestata(const std::string& colonna) override;

private:
    // A kind no file takes is marked in the header, with the check's reason.
    void segnaTipo(bool conTipo);
    bool certificatoCorrente() const;
    bool righeCambiate() const;
    // The current certificate is the one "Aggiungi" stored and the operator has not yet kept.
    bool nuovoCorrente() const;
    void salvaTutto();
    // Saves the certificate being left, then makes the move (which saves its Zefo1 row).
    void salvaLasciando(const std::function<void()>& movimento);
    // Deletes the current certificate's Zefo1 and Zefo2 rows; the next one becomes current.
    void eliminaCorrente();
    void salvaContinuazione();
    // Leaves a certificate just added that nothing was typed into: it is removed, and the move
    // goes on from where it stood in the list.
    void lasciaNuovoIntatto(const std::function<void()>& movimento);
    // Loads the current certificate's Zefo2 and Zefo3 rows, creating the Zefo2 row on first display.
    void seguiCertificato();
    void preparaZefo3();
    QString dittaMatr() const;

    storage::Dataset zefo1_;
    storage::Dataset zefo2_;
    storage::Dataset zefo3_;
    storage::Righe interrogazione_;
    // The certificate "Aggiungi" stored and the operator has not yet kept (Salva, Yes, moving on).
    std::int64_t nuovo_ = 0;
    std::int64_t primaDelNuovo_ = 0;  // the certificate current when it was added

    std::array<QCheckBox*, 4> filtri_{};  // Dipendenti, Amministratori, Co.Co.Co, Tutto
    QLineEdit* dittaMatr_ = nullptr;
    QLineEdit* codiceFiscale_ = nullptr;
    QLineEdit* cognome_ = nullptr;
    QLineEdit* nome_ = nullptr;
    QComboBox* tipo_ = nullptr;
};
