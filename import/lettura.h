#pragma once

// Reading the fixed-column export files: lines, columns, the field kinds and the amount
// conversion. Everything here works on the file's Windows-1252 bytes; values become UTF-8
// only when they are stored.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/error.h"
#include "storage/sha256.h"
#include "storage/testo.h"

namespace importazione {

// The lines of an export file, as Windows-1252 bytes whatever the file's encoding, so that a
// column is always one byte. A line ends at CR LF or at a lone LF; a Ctrl-Z (0x1A) ends the data
// even if bytes follow. Lines have no length limit: a line is handed over in pieces of at most
// `pezzo` characters (riga() the first, continua() the next), so memory stays flat.
//
// A lone CR ends the line too, except in a file that has LF line ends, before the end of the
// reader's layout (lunghezzaTracciato, given the line's first characters): there it is a
// character of the field it falls in, as any other control character. Control characters are handed over as they are:
// the readers remove them at a text field's ends and refuse them where they would be stored (ControllaTesto).
//
// Encodings: a UTF-16 file (with its BOM) and a UTF-8 file (with its BOM, or valid UTF-8 holding
// multibyte sequences) are decoded and counted in characters; anything else is Windows-1252. A
// character Windows-1252 has no byte for becomes "?", and sostituzioni() lists its line.
class LettoreRighe {
public:
    enum class Codifica { Windows1252, Utf8, Utf16LE, Utf16BE };
    using LunghezzaTracciato = std::size_t (*)(std::string_view inizio);
    static constexpr std::size_t kPezzo = 1 << 16;

    LettoreRighe(std::istream& in, std::string nomeFile, LunghezzaTracciato lunghezzaTracciato = nullptr,
                 std::size_t pezzo = kPezzo);

    // The next line's first piece into riga(); false at the end of the data. Throws
    // storage::Error when the stream fails to read.
    bool leggi();
    // The next piece of the same line into riga(); false when the line has no more.
    bool continua();
    std::string_view riga() const { return riga_; }
    // The column of riga()'s first character: 1 for a line's first piece.
    std::size_t colonna() const { return colonna_; }
    // 1-based number of the line last read, blank lines included.
    std::size_t numero() const { return numero_; }
    const std::string& nomeFile() const { return nome_; }
    // Bytes consumed so far and the stream's size (0 when it can't tell): for progress.
    std::uint64_t letti() const { return letti_; }
    std::uint64_t totale() const { return totale_; }
    Codifica codifica() const { return codifica_; }
    // Numbers of the lines where characters became "?", with how many there were.
    const std::vector<std::pair<std::size_t, std::size_t>>& sostituzioni() const { return sostituzioni_; }
    // Once the data have ended: the SHA-256 of every byte of the stream (those after a Ctrl-Z
    // included) and their count.
    std::string impronta();
    std::uint64_t dimensione() const { return letti_; }

private:
    enum class Fine { Pezzo, Riga, Dati };
    Fine leggiPezzo();
    bool finisceConCR();
    bool cercaLF();
    void converti();
    bool riempi();
    void decidiCodifica();
    void decodifica();

