#pragma once

#include <stdexcept>
#include <string>

namespace storage {

// Every failure of the core that the operator must see: the text is the
// Italian message shown in the error box or printed by the batch command.
class Error : public std::runtime_error {
public:
    // What the caller may do about a failure: a busy archive can be tried again, a save whose
    // row is gone cannot, one whose row another operator saved meanwhile can after reloading it.
    enum class Causa {
        Altro,
        Occupato,
        Pieno,
        SolaLettura,
        Permesso,
        Danneggiato,
        NonArchivio,
        RigaEliminata,
        ModificatoDaAltri
    };

    explicit Error(const std::string& testo) : std::runtime_error(testo), frase_(testo) {}
    // frase: one Italian sentence, what happened and what to do; motore: the database engine's own
    // words, shown on a second line.
    Error(Causa causa, const std::string& frase, const std::string& motore = {})
        : std::runtime_error(motore.empty() ? frase : frase + "\n" + motore),
          causa_(causa),
          frase_(frase),
          motore_(motore) {}

    Causa causa() const { return causa_; }
    const std::string& frase() const { return frase_; }
    const std::string& motore() const { return motore_; }

private:
    Causa causa_ = Causa::Altro;
    std::string frase_, motore_;
};

// Rethrows the error being caught while saving; a busy archive is told as a save to try again, since what
// was typed stays on screen.
[[noreturn]] inline void RilanciaSalvataggio(const Error& e) {
    if (e.causa() != Error::Causa::Occupato) throw;  // called inside the catch: the error as caught
    throw Error(Error::Causa::Occupato,
                "L'archivio è in uso da un altro programma: le modifiche non sono state salvate e "
                "restano sullo schermo; salvarle di nuovo quando ha finito.",
                e.motore());
}

}  // namespace storage
