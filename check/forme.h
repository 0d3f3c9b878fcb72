#pragma once

#include <string>
#include <string_view>

namespace check {

// The types of the non-positional fields, as the encoder names them, plus two of the check:
// "MESI" (twelve month flags) and "GM" (day and month, DDMM).

// Empty when a stored value (not empty after trimming) has the form of its type; otherwise
// the Italian reason. Texts (AN) and boxes (CB) have no form.
std::string ErroreValoreArchivio(std::string_view tipo, std::string_view valore);

// Empty when the 16-character value of a field in the file has the form of its type.
std::string ErroreValoreFile(std::string_view tipo, std::string_view valore);

bool DataValida(int giorno, int mese, int anno);

// "31/12/2014" checked as a real date in DD/MM/YYYY; empty when right.
std::string ErroreData(std::string_view valore);

}  // namespace check
