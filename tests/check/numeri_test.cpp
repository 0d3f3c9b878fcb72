// The certificate number has five digits in the file: a number past 99,999 is named by the archive
// check and refuses the generation; a cut or repeated number in a file is named by the file check.

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "prova_check.h"
#include "telematic/tracciato.h"

namespace {

using check::Gravita;
using check::Problema;
using namespace provacheck;

struct Cartella {
    std::string errori;    // the run's messages, one per line
    bool scritto = false;  // whether the file exists afterwards
};

// The run of one list into the archive's own folder.
Cartella genera(Archivio& a, bool professionisti) {
    telematic::OpzioniGenerazione opz;
    opz.cartella = (a.dir / "invio").string();
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi::tutti();
    Silenzioso r;
    const auto ris = professionisti ? telematic::GeneraFileProfessionisti(a.conn, opz, r)
                                    : telematic::GeneraFileDipendenti(a.conn, opz, r);
    Cartella c;
    for (const auto& e : r.errori) c.errori += e + "\n";
    c.scritto = ris.esito == telematic::Esito::Concluso && fs::exists(fs::path(opz.cartella) / opz.nomeFile);
    return c;
}

// The problems both checks give on the certificate number, one line each.
std::vector<std::string> sulNumero(const std::vector<Problema>& ps) {
    std::vector<std::string> r;
    for (const auto& p : ps)
        if (p.campo == telematic::Posizioni('D', "ID") || (p.origine == check::Origine::File && p.posizione == 42))
            r.push_back(check::RigaProblema(p));
    return r;
}

std::string numeroErrato(const std::string& chi, std::int64_t id, const std::string& nome, const std::string& nelFile) {
    const std::string cf = nome == "ROSSI" ? kCfMario : kCfGiovanna;
    return "Errore - " + chi + " " + std::to_string(id) + " " + nome + " MARIO (" + cf +
           ") - D 42-46: Il numero del certificato " + std::to_string(id) +
           " non rientra nelle cinque cifre del file (da 1 a 99999): il record D porterebbe " + nelFile +
           ". Rinumerare i certificati prima di generare il file.";
}

// The two recipients' file written with numbers 1 and 2, then given these numbers in the heads
// of their records, and checked.
std::vector<Problema> controllaFile(bool professionisti, const std::string& primo, const std::string& secondo) {
    Archivio a;
    a.sostituto({{"A1", professionisti ? "0" : "2"}, {"A2", professionisti ? "2" : "0"}});
    for (const auto& [cf, cognome] : {std::pair{kCfMario, "ROSSI"}, std::pair{kCfGiovanna, "VERDI"}}) {
        if (professionisti)
            a.inserisci("Professionisti",
                        {{"A01", kCfSostituto}, {"B01", cf}, {"B02", cognome}, {"B03", "MARIO"}, {"B04", "M"}});
        else
            a.dipendente(cf, cognome);
    }
    EXPECT_TRUE(genera(a, professionisti).scritto);
    std::string file = leggi(a.dir / "invio" / "ZF2015.txt");
    EXPECT_EQ(file.size(), 7u * 1900);
    // A, B, then D and G (or H) of each certificate, then Z.
    for (int record = 3; record <= 6; ++record)
        file.replace(static_cast<std::size_t>(record - 1) * 1900 + 41, 5, record <= 4 ? primo : secondo);
    std::istringstream in(file);
    return check::ControllaFile(in);
}

struct Caso {
    const char* nome;
    bool professionisti;
    std::int64_t primo, secondo;        // the two certificates' numbers
    std::vector<std::string> archivio;  // the archive check's lines on the numbers
    const char* rifiuto;                // a line the refused run names, "" when the run writes
    // The heads as a writer that cuts would have written them, and what the file check says.
    const char *numeroPrimo, *numeroSecondo;
    std::vector<std::string> file;
};

TEST(NumeroDelCertificato, LimiteDelleCinqueCifre) {
    const std::string ripetuto =
        "Errore - record 5 pos. 42 - Certificato 12340 VERDI MARIO (" + kCfGiovanna +
        "): Il numero 12340 è già del certificato al record 3 (" + kCfMario +
        "): ogni certificato della fornitura vuole un numero suo (numero tagliato o ripetuto?).";
    const Caso casi[] = {
        {"99.999 viaggia intero", false, 1, 99999, {}, "", "00001", "99999", {}},
        {"100.000 è tagliato",
         false,
         1,
         100000,
         {numeroErrato("Certificato", 100000, "VERDI", "10000")},
         "Certificato 100000 (VERDI MARIO)",
         "00001",
         "10000",
         {}},
        {"tagliati e ripetuti",
         false,
         123401,
         123402,
         {numeroErrato("Certificato", 123401, "ROSSI", "12340"), numeroErrato("Certificato", 123402, "VERDI", "12340")},
         "Certificato 123402 (VERDI MARIO)",
         "12340",
         "12340",
         {ripetuto}},
        {"tagliato sul numero di un altro",
         false,
         10000,
         100000,
         {numeroErrato("Certificato", 100000, "VERDI", "10000")},
         "Certificato 100000 (VERDI MARIO)",
         "10000",
         "10000",
         {"Errore - record 5 pos. 42 - Certificato 10000 VERDI MARIO (" + kCfGiovanna +
          "): Il numero 10000 è già del certificato al record 3 (" + kCfMario +
          "): ogni certificato della fornitura vuole un numero suo (numero tagliato o ripetuto?)."}},
        {"zero",
         false,
         0,
         1,
         {numeroErrato("Certificato", 0, "ROSSI", "00000")},
         "Certificato 0 (ROSSI MARIO)",
         "00000",
         "00001",
         {"Errore - record 3 pos. 42 - Certificato 0 ROSSI MARIO (" + kCfMario +
          "): Il numero del certificato 00000 non è valido: si parte da 1."}},
        {"professionista 99.999", true, 1, 99999, {}, "", "00001", "99999", {}},
        {"professionista 100.000",
         true,
         1,
         100000,
         {numeroErrato("Professionista", 100000, "VERDI", "10000")},
         "Certificato 100000 (VERDI MARIO)",
         "00001",
         "10000",
         {}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        Archivio a;
        a.sostituto({{"A1", c.professionisti ? "0" : "2"}, {"A2", c.professionisti ? "2" : "0"}});
        for (const auto& [id, cf, cognome] :
             {std::tuple{c.primo, kCfMario, "ROSSI"}, std::tuple{c.secondo, kCfGiovanna, "VERDI"}}) {
            if (c.professionisti)
                a.inserisci("Professionisti", {{"ID", std::to_string(id)},
                                               {"A01", kCfSostituto},
                                               {"B01", cf},
                                               {"B02", cognome},
                                               {"B03", "MARIO"},
                                               {"B04", "M"}});
            else
                a.dipendente(cf, cognome, {{"ID", std::to_string(id)}});
        }
        check::OpzioniControllo opz;
        opz.professionisti = c.professionisti;
        if (c.professionisti) opz.tipi = storage::Tipi();
        EXPECT_EQ(sulNumero(check::ControllaArchivio(a.conn, opz)), c.archivio);

        const Cartella g = genera(a, c.professionisti);
        EXPECT_EQ(g.scritto, std::string(c.rifiuto).empty()) << g.errori;
        if (*c.rifiuto) {
            EXPECT_TRUE(contiene(g.errori, c.rifiuto)) << g.errori;
            EXPECT_TRUE(contiene(g.errori, "Rinumerare i certificati")) << g.errori;
            EXPECT_FALSE(fs::exists(a.dir / "invio" / "ZF2015.txt"));
        }

        EXPECT_EQ(sulNumero(controllaFile(c.professionisti, c.numeroPrimo, c.numeroSecondo)), c.file);
    }
}

}  // namespace
