#pragma once

// libFuzzer targets: arbitrary bytes fed to the readers. The first byte picks the reading, the
// rest is the file. A reader may refuse a file only with storage::Error, and then must have
// stored nothing; anything else (a crash, another exception, rows left behind) is a finding.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>

#include "import/lettori.h"

namespace fuzz {

using Lettura = std::function<void(storage::Connection&, std::istream&, unsigned scelta, importazione::DatiAggiuntivi&,
                                   storage::Reporter&)>;

// Runs one reading over an archive kept for the whole run and checks the contract above.
int provaLettore(const std::uint8_t* dati, std::size_t n, const Lettura& leggi);

}  // namespace fuzz
