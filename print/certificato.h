#pragma once

// The printed certificates: the employee certificate (seven sheets, eight with a further
// social-security section), the professional's (four sheets), and the agent's pages.

#include <cstdint>
#include <memory>
#include <vector>

#include "print/rapporto.h"
#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/reporter.h"
#include "storage/row.h"

namespace print {

// The editor's print and the batch print differ in a few boxes on paper.
enum class Variante { Editor, Batch };

// The eight page reports of the employee certificate, in print order.
class ReportCertificato {
public:
    explicit ReportCertificato(Variante variante);
    // The sheets of one certificate: 1, 2, 3, 4, [4 bis], 5, 6, 7.
    std::vector<const PaginaReport*> pagine(bool pag4Bis) const;
    void stampa(Pittore& pittore, const storage::Certificato& dati) const;

private:
    std::vector<PaginaReport> pagine_;  // 1, 2, 3, 4, 4 bis, 5, 6, 7
};

// The four page reports of the professional's certificate: 1, 5, 6, 7.
class ReportProfessionista {
public:
    explicit ReportProfessionista(Variante variante);
    const std::vector<PaginaReport>& pagine() const { return pagine_; }
    void stampa(Pittore& pittore, const storage::Row& professionista) const;

private:
    std::vector<PaginaReport> pagine_;
};

// The reports, built once per variant from the page descriptions.
const ReportCertificato& ReportDipendenti(Variante variante);
const ReportProfessionista& ReportProfessionisti(Variante variante);

// Jobs. A job over a list reads each certificate as it paints it, so memory does not grow with
// the list; the reporter (may be null) sees the progress and can stop after a certificate.
Lavoro LavoroCertificato(storage::Certificato dati, Variante variante);
Lavoro LavoroCertificati(storage::Connection& conn, std::vector<std::int64_t> ids, Variante variante,
                         storage::Reporter* reporter = nullptr);
Lavoro LavoroProfessionista(storage::Row professionista, Variante variante);
Lavoro LavoroProfessionisti(storage::Connection& conn, std::vector<std::int64_t> ids, Variante variante,
                            storage::Reporter* reporter = nullptr);
// The agent's frontispiece and the Quadro CT page, from the rows as now stored (the first by key).
Lavoro LavoroSostituto(storage::Connection& conn);
Lavoro LavoroQuadroCT(storage::Connection& conn);

}  // namespace print
