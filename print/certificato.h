#pragma once

// The printed certificates: the employee certificate (seven sheets, eight with a further
// social-security section), the professional's (four sheets), and the agent's pages.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "print/rapporto.h"
#include "storage/connection.h"
#include "storage/reporter.h"
#include "storage/row.h"

namespace print {

// The editor's print and the batch print differ in a few boxes on paper.
enum class Variante { Editor, Batch };

struct DatiCertificato {
    std::int64_t id = 0;
    storage::Row zefo1;
    storage::Row zefo2;          // empty when the certificate has none
    storage::Row zefo3;          // the first further section by key; empty when none
    bool stampaPag4Bis = false;  // the certificate has at least one Zefo3 row
};

// Reads certificates one at a time with statements prepared once for a whole batch.
class LettoreCertificati {
public:
    explicit LettoreCertificati(storage::Connection& conn);
    ~LettoreCertificati();
    // nullopt when there is no Zefo1 row with this number.
    std::optional<DatiCertificato> certificato(std::int64_t id);
    std::optional<storage::Row> professionista(std::int64_t id);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// The eight page reports of the employee certificate, in print order.
class ReportCertificato {
public:
    explicit ReportCertificato(Variante variante);
    // The sheets of one certificate: 1, 2, 3, 4, [4 bis], 5, 6, 7.
    std::vector<const PaginaReport*> pagine(bool pag4Bis) const;
    void stampa(Pittore& pittore, const DatiCertificato& dati) const;

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
Lavoro LavoroCertificato(DatiCertificato dati, Variante variante);
Lavoro LavoroCertificati(storage::Connection& conn, std::vector<std::int64_t> ids,
                         Variante variante, storage::Reporter* reporter = nullptr);
Lavoro LavoroProfessionista(storage::Row professionista, Variante variante);
Lavoro LavoroProfessionisti(storage::Connection& conn, std::vector<std::int64_t> ids,
                            Variante variante, storage::Reporter* reporter = nullptr);
// The agent's frontispiece and the Quadro CT page, from the rows as now stored (the first by key).
Lavoro LavoroSostituto(storage::Connection& conn);
Lavoro LavoroQuadroCT(storage::Connection& conn);

}  // namespace print
