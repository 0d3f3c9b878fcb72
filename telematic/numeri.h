#pragma once

// The certificate number a supply can carry. The head of every certificate record holds it in
// five digits, so only the numbers from 1 to 99,999 travel as they are: a longer one would be
// cut to its first five digits and share them with its neighbours. The generation refuses a
// supply that holds such a number, both checks name it, and the renumbering (import/) moves
// it within the limit.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/invii.h"

namespace telematic {

// 99,999: the largest number the head's field holds (its width comes from the layout).
std::int64_t NumeroCertificatoMassimo();
// Whether the number travels unchanged: from 1 to NumeroCertificatoMassimo().
bool NumeroCertificatoValido(std::int64_t id);

struct NumeroFuori {
    std::int64_t id = 0;
    std::string nominativo;  // surname, a blank, first name
};

// The certificates of the list whose number does not travel, ascending; for employees those of
// these kinds, or every Zefo1 row, whatever its kind, without them.
std::vector<NumeroFuori> NumeriFuoriLimite(storage::Connection& conn, storage::Elenco elenco,
                                           const storage::Tipi* tipi = nullptr);

}  // namespace telematic
