// The renumbering of the certificates whose number the file cannot carry: who moves and where,
// what goes with them, and when nothing moves.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comune/archivio_prova.h"
#include "import/importazione.h"
#include "storage/invii.h"
#include "storage/reporter.h"
#include "storage/salvataggi.h"

namespace {

using importazione::EsitoRinumerazione;
using storage::Elenco;

struct Risposte : storage::Reporter {
    bool si = true;
    std::vector<std::string> infos, errori, domande;
    void info(const std::string& t) override { infos.push_back(t); }
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string& d) override {
        domande.push_back(d);
        return si;
    }
};

class Rinumera : public ::testing::Test {
protected:
    std::int64_t dipendente(std::int64_t id, const std::string& cognome) {
        arch.inserisci("Zefo1",
                       {{"ID", std::to_string(id)}, {"B01", "CF" + cognome}, {"B02", cognome}, {"B03", "MARIO"}});
        arch.inserisci("Zefo2", {{"ID", std::to_string(id)}, {"tipo", "DIP"}, {"c201", cognome}});
        arch.inserisci("Zefo3", {{"Id", std::to_string(id)}, {"D09", cognome}});
        return id;
    }
    // Each certificate's rows as "number:surname", in number order, across its three tables.
    std::vector<std::string> righe() {
        std::vector<std::string> r;
        for (const char* sql :
             {"select ID, B02 from Zefo1 order by ID", "select ID, c201 from Zefo2 order by ID",
              "select Id, D09 from Zefo3 order by Id", "select ID, B02 from Professionisti order by ID"}) {
            storage::Statement st(arch.conn, sql);
            std::string t;
            while (st.step()) t += std::to_string(st.integer(0)) + ":" + std::string(st.text(1)) + " ";
            r.push_back(t);
        }
        return r;
    }
    std::size_t copie() { return storage::elencoSalvataggi(storage::cartellaSalvataggi(arch.conn)).size(); }

    prova::Archivio arch;
    Risposte r;
};

// The numbers past 99,999 take the lowest ones nothing of the list holds (a row left without its
// certificate, a removed certificate's sending row), in their order; the rest stay. Each keeps its
// rows and what was recorded of its sendings, and the next import continues after the highest.
TEST_F(Rinumera, NumeriOltreIlLimiteSpostatiConIlLoroInvio) {
    dipendente(5, "CINQUE");
    dipendente(100000, "CENTOMILA");
    dipendente(123401, "PRIMO");
    dipendente(123402, "SECONDO");
    arch.inserisci("Zefo3", {{"Id", "1"}, {"D09", "ORFANA"}});
    storage::SegnaModificato(arch.conn, Elenco::Dipendenti, 2);
    storage::SegnaScritti(arch.conn, Elenco::Dipendenti, {123401}, "/invio/ZF2015.txt", false);
    storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {123402}, storage::Operazione::Escluso);
    arch.inserisci("Professionisti", {{"ID", "100001"}, {"B02", "PROF"}});
    const storage::StatoInvio scritto = storage::LeggiInvio(arch.conn, Elenco::Dipendenti, 123401);

    ASSERT_EQ(importazione::Rinumera(arch.conn, r), EsitoRinumerazione::Fatta) << ::testing::PrintToString(r.errori);
    EXPECT_EQ(righe(), (std::vector<std::string>{"3:CENTOMILA 4:PRIMO 5:CINQUE 6:SECONDO ",
                                                 "3:CENTOMILA 4:PRIMO 5:CINQUE 6:SECONDO ",
                                                 "1:ORFANA 3:CENTOMILA 4:PRIMO 5:CINQUE 6:SECONDO ", "1:PROF "}));
    const storage::StatoInvio dopo = storage::LeggiInvio(arch.conn, Elenco::Dipendenti, 4);
    EXPECT_EQ(dopo.file, scritto.file);
    EXPECT_EQ(dopo.scrittoIl, scritto.scrittoIl);
    EXPECT_EQ(storage::LeggiInvio(arch.conn, Elenco::Dipendenti, 6).operazione, storage::Operazione::Escluso);
    EXPECT_TRUE(storage::LeggiInvio(arch.conn, Elenco::Dipendenti, 123401).file.empty());
    EXPECT_EQ(r.infos, std::vector<std::string>{"Operazione terminata.\n"
                                                "Rinumerati 3 certificati dei dipendenti: 100000 diventa 3; "
                                                "123401 diventa 4; 123402 diventa 6.\n"
                                                "Rinumerato 1 certificato dei professionisti: 100001 diventa 1."});
    ASSERT_EQ(r.domande.size(), 1u);
    EXPECT_NE(r.domande[0].find("3 certificati dei dipendenti: 100000 diventa 3; 123401 diventa 4; 123402 diventa 6."),
              std::string::npos);
    EXPECT_EQ(copie(), 1u);
    EXPECT_EQ(arch.inserisci("Zefo1", {{"B02", "NUOVO"}}), 7);
    EXPECT_EQ(arch.inserisci("Professionisti", {{"B02", "NUOVO"}}), 2);
}

