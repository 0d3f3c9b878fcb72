#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace storage {

// A count as messages write it, with the Italian thousands separator: 20000 -> "20.000".
inline std::string Conteggio(std::uint64_t n) {
    std::string cifre = std::to_string(n), testo;
    for (std::size_t i = 0; i < cifre.size(); ++i) {
        if (i > 0 && (cifre.size() - i) % 3 == 0) testo += '.';
        testo += cifre[i];
    }
    return testo;
}

// How a long job (generation run, import, reset) talks to whoever started it:
// the window shows boxes, the batch command prints, the tests record.
class Reporter {
public:
    virtual ~Reporter() = default;
    // A plain information box with an OK button.
    virtual void info(const std::string& testo) = 0;
    // An error or warning box; the job goes on unless it says otherwise.
    virtual void error(const std::string& testo) = 0;
    // A Yes/No question: only Yes counts as consent.
    virtual bool ask(const std::string& domanda) = 0;
    // Called now and then during long work; false asks the job to stop.
    virtual bool progress(std::size_t fatti, std::size_t totale) {
        (void)fatti;
        (void)totale;
        return true;
    }
};

}  // namespace storage