    std::istream& in_;
    std::string nome_;
    LunghezzaTracciato lunghezzaTracciato_;
    std::size_t pezzo_;
    std::string grezza_;  // the piece as found in the stream (UTF-8 for a UTF-16 file)
    std::string riga_;
    std::string inizio_;  // the line's first characters, for lunghezzaTracciato_
    std::string blocco_;  // the last piece read from the stream
    std::string buf_;     // bytes read and not yet consumed, from pos_
    std::size_t pos_ = 0;
    std::string utf16_;  // a UTF-16 file's bytes waiting for their pair
    std::size_t numero_ = 0;
    std::size_t colonna_ = 1;
    std::uint64_t letti_ = 0;
    std::uint64_t totale_ = 0;
    int senzaLF_ = -1;       // the file has no LF (its lines end with lone CRs); -1: not known
    bool alto_ = false;      // the piece holds a byte past ASCII
    bool aperta_ = false;    // the current line has more pieces
    bool finito_ = false;    // the data have ended (end of stream or Ctrl-Z)
    bool esaurito_ = false;  // the stream has no more bytes
    bool deciso_ = false;    // the encoding is known (until then only ASCII lines were met)
    Codifica codifica_ = Codifica::Windows1252;
    std::vector<std::pair<std::size_t, std::size_t>> sostituzioni_;
    storage::Sha256 sha_;
};

// A control character: 0x00-0x1F but TAB (a blank).
inline bool Controllo(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

// Columns da..a (1-based, inclusive) of a line; whatever part lies past the line's end is
// missing, so a short line gives a shorter or empty field.
std::string_view Colonne(std::string_view riga, std::size_t da, std::size_t a);

using storage::Rifila;

// True when the line holds nothing but blanks and control characters: every reader skips it.
inline bool RigaVuota(std::string_view riga) { return Rifila(riga).empty(); }

// The payroll amount conversion, exact in integer cents. "0000000,00", an all-zero field and an
// empty field give an empty text; a field whose first character is not "0" passes trimmed as it
// stands; otherwise the leading zeros are skipped, at most 10 characters taken and written back
// as 1.234.567,89 (a third decimal rounds half away from zero). nullopt when what was taken is
// not a number.
std::optional<std::string> ConvertiImporto(std::string_view campo);

// A three-digit count: "000" (or blanks) is no count (nullopt with ok = true); otherwise the
// number without leading zeros. ok = false when the field is not a number.
std::optional<std::string> LeggiConteggio(std::string_view campo, bool& ok);

// The company code of a payroll file: the text after the first "." of the file's name (its last
// path component, "/" or "\" separated), cut to 10 characters. nullopt when the name has no "."
// or begins with one.
std::optional<std::string> CodiceAzienda(std::string_view percorso);

// What a reader found wrong in a line of a file, and where: every reader and importer refuses a
// line with this one type, and its message is built here once, "File X, riga N: ...".
class ErroreLettura : public storage::Error {
public:
    enum class Tipo {
        Controllo,  // a control character that would be stored
        Corta,      // a payroll line shorter than its layout
        Troncata,   // a line that ends inside a field holding something
        Tracciato,  // the line is not of the reader's layout
        Valore,     // a field that does not read as its kind (an amount, a number)
        Ordine,     // a line where it cannot stand (a continuation line before any certificate)
    };
    // colonna: the first column concerned; campo: the field's name, "" when none.
    ErroreLettura(Tipo tipo, const LettoreRighe& lettore, std::size_t colonna, std::string campo,
                  const std::string& cosa);
    Tipo tipo() const { return tipo_; }
    const std::string& file() const { return file_; }
    std::size_t riga() const { return riga_; }
    std::size_t colonna() const { return colonna_; }
    const std::string& campo() const { return campo_; }

private:
    Tipo tipo_;
    std::string file_;
    std::size_t riga_, colonna_;
    std::string campo_;
};

// The text of columns da-a without leading and trailing blanks and control characters; a control
// character left inside would be stored, so it refuses the file naming line, column and field.
// colonna: the column of riga's first character (a later piece of a long line).
std::string_view ControllaTesto(const LettoreRighe& lettore, std::string_view riga, std::string_view campo,
                                std::size_t da, std::size_t a, std::size_t colonna = 1);
// A field stored as it stands (amount, date, count, code, raw): any control character in its
// columns refuses the file.
void SenzaControllo(const LettoreRighe& lettore, std::string_view riga, std::string_view campo, std::size_t da,
                    std::size_t a, std::size_t colonna = 1);

// "colonna 5" or "colonne 5-9".
std::string NomeColonne(std::size_t da, std::size_t a);

// The line is not of the reader's layout: "non sembra un file TIPO: colonne A-B, COSA".
[[noreturn]] void ErroreTracciato(const LettoreRighe& lettore, std::string_view tipo, std::string_view campo,
                                  std::size_t da, std::size_t a, std::string_view cosa);

// A line that ends inside the field of columns da-a while the part present is not blank: the
// rest of the value was cut away, so the line is refused naming the field and what it holds.
// colonna: the column of riga's first character.
void ControllaTroncata(const LettoreRighe& lettore, std::string_view riga, std::string_view campo, std::size_t da,
                       std::size_t a, std::size_t colonna = 1);

// The payroll procedure writes every line whole: a shorter one means a file cut short, or one
// of another layout. Columns past the layout's end are not read, whatever they hold.
void ControllaLunghezza(const LettoreRighe& lettore, std::string_view riga, std::size_t minima);

// "il campo C (colonne A-B) contiene «V», che non è COSA" (the value as UTF-8).
[[noreturn]] void ErroreCampo(const LettoreRighe& lettore, std::string_view campo, std::size_t da, std::size_t a,
                              std::string_view valore, std::string_view cosa);

// File bytes to the UTF-8 text stored in the archive.
std::string InUtf8(std::string_view bytes);

}  // namespace importazione
