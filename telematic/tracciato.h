#pragma once

// The CUR15 layout as data: the positional fields of records A, B, C, Z and of the head of the
// certificate records, and the boxes of every section with their field codes and types. The
// writers build the records from these tables; both checks read them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telematic {

inline constexpr std::size_t kLunghezzaRecord = 1900;
inline constexpr std::size_t kCorpoRecord = 1897;                                  // before "A" and CR LF
inline constexpr std::size_t kTestaCertificato = 89;                               // positional head of C, D, G and H
inline constexpr std::size_t kAreaNonPosizionale = 1800;                           // 75 fields of 24 characters
inline constexpr std::size_t kInizioArea = kTestaCertificato + 1;                  // position 90
inline constexpr std::size_t kFineArea = kTestaCertificato + kAreaNonPosizionale;  // position 1889

// The types of the non-positional fields: the fifteen the encoder knows by name, then the two
// that are written otherwise: twelve month flags (CampoMesi) and a day and month "DDMM",
// written as a number like NU.
enum class TipoCampo : std::uint8_t { CF, AN, NU, CB, DT, VP, DA, NP, CN, PC, VN, N1, N2, N3, N10, Mesi, GiornoMese };

// "CF" ... "N10", "MESI", "GM".
std::string_view NomeTipo(TipoCampo t);
// One of the fifteen encoder types by its exact name (upper case, no blanks); none otherwise.
std::optional<TipoCampo> TipoDaNome(std::string_view nome);

// What a box must look like beyond its type: the encoder writes any text, the Agency does not
// take any. Both checks judge a box by it; the writers never read it.
enum class Forma : std::uint8_t { Libera, Cap, Provincia, CodiceComune, Telefono, CodiceFiscale };

// ---- Non-positional sections ------------------------------------------------------------

// How a box becomes fields.
enum class Regola : std::uint8_t {
    Semplice,     // the column through the encoder with its type
    Costante,     // the constant `costante` through the encoder with its type
    Lettera,      // family row 2-9: "F", "A" or "D" from the first of colonne not blank ("" = no box)
    Percentuale,  // family column 7: exactly "C" goes under `codice` as text, anything else under
                  // `codice2` as a percentage
    Mesi,         // twelve month columns as one flag field
    Codice19,     // exactly "6003" goes under `codice`, exactly "6001" under `codice2`, nothing else
    Unione,       // two columns joined into one value
    TestoBreve,   // text written only when it is at most 16 characters long
};

// Where a box of a section is read: the section's own row, or the agent's (record C).
enum class Riga : std::uint8_t { Sezione, Sostituto };

struct CampoSezione {
    Regola regola = Regola::Semplice;
    TipoCampo tipo = TipoCampo::AN;
    std::string codice;
    std::string codice2;               // Percentuale and Codice19: the other code
    std::vector<std::string> colonne;  // one; three for Lettera, twelve for Mesi, two for Unione
    std::string costante;              // Costante
    Riga riga = Riga::Sezione;
    Forma forma = Forma::Libera;  // CodiceFiscale for every CF box
    const std::string& colonna() const { return colonne.front(); }
};

enum class Sezione : std::uint8_t {
    Anagrafica,              // D record: a Zefo1 or Professionisti row
    FiscaleZefo1,            // G record module 1: points 1-192
    FiscaleZefo2,            // G record module 1: points 201-409
    Familiari,               // G record module 1: Zefo2
    PrevidenzialePrima,      // G record module 1: Zefo2
    PrevidenzialeUlteriore,  // G record module 2: the Zefo3 row (no D35-D40)
    Autonomi,                // H record: a Professionisti row
    QuadroCt,                // C record: the QuadroCt row and the agent's
};

// The boxes of a section in writing order.
const std::vector<CampoSezione>& Campi(Sezione s);

