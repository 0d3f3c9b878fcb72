#pragma once

#include <string>
#include <string_view>

#include "telematic/tracciato.h"

namespace check {

// A value typed into a box, completed the way an operator writes it when that is certain:
// amounts and percentages with the decimal comma, two decimals and the thousands dots ("1000",
// "1.000" → "1.000,00"; "580.6" → "580,60"); two-digit counts, months and INAIL days ("6" →
// "06"); tax codes, provinces and comune codes in capitals without blanks around. Anything else,
// and anything that cannot be read for sure, comes back as typed.
std::string Completa(const telematic::CampoSezione& casella, std::string_view valore);

// The amount part of the above: empty when the text cannot be read as an amount for sure.
std::string CompletaImporto(std::string_view valore, bool conSegno);

}  // namespace check
