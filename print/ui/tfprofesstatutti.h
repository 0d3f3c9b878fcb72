#pragma once

#include <QWidget>

#include "print/selezione.h"
#include "print/ui/stampabatch.h"

namespace print {

class SezioneIntervallo;
class SezionePdf;

// Batch printing of professionals' certificates by surname. The window keeps its values while
// hidden.
class TFProfesStaTutti : public QWidget {
    Q_OBJECT
public:
    explicit TFProfesStaTutti(storage::Connection& conn, QWidget* parent = nullptr);
    void setUscita(Uscita& uscita) { uscita_ = &uscita; }

public slots:
    void stampaPerCognome();

private:
    storage::Connection& conn_;
    Uscita* uscita_;
    SezioneIntervallo* cognome_;
    SezionePdf* pdf_;
};

}  // namespace print
