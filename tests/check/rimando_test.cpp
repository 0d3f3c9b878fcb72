// Where a problem of the check leads in the archive: a file's record to its certificate and box.
#include "check/rimando.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "prova_check.h"
#include "storage/reporter.h"
#include "telematic/generazione.h"
#include "telematic/tracciato.h"

namespace {

using check::Origine;
using check::Problema;
using telematic::Sezione;
using namespace provacheck;

std::string codice(Sezione s, const char* colonna) { return telematic::CodiceDellaColonna(s, colonna); }

// Employees 1 ROSSI (Mario) and 2 VERDI (Giovanna), 3 and 4 both Anna; professionals 1 Luca
// and 2 Mario: the same numbers in both tables, and a tax code in both.
class Rimando : public ::testing::Test {
protected:
    void SetUp() override {
        a.sostituto({{"A1", "4"}, {"A2", "2"}});
        a.dipendente(kCfMario, "ROSSI");
        a.dipendente(kCfGiovanna, "VERDI");
        a.dipendente(kCfAnna, "FERRI");
        a.dipendente(kCfAnna, "FERRI");
        a.inserisci("Professionisti", {{"B01", kCfLuca}, {"B02", "BIANCHI"}});
        a.inserisci("Professionisti", {{"B01", kCfMario}, {"B02", "ROSSI"}});
    }
    Archivio a;
};

struct Caso {
    const char* nome;
    char tipoRecord;
    int modulo;
    std::int64_t id;
    std::string cf, campo;
    Origine origine;  // File: nothing to open
    std::int64_t aperto;
    std::string colonna;  // or, for File, the start of the reason
};

TEST_F(Rimando, ProblemiDiUnFile) {
    const std::string niente;
    const Caso casi[] = {
        {"G del modulo 1", 'G', 1, 1, kCfMario, codice(Sezione::FiscaleZefo1, "C001"), Origine::Dipendente, 1, "C001"},
        {"G, punto della seconda riga", 'G', 1, 2, kCfGiovanna, codice(Sezione::FiscaleZefo2, "c201"),
         Origine::Dipendente, 2, "c201"},
        {"G, familiare", 'G', 1, 2, kCfGiovanna, codice(Sezione::Familiari, "fam2_4"), Origine::Dipendente, 2,
         "fam2_4"},
        {"G del modulo 2", 'G', 2, 2, kCfGiovanna, "DC001004", Origine::Dipendente, 2, "Zefo3.D04"},
        {"G, mesi", 'G', 1, 1, kCfMario, "DC001008", Origine::Dipendente, 1, "D08_1"},
        {"G, posizioni della testa", 'G', 1, 1, kCfMario, niente, Origine::Dipendente, 1, ""},
        {"D di un dipendente", 'D', 1, 1, kCfMario, codice(Sezione::Anagrafica, "B05"), Origine::Dipendente, 1, "B05"},
        {"D di un professionista", 'D', 1, 1, kCfLuca, codice(Sezione::Anagrafica, "B02"), Origine::Professionista, 1,
         "B02"},
        {"H", 'H', 1, 2, kCfMario, codice(Sezione::Autonomi, "E04"), Origine::Professionista, 2, "E04"},
        {"numero diverso, un solo codice fiscale", 'G', 1, 99, kCfGiovanna, niente, Origine::Dipendente, 2, ""},
        {"senza codice fiscale", 'G', 1, 2, "", niente, Origine::Dipendente, 2, ""},
        {"A", 'A', 0, 0, "", niente, Origine::Sostituto, 0, ""},
        {"B", 'B', 0, 0, "", "B 394-401", Origine::Sostituto, 0, ""},
        {"C", 'C', 0, 0, "", niente, Origine::QuadroCt, 0, ""},
        {"Z", 'Z', 0, 0, "", "Z 34-42", Origine::File, 0, "Il record Z contiene solo i conteggi"},
        {"intero file", 0, 0, 0, "", niente, Origine::File, 0, "Il problema riguarda il file nel suo insieme"},
        {"codice fiscale assente dall'archivio", 'G', 1, 1, kCfSostituto + "X", niente, Origine::File, 0,
         "Il certificato n. 1 del file (codice fiscale 01234567897X) non è nell'archivio aperto"},
        {"codice fiscale di due certificati", 'G', 1, 7, kCfAnna, niente, Origine::File, 0,
         "Nell'archivio ci sono 2 certificati con il codice fiscale " + kCfAnna + " e nessuno ha il numero 7"},
        {"numero in entrambe le tabelle", 'D', 1, 2, "", niente, Origine::File, 0,
         "Nell'archivio ci sono 2 certificati con il n. 2"},
        {"né numero né codice fiscale", 'D', 1, 0, "", niente, Origine::File, 0, "Il record non indica"},
    };
    for (const Caso& c : casi) {
        Problema p;
        p.origine = Origine::File;
        p.tipoRecord = c.tipoRecord;
        p.modulo = c.modulo;
        p.id = c.id;
        p.codiceFiscale = c.cf;
        p.campo = c.campo;
        const check::Rimando r = check::RimandoNellArchivio(a.conn, p);
        EXPECT_EQ(r.origine, c.origine) << c.nome << ": " << r.motivo;
        EXPECT_EQ(r.id, c.aperto) << c.nome;
        if (c.origine == Origine::File) {
            EXPECT_EQ(r.motivo.rfind(c.colonna, 0), 0u) << c.nome << ": " << r.motivo;
        } else {
            EXPECT_EQ(r.colonna, c.colonna) << c.nome;
            EXPECT_EQ(r.motivo, "") << c.nome;
        }
    }
}

// A problem of the archive check already names its certificate and box.
TEST_F(Rimando, ProblemiDellArchivio) {
    Problema p;
    p.origine = Origine::Professionista;
    p.id = 2;
    p.colonna = "E04";
    const check::Rimando r = check::RimandoNellArchivio(a.conn, p);
    EXPECT_EQ(r.origine, Origine::Professionista);
    EXPECT_EQ(r.id, 2);
    EXPECT_EQ(r.colonna, "E04");
}

struct Silenzioso : storage::Reporter {
    void info(const std::string&) override {}
    void error(const std::string&) override {}
    bool ask(const std::string&) override { return true; }
};

// The file check says which record and module a problem is in: a damaged amount of the further
// INPS section leads to that section's box of the certificate.
TEST_F(Rimando, DalControlloDelFileAllaCasella) {
    a.inserisci("Zefo3", {{"Id", "2"}, {"Cf", kCfGiovanna}, {"D04", "1.000,00"}});
    telematic::OpzioniGenerazione opz;
    opz.cartella = (a.dir / "invio").string();
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi::tutti();
    Silenzioso s;
    const auto ris = telematic::GeneraFileDipendenti(a.conn, opz, s);
    ASSERT_EQ(ris.esito, telematic::Esito::Concluso);
    std::ifstream in(ris.percorsoFile, std::ios::binary);
    std::stringstream letto;
    letto << in.rdbuf();
    std::string file = letto.str();
    // The module-2 G record: the only one whose module number is 2 (the head is the D record's).
    std::size_t inizio = std::string::npos;
    for (std::size_t r = 0; r + 1900 <= file.size(); r += 1900)
        if (file[r] == 'G' && file.substr(r + telematic::CampoDi('D', telematic::kModulo).inizio(), 8) == "00000002")
            inizio = r;
    ASSERT_NE(inizio, std::string::npos);
    const auto campo = file.find("DC001004", inizio);
    ASSERT_LT(campo, inizio + 1900);
    file.replace(campo + 8 + 15, 1, "X");
    std::istringstream daControllare(file);
    const auto problemi = check::ControllaFile(daControllare);
    const auto it =
        std::find_if(problemi.begin(), problemi.end(), [](const Problema& p) { return p.campo == "DC001004"; });
    ASSERT_NE(it, problemi.end());
    const check::Rimando r = check::RimandoNellArchivio(a.conn, *it);
    EXPECT_EQ(r.origine, Origine::Dipendente) << r.motivo;
    EXPECT_EQ(r.id, 2);
    EXPECT_EQ(r.colonna, "Zefo3.D04");

    // The frontispiece declares 6 certificates, the file holds 4: the warning is of the whole
    // file, and leads to the agent's data where the counts are typed.
    const auto conteggio =
        std::find_if(problemi.begin(), problemi.end(), [](const Problema& p) { return p.campo == "B 394-409"; });
    ASSERT_NE(conteggio, problemi.end());
    EXPECT_EQ(check::RimandoNellArchivio(a.conn, *conteggio).origine, Origine::Sostituto);
}

}  // namespace
