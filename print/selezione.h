#pragma once

// Which certificates a batch prints. The typed bounds are bound as parameters (an apostrophe is
// just a letter) and compared as the archive compares text: character by character, ignoring
// case, both bounds included.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/certificati.h"
#include "storage/connection.h"

namespace print {

inline const char* const kNessunTipo = "Operazione non possibile, non è stato selezionato alcun tipo di filtro";
inline const char* const kSelezioneVuota = "Nessun record selezionato nell'intervallo indicato.";
inline const char* const kOperazioneEseguita = "Operazione eseguita";

// Certificate numbers by employee number (Zefo2.MatrDip), in employee-number order.
std::vector<std::int64_t> SelezionaPerMatricola(storage::Connection& conn, const storage::Tipi& tipi,
                                                const std::string& da, const std::string& a);
// Certificate numbers by surname (Zefo1.B02), in surname order.
std::vector<std::int64_t> SelezionaPerCognome(storage::Connection& conn, const storage::Tipi& tipi,
                                              const std::string& da, const std::string& a);
// Professionals by surname, in surname order.
std::vector<std::int64_t> SelezionaProfessionisti(storage::Connection& conn, const std::string& da,
                                                  const std::string& a);

}  // namespace print
