// The rules that compare a recipient's boxes with the tax code, and a family row's boxes with
// one another; and that the archive check names their columns.
#include "check/coerenza.h"

#include <gtest/gtest.h>

#include <map>

#include "check/controllo.h"
#include "prova_check.h"

namespace {

using namespace provacheck;

struct CasoCodice {
    const char* nome;
    const char* codice;
    const char* cognome;
    const char* nomeProprio;
    const char* sesso;
    const char* nascita;
    std::vector<std::string> attesi;  // "colonna: testo"
};

std::vector<std::string> righe(const std::vector<check::SegnalazioneColonna>& s) {
    std::vector<std::string> r;
    for (const auto& x : s) r.push_back(x.colonna + ": " + x.segnalazione.testo);
    return r;
}

TEST(CoerenzaCodiceFiscale, TabellaDeiCasi) {
    const CasoCodice casi[] = {
        {"tutto concorda", "RSSMRA80A01H501U", "Rossi", "Mario", "M", "01/01/1980", {}},
        {"cognome con blank e apostrofo, nome di quattro consonanti",
         "DLCGNN75M41F205Z",
         "DE LUCA",
         "Giovanna",
         "F",
         "01/08/1975",
         {}},
        {"lettere accentate", "RSSMRA80A01H501U", "RÒSSI", "MÀRIO", "M", "01/01/1980", {}},
        {"omocodia nel comune", "RSSMRA80A01H50MM", "ROSSI", "MARIO", "M", "01/01/1980", {}},
        {"omocodia nell'anno", "RSSMRAUPA01H501G", "ROSSI", "MARIO", "M", "01/01/1983", {}},
        {"codice in minuscolo con blank", " rssmra80a01h501u ", "ROSSI", "MARIO", "M", "01/01/1980", {}},
        {"cognome diverso",
         "RSSMRA80A01H501U",
         "BIANCHI",
         "MARIO",
         "M",
         "01/01/1980",
         {"B02: Il cognome «BIANCHI» dà le lettere BNC, il codice fiscale RSS."}},
        {"nome diverso",
         "RSSMRA80A01H501U",
         "ROSSI",
         "LUCA",
         "M",
         "01/01/1980",
         {"B03: Il nome «LUCA» dà le lettere LCU, il codice fiscale MRA."}},
        {"sesso diverso",
         "RSSMRA80A41H501Y",
         "ROSSI",
         "MARIA",
         "M",
         "01/01/1980",
         {"B04: Il sesso «M» non è quello del codice fiscale (F)."}},
        {"data diversa",
         "RSSMRA80A01H501U",
         "ROSSI",
         "MARIO",
         "M",
         "02/01/1980",
         {"B05: La data di nascita «02/01/1980» non è quella del codice fiscale (01/01/..80)."}},
        {"mese diverso",
         "RSSMRA80A01H501U",
         "ROSSI",
         "MARIO",
         "M",
         "01/02/1980",
         {"B05: La data di nascita «01/02/1980» non è quella del codice fiscale (01/01/..80)."}},
        {"anno diverso",
         "RSSMRA80A01H501U",
         "ROSSI",
         "MARIO",
         "M",
         "01/01/1981",
         {"B05: La data di nascita «01/01/1981» non è quella del codice fiscale (01/01/..80)."}},
        {"dicembre, T", "RSSMRA80T01H501H", "ROSSI", "MARIO", "M", "01/12/1980", {}},
        {"maggio, E, il 31", "RSSMRA80E31H501F", "ROSSI", "MARIO", "M", "31/05/1980", {}},
        {"novembre invece di dicembre",
         "RSSMRA80T01H501H",
         "ROSSI",
         "MARIO",
         "M",
         "01/11/1980",
         {"B05: La data di nascita «01/11/1980» non è quella del codice fiscale (01/12/..80)."}},
        {"giorno della donna meno 40", "RSSMRA80A41H501Y", "ROSSI", "MARIA", "F", "01/01/1980", {}},
        {"secolo diverso non conta", "RSSMRA80A01H501U", "ROSSI", "MARIO", "M", "01/01/1880", {}},
        // Boxes that are empty or of no form are not compared; a wrong code is the code's own problem.
        {"vuoti", "RSSMRA80A01H501U", "", "", "", "", {}},
        {"data e sesso di altra forma", "RSSMRA80A01H501U", "ROSSI", "MARIO", "X", "1/1/1980", {}},
        {"codice errato", "RSSMRA80A01H501X", "BIANCHI", "LUCA", "F", "02/02/1990", {}},
        {"codice numerico", "01234567897", "BIANCHI", "LUCA", "F", "02/02/1990", {}},
    };
    for (const auto& c : casi) {
        std::vector<check::SegnalazioneColonna> s;
        check::CoerenzaCodiceFiscale(c.codice, c.cognome, c.nomeProprio, c.sesso, c.nascita, s);
        EXPECT_EQ(righe(s), c.attesi) << c.nome;
        for (const auto& x : s) EXPECT_EQ(x.segnalazione.gravita, check::Gravita::Avviso) << c.nome;
    }
}

TEST(CoerenzaFamiliari, CodiceFiscaleSenzaRelazione) {
    const struct {
        const char* nome;
        std::map<std::string, std::string> valori;
        std::vector<std::string> attesi;
    } casi[] = {
        {"coniuge e figli con la relazione",
         {{"fam1_1", "X"}, {"fam1_4", "A"}, {"fam2_3", "X"}, {"fam2_4", "B"}, {"fam3_2", "X"}, {"fam3_4", "C"}},
         {}},
        {"coniuge senza C",
         {{"fam1_4", "A"}},
         {"fam1_1: Il familiare della riga 1 ha il codice fiscale ma non la relazione (C)."}},
        {"primo figlio senza F1 né D",
         {{"fam2_4", "B"}, {"fam2_2", "X"}},
         {"fam2_1: Il familiare della riga 2 ha il codice fiscale ma non la relazione (F1 o D)."}},
        {"ultima riga",
         {{"fam9_4", "Z"}, {"fam9_5", "12"}},
         {"fam9_1: Il familiare della riga 9 ha il codice fiscale ma non la relazione (F, A o D)."}},
        {"relazione senza codice fiscale", {{"fam4_1", "X"}}, {}},
        {"codice di soli blank", {{"fam5_4", "   "}}, {}},
    };
    for (const auto& c : casi) {
        std::vector<check::SegnalazioneColonna> s;
        check::FamiliariSenzaRelazione(
            [&](std::string_view col) {
                const auto it = c.valori.find(std::string(col));
                return it == c.valori.end() ? std::string() : it->second;
            },
            s);
        EXPECT_EQ(righe(s), c.attesi) << c.nome;
    }
}

// The archive check and the editors' "Controlla" name the column and field of each.
TEST(CoerenzaFamiliari, NelControlloDellArchivio) {
    Archivio a;
    a.sostituto({{"A1", "1"}, {"A2", "0"}});
    const auto id = a.dipendente(kCfMario, "BIANCHI", {{"B07", "ZZ"}}, {{"fam3_4", kCfLuca}, {"tipo", "DIP"}});
    check::OpzioniControllo opz;
    opz.professionisti = false;
    std::vector<std::string> trovati;
    for (const auto& p : check::ControllaArchivio(a.conn, opz))
        if (p.id == id) trovati.push_back(p.colonna + " " + p.campo + " " + p.testo);
    const std::vector<std::string> attesi = {
        "B07 DA002007 La sigla «ZZ» non è tra quelle delle province italiane.",
        "B02 DA002002 Il cognome «BIANCHI» dà le lettere BNC, il codice fiscale RSS.",
        "fam3_1 DB803001 Il familiare della riga 3 ha il codice fiscale ma non la relazione (F, A o D)."};
    EXPECT_EQ(trovati, attesi);
}

}  // namespace
