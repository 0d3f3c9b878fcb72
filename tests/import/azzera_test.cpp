#include <gtest/gtest.h>

#include "import/importazione.h"
#include "prova_import.h"
#include "storage/invii.h"

namespace {

using importazione::Archivio;
using Righe = std::vector<std::vector<std::string>>;

// The line before each question: the fixture's archive and its agent.
const std::string kArchivio = "Archivio: :memory: (sostituto d'imposta N)\r";

class Azzera : public ::testing::Test {
protected:
    void SetUp() override {
        a.conn.exec(
            "insert into Parametri (Denominazione, CodiceFiscale, DataImpegno) values "
            "('ENTE', '0123', '01/01/2015')");
        a.conn.exec(
            "insert into SostitutoImposta (CodiceFiscale, Nome, A8, b6) values "
            "('0123', 'N', 'X', 'Y')");
        a.conn.exec("insert into QuadroCt (NumCellulare, B1, B4) values ('333', 'A', 'B')");
        for (int i = 0; i < 3; ++i) {
            a.conn.exec("insert into Zefo1 (B02) values ('ROSSI')");
            a.conn.exec("insert into Zefo2 (ID, tipo) values (last_insert_rowid(), 'DIP')");
        }
        a.conn.exec("insert into Zefo3 (Id, D23) values (2, '1,00')");
        a.conn.exec("insert into Professionisti (B02) values ('VERDI'), ('NERI')");
    }
    // Row counts of the seven tables, in a fixed order.
    std::vector<long long> conteggi() {
        std::vector<long long> c;
        for (const char* t : {"Parametri", "SostitutoImposta", "QuadroCt", "Zefo1", "Zefo2", "Zefo3", "Professionisti"})
            c.push_back(a.conta(t));
        return c;
    }
    prova::Archivio a;
    prova::Reporter r;
};

// Each question first names the archive (the test's is in memory, with no folder) and its agent.
TEST_F(Azzera, DomandeNominanoArchivioESostituto) {
    a.conn.exec("update SostitutoImposta set CognomeDenominazione = 'ACME SPA', Nome = ''");
    EXPECT_FALSE(importazione::Azzera(a.conn, Archivio::Professionisti, r));
    a.conn.exec("delete from SostitutoImposta");
    EXPECT_FALSE(importazione::Azzera(a.conn, Archivio::Professionisti, r));
    ASSERT_EQ(r.domande.size(), 2u);
    for (auto& d : r.domande) d = d.substr(0, d.find('\r'));
    EXPECT_EQ(r.domande, (std::vector<std::string>{"Archivio: :memory: (sostituto d'imposta ACME SPA)",
                                                   "Archivio: :memory: (sostituto d'imposta non indicato)"}));
}

TEST_F(Azzera, SoloSiNoSiProcede) {
    struct Caso {
        std::deque<bool> risposte;
        std::size_t domande;
    } casi[] = {
        {{false}, 1},
        {{true, true}, 2},
        {{true, false, false}, 3},
        {{}, 1},
    };
    for (auto archivio : {Archivio::Ente, Archivio::Dipendenti, Archivio::Professionisti}) {
        for (const auto& c : casi) {
            r = prova::Reporter();
            r.risposte = c.risposte;
            EXPECT_FALSE(importazione::Azzera(a.conn, archivio, r));
            EXPECT_EQ(r.domande.size(), c.domande);
            EXPECT_TRUE(r.infos.empty());
            EXPECT_TRUE(r.errori.empty());
            EXPECT_EQ(conteggi(), (std::vector<long long>{1, 1, 1, 3, 3, 1, 2}));
            EXPECT_EQ(a.valore("select Denominazione || Nome || NumCellulare from Parametri, "
                               "SostitutoImposta, QuadroCt"),
                      "ENTEN333");
        }
    }
}

// The batch command answers each question by what it asks: the answers that go on are Yes, No,
// Yes for each archive, and a question of no reset gets none (the command then says No).
TEST_F(Azzera, RispostaPerNomeDellaDomanda) {
    for (auto archivio : {Archivio::Ente, Archivio::Dipendenti, Archivio::Professionisti}) {
        r = prova::Reporter();
        r.risposte = {true, false, true};
        ASSERT_TRUE(importazione::Azzera(a.conn, archivio, r));
        ASSERT_EQ(r.domande.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(importazione::RispostaCheProcede(r.domande[i]), std::optional<bool>(i != 1)) << r.domande[i];
    }
    for (const char* altra : {"", "Sei veramente sicuro?", "Il file è già stato importato: importarlo di nuovo?"})
        EXPECT_EQ(importazione::RispostaCheProcede(altra), std::nullopt) << altra;
}

TEST_F(Azzera, DatiDeiDipendenti) {
    r.risposte = {true, false, true};
    ASSERT_TRUE(importazione::Azzera(a.conn, Archivio::Dipendenti, r));
    EXPECT_EQ(r.domande,
              (std::vector<std::string>{
                  kArchivio + "Questa procedura elimina tutti i dati presenti negli archivi. \rSei veramente "
                              "sicuro di voler procedere  ?",
                  kArchivio + "ATTENZIONE: Questa procedura elimina tutti i dati presenti negli archivi. \rSei "
                              "veramente sicuro di non voler procedere  ?",
                  kArchivio + "ATTENZIONE:\r\rUltimo avviso. \r\rSe premi si verranno eliminati tutti i dati "
                              "presenti nell'archivio.\rQuesta operazione non è annullabile\rSei veramente "
                              "sicuro di  voler procedere  ?"}));
    EXPECT_EQ(r.infos, std::vector<std::string>{"Operazione terminata.\nEliminati 3 certificati dei dipendenti con 1 "
                                                "riga aggiuntiva (7 righe in tutto)."});
    EXPECT_EQ(conteggi(), (std::vector<long long>{1, 1, 1, 0, 0, 0, 2}));
    EXPECT_EQ(a.righe("select NumCellulare, B1, B2, B3, B4, B5, B6 from QuadroCt"),
              (Righe{{"", "", "", "", "", "", ""}}));
    // The key counter goes on: a new certificate does not reuse an old number.
    a.conn.exec("insert into Zefo1 (B02) values ('NUOVO')");
    EXPECT_EQ(a.valore("select ID from Zefo1"), "4");
    // Already empty: the questions, then the message.
    r = prova::Reporter();
    r.risposte = {true, false, true};
    a.conn.exec("delete from Zefo1");
    ASSERT_TRUE(importazione::Azzera(a.conn, Archivio::Dipendenti, r));
    EXPECT_EQ(r.infos, std::vector<std::string>{"Operazione terminata.\nEliminati 0 certificati dei dipendenti con 0 "
                                                "righe aggiuntive (0 righe in tutto)."});
}

TEST_F(Azzera, DatiGeneraliDellEnte) {
    r.risposte = {true, false, true};
    ASSERT_TRUE(importazione::Azzera(a.conn, Archivio::Ente, r));
    EXPECT_EQ(conteggi(), (std::vector<long long>{1, 1, 1, 3, 3, 1, 2}));
    // The row keeps its key column, the last.
    std::vector<std::string> parametri(13, "");
    parametri.push_back("1");
    EXPECT_EQ(a.righe("select * from Parametri"), Righe{parametri});
    auto sostituto = a.righe("select * from SostitutoImposta");
    ASSERT_EQ(sostituto.size(), 1u);
    EXPECT_EQ(sostituto[0][0], "1");
    EXPECT_EQ(std::vector<std::string>(sostituto[0].begin() + 1, sostituto[0].end()), std::vector<std::string>(27, ""));
    EXPECT_EQ(a.valore("select NumCellulare from QuadroCt"), "333");

    // With an empty SostitutoImposta no row is created.
    a.conn.exec("delete from SostitutoImposta");
    r.risposte = {true, false, true};
    ASSERT_TRUE(importazione::Azzera(a.conn, Archivio::Ente, r));
    EXPECT_EQ(a.conta("SostitutoImposta"), 0);
}

TEST_F(Azzera, DatiDeiProfessionisti) {
    r.risposte = {true, false, true};
    ASSERT_TRUE(importazione::Azzera(a.conn, Archivio::Professionisti, r));
    EXPECT_EQ(r.domande.front(),
              kArchivio +
                  "Questa procedura elimina tutti i dati presenti negli archivi dei professionisti . "
                  "\rSei veramente sicuro di voler procedere  ?");
    EXPECT_EQ(r.domande.back(), kArchivio +
                                    "ATTENZIONE:\r\rUltimo avviso. \r\rSe premi si verranno eliminati tutti i dati "
                                    "presenti nell'archivio dei professionisti .\rQuesta operazione non è annullabile\r"
                                    "Sei veramente sicuro di  voler procedere  ?");
    EXPECT_EQ(conteggi(), (std::vector<long long>{1, 1, 1, 3, 3, 1, 0}));
    EXPECT_EQ(r.infos, std::vector<std::string>{"Operazione terminata.\nEliminate 2 righe dei professionisti."});
    EXPECT_EQ(a.valore("select Denominazione from Parametri"), "ENTE");
}

}  // namespace

namespace {

// What was recorded of the certificates follows the resets: a list emptied forgets its own rows, the
// agent's data emptied makes every certificate changed since it was sent.
TEST_F(Azzera, CosaEraStatoInviato) {
    const struct {
        Archivio archivio;
        const char* righe;  // Elenco, ID and whether ModificatoIl is set, after the reset
    } casi[] = {
        // in this order: each reset empties its list for the next
        {Archivio::Ente, "D1+D2+D3+P1+P2+"},
        {Archivio::Professionisti, "D1-D2-D3-"},
        {Archivio::Dipendenti, "P1-P2-"},
    };
    for (const auto& c : casi) {
        a.conn.exec("delete from Invii");
        for (auto e : {storage::Elenco::Dipendenti, storage::Elenco::Professionisti})
            storage::SegnaScritti(a.conn, e, {1, 2}, "F.txt", false);
        storage::SegnaScritti(a.conn, storage::Elenco::Dipendenti, {3}, "F.txt", false);
        r = prova::Reporter();
        r.risposte = {true, false, true};
        ASSERT_TRUE(importazione::Azzera(a.conn, c.archivio, r));
        std::string righe;
        for (const auto& v : a.righe("select Elenco, ID, ModificatoIl <> '' from Invii order by Elenco, ID"))
            righe += v[0] + v[1] + (v[2] == "1" ? "+" : "-");
        EXPECT_EQ(righe, c.righe);
    }
}

}  // namespace