// The archive's tables a section's boxes are read from.
enum class Tabella : std::uint8_t { Zefo1, Zefo2, Zefo3, Professionisti, QuadroCt };
// The table a section is read from. The personal data are the certificate's own row: Zefo1 for
// an employee, Professionisti for a professional.
Tabella TabellaDellaSezione(Sezione s, bool professionista = false);
// How a problem names a section's column for the editors: the further social-security section
// repeats the first one's columns, so its own carry "Zefo3." before them.
std::string ColonnaDellaSezione(Sezione s, std::string_view colonna);

// The type of a field code any section writes; none for a code of no section.
std::optional<TipoCampo> TipoDelCodice(std::string_view codice);
// The form of a field code's box; Libera for a code of no section.
Forma FormaDelCodice(std::string_view codice);

// The field code of a section's column ("B02" of Anagrafica is "DA002002"); throws
// std::logic_error when the section has no such column.
const std::string& CodiceDellaColonna(Sezione s, std::string_view colonna);

// The sections a record carries ('C', 'D', 'G', 'H'), in writing order; module 2 exists for G
// only (the further social-security section). The writers follow it and the checks read it.
const std::vector<Sezione>& SezioniDelRecord(char record, int modulo = 1);

// Whether a field code can stand in a record of that type ('C', 'D', 'G', 'H'): its first two
// letters are those of a section the record carries.
bool CodiceDelRecord(char record, std::string_view codice);

// ---- Positional fields ------------------------------------------------------------------

// How a positional field is filled.
enum class Posa : std::uint8_t {
    Testo,     // the constant `testo`
    TestoInD,  // the constant `testo` in D records, blanks in G and H
    ZeriInD,   // RiempiZeri of the value in D records, blanks in G and H
    Spazi,     // blanks
    Sinistra,  // AllineaSinistra of the value (of `nome`, then `testo` joined, when `testo` is set)
    Zeri,      // RiempiZeri of the value
    Casella,   // "1" when the value, trimmed, is not empty, else "0"
};

struct CampoPosizionale {
    // The column read (SostitutoImposta, or the certificate row in the head), one of the run's
    // values below, or what the constant or the blanks are.
    const char* nome;
    int da, a;  // first and last position, 1-based
    Posa posa;
    const char* testo = "";
    // Intermediary block of record B: with A4 the empty text every field of the block is this
    // character repeated, and no column of the block is read. 0 outside the block.
    char senzaIntermediario = 0;
    Forma forma = Forma::Libera;
    std::size_t larghezza() const { return static_cast<std::size_t>(a - da + 1); }
    std::size_t inizio() const { return static_cast<std::size_t>(da - 1); }  // 0-based
};

// The run's values that positional fields name.
inline constexpr const char* kTipoRecord = "tipo record";
inline constexpr const char* kTipoFornitore = "tipo fornitore";
// The supplier kinds record A takes: "01" the agent itself, "10" an intermediary.
inline bool TipoFornitoreAmmesso(std::string_view tipo) { return tipo == "01" || tipo == "10"; }
inline constexpr const char* kModulo = "modulo";
// The identifiers of the certificate's last accepted sending, in the head of D records.
inline constexpr const char* kProtocollo = "protocollo";
inline constexpr const char* kProgressivo = "progressivo";
inline constexpr const char* kContatori[5] = {"ContaB", "ContaC", "ContaD", "ContaG", "ContaH"};

// 'A', 'B', 'C', 'Z', or 'D' for the 89-character head of the certificate records D, G and H.
// Every table covers its record from position 1 without gaps: A, B and Z to 1897, C and the
// head to 89.
const std::vector<CampoPosizionale>& CampiPosizionali(char record);

// The first field of the record with that name; throws std::logic_error when there is none.
const CampoPosizionale& CampoDi(char record, std::string_view nome);

// The label of a field or of a run of fields in problem lists: "B 394-401", "B 92".
std::string Posizioni(char record, std::string_view primo, std::string_view ultimo = {});

}  // namespace telematic
