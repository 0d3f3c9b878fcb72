#pragma once

// What writes the agent's single rows (SostitutoImposta, Parametri, QuadroCt) apart from the
// editing windows, and what empties the lists on a reset.

#include <array>
#include <cstdint>
#include <string>

#include "storage/connection.h"
#include "storage/invii.h"
#include "storage/row.h"
#include "storage/tabelle.h"

namespace storage {

// A row of the table's columns, every value empty: how a missing single row reads.
Row RigaVuota(Connection& conn, Tabella tabella);

// Stores a frontispiece count (colonna "A1" or "A2") in the agent's row (the lowest key).
void ScriviConteggioSostituto(Connection& conn, const std::string& colonna, const std::string& valore);

// The agent's data a payroll import brings: tax code, surname or company name, first name,
// telephone and e-mail. They go to the agent's row (the lowest key), its other columns kept, or
// to a new one when there is none; the telephone's second part is emptied.
void ScriviSostitutoImportato(Connection& conn, const std::array<std::string, 5>& valori);

// A01 to A09 of the employees' certificate with the lowest number: the agent's data as the payroll
// import stored them; empty when there is none.
std::array<std::string, 9> ParteADelPrimoCertificato(Connection& conn);

// The reset of the agent's data: every column of Parametri and the agent's data and counts of
// SostitutoImposta emptied, the rows kept.
void SvuotaDatiEnte(Connection& conn);
// The Quadro CT's intermediary boxes emptied (with the employees' certificates).
void SvuotaIntermediarioQuadroCt(Connection& conn);

// Deletes every certificate of the list: the rows removed from each of its tables (Zefo1, Zefo2,
// Zefo3; the professionals only the first).
struct Eliminati {
    std::int64_t certificati = 0, seconde = 0, aggiuntive = 0;
};
Eliminati EliminaCertificati(Connection& conn, Elenco elenco);

}  // namespace storage
