#pragma once

// Where a problem of the check leads in the archive: the screen, the certificate and its box.

#include <cstdint>
#include <string>

#include "check/controllo.h"
#include "storage/connection.h"

namespace check {

struct Rimando {
    // Sostituto, QuadroCt, Dipendente or Professionista; File when nothing can be opened.
    Origine origine = Origine::File;
    std::int64_t id = 0;  // the certificate's number in the archive
    // The box, named as the archive check names it ("C001", "fam2_4", "Zefo3.D04"), or "".
    std::string colonna;
    std::string motivo;  // why nothing can be opened, in Italian, when origine is File
};

// A problem of the archive check leads where it was found. A problem of a transmission file
// leads to the certificate its record names: the one with the record's number and recipient's
// tax code, or else the only one with that tax code (the number of a file written before a
// renumbering); its box is the one of the problem's field code. Records A and B lead to the
// agent's data, record C to the Quadro CT. Throws storage::Error on a database failure.
Rimando RimandoNellArchivio(storage::Connection& conn, const Problema& p);

// The archive column whose box writes this field code in a record of this type and module
// ("DB001001" of a G record of module 1 is "C001"; of module 2, a further section's box
// "Zefo3.…"), or "" when the code is no box's.
std::string ColonnaDelCampo(char tipoRecord, int modulo, const std::string& codice);

}  // namespace check
