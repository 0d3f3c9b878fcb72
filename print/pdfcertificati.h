#pragma once

// Certificates to PDF files without any window: the batch command, the batch windows' "one PDF
// per certificate" and the tests use these.

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "print/certificato.h"

namespace print {

// What a PDF run wrote.
struct EsitoPdf {
    int fogli = 0;
    bool completo = true;  // false when the job was stopped before its end
};

// Paints the job into a PDF file (A4, job title "Zf2015"); the file appears only once the job
// has been painted, so a failure leaves no partial file and an earlier file as it was.
// Throws storage::Error when the file can't be written.
EsitoPdf SalvaPdf(const Lavoro& lavoro, const QString& percorso);

enum class Famiglia { Dipendenti, Professionisti };

// The job that prints the listed certificates of a family, in order.
Lavoro LavoroSelezione(storage::Connection& conn, Famiglia famiglia, std::vector<std::int64_t> ids, Variante variante,
                       storage::Reporter* reporter = nullptr);

// All the listed certificates into one PDF file.
EsitoPdf PdfCertificati(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids,
                        Variante variante, const QString& percorso, storage::Reporter* reporter = nullptr);

struct EsitoCartella {
    std::vector<QString> file;  // the files written, in order
    bool completo = true;       // false when stopped before the end
};

// One PDF per certificate in cartella (created when missing), named by tax code, surname and
// number; an earlier file of the same name is replaced. Throws storage::Error when the folder is
// not given or can't be created, or a file can't be written.
EsitoCartella PdfPerCertificato(storage::Connection& conn, Famiglia famiglia, const std::vector<std::int64_t>& ids,
                                Variante variante, const QString& cartella, storage::Reporter* reporter = nullptr);

// "RSSMRA80A01H501U_ROSSI_12.pdf": characters a file name can't hold become "_".
QString NomeFilePdf(const std::string& codiceFiscale, const std::string& cognome, std::int64_t id);

inline const char* const kIndicareCartella = "Indicare la cartella di destinazione";

}  // namespace print
