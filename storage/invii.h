#pragma once

// What was sent of each certificate: the identifiers the Agency's receipt gave it (protocol of the
// sending, progressive inside it), the file and time it was last written to, the time of its last
// change, and the operation it is marked for. Kept in the table Invii beside the certificates' own
// tables, which keep their columns; an archive that lacks it gains it when opened.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/connection.h"

namespace storage {

// Which list a certificate number belongs to: Zefo1.ID or Professionisti.ID.
enum class Elenco { Dipendenti, Professionisti };

// What the next supplies do with a certificate.
enum class Operazione { Nessuna, Sostituzione, Annullamento, Escluso };

struct StatoInvio {
    std::string protocollo;   // 17 digits, or "" when none was received
    std::string progressivo;  // 6 digits, or ""
    Operazione operazione = Operazione::Nessuna;
    std::string file;          // full path of the last file it was written to, or ""
    std::string scrittoIl;     // "AAAA-MM-GGTHH:MM:SS" (local time), or ""
    std::string modificatoIl;  // likewise
    bool haIdentificativi() const { return !protocollo.empty() && !progressivo.empty(); }
};

inline constexpr std::size_t kCifreProtocollo = 17;
inline constexpr std::size_t kCifreProgressivo = 6;

// Creates the table when it is missing. Connection::open and Connection::crea call it.
void PreparaInvii(Connection& conn);

// The certificate's row; defaults when it has none.
StatoInvio LeggiInvio(Connection& conn, Elenco elenco, std::int64_t id);

// Reads many certificates' rows with statements prepared once (the check, the runs). A long run
// of ascending numbers is served by one walk of the table in number order instead of a look-up
// each (a round trip each on a server): Invii must not be written while a reader is in use.
class LettoreInvii {
public:
    explicit LettoreInvii(Connection& conn);
    ~LettoreInvii();
    LettoreInvii(const LettoreInvii&) = delete;
    LettoreInvii& operator=(const LettoreInvii&) = delete;
    StatoInvio leggi(Elenco elenco, std::int64_t id);

private:
    Connection& conn_;
    std::optional<Statement> st_, giro_;
    Elenco elenco_ = Elenco::Dipendenti;
    std::int64_t ultimo_ = 0;
    int crescenti_ = 0;
    bool haRiga_ = false;
};

// The form of each identifier: "" when it has it, otherwise the reason in the middle of a
// sentence, e.g. `il protocollo "123" non è di 17 cifre` (the value shown by ValoreNelMessaggio).
std::string ErroreProtocollo(std::string_view protocollo);
std::string ErroreProgressivo(std::string_view progressivo);

// What is wrong with a pair of identifiers as typed ("" when they are fine or both empty), as a
// sentence of its own.
std::string ErroreIdentificativi(const std::string& protocollo, const std::string& progressivo);

// Stores the identifiers as typed or imported: 17 and 6 digits, or both empty to clear them.
// Throws storage::Error with an Italian message naming the wrong value; stores nothing then.
void ScriviIdentificativi(Connection& conn, Elenco elenco, std::int64_t id, const std::string& protocollo,
                          const std::string& progressivo);

// Marks these certificates (Nessuna clears the mark). Does not check that they exist: see
// CertificatiMancanti.
void SegnaOperazione(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids, Operazione operazione);

// The certificate was changed now (editors on save, imports, resets).
void SegnaModificato(Connection& conn, Elenco elenco, std::int64_t id);
// The same for these certificates, inside the caller's transaction if one is open.
void SegnaModificati(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids);
// Every certificate of the list was changed now (a reset of the agent's data).
void SegnaModificatiTutti(Connection& conn, Elenco elenco);
// The certificates numbered above oltre were changed now (those an import has just added).
void SegnaModificatiDa(Connection& conn, Elenco elenco, std::int64_t oltre);
// The highest certificate number of the list, 0 when it is empty.
std::int64_t UltimoNumero(Connection& conn, Elenco elenco);
// The numbers of the list's sending rows, ascending (a removed certificate's row included).
std::vector<std::int64_t> NumeriRegistrati(Connection& conn, Elenco elenco);
// Certificates took new numbers (old, new; the new ones free): their rows follow them.
void RinumeraInvii(Connection& conn, Elenco elenco, const std::vector<std::pair<std::int64_t, std::int64_t>>& nuovi);
// The list was emptied: what was recorded of its certificates goes with them.
void DimenticaInvii(Connection& conn, Elenco elenco);

// After a good run, inside the caller's transaction: each certificate was written to this file
// now; togliSegni clears their marks too (a correction supply).
void SegnaScritti(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids, const std::string& file,
                  bool togliSegni);

// The numbers of the certificates marked with this operation, ascending.
std::vector<std::int64_t> MarcatiCon(Connection& conn, Elenco elenco, Operazione operazione);

// Of these numbers, the ones with no certificate in the list, in the order given.
std::vector<std::int64_t> CertificatiMancanti(Connection& conn, Elenco elenco, const std::vector<std::int64_t>& ids);

// "Sostituzione", "Annullamento", "Escluso dall'invio", "" and back (case ignored).
const char* TestoOperazione(Operazione operazione);
std::optional<Operazione> OperazioneDaTesto(std::string_view testo);
// The batch command's words for the marks: "sostituzione", "annullamento", "nessuna", "escluso";
// a word is read exactly.
const char* ParolaOperazione(Operazione operazione);
std::optional<Operazione> OperazioneDaParola(std::string_view parola);

// The time now as stored: "AAAA-MM-GGTHH:MM:SS", local time.
std::string OraAttuale();
// A stored time ("AAAA-MM-GGTHH:MM:SS", or a blank for the T) as the operator reads it,
// "GG/MM/AAAA HH:MM"; a text too short for that is returned as it is.
std::string OraLeggibile(std::string_view iso);

// A list of chosen certificates, one per line: a number, or a tax code (resolved against the
// list's certificates). Blank lines are skipped. Throws storage::Error naming the line and value
// of an unreadable line or of a number or tax code with no certificate.
std::vector<std::int64_t> LeggiElencoScelti(Connection& conn, Elenco elenco, const std::string& percorso);
// "12,15,20" (blanks allowed) into numbers; throws storage::Error naming the wrong value.
std::vector<std::int64_t> NumeriDaTesto(std::string_view testo);

}  // namespace storage
