#pragma once

// The check's rules on what was sent: which certificates the chosen supply carries, their
// identifiers for a correction, and the warnings about sending again or not correcting.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "check/controllo.h"
#include "storage/invii.h"
#include "telematic/selezione.h"

namespace check {

// Where a rule's finding goes: the current certificate's problem list.
using Segnala =
    std::function<void(Gravita, const std::string& colonna, const std::string& campo, const std::string& testo)>;

class ControlloInvii {
public:
    ControlloInvii(storage::Connection& conn, const OpzioniControllo& opz);
    ~ControlloInvii();

    // The supply as a whole: a Quadro CT with a correction, a list with nothing to send.
    void generale(bool dipendenti, const Segnala& segnala);
    // One certificate: its problems of sending; true when the supply carries it and its boxes
    // are to be checked.
    bool certificato(storage::Elenco elenco, std::int64_t id, const Segnala& segnala);
    // Whether a chosen list leaves certificates out, so record B carries the supply's own counts.
    bool parziale() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace check
