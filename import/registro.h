#pragma once

// The archive's record of imports (table Importazioni) and what a run says when it ends.

#include <cstdint>
#include <optional>
#include <string>

#include "storage/connection.h"
#include "storage/importazioni.h"
#include "storage/invii.h"
#include "storage/reporter.h"

namespace importazione {

class LettoreRighe;

using Importazione = storage::Importazione;

// How a run started from a file records itself: the kind written in the record.
struct Registrazione {
    std::string tipo;
};

// The latest import of a file with this size and digest.
using storage::ImportazionePrecedente;
inline void Registra(storage::Connection& conn, const Importazione& voce) { storage::RegistraImportazione(conn, voce); }

// "Il file X è già stato importato il GG/MM/AAAA alle HH:MM. Importarlo di nuovo?"
std::string DomandaGiaImportato(const std::string& file, const Importazione& precedente);
// "Importati N certificati (M righe aggiuntive) dal file X." (singular for one); a reading
// that has no additional lines (aggiuntive empty) leaves the bracket out.
std::string Riepilogo(std::size_t certificati, std::optional<std::size_t> aggiuntive, const std::string& file);

// What every import run does around its lines: one transaction, the lines that are not blank one
// by one with the progress report and its cancel, the new certificates marked changed, then
// Concludi.
class Corsa {
public:
    Corsa(storage::Connection& conn, LettoreRighe& lettore, storage::Elenco elenco, storage::Reporter& reporter);
    // The next line that is not blank; false at the end of the data or once cancelled.
    bool prossima();
    bool annullata() const { return annullata_; }
    // false when cancelled or when the operator does not want a file imported before again.
    bool concludi(std::size_t certificati, std::optional<std::size_t> aggiuntive, const Registrazione* reg);

private:
    storage::Connection& conn_;
    LettoreRighe& lettore_;
    storage::Elenco elenco_;
    storage::Reporter& reporter_;
    storage::Transaction transazione_;
    std::int64_t ultimo_;
    bool annullata_ = false;
};

// The end of a run that read its file to the end, every line past the shape checks: with reg,
// the question for a file whose content was imported before (No: false, nothing is committed)
// and the record; the commit, then the characters that became "?", then "Operazione
// terminata." with the summary in one box.
bool Concludi(storage::Connection& conn, storage::Transaction& transazione, LettoreRighe& lettore,
              storage::Reporter& reporter, std::size_t certificati, std::optional<std::size_t> aggiuntive,
              const Registrazione* reg);

}  // namespace importazione
