#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;

namespace print {

class Uscita;

// "Un PDF per certificato" with its folder: both batch windows offer it.
class SezionePdf : public QGroupBox {
    Q_OBJECT
public:
    SezionePdf(Uscita*& uscita, QWidget* parent);
    QCheckBox* attivo() const { return attivo_; }
    QLineEdit* cartella() const { return cartella_; }

private:
    Uscita*& uscita_;
    QCheckBox* attivo_;
    QLineEdit* cartella_;
};

}  // namespace print
