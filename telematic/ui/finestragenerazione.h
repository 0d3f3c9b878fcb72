#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "check/controllo.h"
#include "storage/invii.h"
#include "telematic/generazione.h"

namespace storage {
class Connection;
}
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TFControllo;

// The window of a generation run: supplier type, record C, destination folder and file name.
// The employees' window adds the choice of the kinds to include.
class TFGenerazione : public QWidget {
    Q_OBJECT
public:
    enum class Tipo { Dipendenti, Professionisti };
    TFGenerazione(Tipo tipo, storage::Connection& conn, QWidget* parent);

    // "Genera file": the run, with its questions and messages. When the pre-send check finds
    // errors it asks whether to go on; No shows them instead.
    void generaFile();
    // "Controllo": the pre-send check of what this window would write, shown in a list.
    void controlla();
    // "Controlla file": the same check over the file named by the folder and name boxes.
    void controllaFile();

    // The list of the last check; its "apri" signal asks for a certificate's editor.
    TFControllo& finestraControllo() { return *controllo_; }

    telematic::TipoFornitura fornitura() const;
    // "Solo i certificati scelti…": the list to tick, for an ordinary supply.
    void scegliCertificati();
    // The numbers ticked there, ascending; empty for every certificate.
    const std::vector<std::int64_t>& scelti() const { return scelti_; }

signals:
    // A supply was written: its certificates' sending rows changed.
    void fileScritto();

protected:
    void showEvent(QShowEvent* e) override;

private:
    storage::Elenco elenco() const;
    // Record C cannot travel with a correction supply: the box is cleared, saying why.
    void rifiutaQuadroCtSeCorrezione();
    // What the supply will hold, beside "Solo i certificati scelti…".
    void aggiornaScelti();
    QCheckBox* casella(const QString& testo, const char* nome, QWidget* genitore);
    storage::Tipi tipiScelti() const;
    check::OpzioniControllo opzioniControllo() const;
    QString intestazioneControllo() const;
    struct EsitoControllo {
        std::vector<check::Problema> problemi;
        bool concluso = false;  // false: cancelled by the operator or failed (the box said why)
        bool annullato = false;
    };
    // The archive check with a progress window that offers "Annulla".
    EsitoControllo controllaArchivio();
    void mostraControllo(std::vector<check::Problema> problemi, const QString& intestazione, bool file);

    Tipo tipo_;
    storage::Connection& conn_;
    QButtonGroup* RadioGroup1;
    QCheckBox* CheckBox1;
    QButtonGroup* fornitura_;
    QPushButton* bottoneScelti_;
    QLabel* etichettaScelti_;
    std::vector<std::int64_t> scelti_;
    // The check's window shows a check of the archive (not of a file).
    bool controllato_ = false;
    QCheckBox* CBDipendenti = nullptr;
    QCheckBox* CbAmministratori = nullptr;
    QCheckBox* CbCoCoCo = nullptr;
    QLineEdit* Edit2;
    // The folder Edit2 was last given by the program; another text is the operator's own.
    QString cartellaProposta_;
    QLineEdit* Edit1;
    QPushButton* genera_;
    QPushButton* bottoneControllo_;
    QPushButton* bottoneControllaFile_;
    TFControllo* controllo_;
    bool inCorso_ = false;
};
