#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "check/codicefiscale.h"
#include "check/controllo.h"
#include "prova_check.h"
#include "storage/error.h"
#include "storage/reporter.h"
#include "telematic/generazione.h"
#include "telematic/tracciato.h"

namespace {

using check::Gravita;
using check::Problema;
using namespace provacheck;

std::vector<Problema> controlla(const std::string& file) {
    std::istringstream in(file);
    return check::ControllaFile(in);
}

std::vector<std::string> errori(const std::vector<Problema>& ps) {
    std::vector<std::string> r;
    for (const auto& p : ps)
        if (p.gravita == Gravita::Errore) r.push_back(check::RigaProblema(p));
    return r;
}

// Two clean certificates: A, B, D, G, D, G, Z.
class FileInvio : public ::testing::Test {
protected:
    void SetUp() override {
        a.sostituto({{"A1", "2"}});
        a.dipendente(kCfMario, "ROSSI");
        a.dipendente(kCfGiovanna, "VERDI");
        file = generaDipendenti(a);
        ASSERT_EQ(file.size(), 7u * 1900);
    }
    std::string record(int n) const { return file.substr(static_cast<std::size_t>(n - 1) * 1900, 1900); }
    void sostituisci(int n, std::size_t posizione, const std::string& testo) {
        file.replace(static_cast<std::size_t>(n - 1) * 1900 + posizione - 1, testo.size(), testo);
    }
    Archivio a;
    std::string file;
};

TEST_F(FileInvio, UnFileBuonoNonHaProblemi) {
    const auto ps = controlla(file);
    EXPECT_TRUE(ps.empty()) << ::testing::PrintToString(righe(ps));
}

TEST_F(FileInvio, ConteggiDelRecordZ) {
    sostituisci(7, 34, "000000003");  // D records
    sostituisci(7, 43, "00000000X");  // G records
    EXPECT_EQ(errori(controlla(file)),
              (std::vector<std::string>{
                  "Errore - record 7 pos. 34 - File - Z 34-42: Il record Z conta 3 record D, il file ne contiene 2.",
                  "Errore - record 7 pos. 43 - File - Z 43-51: Il numero di record G «00000000X» non è numerico."}));
}

// The counts of record B against the certificates the file holds (two): fewer and more are both told.
TEST_F(FileInvio, ConteggiDelFrontespizio) {
    const struct {
        const char* a1;
        std::size_t avvisi;
    } casi[] = {{"00000001", 1}, {"00000002", 0}, {"00000003", 1}};
    for (const auto& c : casi) {
        sostituisci(2, 394, c.a1);
        const auto ps = controlla(file);
        const auto n = std::count_if(ps.begin(), ps.end(), [](const Problema& p) {
            return p.gravita == Gravita::Avviso && p.campo == "B 394-409" &&
                   contiene(p.testo, "Il frontespizio indica ");
        });
        EXPECT_EQ(static_cast<std::size_t>(n), c.avvisi) << c.a1 << ::testing::PrintToString(righe(ps));
    }
}

// A control character anywhere before the record's end, DEL included, is an error; the supplier
// type is 01 or 10.
TEST_F(FileInvio, CaratteriDiControlloETipoFornitore) {
    const struct {
        int record;
        std::size_t posizione;
        std::string testo;
        const char* errore;
    } casi[] = {
        {4, 600, "\x7F", "Il record contiene un carattere di controllo (codice 127) alla posizione 600."},
        {4, 1897, "", "Il record contiene un carattere di controllo (codice 1) alla posizione 1897."},
        {1, 21, "10", ""},
        {1, 21, "11", "Il tipo fornitore vale 01 o 10, non «11»."},
    };
    for (const auto& c : casi) {
        const std::string originale = file;
        sostituisci(c.record, c.posizione, c.testo);
        const auto ps = controlla(file);
        file = originale;
        std::vector<std::string> testi;
        for (const auto& p : ps)
            if (p.gravita == Gravita::Errore) testi.push_back(p.testo);
        if (*c.errore == '\0')
            EXPECT_TRUE(testi.empty()) << c.posizione << ::testing::PrintToString(testi);
        else  // the filler's own complaint may come too
            EXPECT_EQ(std::count(testi.begin(), testi.end(), c.errore), 1)
                << c.posizione << ::testing::PrintToString(testi);
    }
}

TEST_F(FileInvio, RecordTroncato) {
    file.erase(3 * 1900 + 500, 10);  // record 4, the first G, loses ten blanks
    const auto ps = controlla(file);
    ASSERT_EQ(errori(ps).size(), 1u) << ::testing::PrintToString(righe(ps));
    EXPECT_EQ(ps[0].record, 4);
    EXPECT_EQ(ps[0].id, 1);
    EXPECT_EQ(ps[0].codiceFiscale, kCfMario);
    EXPECT_EQ(ps[0].testo, "Il record è lungo 1890 caratteri invece di 1900.");
}

TEST_F(FileInvio, RecordSenzaFineRiga) {
    file.erase(file.size() - 2);  // Z without CR LF, the last line of the file
    EXPECT_EQ(
        errori(controlla(file)),
        std::vector<std::string>{
            "Errore - record 7 - File: Il record è lungo 1898 caratteri invece di 1900 e non termina con CR LF."});
}

// A record of the right length must end with "A" (position 1898) and CR LF: whichever of the
// three is wrong, the record's end is named, once, at 1898.
TEST_F(FileInvio, FineDelRecordSbagliata) {
    const struct {
        std::size_t posizione;
        const char* testo;
    } casi[] = {{1898, "B"}, {1898, " "}, {1899, " "}};
    const std::string buono = file;
    for (const auto& c : casi) {
        file = buono;
        sostituisci(3, c.posizione, c.testo);
        const auto ps = controlla(file);
        const auto fine = std::count_if(ps.begin(), ps.end(), [](const Problema& p) {
            return p.testo == "Il record non termina con \"A\" seguito da CR LF." && p.posizione == 1898 &&
                   p.record == 3;
        });
        EXPECT_EQ(fine, 1) << c.posizione << ::testing::PrintToString(righe(ps));
    }
}

TEST_F(FileInvio, CampoSpezzato) {
    // A field of 22 characters shifts every later field by two: what a 47812 value does.
    const std::string d = record(3);
    const auto b05 = d.find("DA002005");
    ASSERT_NE(b05, std::string::npos);
    std::string nuovo = d.substr(0, b05 + 8) + "        121980" + d.substr(b05 + 24);
    nuovo.insert(1889 - 2, "  ");
    sostituisci(3, 1, nuovo);
    const auto e = errori(controlla(file));
    ASSERT_EQ(e.size(), 2u) << ::testing::PrintToString(e);
    EXPECT_EQ(e[0], "Errore - record 3 pos. " + std::to_string(b05 + 1) + " - Certificato 1 ROSSI MARIO (" + kCfMario +
                        ") - DA002005: Data «        121980DA» non nella forma GGMMAAAA allineata a destra.");
    EXPECT_NE(e[1].find("- record 3 pos. " + std::to_string(b05 + 25) + " - Certificato 1 ROSSI MARIO"),
              std::string::npos)
        << e[1];
    EXPECT_NE(e[1].find("Campo spezzato o fuori allineamento: «003001  » non è un codice di campo del record D"),
              std::string::npos)
        << e[1];
}

TEST_F(FileInvio, CodiceDiCampoDanneggiato) {
    const auto campo = record(4).find("DB001", 89);
    ASSERT_NE(campo, std::string::npos);
    sostituisci(4, campo + 5, "Y");
    const std::string codice = record(4).substr(campo, 8);
    EXPECT_EQ(
        errori(controlla(file)),
        std::vector<std::string>{"Errore - record 4 pos. " + std::to_string(campo + 1) +
                                 " - Certificato 1 ROSSI MARIO (" + kCfMario + ") - " + codice + ": Codice di campo «" +
                                 codice + "» sconosciuto: il campo è danneggiato o non previsto dal tracciato."});
}

TEST_F(FileInvio, CertificatoSenzaCognome) {
    const auto cognome = record(3).find("DA002002ROSSI");
    ASSERT_NE(cognome, std::string::npos);
    sostituisci(3, cognome + 9, "     ");
    EXPECT_EQ(errori(controlla(file)),
              std::vector<std::string>{"Errore - record 3 pos. 90 - Certificato 1 MARIO (" + kCfMario +
                                       ") - DA002002: Manca il cognome del percipiente."});
}

TEST_F(FileInvio, CampoOltreLAreaDeiCampi) {
    sostituisci(4, 1889, "DB00");
    const std::vector<std::string> attesi = {
        "Errore - record 4 pos. 1889 - Certificato 1 ROSSI MARIO (" + kCfMario +
        "): Campo spezzato o fuori allineamento: dopo un campo vuoto il record prosegue con «DB00     »."};
    EXPECT_EQ(errori(controlla(file)), attesi);
}

// A NUL typed or imported into a name: the file gets "?" and the run says so, the archive check
// calls it an error, and a file that carries a control byte anyway is refused.
TEST(CaratteriDiControllo, UnNulNelNome) {
    Archivio a;
    a.sostituto({{"A1", "1"}});
    a.dipendente(kCfMario, std::string("RO\0SSI", 6));
    const std::string file = generaDipendenti(a);
    ASSERT_EQ(file.size(), 5u * 1900);
    EXPECT_NE(file.find("DA002002RO?SSI          "), std::string::npos);
    EXPECT_EQ(file.find('\0'), std::string::npos);
    EXPECT_EQ(leggi(a.dir / "invio" / "Zf2015.log"),
              "Certificato 1 (RO?SSI MARIO): la colonna B02 contiene caratteri non rappresentabili in "
              "Windows-1252, scritti come \"?\"\r\n");
    EXPECT_EQ(errori(check::ControllaArchivio(a.conn, {})),
              std::vector<std::string>{"Errore - Certificato 1 RO?SSI MARIO (" + kCfMario +
                                       ") - B02 DA002002: Il valore «RO?SSI» contiene caratteri di controllo: saranno "
                                       "scritti come \"?\"."});
    std::string guasto = file;
    const auto cognome = guasto.find("DA002002RO?SSI") + 10;
    guasto[cognome] = '\x1b';
    const std::string pos = std::to_string(cognome - 2 * 1900 + 1);
    EXPECT_EQ(errori(controlla(guasto)),
              std::vector<std::string>{"Errore - record 3 pos. " + pos + " - Certificato 1 RO?SSI MARIO (" + kCfMario +
                                       "): Il record contiene un carattere di controllo (codice 27) alla posizione " +
                                       pos + "."});
}

// Both checks warn of a recipient whose tax code gives 31 June.
TEST(CodiceFiscaleInesistente, AvvisoInEntrambiIControlli) {
    const std::string cf = std::string("RSSMRA80H71H501") + check::CarattereControlloPersonale("RSSMRA80H71H501");
    Archivio a;
    a.sostituto({{"A1", "1"}});
    a.dipendente(cf, "ROSSI");
    const std::string testo =
        "Codice fiscale del percipiente: il codice fiscale indica una data di nascita che non esiste (31/06).";
    const auto archivio = check::ControllaArchivio(a.conn, {});
    const Problema* p = trova(archivio, "B01");
    ASSERT_NE(p, nullptr) << ::testing::PrintToString(righe(archivio));
    EXPECT_EQ(p->gravita, Gravita::Avviso);
    EXPECT_EQ(p->testo, testo);
    const auto file = controlla(generaDipendenti(a));
    ASSERT_EQ(file.size(), 1u) << ::testing::PrintToString(righe(file));
    EXPECT_EQ(file[0].gravita, Gravita::Avviso);
    EXPECT_EQ(file[0].testo, testo);
}

TEST_F(FileInvio, OrdineDeiRecord) {
    const std::string d = record(3), g = record(4);
    sostituisci(3, 1, g);
    sostituisci(4, 1, d);
    const auto e = errori(controlla(file));
    ASSERT_EQ(e.size(), 2u) << ::testing::PrintToString(e);
    EXPECT_EQ(e[0], "Errore - record 3 pos. 1 - Certificato 1 (" + kCfMario +
                        "): Il record G non segue il record D del suo certificato (percipiente e numero diversi).");
    EXPECT_EQ(e[1], "Errore - record 4 pos. 1 - Certificato 1 ROSSI MARIO (" + kCfMario +
                        "): Il certificato ha il record D ma nessun record G o H.");
}

TEST_F(FileInvio, MancaIlRecordZ) {
    file.resize(6 * 1900);
    EXPECT_EQ(errori(controlla(file)), std::vector<std::string>{"Errore - File: Manca il record Z di coda."});
}

TEST_F(FileInvio, TestaDelCertificato) {
    sostituisci(5, 2, "01234567890");        // agent differs from record B
    sostituisci(6, 26, "VRDGNN75M41F205X");  // recipient's check character
    const auto e = errori(controlla(file));
    ASSERT_EQ(e.size(), 3u) << ::testing::PrintToString(e);
    EXPECT_NE(e[0].find("Il codice fiscale del sostituto «01234567890     » è diverso da quello del record B."),
              std::string::npos);
    EXPECT_NE(e[1].find("Il record G non segue il record D del suo certificato"), std::string::npos);
    EXPECT_NE(
        e[2].find("Codice fiscale del percipiente: il carattere di controllo del codice fiscale è errato (atteso K)."),
        std::string::npos);
}

TEST(FileInvioQuadroCt, RecordCSenzaRecordG) {
    Archivio a;
    a.sostituto({{"A3", "X"}});
    telematic::OpzioniGenerazione opz;
    opz.cartella = (a.dir / "invio").string();
    opz.nomeFile = "prof.txt";
    opz.quadroCt = true;
    Silenzioso r;
    const auto ris = telematic::GeneraFileProfessionisti(a.conn, opz, r);
    EXPECT_EQ(errori(check::ControllaFile(ris.percorsoFile)),
              std::vector<std::string>{"Errore - File - C: Il Quadro CT (record C) è in una fornitura senza record G: "
                                       "l'Agenzia scarta l'intera fornitura."});
}

TEST(FileInvioQuadroCt, FileCheNonSiApre) {
    EXPECT_THROW(check::ControllaFile("/percorso/che/non/esiste.txt"), storage::Error);
}

TEST(FileInvioQualunque, FileDiUnAltroGenere) {
    const auto ps = controlla("Questo non è un file di invio\nma una lettera.\n");
    const auto e = errori(ps);
    ASSERT_GE(e.size(), 4u);
    EXPECT_EQ(e[0], "Errore - record 1 - File: Il record è lungo 31 caratteri invece di 1900.");
    EXPECT_EQ(e.back(), "Errore - File: Manca il record Z di coda.");
    const auto lunghissima = controlla(std::string(100000, 'x'));
    EXPECT_EQ(errori(lunghissima).front(), "Errore - record 1 - File: Il record è più lungo di 1900 caratteri.");
}

// Every typed column filled with a right value: the archive check finds nothing, the writers
// put every field the check knows into the file, and the file check finds nothing either.
TEST(TracciatoCompleto, ArchivioEFileConcordano) {
    Archivio a;
    a.sostituto({{"A1", "1"}, {"A3", "X"}});
    using telematic::Sezione;
    using telematic::TipoCampo;
    auto valore = [](TipoCampo tipo) -> std::string {
        switch (tipo) {
        case TipoCampo::CF: return kCfAnna;
        case TipoCampo::DT: return "15/06/2014";
        case TipoCampo::VP:
        case TipoCampo::VN: return "1.234,56";
        case TipoCampo::NP:
        case TipoCampo::NU: return "12";
        case TipoCampo::N1: return "1";
        case TipoCampo::N2: return "06";
        case TipoCampo::N3: return "123";
        case TipoCampo::N10: return "1234567890";
        case TipoCampo::CN: return "80123456784";
        case TipoCampo::PC: return "50,00";
        case TipoCampo::DA: return "2014";
        default: return "TESTO";
        }
    };
    // Text boxes with a form of their own get a right one.
    auto conForma = [](telematic::Forma forma, std::string v) -> std::string {
        switch (forma) {
        case telematic::Forma::Cap: return "00039";
        case telematic::Forma::Provincia: return "RM";
        case telematic::Forma::CodiceComune: return "H501";
        case telematic::Forma::Telefono: return "065551234";
        case telematic::Forma::CodiceFiscale: return kCfAnna;
        default: return v;
        }
    };
    // Every box of the sections gets a right value: the simple ones by type, month flags and
    // family letters ticked, point 19 a code the file carries, the INAIL dates day and month.
    auto riempi = [&](Sezione s, Valori& v, std::initializer_list<const char*> tranne = {}) {
        for (const auto& c : telematic::Campi(s)) {
            if (c.colonne.empty() || std::find_if(tranne.begin(), tranne.end(),
                                                  [&](const char* x) { return c.colonna() == x; }) != tranne.end())
                continue;
            switch (c.regola) {
            case telematic::Regola::Semplice:
            case telematic::Regola::Percentuale: v.push_back({c.colonna(), conForma(c.forma, valore(c.tipo))}); break;
            case telematic::Regola::Codice19: v.push_back({c.colonna(), "6003"}); break;
            case telematic::Regola::Unione: v.insert(v.end(), {{c.colonne[0], "31"}, {c.colonne[1], "12"}}); break;
            case telematic::Regola::Mesi:
            case telematic::Regola::Lettera: v.push_back({c.colonne[0], "X"}); break;
            default: break;
            }
        }
    };
    Valori z1 = {{"B01", kCfMario}, {"A01", kCfSostituto}, {"C002", "1"}}, z2, z3;
    riempi(Sezione::Anagrafica, z1, {"B01", "A01"});
    riempi(Sezione::FiscaleZefo1, z1, {"C002"});
    riempi(Sezione::FiscaleZefo2, z2);
    riempi(Sezione::Familiari, z2);
    riempi(Sezione::PrevidenzialePrima, z2);
    riempi(Sezione::PrevidenzialeUlteriore, z3);
    z1.push_back({"B04", "F"});
    Archivio::unisci(z1, {{"B01", kCfAnna}, {"B02", "FERRARI"}, {"B03", "ANNA"}, {"B05", "22/05/2001"}});
    Archivio::unisci(z2, {{"D39", "H501"}});
    const auto id = a.dipendente(kCfAnna, "FERRARI", z1, z2);
    z3.push_back({"Id", std::to_string(id)});
    a.inserisci("Zefo3", z3);
    a.inserisci("QuadroCt", {{"B1", kCfLuca}});

    check::OpzioniControllo opz;
    opz.quadroCt = true;
    opz.professionisti = false;
    const auto pa = check::ControllaArchivio(a.conn, opz);
    EXPECT_TRUE(pa.empty()) << ::testing::PrintToString(righe(pa));

    const std::string file = generaDipendenti(a, true);
    const auto pf = controlla(file);
    EXPECT_TRUE(pf.empty()) << ::testing::PrintToString(righe(pf));

    std::set<std::string> codici;
    for (std::size_t r = 0; r + 1900 <= file.size(); r += 1900)
        for (std::size_t i = r + 89; i + 24 <= r + 1889 && file[i] != ' '; i += 24) codici.insert(file.substr(i, 8));
    for (auto s : {Sezione::Anagrafica, Sezione::FiscaleZefo1, Sezione::FiscaleZefo2, Sezione::Familiari,
                   Sezione::PrevidenzialePrima, Sezione::PrevidenzialeUlteriore}) {
        for (const auto& c : telematic::Campi(s)) {
            // A percentage other than "C" goes under the second code.
            const std::string& codice = c.regola == telematic::Regola::Percentuale ? c.codice2 : c.codice;
            EXPECT_TRUE(codici.count(codice)) << codice;
        }
    }
    for (const auto& c : codici) EXPECT_TRUE(telematic::TipoDelCodice(c)) << c;
}

}  // namespace
