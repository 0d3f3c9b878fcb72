#pragma once

// Where a generation run writes: its destination folder, locked for the run, and temporary files
// of its own that replace their targets together once the run has ended well. After a kill or a
// failure the folder holds the earlier files or the new ones, never one of each.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "storage/sistema.h"

namespace telematic {

inline constexpr const char* kNomeBlocco = ".palio2015.lock";

class CartellaUscita;

// A file written under a unique name beside its target, created exclusively; dropped with its
// content unless the folder's sostituisci() has put it in place.
class FileTemporaneo {
public:
    ~FileTemporaneo();
    FileTemporaneo(const FileTemporaneo&) = delete;
    FileTemporaneo& operator=(const FileTemporaneo&) = delete;

    std::ostream& stream() { return *out_; }
    // Throws storage::Error when a write has failed so far.
    void verifica();
    const std::string& destinazione() const { return dest_; }
    const std::string& temporaneo() const { return tmp_; }

private:
    friend class CartellaUscita;
    class Buffer;
    FileTemporaneo(std::string destinazione, std::string temporaneo);
    // Writes what is buffered, flushes it to the medium and closes the file.
    void chiudi();

    std::string dest_, tmp_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> out_;
    bool aperto_ = true, posato_ = false;
};

// The destination folder of one run, held under an exclusive lock from blocca() to destruction.
class CartellaUscita {
public:
    // Takes the folder's lock, waiting up to attesa for another run to finish; nullptr when it
    // does not. Then puts in order what runs that are gone left behind: a replacement they had
    // begun is completed, their other temporaries are removed. Throws storage::Error when the
    // lock file cannot be created.
    static std::unique_ptr<CartellaUscita> blocca(const std::string& cartella, std::chrono::milliseconds attesa);
    ~CartellaUscita();

    // A new temporary for the file named nome in this folder.
    std::unique_ptr<FileTemporaneo> crea(const std::string& nome);
    // Replaces the targets of the files with their new content as one; on a failure puts the
    // earlier files back and throws storage::Error. The first file is the main one: a kill in
    // the middle may leave it new with the others missing, never new beside old others.
    void sostituisci(const std::vector<FileTemporaneo*>& file);

    const std::string& cartella() const { return cartella_; }
    // The rename sostituisci() uses; tests put one that fails at a chosen step.
    using Rinomina = std::function<std::error_code(const std::filesystem::path&, const std::filesystem::path&)>;
    void rinominaCon(Rinomina r) { rinomina_ = std::move(r); }

private:
    explicit CartellaUscita(std::string cartella);
    void riordina();

    std::string cartella_, etichetta_;
    storage::sistema::Blocco blocco_;
    Rinomina rinomina_;
};

// The message of a run refused because another one holds the folder.
std::string MessaggioCartellaOccupata(const std::string& cartella);

}  // namespace telematic
