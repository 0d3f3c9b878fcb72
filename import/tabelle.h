#pragma once

// The rows an import appends, each written with one prepared INSERT over the columns the
// imports fill. A column never set is stored as null, which every reader sees as empty.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "storage/connection.h"
#include "storage/tabelle.h"

namespace importazione {

// Columns of Zefo1 that the payroll readers fill.
// clang-format off
#define PALIO_ZEFO1(X)                                                                          \
    X(Azienda) X(A01) X(A02) X(A04) X(A05) X(A06) X(A07) X(A08) X(A09) X(A10) X(A11) X(B01)     \
    X(B02) X(B03) X(B04) X(B05) X(B06) X(B07) X(B20) X(B21) X(B22) X(B23) X(B24) X(B25) X(B44) \
    X(BFirma) X(C001) X(C002) X(C004) X(C006) X(C008) X(C009) X(c011) X(c012) X(c016) X(c017)  \
    X(c019) X(c031) X(c032) X(c033) X(c101) X(c102) X(c107) X(c113) X(c119) X(c120) X(c121)

// Columns of Zefo2 that the payroll readers fill; of the family rows only items 1, 4, 5, 7.
#define PALIO_ZEFO2(X)                                                                          \
    X(ID) X(tipo) X(MatrDip) X(ditta) X(D01) X(D02) X(D03) X(D04) X(D05) X(D06) X(D07) X(c261)  \
    X(c263) X(fam1_1) X(fam1_4) X(fam1_5) X(fam1_7) X(fam2_1) X(fam2_4) X(fam2_5) X(fam2_7)     \
    X(fam3_1) X(fam3_4) X(fam3_5) X(fam3_7) X(fam4_1) X(fam4_4) X(fam4_5) X(fam4_7) X(fam5_1)   \
    X(fam5_4) X(fam5_5) X(fam5_7) X(fam6_1) X(fam6_4) X(fam6_5) X(fam6_7) X(fam7_1) X(fam7_4)   \
    X(fam7_5) X(fam7_7) X(fam8_1) X(fam8_4) X(fam8_5) X(fam8_7) X(fam9_1) X(fam9_4) X(fam9_5)   \
    X(fam9_7) X(D09) X(D10) X(D11) X(D12) X(D13) X(D15) X(D18) X(D19) X(D20) X(D22) X(D23)      \
    X(D24) X(D25) X(D26) X(D27) X(D28) X(D29) X(D30) X(D33)

// Columns of Zefo3 that a continuation line fills.
#define PALIO_ZEFO3(X)                                                                          \
    X(Id) X(matricola) X(Cf) X(D01) X(D15) X(D18) X(D19) X(D20) X(D22) X(D23) X(D24) X(D25)    \
    X(D26) X(D27) X(D28) X(D29) X(D30) X(D33)

// Every column of Professionisti but its key.
#define PALIO_PROFESSIONISTI(X)                                                                 \
    X(A01) X(A02) X(A03) X(A04) X(A05) X(A06) X(A07) X(A08) X(A09) X(A10) X(A11) X(B01) X(B02)  \
    X(B03) X(B04) X(B05) X(B06) X(B07) X(B08) X(B09) X(B10) X(B20) X(B21) X(B22) X(B23) X(B24)  \
    X(B25) X(B30) X(B40) X(B41) X(B42) X(B43) X(B44) X(BFirma) X(E01) X(E02) X(E03) X(E04)      \
    X(E05) X(E06) X(E07) X(E08) X(E09) X(E10) X(E11) X(E12) X(E13) X(E14) X(E15) X(E16) X(E17) \
    X(E18) X(E19) X(E20) X(E21) X(E22) X(E23)
// clang-format on

#define PALIO_ENUM(n) n,
#define PALIO_NOME(n) #n,
namespace z1 {
enum Colonna : int { PALIO_ZEFO1(PALIO_ENUM) N };
}
namespace z2 {
enum Colonna : int { PALIO_ZEFO2(PALIO_ENUM) N };
}
namespace z3 {
enum Colonna : int { PALIO_ZEFO3(PALIO_ENUM) N };
}
namespace pr {
enum Colonna : int { PALIO_PROFESSIONISTI(PALIO_ENUM) N };
}
inline constexpr std::array<const char*, z1::N> kNomiZefo1 = {PALIO_ZEFO1(PALIO_NOME)};
inline constexpr std::array<const char*, z2::N> kNomiZefo2 = {PALIO_ZEFO2(PALIO_NOME)};
inline constexpr std::array<const char*, z3::N> kNomiZefo3 = {PALIO_ZEFO3(PALIO_NOME)};
inline constexpr std::array<const char*, pr::N> kNomiProfessionisti = {PALIO_PROFESSIONISTI(PALIO_NOME)};
#undef PALIO_ENUM
#undef PALIO_NOME

// One row being built: a value per column, or none (stored as null). The strings keep their
// capacity from row to row, so a long run allocates little.
class NuovaRiga {
public:
    NuovaRiga(storage::Connection& conn, storage::Tabella tabella, const char* const* nomi, std::size_t quante);

    void pulisci();
    // bytes: as read from the file (Windows-1252).
    void daFile(int colonna, std::string_view bytes);
    // testo: already UTF-8 (a typed text, a value read from the archive, a constant).
    void imposta(int colonna, std::string_view testo);
    void svuota(int colonna) { presente_[static_cast<std::size_t>(colonna)] = false; }
    bool presente(int colonna) const { return presente_[static_cast<std::size_t>(colonna)]; }
    // The value, "" when none.
    const std::string& valore(int colonna) const;
    const char* nome(int colonna) const { return nomi_[colonna]; }
    // Appends the row; returns its new key.
    std::int64_t inserisci();
    // The row as it stands, for a block insert of copies (see Copia).
    const std::vector<std::string>& valori() const { return valori_; }
    const std::vector<bool>& presenti() const { return presente_; }

private:
    const char* const* nomi_;
    std::vector<std::string> valori_;
    std::vector<bool> presente_;
    storage::InserimentoRighe insert_;
};

}  // namespace importazione
