#pragma once

#include <string>
#include <string_view>

namespace check {

// The check character of a 16-character personal tax code from its first 15 characters
// (upper-case letters and digits), or '\0' when a character is neither.
char CarattereControlloPersonale(std::string_view primi15);

// The check digit of an 11-digit numeric tax code from its first 10 digits, or '\0'.
char CifraControlloNumerica(std::string_view prime10);

// The digit a numeric position of a personal tax code stands for, a homonymy letter (L to V)
// read back as its digit; -1 for any other character.
int CifraDelCodice(char c);

// The birth month a personal tax code's ninth character stands for (A January to T December);
// 0 for any other character.
int MeseDelCodice(char c);

// Empty when the code (already trimmed) is a formally right tax code: 16 characters of a
// person, homonymy letters included, or 11 digits; otherwise the Italian reason.
std::string ErroreCodiceFiscale(std::string_view codice);

// Empty unless a formally right personal code gives a birth date that does not exist (31 June,
// 30 February): then the Italian reason. Probably mistyped, though the Agency does not refuse it.
std::string AvvisoCodiceFiscale(std::string_view codice);

// As above, for the 11-digit numeric code only.
std::string ErroreCodiceNumerico(std::string_view codice);

}  // namespace check