// Nothing changes, and no copy is kept, when the operator says No, when a certificate to move
// holds the identifiers of an accepted sending, or when the list has no free number left.
TEST_F(Rinumera, RifiutiNonCambianoNulla) {
    dipendente(7, "SETTE");
    dipendente(100000, "CENTOMILA");
    const auto prima = righe();

    r.si = false;
    EXPECT_EQ(importazione::Rinumera(arch.conn, r), EsitoRinumerazione::Annullata);
    EXPECT_EQ(righe(), prima);

    r = Risposte{};
    storage::ScriviIdentificativi(arch.conn, Elenco::Dipendenti, 100000, "12345678901234567", "000001");
    EXPECT_EQ(importazione::Rinumera(arch.conn, r), EsitoRinumerazione::Rifiutata);
    EXPECT_TRUE(r.domande.empty());
    EXPECT_EQ(r.errori,
              std::vector<std::string>{
                  "Nessun certificato è stato rinumerato: questi certificati hanno protocollo e progressivo di "
                  "un invio accettato, e un nuovo numero li staccherebbe da ciò che l'Agenzia ha ricevuto.\n"
                  "Certificato 100000 (CENTOMILA MARIO): protocollo 12345678901234567, progressivo 000001\n"
                  "Controllare protocollo e progressivo nel certificato: se non sono suoi, toglierli e "
                  "rinumerare di nuovo."});
    EXPECT_EQ(righe(), prima);

    r = Risposte{};
    arch.conn.exec(
        "with recursive n(x) as (select 1 union all select x + 1 from n where x < 99999) "
        "insert into Professionisti (ID) select x from n");
    arch.inserisci("Professionisti", {{"ID", "100000"}, {"B02", "ULTIMO"}});
    storage::ScriviIdentificativi(arch.conn, Elenco::Dipendenti, 100000, "", "");
    EXPECT_EQ(importazione::Rinumera(arch.conn, r), EsitoRinumerazione::Rifiutata);
    ASSERT_EQ(r.errori.size(), 1u);
    EXPECT_EQ(r.errori[0].substr(0, r.errori[0].find('\n')),
              "Nessun certificato è stato rinumerato: nell'elenco dei professionisti restano 0 numeri liberi da 1 a "
              "99999 per 1 certificato da rinumerare.");
    EXPECT_EQ(righe()[0], prima[0]);
    EXPECT_EQ(copie(), 0u);
}

TEST_F(Rinumera, NienteDaRinumerare) {
    dipendente(99999, "ULTIMO");
    EXPECT_EQ(importazione::Rinumera(arch.conn, r), EsitoRinumerazione::NienteDaFare);
    EXPECT_TRUE(r.domande.empty());
    EXPECT_EQ(r.infos, std::vector<std::string>{
                           "Tutti i certificati hanno un numero da 1 a 99999: non c'è nulla da rinumerare."});
    EXPECT_EQ(copie(), 0u);
}

}  // namespace
