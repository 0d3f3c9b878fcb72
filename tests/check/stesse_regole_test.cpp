// The archive check and the file check judge the same box by the same rule: a wrong value gives
// one problem of the same severity and text in both, a right one none.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "check/codicefiscale.h"
#include "prova_check.h"

namespace {

using check::Gravita;
using check::Problema;
using namespace provacheck;

struct Fornitura {
    Valori sostituto = {}, zefo1 = {}, zefo2 = {}, quadroCt = {};
    bool conQuadroCt = false;
};

struct Esiti {
    std::vector<Problema> archivio, file;
};

// A clean agent and one clean certificate with the case's values, checked in the archive and in
// the file written from it.
Esiti controlla(const Fornitura& f) {
    Archivio a;
    Valori s = {{"A1", "1"}};
    if (f.conQuadroCt) s.push_back({"A3", "X"});
    Archivio::unisci(s, f.sostituto);
    a.sostituto(s);
    a.dipendente(kCfMario, "ROSSI", f.zefo1, f.zefo2);
    if (f.conQuadroCt) a.inserisci("QuadroCt", f.quadroCt);
    check::OpzioniControllo opz;
    opz.quadroCt = f.conQuadroCt;
    opz.professionisti = false;
    Esiti e;
    e.archivio = check::ControllaArchivio(a.conn, opz);
    std::string file = generaDipendenti(a, f.conQuadroCt);
    // The generation writes the supply's own count where the stored one is not a number; a file
    // from elsewhere may still carry it, and the file check must judge it as the archive check does.
    for (const auto& [colonna, valore] : s)
        if (colonna == "A1" && valore.find_first_not_of("0123456789") != std::string::npos && file.size() >= 2 * 1900)
            file.replace(1900 + 393, 8,
                         std::string(8 - std::min<std::size_t>(8, valore.size()), '0') + valore.substr(0, 8));
    std::istringstream in(file);
    e.file = check::ControllaFile(in);
    return e;
}

struct CasoForma {
    const char* nome;
    Fornitura fornitura;
    const char* testo;  // "" for a right value
};

TEST(StesseRegole, FormaDeiCampiDiTesto) {
    const CasoForma casi[] = {
        {"CAP con una lettera", {.zefo1 = {{"A06", "b0039"}}}, "CAP non valido «b0039»: attese cinque cifre."},
        {"CAP di quattro cifre", {.zefo1 = {{"A06", "0039"}}}, "CAP non valido «0039»: attese cinque cifre."},
        {"CAP giusto", {.zefo1 = {{"A06", "00039"}}}, ""},
        {"CAP di sei cifre", {.zefo1 = {{"A06", "000391"}}}, "CAP non valido «000391»: attese cinque cifre."},
        {"provincia con una cifra",
         {.zefo1 = {{"B21", "R1"}}},
         "Sigla della provincia non valida «R1»: attese due lettere maiuscole (es. RM)."},
        {"provincia con un importo",
         {.zefo1 = {{"A05", "R0000000,00"}}},
         "Sigla della provincia non valida «R0000000,00»: attese due lettere maiuscole (es. RM)."},
        {"provincia minuscola",
         {.zefo1 = {{"B21", "rm"}}},
         "Sigla della provincia non valida «rm»: attese due lettere maiuscole (es. RM)."},
        {"provincia di nascita estera", {.zefo1 = {{"B07", "EE"}}}, ""},
        {"provincia del domicilio 2015",
         {.zefo1 = {{"B24", "ROM"}}},
         "Sigla della provincia non valida «ROM»: attese due lettere maiuscole (es. RM)."},
        {"codice del comune con uno spazio",
         {.zefo1 = {{"B22", "G 73"}}},
         "Codice del comune non valido «G 73»: attesi una lettera maiuscola e tre cifre (es. H501)."},
        {"codice del comune giusto", {.zefo1 = {{"B25", "G273"}}}, ""},
        {"codice di stato estero", {.zefo1 = {{"B22", "Z404"}}}, ""},
        {"telefono del sostituto nel certificato",
         {.zefo1 = {{"A08", "0|5551234"}}},
         "Numero di telefono non valido «0|5551234»: attese solo cifre, senza spazi né separatori."},
        {"telefono giusto", {.zefo1 = {{"A08", "065551234"}}}, ""},
        {"telefono del frontespizio",
         {.sostituto = {{"TelefonoPref", "06"}, {"telefono", "555-1234"}}},
         "Numero di telefono non valido «06555-1234»: attese solo cifre, senza spazi né separatori."},
        {"telefono del frontespizio giusto", {.sostituto = {{"TelefonoPref", "06"}, {"telefono", "5551234"}}}, ""},
        {"cellulare del Quadro CT",
         {.quadroCt = {{"NumCellulare", "333 1234567"}}, .conQuadroCt = true},
         "Numero di telefono non valido «333 1234567»: attese solo cifre, senza spazi né separatori."},
        {"cellulare dell'intermediario del Quadro CT",
         {.quadroCt = {{"B3", "+393331234567"}}, .conQuadroCt = true},
         "Numero di telefono non valido «+393331234567»: attese solo cifre, senza spazi né separatori."},
        {"codice fiscale del rappresentante",
         {.zefo1 = {{"B30", "RSSMRA80A01H501X"}}},
         "Il carattere di controllo del codice fiscale è errato (atteso U)."},
        {"data dell'impegno inesistente",
         {.sostituto = {{"A4", kCfLuca}, {"A8", "1"}, {"A5", "31"}, {"A6", "02"}, {"A7", "2015"}}},
         "Data dell'impegno: la data «31/02/2015» non esiste."},
        {"data dell'impegno mancante",
         {.sostituto = {{"A4", kCfLuca}, {"A8", "1"}}},
         "Manca la data dell'impegno a trasmettere."},
        {"data dell'impegno giusta",
         {.sostituto = {{"A4", kCfLuca}, {"A8", "1"}, {"A5", "28"}, {"A6", "02"}, {"A7", "2015"}}},
         ""},
    };
    for (const auto& c : casi) {
        const Esiti e = controlla(c.fornitura);
        if (*c.testo == '\0') {
            EXPECT_TRUE(e.archivio.empty()) << c.nome << ::testing::PrintToString(righe(e.archivio));
            EXPECT_TRUE(e.file.empty()) << c.nome << ::testing::PrintToString(righe(e.file));
            continue;
        }
        for (const auto* ps : {&e.archivio, &e.file}) {
            ASSERT_EQ(ps->size(), 1u) << c.nome << ::testing::PrintToString(righe(*ps));
            EXPECT_EQ(ps->front().gravita, Gravita::Errore) << c.nome;
            EXPECT_EQ(ps->front().testo, c.testo) << c.nome;
        }
    }
}

struct CasoNascita {
    const char* nome;
    Fornitura fornitura;
    // The fields that carry the code: the archive has the agent's once, the file in A, B and C too.
    std::size_t inArchivio, inFile;
};

// A formally right code whose birth date is 31 June (or 30 February) is a warning wherever a tax
// code stands.
TEST(StesseRegole, DataDiNascitaInesistenteInOgniCodiceFiscale) {
    const std::string giugno = std::string("RSSMRA80H71H501") + check::CarattereControlloPersonale("RSSMRA80H71H501");
    const std::string febbraio = std::string("VRDGNN75B70F205") + check::CarattereControlloPersonale("VRDGNN75B70F205");
    const CasoNascita casi[] = {
        {"sostituto e suo codice nel certificato",
         {.sostituto = {{"CodiceFiscale", giugno}}, .zefo1 = {{"A01", giugno}}},
         2,
         3},
        {"rappresentante", {.zefo1 = {{"B30", giugno}}}, 1, 1},
        {"coniuge", {.zefo2 = {{"fam1_1", "X"}, {"fam1_4", febbraio}}}, 1, 1},
        {"figlio", {.zefo2 = {{"fam2_1", "X"}, {"fam2_4", giugno}, {"fam2_5", "12"}}}, 1, 1},
        {"altro sostituto al punto 305", {.zefo2 = {{"c305", giugno}}}, 1, 1},
        {"firmatario", {.sostituto = {{"CFRapp", giugno}, {"CodCar", "1"}}}, 1, 1},
        {"intermediario",
         {.sostituto = {{"A4", giugno}, {"A8", "1"}, {"A5", "01"}, {"A6", "02"}, {"A7", "2015"}}},
         1,
         1},
        {"intermediario del Quadro CT", {.quadroCt = {{"B1", febbraio}}, .conQuadroCt = true}, 1, 1},
    };
    for (const auto& c : casi) {
        const Esiti e = controlla(c.fornitura);
        const std::pair<const std::vector<Problema>*, std::size_t> attesi[] = {{&e.archivio, c.inArchivio},
                                                                               {&e.file, c.inFile}};
        for (const auto& [ps, n] : attesi) {
            EXPECT_EQ(ps->size(), n) << c.nome << ::testing::PrintToString(righe(*ps));
            for (const auto& p : *ps) {
                EXPECT_EQ(p.gravita, Gravita::Avviso) << c.nome << " " << check::RigaProblema(p);
                EXPECT_TRUE(contiene(p.testo, "odice fiscale indica una data di nascita che non esiste ("))
                    << c.nome << " " << p.testo;
            }
        }
    }
}

struct CasoB {
    const char* nome;
    Valori sostituto;
    Gravita gravita;
    // The sentence's start, "" for a right frontispiece: the archive quotes a value as stored,
    // the file as written ("1a" and "0000001a").
    const char* inizio;
};

// Every rule of record B gives the same problem on the same field in both checks, and a right
// value none.
TEST(StesseRegole, RecordB) {
    const std::string intermediario = kCfLuca;
    const CasoB casi[] = {
        {"codice fiscale mancante",
         {{"CodiceFiscale", ""}},
         Gravita::Errore,
         "Manca il codice fiscale del sostituto d'imposta."},
        {"codice fiscale errato",
         {{"CodiceFiscale", "01234567890"}},
         Gravita::Errore,
         "Codice fiscale del sostituto: la cifra di controllo del codice fiscale è errata (attesa 7)."},
        {"denominazione mancante",
         {{"CognomeDenominazione", " "}},
         Gravita::Avviso,
         "Manca il cognome o la denominazione del sostituto d'imposta."},
        {"firmatario errato",
         {{"CFRapp", "RSSMRA80A01H501X"}, {"CodCar", "1"}},
         Gravita::Errore,
         "Codice fiscale del firmatario: il carattere di controllo del codice fiscale è errato (atteso U)."},
        {"codice carica 15", {{"CFRapp", kCfMario}, {"CodCar", "15"}}, Gravita::Errore, ""},
        {"codice carica 16",
         {{"CFRapp", kCfMario}, {"CodCar", "16"}},
         Gravita::Errore,
         "Il codice carica del firmatario «16» deve essere un numero da 1 a 15."},
        {"codice carica 1", {{"CFRapp", kCfMario}, {"CodCar", "1"}}, Gravita::Errore, ""},
        {"codice carica non numerico",
         {{"CFRapp", kCfMario}, {"CodCar", "1a"}},
         Gravita::Errore,
         "Il codice carica del firmatario «1a» deve essere un numero da 1 a 15."},
        {"codice carica mancante", {{"CFRapp", kCfMario}}, Gravita::Avviso, "Manca il codice carica del firmatario."},
        {"codice carica senza firmatario", {{"CodCar", "2"}}, Gravita::Errore, ""},
        {"conteggio dei dipendenti non numerico",
         {{"A1", "1a"}},
         Gravita::Errore,
         "Il numero di certificati di lavoro dipendente «"},
        {"conteggio dei professionisti non numerico",
         {{"A2", "x"}},
         Gravita::Errore,
         "Il numero di certificati di lavoro autonomo «"},
        {"intermediario errato",
         {{"A4", "BNCLCU92T15L219X"}, {"A8", "1"}, {"A5", "01"}, {"A6", "02"}, {"A7", "2015"}},
         Gravita::Errore,
         "Codice fiscale dell'intermediario: il carattere di controllo del codice fiscale è errato (atteso N)."},
        {"intermediario fatto di spazi",
         {{"A4", "  "}},
         Gravita::Errore,
         "Senza il codice fiscale dell'intermediario le posizioni 428-437 devono valere 0000000000."},
        {"impegno 3",
         {{"A4", intermediario}, {"A8", "3"}, {"A5", "01"}, {"A6", "02"}, {"A7", "2015"}},
         Gravita::Errore,
         "L'impegno a trasmettere dell'intermediario vale 1 o 2, non «3»."},
        {"impegno 2",
         {{"A4", intermediario}, {"A8", "2"}, {"A5", "01"}, {"A6", "02"}, {"A7", "2015"}},
         Gravita::Errore,
         ""},
        {"data dell'impegno senza zeri",
         {{"A4", intermediario}, {"A8", "1"}, {"A5", "1"}, {"A6", "2"}, {"A7", "2015"}},
         Gravita::Errore,
         "Data dell'impegno: "},
        {"anno dell'impegno di due cifre",
         {{"A4", intermediario}, {"A8", "1"}, {"A5", "01"}, {"A6", "02"}, {"A7", "15"}},
         Gravita::Errore,
         "Data dell'impegno: "},
    };
    auto diB = [](const std::vector<Problema>& ps) {
        std::vector<Problema> b;
        for (const auto& p : ps)
            if (p.campo.rfind("B ", 0) == 0) b.push_back(p);
        return b;
    };
    for (const auto& c : casi) {
        const Esiti e = controlla({.sostituto = c.sostituto});
        const std::vector<Problema> archivio = diB(e.archivio), file = diB(e.file);
        if (*c.inizio == '\0') {
            EXPECT_TRUE(archivio.empty()) << c.nome << ::testing::PrintToString(righe(archivio));
            EXPECT_TRUE(file.empty()) << c.nome << ::testing::PrintToString(righe(file));
            continue;
        }
        for (const auto* ps : {&archivio, &file}) {
            ASSERT_EQ(ps->size(), 1u) << c.nome << ::testing::PrintToString(righe(*ps));
            EXPECT_EQ(ps->front().gravita, c.gravita) << c.nome;
            EXPECT_EQ(ps->front().testo.rfind(c.inizio, 0), 0u) << c.nome << ": " << ps->front().testo;
        }
        EXPECT_EQ(archivio.front().campo, file.front().campo) << c.nome;
    }
}

}  // namespace
