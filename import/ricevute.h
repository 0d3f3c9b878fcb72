#pragma once

// The identifiers the Agency's receipt gives each accepted certificate, copied by the operator
// into a CSV file: ";" separated, an optional header line, columns codice fiscale; numero
// certificato; protocollo; progressivo.

#include <cstddef>
#include <optional>
#include <string>

#include "storage/connection.h"
#include "storage/invii.h"
#include "storage/reporter.h"

namespace importazione {

// Stores the protocol and progressive of each row in one transaction. A row whose certificate is
// not found (number and tax code must match the same certificate), or whose protocol is not 17
// digits or progressive not 6 digits, refuses the whole file: throws storage::Error naming the
// line and the value. Returns the number of rows stored; the reporter gets an info at the end.
// Without elenco each row is looked up among employees and professionals; a row matching one of
// each is refused and the list must be given.
std::size_t ImportaRicevute(storage::Connection& conn, const std::string& percorso, storage::Reporter& reporter,
                            std::optional<storage::Elenco> elenco = std::nullopt);

}  // namespace importazione
