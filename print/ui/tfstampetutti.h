#pragma once

#include <QWidget>

#include "print/selezione.h"
#include "print/ui/stampabatch.h"

class QCheckBox;

namespace print {

class SezioneIntervallo;
class SezionePdf;

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

private:
    bool tipi(storage::Tipi& t);

    storage::Connection& conn_;
    Uscita* uscita_;
    QCheckBox* cbDip_;
    QCheckBox* cbAmm_;
    QCheckBox* cbCoCo_;
    SezioneIntervallo* matricola_;
    SezioneIntervallo* cognome_;
    SezionePdf* pdf_;
};

}  // namespace print
