#pragma once

#include <QWidget>

namespace storage {
class Connection;
}
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The window of a generation run: supplier type, record C, destination folder and file name.
// The employees' window adds the choice of the kinds to include.
class TFGenerazione : public QWidget {
    Q_OBJECT
public:
    enum class Tipo { Dipendenti, Professionisti };
    TFGenerazione(Tipo tipo, storage::Connection& conn, QWidget* parent);

    // "Genera file": the run, with its questions and messages.
    void generaFile();

private:
    QCheckBox* casella(const QString& testo, const char* nome, QWidget* genitore);

    Tipo tipo_;
    storage::Connection& conn_;
    QButtonGroup* RadioGroup1;
    QCheckBox* CheckBox1;
    QCheckBox* CBDipendenti = nullptr;
    QCheckBox* CbAmministratori = nullptr;
    QCheckBox* CbCoCoCo = nullptr;
    QLineEdit* Edit2;
    QLineEdit* Edit1;
    QPushButton* genera_;
    bool inCorso_ = false;
};
