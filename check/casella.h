#pragma once

// One box's value judged by the pre-send check's rules, in one place: the archive check applies
// them to every stored box, the editors to a box as the operator leaves it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "check/controllo.h"
#include "telematic/tracciato.h"

namespace check {

struct Segnalazione {
    Gravita gravita = Gravita::Errore;
    std::string testo;  // a sentence, as the check's list shows it
};
using Segnalazioni = std::vector<Segnalazione>;

// A tax code's problems: the code's own error (with gravita) and the warning of a birth date
// that does not exist, each introduced by chi ("codice fiscale del percipiente").
void ProblemiCodiceFiscale(std::string_view valore, Gravita gravita, std::string_view chi, Segnalazioni& out);

// The rules of single columns whose problems the check lists before the box's own: the sex
// (B04) is M or F, point 2 (C002) is 1 or 2 when given.
void ProblemiColonna(std::string_view colonna, std::string_view valore, Segnalazioni& out);

// One box of a section: the characters the file cannot hold, the form of its type, what the
// encoder reports, and the limits of days (365) and months (12). `secondo` is the second column
// of a box made of two (the INAIL day and month). An empty value has none.
void ProblemiCasella(const telematic::CampoSezione& casella, std::string_view valore, Segnalazioni& out,
                     std::string_view secondo = {});

// The problem of a certificate whose kind (Zefo2.tipo) is none of DIP, AMM, CoC (case ignored,
// as the archive compares): it is in no file. Empty for a right kind.
std::string ProblemaTipo(std::string_view tipo);

// The sentence of a certificate in no file for its kind.
extern const char* const kTestoSenzaTipo;

// What the check's sentences share: a value in «», a capital first letter, a count typed in a
// box (digits, "." allowed as the writer drops them; -1 otherwise).
std::string Tra(std::string_view valore);
std::string MaiuscolaIniziale(std::string s);
long long Conteggio(std::string_view valore);

// ---- the editors' boxes ----

// The rows an editor's box is stored in.
using Tabella = telematic::Tabella;

// The box of the layout a column of that row fills; nullptr when no section writes it.
const telematic::CampoSezione* CasellaDellaColonna(Tabella tabella, std::string_view colonna);

// Whether a column holds a tax code, kept in capitals.
bool ColonnaCodiceFiscale(Tabella tabella, std::string_view colonna);

struct Giudizio {
    std::string valore;         // what to store: as typed, or a tax code in capitals without blanks around
    Segnalazioni problemi;      // empty: accepted as it stands
    bool normalizzato = false;  // valore differs from what was typed
    bool errore() const;        // any problem is an error (not only warnings)
    // The problems' texts, one a line, each after "Errore: " or "Avviso: ".
    std::string messaggio() const;
};

// A value typed into a column, judged as the archive check would judge it once stored.
// `altra` reads another column of the same row (the other half of a day and month); without it
// such a box is judged alone.
using LetturaColonna = std::function<std::string(std::string_view colonna)>;
Giudizio GiudicaCasella(Tabella tabella, std::string_view colonna, std::string_view valore,
                        const LetturaColonna& altra = {});

}  // namespace check
