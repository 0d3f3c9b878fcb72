#pragma once

// One generation at a time on an archive. On a server the runs of different operators write into
// folders of their own PCs, so no folder lock meets them: the server holds a lock of its own,
// keyed on the agent's schema, for as long as a run lasts. It dies with the connection, so a
// program killed mid-run never leaves it behind. A file archive needs none (its runs lock their
// output folder).

#include <chrono>
#include <memory>
#include <string>

#include "storage/connection.h"

namespace storage {

class GenerazioneEsclusiva {
public:
    // Takes the archive's lock, trying again for up to attesa while another connection holds it;
    // nullptr when it is still held then. Throws Error when the server does not answer.
    static std::unique_ptr<GenerazioneEsclusiva> prendi(Connection& conn, std::chrono::milliseconds attesa);
    ~GenerazioneEsclusiva();
    GenerazioneEsclusiva(const GenerazioneEsclusiva&) = delete;
    GenerazioneEsclusiva& operator=(const GenerazioneEsclusiva&) = delete;

private:
    explicit GenerazioneEsclusiva(Connection* conn) : conn_(conn) {}
    Connection* conn_;  // nullptr: nothing held (a file archive)
};

// The refusal when another operator's run holds the archive.
std::string MessaggioGenerazioneInCorso(const Connection& conn);

}  // namespace storage
