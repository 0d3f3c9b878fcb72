#pragma once

// The imports over an open stream: what the importers of importazione.h run once they have
// checked the path and opened the file, and what the tests feed with strings. nomeFile names
// the file in error messages. Each runs in one transaction: on an error (storage::Error with
// file, line, field and value) or a cancel through Reporter::progress nothing of the run stays.
// Each checks the shape of every line before storing it: a file of another layout, a line cut
// inside a field or holding a control character is refused whole. With reg, the run writes its
// import record in the same transaction.

#include <istream>
#include <string>

#include "import/importazione.h"
#include "import/registro.h"

namespace importazione {

bool ImportaPaghe(storage::Connection& conn, std::istream& in, const std::string& nomeFile,
                  const std::string& codiceAzienda, storage::Tipo tracciato, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter, const Registrazione* reg = nullptr);
bool ImportaAltro(storage::Connection& conn, std::istream& in, const std::string& nomeFile,
                  const std::string& codiceAzienda, bool copiaSostituto, const DatiAggiuntivi& dati,
                  storage::Reporter& reporter, const Registrazione* reg = nullptr);
bool Importa770(storage::Connection& conn, std::istream& in, const std::string& nomeFile, int tracciato,
                const DatiAggiuntivi& dati, storage::Reporter& reporter, const Registrazione* reg = nullptr);
bool ImportaFinanziaria(storage::Connection& conn, std::istream& in, const std::string& nomeFile, bool daCuDipendenti,
                        const DatiAggiuntivi& dati, storage::Reporter& reporter, const Registrazione* reg = nullptr);

// The messages of the officers' and collaborators' readers for a continuation line.
inline constexpr const char* kContinuazioneAmministratore =
    "Errore, c' è un amministratore con dati della tassazione separata.";
inline constexpr const char* kContinuazioneCoCoCo = "Errore, c' è un CoCoCo con dati della tassazione separata.";
inline constexpr const char* kOperazioneTerminata = "Operazione terminata.";

}  // namespace importazione
