#pragma once

#include <QWidget>

#include "print/selezione.h"
#include "print/stampabatch.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace print {

// Batch printing of employee-type certificates by employee number or by surname, restricted to
// the ticked kinds. The window keeps its values while hidden.
class TFStampeTutti : public QWidget {
    Q_OBJECT
public:
    explicit TFStampeTutti(storage::Connection& conn, QWidget* parent = nullptr);
    // Where the prints go (the default printer and preview unless a test says otherwise).
    void setUscita(Uscita& uscita) { uscita_ = &uscita; }

public slots:
    void stampaPerMatricola();
    void stampaPerCognome();

protected:
    void showEvent(QShowEvent* e) override;

private:
    bool tipi(TipiSelezionati& t);
    OpzioniBatch opzioni(bool anteprima) const;

    storage::Connection& conn_;
    Uscita* uscita_;
    bool centrata_ = false;
    QCheckBox* cbDip_;
    QCheckBox* cbAmm_;
    QCheckBox* cbCoCo_;
    QLineEdit* dalNr_;
    QLineEdit* alNr_;
    QCheckBox* anteprimaMatricola_;
    QLineEdit* da_;
    QLineEdit* a_;
    QCheckBox* anteprimaCognome_;
    QCheckBox* pdfPerCertificato_;
    QLineEdit* cartella_;
};

}  // namespace print
