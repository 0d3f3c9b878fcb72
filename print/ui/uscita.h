#pragma once

// Where print jobs go: the default printer (no dialog), the preview window, a PDF file.

#include <QString>

#include "print/pdfcertificati.h"
#include "print/rapporto.h"

class QWidget;

namespace storage {
class Connection;
}

namespace print {

// How a preview of one certificate of a batch presents itself: its title names the place in
// the batch and the person ("3 di 20.000 - ROSSI MARIO"), and it offers to stop the rest.
struct InfoAnteprima {
    QString titolo;  // empty: "Anteprima di stampa"
    bool interrompibile = false;
    QString pdf;  // the file its print dialog proposes for printing to a PDF (PdfProposto)
};

inline const QString kInterrompiAnteprime = QStringLiteral("Interrompi anteprime");

// The printer, the preview and the file dialog as the operator meets them; tests give their own.
class Uscita {
public:
    virtual ~Uscita() = default;
    virtual bool stampantePresente() const = 0;
    // Sends the job to the default printer without a dialog; false when nothing was printed
    // (the operator has been told why).
    virtual bool stampa(const Lavoro& lavoro, QWidget* parent) = 0;
    // Shows the job in the preview window and returns when the operator closes it; false when
    // he chose "Interrompi anteprime".
    virtual bool anteprima(const Lavoro& lavoro, QWidget* parent, const InfoAnteprima& info) = 0;
    void anteprima(const Lavoro& lavoro, QWidget* parent) { anteprima(lavoro, parent, InfoAnteprima{}); }
    // Asks where to save a PDF; empty when the operator gives up.
    virtual QString chiediFilePdf(QWidget* parent, const QString& proposto) = 0;
    // Asks for a folder; empty when the operator gives up.
    virtual QString chiediCartella(QWidget* parent, const QString& proposta) = 0;
};

// The machine's default printer, QPrintPreviewDialog and the file dialogs.
Uscita& UscitaPredefinita();

inline const QString kNessunaStampante = QStringLiteral("Nessuna stampante predefinita: impossibile stampare.");
inline const QString kOffertaPdf = QStringLiteral("Salvare la stampa in un file PDF?");

// A PDF named nome in the archive's PDF folder (or in cartella, the one the operator typed for
// the batch prints), made if missing so that the dialogs can write there; where it cannot be
// made (a read-only medium), in the home folder.
QString PdfProposto(const storage::Connection& conn, const QString& nome, const QString& cartella = {});

// Prints the job; with no default printer tells the operator and offers to save it as a PDF.
// True when the job was printed or saved.
bool StampaOppurePdf(Uscita& uscita, const Lavoro& lavoro, QWidget* parent, const QString& pdfProposto);

}  // namespace print
