#pragma once

#include <QGroupBox>
#include <string>

#include "print/ui/stampabatch.h"

class QCheckBox;
class QLineEdit;
class QVBoxLayout;

namespace print {

class Uscita;

// The groups both batch print windows are made of.

// A selection range: two bounds, "Anteprima" and "Stampa" in one row; "Stampa" emits stampa().
class SezioneIntervallo : public QGroupBox {
    Q_OBJECT
public:
    // The object names of the two bounds, of "Anteprima" and of "Stampa".
    struct Nomi {
        const char* da;
        const char* a;
        const char* anteprima;
        const char* stampa;
    };
    SezioneIntervallo(const QString& titolo, const QString& etDa, const QString& etA, const Nomi& nomi,
                      QWidget* parent);
    std::string da() const;
    std::string a() const;
    bool anteprima() const;

signals:
    void stampa();

private:
    QLineEdit* da_;
    QLineEdit* a_;
    QCheckBox* anteprima_;
};

// "Un PDF per certificato" with its folder.
class SezionePdf : public QGroupBox {
    Q_OBJECT
public:
    SezionePdf(Uscita*& uscita, const storage::Connection& conn, QWidget* parent);
    // The run's options: this section's choice, and the preview as the range asked.
    OpzioniBatch opzioni(bool anteprima) const;

protected:
    // The archive's own PDF folder, unless the operator typed another one.
    void showEvent(QShowEvent* e) override;

private:
    Uscita*& uscita_;
    const storage::Connection& conn_;
    QCheckBox* attivo_;
    QLineEdit* cartella_;
    QString cartellaProposta_;
};

// The foot of a batch window: the PDF section, then "Esci" with "Chiudi", which hides the window.
SezionePdf* AggiungiPiede(QVBoxLayout& l, Uscita*& uscita, const storage::Connection& conn, QWidget& finestra);

}  // namespace print
