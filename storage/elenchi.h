#pragma once

// What the editors list and look up: the rows a Dataset opens (the certificates in surname
// order, a certificate's further rows, the agent's single rows), the grid's columns by key, and
// the searches by name, tax code and matricola.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/certificati.h"
#include "storage/dataset.h"
#include "storage/invii.h"

namespace storage {

Tabella TabellaDellElenco(Elenco elenco);  // Zefo1 or Professionisti

// Every row of a table, in key order.
Righe TutteLeRighe(Tabella tabella);
// The list's certificates in surname and first-name order.
Righe CertificatiPerNominativo(Elenco elenco);
// The employees' certificates of these kinds, in the same order.
Righe CertificatiDeiTipiPerNominativo(const Tipi& tipi);
// The employees' certificates with a Zefo2 row, whatever its kind (even none), in the same order.
Righe CertificatiConZefo2PerNominativo();
// A certificate's Zefo2 row (the lowest-key one) and its Zefo3 rows (first the one the file carries).
Righe Zefo2DelCertificato(std::int64_t id);
Righe Zefo3DelCertificato(std::int64_t id);
// The agent's row and the Quadro CT row: the lowest-key one where more crept in.
Righe RigaDelSostituto();
Righe RigaDelQuadroCt();

// Reads a few columns of a table's rows by key, with one statement prepared once (the grid).
class LettoreColonne {
public:
    LettoreColonne(Connection& conn, Tabella tabella, const std::vector<const char*>& colonne);
    // The values in the columns' order; nullopt when no row has the key.
    std::optional<std::vector<std::string>> leggi(std::int64_t chiave);

private:
    Statement st_;
    std::size_t quante_;
};

// A range of one column's texts, da included and a excluded, compared as the archive compares
// text (ASCII letters without regard to case); the engine answers it from the column's index.
struct Intervallo {
    std::string da, a;
};
enum class ColonnaNominativo { Cognome, Nome, CodiceFiscale };  // B02, B03, B01

struct RigaNominativo {
    std::int64_t chiave = 0;
    std::string cognome, nome;
};
// The rows of the table whose column falls in any of the ranges, with their surname and first name.
std::vector<RigaNominativo> RigheNegliIntervalli(Connection& conn, Tabella tabella, ColonnaNominativo colonna,
                                                 const std::vector<Intervallo>& intervalli);
// Only their keys: the index answers it alone.
std::vector<std::int64_t> ChiaviNegliIntervalli(Connection& conn, Tabella tabella, ColonnaNominativo colonna,
                                                const std::vector<Intervallo>& intervalli);
// The employees' certificates whose Zefo2 rows hold this matricola (blanks around it and case aside).
std::vector<std::int64_t> CertificatiConMatricola(Connection& conn, std::string_view matricola);

// One row per certificate of the list in number order, for the list of choices of a supply: its
// number, names, tax code and (employees) the kind of its own Zefo2 row.
struct RigaScelta {
    std::int64_t id = 0;
    std::string cognome, nome, codiceFiscale, tipo;
};
std::vector<RigaScelta> RigheDaScegliere(Connection& conn, Elenco elenco);

}  // namespace storage

namespace storage {

// ---- the selections of the prints, the runs and the check ----

// The employees' certificates of these kinds whose own Zefo2 row has a matricola from da to a
// (both included), in matricola order; rows left without their certificate are not.
std::vector<std::int64_t> NumeriPerMatricola(Connection& conn, const Tipi& tipi, const std::string& da,
                                             const std::string& a);
// The certificates (employees: of these kinds) whose surname is from da to a, in surname order.
std::vector<std::int64_t> NumeriPerCognome(Connection& conn, const Tipi& tipi, const std::string& da,
                                           const std::string& a);
std::vector<std::int64_t> ProfessionistiPerCognome(Connection& conn, const std::string& da, const std::string& a);

// The list's certificates numbered below 1 or above massimo (employees: of these kinds, when
// given), in number order, with their names.
std::vector<RigaNominativo> NumeriFuoriDa(Connection& conn, Elenco elenco, const Tipi* tipi, std::int64_t massimo);

// The employees' certificates with no kind (no Zefo2 row, or one of no known kind), in number order.
struct RigaCertificato {
    std::int64_t id = 0;
    std::string codiceFiscale, cognome, nome;
};
std::vector<RigaCertificato> CertificatiSenzaTipo(Connection& conn);

// The lowest-numbered certificate below `prima` whose tax code is cf (blanks and case aside) and,
// for employees, whose kind is tipo (case aside); nullopt when none.
std::optional<std::int64_t> PrecedenteConCodice(Connection& conn, Elenco elenco, std::int64_t prima,
                                                const std::string& cf, const std::string& tipo);

// The list's certificates with this number (when not 0) and this tax code (when not empty,
// blanks around the stored one aside), in number order.
std::vector<std::int64_t> CertificatiConNumeroECodice(Connection& conn, Elenco elenco, std::int64_t id,
                                                      const std::string& cf);

// Whether a certificate has this number and this tax code as stored, with statements prepared
// once for many lookups (the receipts' lines).
class VerificaCertificati {
public:
    explicit VerificaCertificati(Connection& conn);
    bool esiste(Elenco elenco, std::int64_t id, std::string_view cf);

private:
    Statement dipendenti_, professionisti_;
};

}  // namespace storage
