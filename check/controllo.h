#pragma once

// The pre-send check: what the Agency's control would reject ("Errore") and what is probably
// wrong ("Avviso"), found in an archive or in a transmission file already written.

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "storage/certificati.h"
#include "storage/connection.h"
#include "telematic/generazione.h"

namespace check {

enum class Gravita { Errore, Avviso };

// Where a problem lies: the window opens the matching editor on a double-click.
enum class Origine { Sostituto, QuadroCt, Dipendente, Professionista, File };

struct Problema {
    Gravita gravita = Gravita::Errore;
    Origine origine = Origine::Dipendente;
    std::int64_t id = 0;        // certificate number (Zefo1.ID or Professionisti.ID); 0 for none
    std::string nominativo;     // surname, a blank, first name (or the agent's name)
    std::string codiceFiscale;  // the recipient's (or the agent's) tax code as stored
    std::string colonna;        // column of the archive ("B01", "c305", "fam2_4"), or ""
    std::string campo;          // field code ("DA002001") or record positions ("B 394-401"), or ""
    std::string testo;          // what is wrong, in Italian, as a sentence
    // File check only: the record (1-based) and the position in it (1-based), 0 when none; the
    // record's type letter, and a certificate record's module number (0 when unreadable).
    std::int64_t record = 0;
    int posizione = 0;
    char tipoRecord = 0;
    int modulo = 0;
};

struct OpzioniControllo {
    // The employees' supply: the kinds included; none, no employees.
    storage::Tipi tipi = storage::Tipi::tutti();
    // The professionals' supply.
    bool professionisti = true;
    // Record C requested (the "CSO" box of the generation windows).
    bool quadroCt = false;
    // The supply to be written: a correction checks only the certificates marked for it and
    // their identifiers; an ordinary one leaves out the excluded ones.
    telematic::TipoFornitura fornitura = telematic::TipoFornitura::Ordinaria;
    // Ordinary supply limited to these numbers (employees and professionals alike).
    std::optional<std::vector<std::int64_t>> sceltiDipendenti, sceltiProfessionisti;
};

// Called now and then with certificates done and total; false stops the check, which then
// returns what it found so far followed by an "Avviso" saying it was interrupted.
using Avanzamento = std::function<bool(std::size_t fatti, std::size_t totale)>;

// Reads the archive and lists its problems: the agent, the Quadro CT, then the certificates
// of the chosen supplies by number, each in the order of its boxes. Throws storage::Error on
// a database failure. Never changes the archive.
std::vector<Problema> ControllaArchivio(storage::Connection& conn, const OpzioniControllo& opz,
                                        const Avanzamento& avanzamento = {});
// The same, each problem handed over as soon as it is found and kept nowhere: memory stays flat
// however many problems the archive has.
using Ricevitore = std::function<void(const Problema&)>;
void ControllaArchivio(storage::Connection& conn, const OpzioniControllo& opz, const Ricevitore& ricevi,
                       const Avanzamento& avanzamento = {});

// The problems of one certificate as an editor holds it, values not yet saved included: the
// archive's own rules, with the agent's tax code and the certificates of lower number (a tax
// code and kind repeated) read from the archive.
std::vector<Problema> ControllaCertificato(storage::Connection& conn, const storage::Certificato& cert);
// The same for a professional's row (Professionisti).
std::vector<Problema> ControllaProfessionista(storage::Connection& conn, const storage::Row& riga);

// Checks a transmission file of this layout, whoever wrote it: lengths, order, heads,
// every non-positional field and the counts of record Z.
std::vector<Problema> ControllaFile(std::istream& in);
// As above from a path; throws storage::Error when the file cannot be read.
std::vector<Problema> ControllaFile(const std::string& percorso);

const char* TestoGravita(Gravita g);  // "Errore" or "Avviso"
std::size_t ContaErrori(const std::vector<Problema>& problemi);

// One line for the batch command and the logs: severity, where, box, text.
std::string RigaProblema(const Problema& p);

}  // namespace check
