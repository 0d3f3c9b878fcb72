#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/reporter.h"
#include "storage/testo.h"
#include "telematic/tracciato.h"

namespace telematic {

// Text here is single-byte Windows-1252: every width counts bytes.

// value left-aligned in width: blank-filled on the right, or cut to its first width characters.
std::string AllineaSinistra(std::string_view valore, std::size_t larghezza);
// value without "." right-aligned in width: blank-filled on the left, or cut to its first width.
std::string AllineaDestra(std::string_view valore, std::size_t larghezza);
// value without "." zero-filled on the left, or cut to its first width characters.
std::string RiempiZeri(std::string_view valore, std::size_t larghezza);

// Where the encoder's error reports go: a line of the log in the employees' run, a message
// box in the professionals' run. Texts are UTF-8; the log writer converts them.
class SegnalatoreErrori {
public:
    virtual ~SegnalatoreErrori() = default;
    virtual void segnala(const std::string& testo) = 0;
};

enum class Fornitura { Dipendenti, Professionisti };

// The run context the encoder reports with: the sink, the run kind (the two runs word
// their reports differently), the reporter for the unknown-type box, and the current name.
struct ContestoCampi {
    SegnalatoreErrori* segnalatore = nullptr;
    storage::Reporter* reporter = nullptr;
    Fornitura fornitura = Fornitura::Dipendenti;
    std::string NominativoCorrente;  // UTF-8: surname, a blank, first name
};

using storage::Rifila;

// What the encoder finds wrong in a value; the field is written all the same.
enum class ErroreCampo : std::uint16_t {
    Cifre = 47156,      // N3 longer than three characters, N10 not exactly ten
    Lunghezza = 47812,  // the elements are not a whole number of 24 characters
};

struct ProblemaCampo {
    ErroreCampo errore;
    std::string codice;
    TipoCampo tipo;
    std::string valore;  // as the type's rule used it (for NU, VP, NP, VN without its points)
};

struct CampoCodificato {
    std::string elementi;                 // elements of 24 characters, or "" for an empty box
    std::vector<ProblemaCampo> problemi;  // in the order they arise
};

// One box as non-positional elements of 24 characters (8 of code, 16 of value), with what is
// wrong in it. Month flags are written by CampoMesi: Mesi gives nothing here.
CampoCodificato Codifica(std::string_view codice, TipoCampo tipo, std::string_view valore);

// A problem as the run reports it (the two runs word them differently); name is
// NominativoCorrente.
std::string TestoProblema(const ProblemaCampo& p, Fornitura fornitura, const std::string& nominativo);

// The box encoded, its problems reported to the run's sink.
std::string CampoNonPosizionale(ContestoCampi& ctx, std::string_view codice, TipoCampo tipo, std::string_view valore);
// The same with the type by name; a name outside the encoder's fifteen shows a box and writes
// nothing (when the value is not empty).
std::string CampoNonPosizionale(ContestoCampi& ctx, std::string_view codice, std::string_view tipo,
                                std::string_view valore);
// A text cut into elements of 16 characters, continuation elements starting with "+".
std::string CampoAlfanumerico(std::string_view codice, std::string_view valore);
// Twelve month flags (January first) as one element, or "" when none is ticked.
std::string CampoMesi(std::string_view codice, const std::array<std::string_view, 12>& mesi);

}  // namespace telematic
