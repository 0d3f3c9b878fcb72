#pragma once

#include <array>
#include <string>
#include <string_view>

#include "storage/reporter.h"

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

// Removes, at both ends, every character whose code is 32 or less.
std::string_view Rifila(std::string_view s);

// One box as non-positional elements of 24 characters (8 of code, 16 of value), or "".
std::string CampoNonPosizionale(ContestoCampi& ctx, std::string_view codice, std::string_view tipo,
                                std::string_view valore);
// A text cut into elements of 16 characters, continuation elements starting with "+".
std::string CampoAlfanumerico(std::string_view codice, std::string_view valore);
// Twelve month flags (January first) as one element, or "" when none is ticked.
std::string CampoMesi(std::string_view codice, const std::array<std::string_view, 12>& mesi);

}  // namespace telematic
