// The check's rules on what was sent: identifiers for a correction, sending again, changes not
// corrected, the Quadro CT, and which certificates each supply carries.
#include "storage/invii.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "check/controllo.h"
#include "prova_check.h"
#include "telematic/generazione.h"

namespace {

using check::Gravita;
using storage::Elenco;
using storage::Operazione;
using telematic::TipoFornitura;
using namespace provacheck;

struct Atteso {
    Gravita gravita;
    int certificato;  // index into the fixture's certificates; -1 for the supply as a whole
    std::string testo;
};

// Four clean certificates (each person's data as the tax code says): ALFA (ROSSI) accepted once;
// BETA (BIANCHI) accepted and excluded; GAMMA (VERDI) written and changed since; DELTA (FERRARI) new.
struct Base {
    Base() {
        a.sostituto({{"A1", "4"}});
        ids = {a.dipendente(kCfMario, "ROSSI"),
               a.dipendente(kCfLuca, "BIANCHI", {{"B03", "LUCA"}, {"B05", "15/12/1992"}}),
               a.dipendente(kCfGiovanna, "VERDI", {{"B03", "GIOVANNA"}, {"B04", "F"}, {"B05", "01/08/1975"}}),
               a.dipendente(kCfAnna, "FERRARI", {{"B03", "ANNA"}, {"B04", "F"}, {"B05", "22/05/2001"}})};
        storage::ScriviIdentificativi(a.conn, Elenco::Dipendenti, ids[0], "15031012345678901", "000001");
        storage::ScriviIdentificativi(a.conn, Elenco::Dipendenti, ids[1], "15031012345678901", "000002");
        storage::SegnaOperazione(a.conn, Elenco::Dipendenti, {ids[1]}, Operazione::Escluso);
        storage::SegnaScritti(a.conn, Elenco::Dipendenti, {ids[2]}, "/invio/ZF2015.txt", false);
        a.conn.exec(
            "update Invii set ScrittoIl = '2015-03-01T09:30:00', ModificatoIl = '2015-03-05T16:00:00' where ID = " +
            std::to_string(ids[2]));
    }
    std::vector<check::Problema> controlla(check::OpzioniControllo opz) {
        opz.professionisti = false;
        return check::ControllaArchivio(a.conn, opz);
    }
    void confronta(const std::vector<check::Problema>& ps, const std::vector<Atteso>& attesi, const char* nome) {
        std::vector<std::string> letti, voluti;
        for (const auto& p : ps)
            letti.push_back(std::string(check::TestoGravita(p.gravita)) + " " + std::to_string(p.id) + " " + p.testo);
        for (const auto& x : attesi)
            voluti.push_back(std::string(check::TestoGravita(x.gravita)) + " " +
                             std::to_string(x.certificato < 0 ? 0 : ids[static_cast<std::size_t>(x.certificato)]) +
                             " " + x.testo);
        EXPECT_EQ(letti, voluti) << nome;
    }

