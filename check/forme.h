#pragma once

#include <string>
#include <string_view>

#include "telematic/tracciato.h"

namespace check {

// Empty when a stored value (not empty after trimming) has the form of its type; otherwise
// the Italian reason. Texts (AN) and boxes (CB) have no form.
std::string ErroreValoreArchivio(telematic::TipoCampo tipo, std::string_view valore);

// Empty when the 16-character value of a field in the file has the form of its type.
std::string ErroreValoreFile(telematic::TipoCampo tipo, std::string_view valore);

// The rules of a box's form beyond its type, the same for a stored value and for a field of the
// file (both trimmed, not empty): empty when right, otherwise the Italian reason.
std::string ErroreForma(telematic::Forma forma, std::string_view valore);
// What is probably wrong though the Agency takes it (a tax code's birth date that does not exist,
// a province code that is no Italian province's).
std::string AvvisoForma(telematic::Forma forma, std::string_view valore);

bool DataValida(int giorno, int mese, int anno);

// "31/12/2014" checked as a real date in DD/MM/YYYY; empty when right.
std::string ErroreData(std::string_view valore);

}  // namespace check
