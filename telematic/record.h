#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "storage/row.h"
#include "telematic/campi.h"
#include "telematic/tracciato.h"

namespace telematic {

struct Contatori {
    long ContaB = 0, ContaC = 0, ContaD = 0, ContaG = 0, ContaH = 0;
};

struct PosizioniColonne;

// The writers' run context: the open transmission file and the encoder's context.
struct ContestoRecord {
    std::ostream& FileInvio;
    ContestoCampi& campi;
    std::string CertificatoCorrente;  // the ID of the certificate being written, for reports
    // Column positions resolved once per result layout, so a run does not look up names per row.
    std::shared_ptr<PosizioniColonne> posizioni = nullptr;
};

// A column's value in Windows-1252; a character with no Windows-1252 byte becomes "?" and
// the run is told which certificate and column held it.
std::string Valore(ContestoRecord& ctx, const storage::Row& riga, std::string_view colonna);
std::string Valore(ContestoRecord& ctx, const std::string& testo, std::string_view colonna);

// The body cut or filled to 1,897 characters, then "A" and CR LF, in one write.
void ScriviRecord(std::ostream& FileInvio, std::string_view corpo);

void ScriviRecordA(ContestoRecord& ctx, std::string_view tipoFornitore, const storage::Row& sostituto);
void ScriviRecordB(ContestoRecord& ctx, const storage::Row& sostituto);
// Record B's 1,897 characters as ScriviRecordB writes them; the archive check judges them.
std::string ComponiRecordB(ContestoRecord& ctx, const storage::Row& sostituto);
void ScriviRecordC(ContestoRecord& ctx, const storage::Row& sostituto, const storage::Row& quadroCt);
void ScriviRecordZ(ContestoRecord& ctx, const Contatori& conta);

// The sending a substitution or cancellation replaces: protocol (17 digits) and progressive
// (6 digits); empty in an ordinary supply, which writes zeros there.
struct Identificativi {
    std::string_view protocollo, progressivo;
};

// The 89-character head of a certificate record: type, agent, module, recipient, number, the
// identifiers (D only) and the reserved positions (zeros in D, blanks in G and H).
std::string TestaCertificato(char tipo, std::string_view modulo, std::string_view cfSostituto,
                             std::string_view cfPercipiente, std::string_view id,
                             const Identificativi& identificativi = {});

// Writes the head and the fields as one record, or as several records of the same head when
// the fields exceed the 75 a record holds; no field is split. Returns the records written.
int ScriviRecordCertificato(std::ostream& FileInvio, const std::string& testa, const std::vector<std::string>& campi);

// The two rules of the employees' log, which the archive check applies too: the start of work
// (point 8) is required when point 1 or 4 is filled; point 2 holds 1 or 2. Values as stored.
bool MancaDataInizioLavoro(std::string_view c001, std::string_view c004, std::string_view c008);
bool Punto2NonValido(std::string_view c002);

// The row of an employee's certificate a section is read from, as the layout says.
const storage::Row& RigaDellaSezione(Sezione s, const storage::Row& zefo1, const storage::Row& zefo2,
                                     const storage::Row& zefo3);

// Each returns the number of records written (one, unless a section overflowed).
int ScriviRecordD(ContestoRecord& ctx, const storage::Row& sostituto, const storage::Row& certificato,
                  const Identificativi& identificativi = {});
int ScriviRecordG(ContestoRecord& ctx, const storage::Row& sostituto, const storage::Row& zefo1,
                  const storage::Row& zefo2);
int ScriviRecordG2(ContestoRecord& ctx, const storage::Row& sostituto, const storage::Row& zefo1,
                   const storage::Row& zefo3);
int ScriviRecordH(ContestoRecord& ctx, const storage::Row& sostituto, const storage::Row& professionista);

}  // namespace telematic
