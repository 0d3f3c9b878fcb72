#pragma once

// Record B's rules, stated once: the file check applies them to the record it reads, the archive
// check to the record the writer composes from the agent's row, so both judge what is sent.

#include <functional>
#include <string>
#include <string_view>

#include "check/controllo.h"
#include "storage/row.h"
#include "telematic/tracciato.h"

namespace check {

// A problem of record B: its severity, the agent's column it comes from (the window opens that
// box), the field's first position and its positions as a label ("B 337-338"), the sentence.
using SegnalaB = std::function<void(Gravita gravita, const std::string& colonna, int posizione,
                                    const std::string& campo, const std::string& testo)>;

// Applies every rule of record B to the record r (at least 1,897 characters, Windows-1252).
// With the agent's row the sentences quote the values as stored ("1a", not "0000001a").
void RegoleRecordB(std::string_view r, const storage::Row* sostituto, const SegnalaB& segnala);

// The highest role code of the signatory ("codice carica"): the codes run from 1 to 15.
inline constexpr int kCodiceCaricaMassimo = 15;

}  // namespace check
