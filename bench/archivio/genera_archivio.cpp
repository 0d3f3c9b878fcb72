// Fills a new archive with N invented but realistic certificates, for benchmarks:
// palio_genera_archivio CARTELLA N [professionisti]
// Every certificate has its anagraphic data, many fiscal points, family rows and
// social-security data; one in ten has a further social-security section.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "storage/config.h"
#include "storage/connection.h"
#include "storage/dialetto.h"
#include "storage/tabelle.h"

namespace {

const char* kCognomi[] = {"ROSSI",       "RUSSO",   "FERRARI",  "ESPOSITO", "BIANCHI",  "ROMANO",  "COLOMBO",
                          "RICCI",       "MARINO",  "GRECO",    "BRUNO",    "GALLO",    "CONTI",   "DE LUCA",
                          "MANCINI",     "COSTA",   "GIORDANO", "RIZZO",    "LOMBARDI", "MORETTI", "D'ANGELO",
                          "DELLA VALLE", "FONTANA", "SANTORO",  "MARIANI"};
const char* kNomi[] = {"MARIO", "LUIGI", "GIOVANNI", "ANNA",   "MARIA",   "GIUSEPPE", "FRANCESCA", "PAOLA",
                       "LUCA",  "MARCO", "ELENA",    "CHIARA", "NICCOLÒ", "ANDREA",   "SARA"};
const char* kComuni[][3] = {{"ROMA", "RM", "H501"},   {"MILANO", "MI", "F205"},  {"NAPOLI", "NA", "F839"},
                            {"TORINO", "TO", "L219"}, {"PALERMO", "PA", "G273"}, {"BOLOGNA", "BO", "A944"}};

// A tax code of the right shape with a correct check character.
std::string codiceFiscale(std::mt19937& rng) {
    static const int dispari[] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                  20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    std::string cf;
    std::uniform_int_distribution<int> lettera(0, 25), cifra(0, 9);
    for (int i = 0; i < 6; ++i) cf += static_cast<char>('A' + lettera(rng));
    cf += static_cast<char>('0' + 5 + cifra(rng) % 5);
    cf += static_cast<char>('0' + cifra(rng));
    cf += "ABCDEHLMPRST"[cifra(rng) % 12];
    int giorno = 1 + static_cast<int>(rng() % 28);
    cf += static_cast<char>('0' + giorno / 10);
    cf += static_cast<char>('0' + giorno % 10);
    cf += "HFLAG"[cifra(rng) % 5];
    for (int i = 0; i < 3; ++i) cf += static_cast<char>('0' + cifra(rng));
    int somma = 0;
    for (int i = 0; i < 15; ++i) {
        char c = cf[i];
        int v = (c >= '0' && c <= '9') ? c - '0' : c - 'A';
        somma += (i % 2 == 0) ? dispari[v] : v;
    }
    cf += static_cast<char>('A' + somma % 26);
    return cf;
}

std::string importo(std::mt19937& rng, int massimo) {
    long centesimi = static_cast<long>(rng() % (static_cast<unsigned>(massimo) * 100u));
    long euro = centesimi / 100;
    std::string e = std::to_string(euro);
    std::string g;
    int n = 0;
    for (auto it = e.rbegin(); it != e.rend(); ++it) {
        if (n && n % 3 == 0) g.insert(g.begin(), '.');
        g.insert(g.begin(), *it);
        ++n;
    }
    char dec[8];
    std::snprintf(dec, sizeof dec, ",%02ld", centesimi % 100);
    return g + dec;
}

// Empty values are stored as null, as an import leaves the columns it does not fill.
class Inserimento {
public:
    Inserimento(storage::Connection& c, storage::Tabella tabella, std::vector<const char*> colonne)
        : colonne_(std::move(colonne)), st_(c, tabella, colonne_.data(), colonne_.size()) {}
    void esegui(const std::vector<std::string>& valori) {
        presenti_.resize(valori.size());
        for (std::size_t i = 0; i < valori.size(); ++i) presenti_[i] = !valori[i].empty();
        st_.inserisci(valori, presenti_);
    }

private:
    std::vector<const char*> colonne_;
    storage::InserimentoRighe st_;
    std::vector<bool> presenti_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Uso: %s CARTELLA N [PROFESSIONISTI]\n", argv[0]);
        return 2;
    }
    const std::string cartella = argv[1];
    const long n = std::atol(argv[2]);
    const long nProf = argc > 3 ? std::atol(argv[3]) : n / 10;
    std::filesystem::create_directories(cartella);
    const std::string db = storage::percorsoDatabase(cartella);
    std::filesystem::remove(db);
    storage::Connection::crea(db);
    storage::Connection conn;
    conn.open(db);
    std::mt19937 rng(20150228);
    storage::Transaction tx(conn);

    const std::string cfAgente = "01234567897";
    Inserimento(conn, storage::Tabella::SostitutoImposta,
                {"CodiceFiscale", "CognomeDenominazione", "email", "TelefonoPref", "telefono", "CFRapp", "CodCar",
                 "CognomeRapp", "NomeRapp", "A1", "A2", "A3"})
        .esegui({cfAgente, "COMUNE DI ESEMPIO", "ragioneria@comune.esempio.it", "06", "5551234", codiceFiscale(rng),
                 "1", "ROSSI", "MARIO", std::to_string(n), "0", "X"});
    Inserimento(conn, storage::Tabella::QuadroCt, {"NumCellulare", "B5"}).esegui({"3331234567", "X"});

