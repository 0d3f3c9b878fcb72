#pragma once

// A batch of certificates printed one after another (each its own job), previewed one after
// another, or written one PDF per certificate; a progress dialog with "Annulla" stops the batch
// after the certificate being printed.

#include <QString>
#include <cstdint>
#include <vector>

#include "print/pdfcertificati.h"
#include "print/ui/uscita.h"

class QWidget;

namespace print {

struct OpzioniBatch {
    bool anteprima = false;
    bool pdfPerCertificato = false;
    QString cartella;  // for pdfPerCertificato
};

// Interrotto and Fallito have already been told to the operator.
enum class EsitoBatch { Eseguito, Interrotto, Fallito };

EsitoBatch StampaBatch(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids,
                       const OpzioniBatch& opzioni, Uscita& uscita, QWidget* parent);

inline const QString kStampaInterrotta = QStringLiteral("Stampa interrotta dall'operatore.");

}  // namespace print
