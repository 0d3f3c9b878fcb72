#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace check {

// A column of a certificate and the non-positional field that carries it.
struct CampoColonna {
    std::string colonna;
    std::string codice;
    std::string tipo;
};

// Every typed column of a certificate, grouped by the record that carries it, in writing
// order. Boxes whose any non-blank value counts as ticked (month flags, family letters) are
// left out: they have no form to check.
struct Tracciato {
    std::vector<CampoColonna> anagrafici;     // D record: Zefo1 and Professionisti
    std::vector<CampoColonna> fiscaliZefo1;   // G record, points stored in Zefo1
    std::vector<CampoColonna> fiscaliZefo2;   // G record, points stored in Zefo2
    std::vector<CampoColonna> familiari;      // G record, Zefo2; famN_7 is "PC" unless exactly "C"
    std::vector<CampoColonna> previdenziali;  // both sections (Zefo2 and Zefo3); D19 is special
    std::vector<CampoColonna> soloPrimaSezione;  // Zefo2 only; D37 and D38 join two columns
    std::vector<CampoColonna> autonomi;       // H record
    // Field code -> type, for reading a file: every code the writers produce.
    std::unordered_map<std::string, std::string> tipoPerCodice;
};

const Tracciato& Campi();

// The type of a field code, or "" when the code is not one of this layout's.
std::string_view TipoDelCodice(std::string_view codice);

}  // namespace check