    std::vector<const char*> c1 = {"A01",  "A02",  "A04",  "A05",  "A06",  "A07",  "A10",  "A11",  "B01",  "B02",
                                   "B03",  "B04",  "B05",  "B06",  "B07",  "B20",  "B21",  "B22",  "B23",  "B24",
                                   "B25",  "B44",  "C001", "C002", "C006", "C008", "c011", "c012", "c016", "c017",
                                   "c019", "c021", "c101", "c102", "c103", "c104", "c120", "c141", "c142", "Azienda"};
    std::vector<const char*> c2 = {"ID",     "c301",   "c401",   "fam1_1",  "fam1_4", "fam1_5", "fam2_1", "fam2_4",
                                   "fam2_5", "fam2_7", "fam3_1", "fam3_4",  "fam3_5", "fam3_7", "D01",    "D02",
                                   "D04",    "D05",    "D06",    "D07",     "D08_1",  "D08_2",  "D35",    "D36",
                                   "D37_1",  "D37_2",  "D39",    "MatrDip", "ditta",  "tipo"};
    std::vector<const char*> c3 = {"Id", "matricola", "Cf", "D01", "D02", "D04", "D05", "D06", "D13"};
    Inserimento z1(conn, storage::Tabella::Zefo1, c1), z2(conn, storage::Tabella::Zefo2, c2),
        z3(conn, storage::Tabella::Zefo3, c3);
    const char* tipi[] = {"DIP", "DIP", "DIP", "DIP", "DIP", "DIP", "DIP", "AMM", "CoC", "DIP"};
    for (long i = 1; i <= n; ++i) {
        const auto& comune = kComuni[rng() % 6];
        const auto& nascita = kComuni[rng() % 6];
        std::string cf = codiceFiscale(rng);
        char nascitaData[16];
        std::snprintf(nascitaData, sizeof nascitaData, "%02d/%02d/%d", 1 + static_cast<int>(rng() % 28),
                      1 + static_cast<int>(rng() % 12), 1950 + static_cast<int>(rng() % 50));
        z1.esegui({cfAgente,
                   "COMUNE DI ESEMPIO",
                   comune[0],
                   comune[1],
                   "00100",
                   "VIA ROMA 1",
                   "841110",
                   "001",
                   cf,
                   kCognomi[rng() % 25],
                   kNomi[rng() % 15],
                   rng() % 2 ? "M" : "F",
                   nascitaData,
                   nascita[0],
                   nascita[1],
                   comune[0],
                   comune[1],
                   comune[2],
                   comune[0],
                   comune[1],
                   comune[2],
                   "28/02/2015",
                   importo(rng, 60000),
                   rng() % 5 ? "2" : "1",
                   "365",
                   "01/01/2014",
                   importo(rng, 15000),
                   importo(rng, 800),
                   importo(rng, 300),
                   importo(rng, 100),
                   importo(rng, 200),
                   importo(rng, 100),
                   importo(rng, 1500),
                   importo(rng, 1500),
                   importo(rng, 800),
                   importo(rng, 400),
                   importo(rng, 640),
                   "1",
                   importo(rng, 900),
                   "43"});
        const auto id = conn.lastInsertId();
        const bool figli = rng() % 2;
        z2.esegui({std::to_string(id),
                   importo(rng, 5000),
                   rng() % 20 ? "" : importo(rng, 9000),
                   "X",
                   codiceFiscale(rng),
                   "12",
                   figli ? "X" : "",
                   figli ? codiceFiscale(rng) : "",
                   figli ? "12" : "",
                   figli ? "50,00" : "",
                   figli && rng() % 2 ? "X" : "",
                   figli ? codiceFiscale(rng) : "",
                   figli ? "06" : "",
                   figli ? "100,00" : "",
                   "1234567890",
                   "X",
                   importo(rng, 60000),
                   importo(rng, 60000),
                   importo(rng, 6000),
                   "",
                   rng() % 10 ? "" : "X",
                   rng() % 10 ? "" : "X",
                   "IMP",
                   "12345678",
                   "01",
                   "01",
                   "H501",
                   std::to_string(i),
                   "43",
                   tipi[i % 10]});
        if (i % 10 == 0)
            z3.esegui({std::to_string(id), std::to_string(i), cf, "9876543210", "X", importo(rng, 20000),
                       importo(rng, 20000), importo(rng, 2000), "X"});
    }
    Inserimento prof(conn, storage::Tabella::Professionisti,
                     {"A01", "A02", "B01", "B02", "B03", "B04", "B05", "B06", "B07", "B44", "E01", "E04", "E07", "E08",
                      "E09", "E20"});
    for (long i = 1; i <= nProf; ++i)
        prof.esegui({cfAgente, "COMUNE DI ESEMPIO", codiceFiscale(rng), kCognomi[rng() % 25], kNomi[rng() % 15], "M",
                     "01/01/1970", "ROMA", "RM", "28/02/2015", "A", importo(rng, 30000), importo(rng, 500),
                     importo(rng, 30000), importo(rng, 6000), importo(rng, 1000)});
    tx.commit();
    storage::dialetto::SvuotaRegistro(conn);
    std::printf("%s: %ld certificati, %ld professionisti\n", db.c_str(), n, nProf);
    return 0;
}
