#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/certificati.h"
#include "storage/connection.h"
#include "storage/reporter.h"
#include "telematic/record.h"

namespace telematic {

// Ordinaria: every certificate not excluded from sending (or the chosen ones); Sostituzione and
// Annullamento: only the certificates marked so, each D record carrying its identifiers.
enum class TipoFornitura { Ordinaria, Sostituzione, Annullamento };
// "ordinaria", "sostituzione", "annullamento" and back.
const char* ParolaFornitura(TipoFornitura f);
std::optional<TipoFornitura> FornituraDaParola(std::string_view parola);

struct OpzioniGenerazione {
    std::string cartella;              // destination folder, as typed
    std::string nomeFile;              // file name, as typed
    std::string tipoFornitore = "01";  // "01" or "10"
    bool quadroCt = false;             // write record C
    storage::Tipi tipi;                // employees' run only: the kinds to include
    TipoFornitura fornitura = TipoFornitura::Ordinaria;
    // Ordinary supply only: limited to these certificate numbers (of the run's list).
    std::optional<std::vector<std::int64_t>> scelti;
    // Called once the folder is ready and the overwrite question answered, before anything is
    // written; false ends the run as cancelled, with no message (the caller has said why).
    std::function<bool()> primaDiScrivere;
    // A whole ordinary supply whose stored frontispiece count differs from the certificates it
    // carries: called with "I conteggi del frontespizio (36) non corrispondono ai certificati della
    // fornitura (20.000)"; true writes the supply's count in record B (and stores it when the supply
    // is the whole list), false writes nothing, with no message (the caller has said why). Unset,
    // the reporter asks "...: aggiornarli?".
    std::function<bool(const std::string& testo)> aggiornaConteggi;
    // How long a run waits for another run writing into the same folder before it gives up.
    std::chrono::milliseconds attesaBlocco{5000};
    // Professionals' run: each encoder report with the number and name of the certificate being
    // written (0 and "" for the agent's data). Unset, each report is an error of the reporter.
    std::function<void(std::int64_t id, const std::string& nominativo, const std::string& testo)> segnalazione;
};

enum class Esito { Concluso, Rifiutato, Annullato };

struct RisultatoGenerazione {
    Esito esito = Esito::Rifiutato;
    std::string cartella;  // the folder as used (one trailing separator removed)
    std::string percorsoFile;
    std::string percorsoLog;  // employees' run only
    Contatori conta;
};

inline constexpr const char* kNomeFileDipendenti = "ZF2015.txt";
inline constexpr const char* kNomeFileProfessionisti = "ZF2015Prof.txt";
inline constexpr const char* kNomeLog = "Zf2015.log";

// The employees' log: kNomeLog for an ordinary supply; a correction's is named after its file
// ("SOST.txt" logs to "SOST.log"), so that it never replaces the ordinary supply's.
std::string NomeLog(const OpzioniGenerazione& opz);

inline constexpr const char* kRifiutoCtCorrezione =
    "Il quadro CT non può essere inviato con una fornitura di sostituzione o di annullamento.";

// The employees' run: A, B, optional C, per certificate D, G and an optional second G, then Z;
// the log (NomeLog) beside it. The run holds the destination folder alone, writes temporaries of
// its own and replaces the file and the log together only when it ends well. A correction supply
// with a certificate marked for it that lacks its identifiers is refused before anything is
// written, the reporter's error listing them all. After a good run each certificate written
// records the file and time, and a correction supply clears the marks it sent. Throws
// storage::Error on I/O or database failure, leaving earlier files as they were.
RisultatoGenerazione GeneraFileDipendenti(storage::Connection& conn, const OpzioniGenerazione& opz,
                                          storage::Reporter& reporter);

// The professionals' run: A, B, optional C, per professional D and H, then Z; no log, the
// encoder's reports go to the reporter's error boxes.
RisultatoGenerazione GeneraFileProfessionisti(storage::Connection& conn, const OpzioniGenerazione& opz,
                                              storage::Reporter& reporter);

}  // namespace telematic
