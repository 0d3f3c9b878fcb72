#pragma once

#include <QWidget>
#include <functional>

#include "import/importazione.h"

namespace storage {
class Connection;
class Reporter;
}  // namespace storage
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The import window: one panel per source, the shared "Dati Aggiuntivi" and the archive reset.
class TFImportaFile : public QWidget {
    Q_OBJECT
public:
    explicit TFImportaFile(storage::Connection& conn, QWidget* parent = nullptr);

    void importaPaghe();
    void importaFinanziaria();
    void importa770(int tracciato);
    void importaAltro();
    // The identifiers the Agency's receipt gave the accepted certificates.
    void importaRicevute();
    void eliminaEnte();
    void eliminaDipendenti();
    void eliminaProfessionisti();
    // "Ripristina archivio…": the list of the archive's backups, and the restore of one.
    void ripristinaArchivio();
    // "Rinumera i certificati…": the numbers the transmission file cannot carry, after a question.
    void rinumeraCertificati();
    // Asked before a reset or a restore touches the archive: the editing windows' save question
    // (false, the operator chose to stay, stops it).
    void primaDiEliminare(std::function<bool()> salvaPrima) { salvaPrima_ = std::move(salvaPrima); }

signals:
    // A reset emptied these data; windows that show them must read them again.
    void datiEliminati(importazione::Archivio quali);
    // A restore put an older copy in place of the whole archive.
    void archivioRipristinato();
    // Certificates took new numbers: windows that show certificates must read them again.
    void certificatiRinumerati();
    // A receipts import ran: identifiers of certificates may have been written.
    void ricevuteImportate();

private:
    QGroupBox* pannello(const QString& titolo, const char* nome);
    QLineEdit* campo(const QString& testo, const char* nome);
    // The reset of these data, after its questions.
    void elimina(importazione::Archivio quali);
    QPushButton* bottone(const QString& testo, const char* nome, const std::function<void()>& azione);
    // Runs one import or reset with a progress dialog; the core's errors reach an error box.
    void esegui(const QString& etichetta, const std::function<void(storage::Reporter&)>& lavoro);

    storage::Connection& conn_;
    QLineEdit* EditAttivita;
    QLineEdit* EditSede;
    QLineEdit* EditMatricola;
    QButtonGroup* RadioGroup1;
    QCheckBox* CBSostituto;
    QLineEdit* EditPaghe;
    QCheckBox* CbDatiGenerali;
    QCheckBox* CbCuDipendenti;
    QLineEdit* EditFinanziaria;
    QLineEdit* Edit770;
    QLineEdit* EditAltro;
    QCheckBox* CbAltro;
    QLineEdit* EditRicevute;
    QComboBox* CbElencoRicevute;
    bool inCorso_ = false;
    std::function<bool()> salvaPrima_;
    bool salvato() { return !salvaPrima_ || salvaPrima_(); }
};
