#pragma once

// Rules that compare boxes with one another or with the form's own lists, each a warning: the
// Agency may take the value, but it is probably mistyped.

#include <string>
#include <string_view>
#include <vector>

#include "check/casella.h"
#include "telematic/tracciato.h"

namespace check {

// A problem and the column it belongs to.
struct SegnalazioneColonna {
    std::string colonna;
    Segnalazione segnalazione;
};

// The recipient's data against a formally right personal tax code: the letters of the surname
// and of the first name, the sex and the birth date it encodes (homocodes included). A box that
// is empty, or not of its form, is not compared.
void CoerenzaCodiceFiscale(std::string_view codice, std::string_view cognome, std::string_view nome,
                           std::string_view sesso, std::string_view nascita, std::vector<SegnalazioneColonna>& out);

// A family row with a tax code and no relation (C, F1, F, A or D); leggi reads a column of the
// certificate's Zefo2 row.
void FamiliariSenzaRelazione(const LetturaColonna& leggi, std::vector<SegnalazioneColonna>& out);

// The rules of single boxes beyond their type and form: the professionals' causale (point 1 of
// the self-employment section) among the form's codes, the INAIL comune code (point 39) in
// capitals as the other comune codes. The value is not empty.
void ProblemiAggiunti(const telematic::CampoSezione& casella, std::string_view valore, Segnalazioni& out);

// Whether the causale is one of the form's codes.
bool CausaleValida(std::string_view causale);

}  // namespace check
