#pragma once

// What the archive's rows mean, for every part that reads them: the three kinds of an
// employee-type certificate, "a certificate" (which of its rows count), the agent's row and the
// frontispiece counts. A change of any of these rules is a change here only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/connection.h"
#include "storage/invii.h"
#include "storage/row.h"

namespace storage {

// The kind of an employee-type certificate, as Zefo2.tipo holds it.
enum class Tipo { DIP, AMM, CoC };
inline constexpr std::array<Tipo, 3> kTipi{Tipo::DIP, Tipo::AMM, Tipo::CoC};
// "DIP", "AMM" or "CoC".
const char* CodiceTipo(Tipo t);
// The kind a stored Zefo2.tipo stands for, compared as the archive compares text (case
// ignored, blanks kept): "dip" is DIP, " DIP" and "dpi" are none.
std::optional<Tipo> TipoDelCodice(std::string_view tipo);

// A choice of kinds: the boxes of the generation, check, print and editor windows.
class Tipi {
public:
    Tipi() = default;
    static Tipi tutti();
    Tipi& con(Tipo t, bool scelto = true);
    bool contiene(Tipo t) const { return (bit_ & (1u << static_cast<unsigned>(t))) != 0; }
    bool nessuno() const { return bit_ == 0; }
    bool operator==(const Tipi&) const = default;

private:
    unsigned bit_ = 0;
};

// "DIP,AMM,CoC" in any order, written as above; empty words are skipped. A word that is no kind
// gives nullopt, and *sconosciuto (when given) holds it.
std::optional<Tipi> TipiDaTesto(std::string_view testo, std::string* sconosciuto = nullptr);

// A certificate's Zefo2 row is its lowest-key one; its kind is that row's tipo, compared as the
// archive compares text (case ignored). A certificate with no Zefo2 row has no kind.

// The list's certificate numbers in ascending order: for employees those of these kinds.
std::vector<std::int64_t> NumeriDellElenco(Connection& conn, Elenco elenco, const Tipi& tipi);
// "SURNAME NAME" as stored (B02, a blank, B03); "" when the list has no such certificate.
std::string Nominativo(Connection& conn, Elenco elenco, std::int64_t id);

// One employee-type certificate: its Zefo1 row, its Zefo2 row and its first further
// social-security section. The writers, the check, the print and the editor read these.
struct Certificato {
    std::int64_t id = 0;
    Row zefo1;
    Row zefo2;                 // the lowest-key Zefo2 row; empty when there is none
    Row zefo3;                 // the lowest-key Zefo3 row, the only one the file carries; or empty
    int sezioniUlteriori = 0;  // how many Zefo3 rows the certificate has
};

// Reads certificates one at a time by number, with statements prepared once for many reads.
class LettoreCertificati {
public:
    explicit LettoreCertificati(Connection& conn);
    ~LettoreCertificati();
    // nullopt when there is no Zefo1 row with this number.
    std::optional<Certificato> certificato(std::int64_t id);
    // A professional's certificate: the Professionisti row; nullopt when there is none.
    std::optional<Row> professionista(std::int64_t id);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// Walks the certificates of the chosen kinds in ascending number, reading each table once in
// key order; the current certificate's rows are reused for the next one, so memory does not
// grow with the archive.
class ScorriCertificati {
public:
    ScorriCertificati(Connection& conn, const Tipi& tipi);
    ~ScorriCertificati();
    // How many certificates the walk visits.
    std::size_t totale() const { return totale_; }
    // Moves to the next certificate; false after the last.
    bool prossimo();
    const Certificato& corrente() const { return corrente_; }

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    std::size_t totale_ = 0;
    Certificato corrente_;
};

// The single-row tables: where more rows crept in, the one with the lowest key is the one.
Row LeggiSostituto(Connection& conn);  // SostitutoImposta; an empty Row when there is none
Row LeggiQuadroCt(Connection& conn);   // QuadroCt; likewise

// The professionals' certificates in ascending number, one row at a time; the row is copied
// only when asked for, into the room of the one before, so memory does not grow with the archive.
class ScorriProfessionisti {
public:
    explicit ScorriProfessionisti(Connection& conn);
    ~ScorriProfessionisti();
    // Moves to the next certificate; false after the last.
    bool prossimo();
    std::int64_t numero() const;
    const Row& riga();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    Row corrente_;
};

// The employer's boxes of part A a new certificate takes from the agent's row (a Row or a
// Dataset on SostitutoImposta): tax code, surname or company name, first name, telephone (area
// code and number joined), e-mail. A04 to A07, A10 and A11 are not taken.
struct ValoreColonna {
    const char* colonna;
    std::string valore;
};
template <class Riga>
std::array<ValoreColonna, 5> ParteADelSostituto(const Riga& s) {
    return {{{"A01", s.text("CodiceFiscale")},
             {"A02", s.text("CognomeDenominazione")},
             {"A03", s.text("Nome")},
             {"A08", s.text("TelefonoPref") + s.text("telefono")},
             {"A09", s.text("email")}}};
}

// The agent's data a professional's certificate carries, which the copy button takes to every
// certificate: the employer's part A (A01 to A11), the signature and the date.
inline constexpr std::array<const char*, 13> kColonneSostitutoProfessionisti = {
    "A01", "A02", "A03", "A04", "A05", "A06", "A07", "A08", "A09", "A10", "A11", "BFirma", "B44"};

// Writes those columns' values (valore reads them from the certificate shown, in that order) into
// every professional, in one transaction with the change marks of the certificates whose values
// change. avanzamento (certificates done, total) returning false stops it and nothing is changed:
// the result is then empty. Returns the numbers of the certificates changed.
std::optional<std::vector<std::int64_t>> RiportaSostitutoNeiProfessionisti(
    Connection& conn, const std::function<std::string(const char* colonna)>& valore,
    const std::function<bool(std::size_t fatti, std::size_t totale)>& avanzamento = {});

// What a new certificate starts with: the employer's part A (A01 to A11), the date (B44) and the
// signature (BFirma) of the list's last certificate (the highest number), the agent's own data over
// them where the agent's row has them, and for employees the kind of that last certificate ("tipo",
// a Zefo2 column). Columns with nothing to take are left out.
std::vector<ValoreColonna> ValoriNuovoCertificato(Connection& conn, bool professionisti);

// The frontispiece counts: A1 the employee-type certificates (a DIP, AMM or CoC kind),
// A2 the professionals' certificates (the Professionisti rows).
struct ConteggiFrontespizio {
    std::int64_t A1 = 0, A2 = 0;
};
ConteggiFrontespizio ContaCertificati(Connection& conn);
std::int64_t ContaProfessionisti(Connection& conn);  // A2 alone
// The certificates of these kinds.
std::int64_t ContaDeiTipi(Connection& conn, const Tipi& tipi);

// A certificate's number is the key of its rows in every table: Zefo1.ID, Zefo2.ID and Zefo3.Id
// (or Professionisti.ID), and its sending row in Invii.
using NuoviNumeri = std::vector<std::pair<std::int64_t, std::int64_t>>;  // old, new
// The first `quanti` numbers from 1 to massimo that no row of the list's tables holds (rows left
// without their certificate included) and no sending row names; fewer when there are not so many.
std::vector<std::int64_t> NumeriLiberi(Connection& conn, Elenco elenco, std::int64_t massimo, std::size_t quanti);
// Inside the caller's transaction: each certificate takes its new number (a free one) in all its
// rows and keeps what was recorded of its sendings; the next certificate an import adds takes the
// number after the highest now in use.
void RinumeraCertificati(Connection& conn, Elenco elenco, const NuoviNumeri& nuovi);

// One save of a certificate from an editor: whatever scrivi writes (its rows, its sending line)
// is kept or dropped as one. First the certificate is taken at the revision the editor read
// (revisioneLetta, its row's Revisione): when another operator has saved it since, nothing is
// written and Error ModificatoDaAltri says when ("Il certificato è stato modificato da un altro
// operatore alle HH:MM: ricaricarlo?"); when it is gone, Error RigaEliminata. On a server the
// certificate stays taken until the end, so no other save slips in between. Its revision moves on
// once, whichever of its rows changed (a save of its own row through a Dataset moves it itself).
void SalvaCertificato(Connection& conn, Elenco elenco, std::int64_t id, std::int64_t revisioneLetta,
                      const std::function<void()>& scrivi);

}  // namespace storage