    Archivio a;
    std::vector<std::int64_t> ids;
};

const std::string kCambiato =
    "Il certificato è stato modificato il 05/03/2015 16:00, dopo l'ultimo invio (01/03/2015 09:30), e non è segnato "
    "per "
    "la sostituzione.";

TEST(ControlloInvii, OgniFornituraLeSueRegole) {
    struct Caso {
        const char* nome;
        std::function<void(Base&)> prepara;
        TipoFornitura fornitura;
        std::vector<Atteso> attesi;
    };
    const std::string duplicato =
        "Il certificato è già stato accettato (protocollo 15031012345678901, progressivo 000001): una fornitura "
        "ordinaria "
        "lo invierebbe di nuovo e l'Agenzia lo tratterebbe come un duplicato. Segnarlo per la sostituzione o "
        "escluderlo "
        "dall'invio.";
    const Caso casi[] = {
        // The excluded BETA is not looked at; the counts are the supply's own, so A1 is not compared.
        {"ordinaria",
         [](Base&) {},
         TipoFornitura::Ordinaria,
         {{Gravita::Avviso, 0, duplicato}, {Gravita::Avviso, 2, kCambiato}}},
        // Only the marked are checked; the changed GAMMA is still reported.
        {"sostituzione",
         [](Base& t) {
             storage::SegnaOperazione(t.a.conn, Elenco::Dipendenti, {t.ids[0], t.ids[3]}, Operazione::Sostituzione);
             storage::SegnaOperazione(t.a.conn, Elenco::Dipendenti, {t.ids[1]}, Operazione::Sostituzione);
             t.a.conn.exec("update Invii set Progressivo = '12' where ID = " + std::to_string(t.ids[1]));
         },
         TipoFornitura::Sostituzione,
         {{Gravita::Errore, 1, "Il progressivo \"12\" non è di 6 cifre."},
          {Gravita::Avviso, 2, kCambiato},
          {Gravita::Errore, 3,
           "Mancano protocollo e progressivo dell'invio da sostituire: importare la ricevuta o indicarli nel "
           "certificato."}}},
        // Changed in the same second it was written: the file holds the change.
        {"cambiato nello stesso secondo",
         [](Base& t) {
             t.a.conn.exec("update Invii set ModificatoIl = ScrittoIl where ID = " + std::to_string(t.ids[2]));
         },
         TipoFornitura::Ordinaria,
         {{Gravita::Avviso, 0, duplicato}}},
        // Marked for substitution, GAMMA's change is carried: no warning.
        {"cambiato e segnato",
         [](Base& t) { storage::SegnaOperazione(t.a.conn, Elenco::Dipendenti, {t.ids[2]}, Operazione::Sostituzione); },
         TipoFornitura::Annullamento,
         {{Gravita::Errore, -1,
           "Nessun certificato è segnato per la fornitura di annullamento: non c'è nulla da inviare."}}},
    };
    for (const auto& c : casi) {
        Base t;
        c.prepara(t);
        check::OpzioniControllo opz;
        opz.fornitura = c.fornitura;
        t.confronta(t.controlla(opz), c.attesi, c.nome);
    }
}

TEST(ControlloInvii, QuadroCtEScelti) {
    Base t;
    auto& a = t.a;
    auto& ids = t.ids;
    check::OpzioniControllo opz;
    opz.fornitura = TipoFornitura::Annullamento;
    opz.quadroCt = true;
    storage::SegnaOperazione(a.conn, Elenco::Dipendenti, {ids[0]}, Operazione::Annullamento);
    const auto ps = t.controlla(opz);
    const auto ct = std::count_if(ps.begin(), ps.end(), [](const check::Problema& p) {
        return p.gravita == Gravita::Errore && p.testo == telematic::kRifiutoCtCorrezione;
    });
    EXPECT_EQ(ct, 1) << ::testing::PrintToString(righe(ps));

    // The chosen few: only DELTA is looked at, and nothing is wrong with it.
    check::OpzioniControllo scelti;
    scelti.sceltiDipendenti = std::vector<std::int64_t>{ids[3]};
    t.confronta(t.controlla(scelti), {}, "scelti");
}

struct Muto : storage::Reporter {
    void info(const std::string&) override {}
    void error(const std::string& t) override { ADD_FAILURE() << t; }
    bool ask(const std::string&) override { return true; }
};

// The file check reads the identifiers where the writer puts them, by supply kind.
TEST(ControlloInvii, IdentificativiNelFile) {
    Base t;
    storage::SegnaOperazione(t.a.conn, Elenco::Dipendenti, {t.ids[0]}, Operazione::Sostituzione);
    telematic::OpzioniGenerazione g;
    g.cartella = (t.a.dir / "invio").string();
    g.tipi = storage::Tipi::tutti();
    Muto m;
    const auto scrivi = [&](TipoFornitura f, const char* nome) {
        g.fornitura = f;
        g.nomeFile = nome;
        EXPECT_EQ(telematic::GeneraFileDipendenti(t.a.conn, g, m).esito, telematic::Esito::Concluso);
        std::ifstream in(t.a.dir / "invio" / nome, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string sost = scrivi(TipoFornitura::Sostituzione, "S.txt"),
                      ord = scrivi(TipoFornitura::Ordinaria, "O.txt");
    const auto errori = [](std::string file, std::size_t record, std::size_t posizione, const std::string& testo) {
        if (record) file.replace((record - 1) * 1900 + posizione - 1, testo.size(), testo);
        std::istringstream in(file);
        std::vector<std::string> e;
        for (const auto& p : check::ControllaFile(in))
            if (p.gravita == Gravita::Errore) e.push_back(p.testo);
        return e;
    };
    EXPECT_EQ(errori(sost, 0, 0, ""), std::vector<std::string>{});
    EXPECT_EQ(errori(ord, 0, 0, ""), std::vector<std::string>{});
    EXPECT_EQ(errori(sost, 3, 47, std::string(23, '0')),
              std::vector<std::string>{
                  "Manca il protocollo dell'invio da sostituire o annullare: la fornitura di sostituzione "
                  "o di annullamento lo richiede in ogni certificato."});
    EXPECT_EQ(errori(ord, 3, 64, "000001"),
              std::vector<std::string>{
                  "Protocollo e progressivo sono indicati in una fornitura ordinaria: vanno lasciati a zero."});
    EXPECT_EQ(errori(ord, 3, 50, "X"),
              std::vector<std::string>{"Protocollo e progressivo del record D devono essere cifre."});
    EXPECT_EQ(errori(sost, 4, 47, "1"),
              std::vector<std::string>{"Le posizioni 47-69 del record G devono essere vuote."});
}

}  // namespace
