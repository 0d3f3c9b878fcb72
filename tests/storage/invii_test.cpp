// What was sent of each certificate: identifiers, marks, the chosen few, old archives.
#include "storage/invii.h"

#include <gtest/gtest.h>

#include <fstream>

#include "comune/archivio_prova.h"
#include "storage/error.h"

namespace {

using storage::Elenco;
using storage::Operazione;

TEST(Invii, IdentificativiValidatiPrimaDiScrivere) {
    prova::Archivio a;
    struct Caso {
        const char *protocollo, *progressivo, *errore;
    } casi[] = {
        {"12345678901234567", "000001", ""},
        {"", "", ""},  // both empty clears them
        {"1234567890123456", "000001", "Il protocollo \"1234567890123456\" non è di 17 cifre."},
        {"123456789012345678", "000001", "Il protocollo \"123456789012345678\" non è di 17 cifre."},
        {"1234567890123456A", "000001", "Il protocollo \"1234567890123456A\" non è di 17 cifre."},
        {"12345678901234567", "00001", "Il progressivo \"00001\" non è di 6 cifre."},
        {"12345678901234567", "", "Il progressivo \"\" non è di 6 cifre."},
        {"", "000001", "Il protocollo \"\" non è di 17 cifre."},
    };
    for (const auto& c : casi) {
        storage::ScriviIdentificativi(a.conn, Elenco::Dipendenti, 7, "99999999999999999", "999999");
        if (*c.errore) {
            try {
                storage::ScriviIdentificativi(a.conn, Elenco::Dipendenti, 7, c.protocollo, c.progressivo);
                ADD_FAILURE() << c.protocollo << " accettato";
            } catch (const storage::Error& e) {
                EXPECT_EQ(std::string(e.what()), c.errore);
            }
            EXPECT_EQ(storage::LeggiInvio(a.conn, Elenco::Dipendenti, 7).protocollo, "99999999999999999");
        } else {
            storage::ScriviIdentificativi(a.conn, Elenco::Dipendenti, 7, c.protocollo, c.progressivo);
            const auto s = storage::LeggiInvio(a.conn, Elenco::Dipendenti, 7);
            EXPECT_EQ(s.protocollo, c.protocollo);
            EXPECT_EQ(s.progressivo, c.progressivo);
        }
    }
    // The two lists keep their numbers apart.
    EXPECT_EQ(storage::LeggiInvio(a.conn, Elenco::Professionisti, 7).protocollo, "");
}

TEST(Invii, OraComeLaLeggeLOperatore) {
    struct Caso {
        const char *salvata, *mostrata;
    } casi[] = {
        {"2015-03-01T09:05:59", "01/03/2015 09:05"},
        {"2015-03-01 09:05", "01/03/2015 09:05"},
        {"2015-03-01T09:0", "2015-03-01T09:0"},  // too short: as stored
        {"", ""},
    };
    for (const auto& c : casi) EXPECT_EQ(storage::OraLeggibile(c.salvata), c.mostrata) << c.salvata;
}

TEST(Invii, SegniPerElencoEOperazione) {
    prova::Archivio a;
    std::vector<std::int64_t> dip, prof;
    for (int i = 0; i < 4; ++i) {
        dip.push_back(a.inserisci("Zefo1", {{"B01", "CF" + std::to_string(i)}}));
        prof.push_back(a.inserisci("Professionisti", {{"B01", "CF" + std::to_string(i)}}));
    }
    storage::SegnaOperazione(a.conn, Elenco::Dipendenti, {dip[2], dip[0]}, Operazione::Sostituzione);
    storage::SegnaOperazione(a.conn, Elenco::Dipendenti, {dip[1]}, Operazione::Escluso);
    storage::SegnaOperazione(a.conn, Elenco::Professionisti, {prof[3]}, Operazione::Annullamento);
    storage::SegnaOperazione(a.conn, Elenco::Dipendenti, {dip[0]}, Operazione::Nessuna);
    EXPECT_EQ(storage::MarcatiCon(a.conn, Elenco::Dipendenti, Operazione::Sostituzione),
              std::vector<std::int64_t>{dip[2]});
    EXPECT_EQ(storage::MarcatiCon(a.conn, Elenco::Dipendenti, Operazione::Escluso), std::vector<std::int64_t>{dip[1]});
    EXPECT_EQ(storage::MarcatiCon(a.conn, Elenco::Dipendenti, Operazione::Annullamento), std::vector<std::int64_t>{});
    EXPECT_EQ(storage::MarcatiCon(a.conn, Elenco::Professionisti, Operazione::Annullamento),
              std::vector<std::int64_t>{prof[3]});
    // Each mark reads back as it was stored.
    const std::pair<std::int64_t, Operazione> letti[] = {
        {dip[0], Operazione::Nessuna}, {dip[1], Operazione::Escluso}, {dip[2], Operazione::Sostituzione}};
    for (const auto& [id, o] : letti)
        EXPECT_EQ(storage::LeggiInvio(a.conn, Elenco::Dipendenti, id).operazione, o) << id;
    EXPECT_EQ(storage::LeggiInvio(a.conn, Elenco::Professionisti, prof[3]).operazione, Operazione::Annullamento);
    // A mark on a number with no certificate is never a certificate to send.
    storage::SegnaOperazione(a.conn, Elenco::Professionisti, {999}, Operazione::Annullamento);
    EXPECT_EQ(storage::MarcatiCon(a.conn, Elenco::Professionisti, Operazione::Annullamento),
              std::vector<std::int64_t>{prof[3]});
    EXPECT_EQ(storage::CertificatiMancanti(a.conn, Elenco::Dipendenti, {999, dip[1], 5}),
              (std::vector<std::int64_t>{999, 5}));

    for (auto o : {Operazione::Nessuna, Operazione::Sostituzione, Operazione::Annullamento, Operazione::Escluso}) {
        EXPECT_EQ(storage::OperazioneDaTesto(storage::TestoOperazione(o)), o);
        EXPECT_EQ(storage::OperazioneDaParola(storage::ParolaOperazione(o)), o);
    }
    EXPECT_EQ(storage::OperazioneDaTesto(" escluso DALL'INVIO "), Operazione::Escluso);
    EXPECT_FALSE(storage::OperazioneDaTesto("Rettifica"));
    // The batch command's words are read exactly: each is one of four, distinct from the texts.
    EXPECT_EQ(storage::OperazioneDaParola("escluso"), Operazione::Escluso);
    EXPECT_EQ(storage::OperazioneDaParola("nessuna"), Operazione::Nessuna);
    for (const char* altra : {"", "Escluso", "escluso dall'invio", " sostituzione", "rettifica"})
        EXPECT_FALSE(storage::OperazioneDaParola(altra)) << altra;
}

// Last change and last writing: a certificate changed after it was written is seen as such.
TEST(Invii, ModificaEScrittura) {
    prova::Archivio a;
    const auto id = a.inserisci("Zefo1", {});
    storage::SegnaOperazione(a.conn, Elenco::Dipendenti, {id}, Operazione::Sostituzione);
    storage::SegnaScritti(a.conn, Elenco::Dipendenti, {id}, "/x/ZF2015.txt", true);
    auto s = storage::LeggiInvio(a.conn, Elenco::Dipendenti, id);
    EXPECT_EQ(s.file, "/x/ZF2015.txt");
    EXPECT_EQ(s.operazione, Operazione::Nessuna);
    EXPECT_EQ(s.modificatoIl, "");
    a.conn.exec("update Invii set ScrittoIl = '2015-03-01T10:00:00'");
    storage::SegnaModificato(a.conn, Elenco::Dipendenti, id);
    s = storage::LeggiInvio(a.conn, Elenco::Dipendenti, id);
    EXPECT_GT(s.modificatoIl, s.scrittoIl);
    EXPECT_EQ(s.modificatoIl.size(), 19u);
}

TEST(Invii, ArchivioVecchioOttieneLaTabella) {
    prova::Archivio a;
    const std::string db = a.conn.percorso();
    a.conn.exec("drop table Invii");
    a.conn.close();
    a.conn.open(db);
    storage::ScriviIdentificativi(a.conn, Elenco::Dipendenti, 1, "12345678901234567", "000001");
    EXPECT_EQ(storage::LeggiInvio(a.conn, Elenco::Dipendenti, 1).progressivo, "000001");
}

TEST(Invii, ElencoDeiScelti) {
    prova::Archivio a;
    const auto uno = a.inserisci("Zefo1", {{"B01", "RSSMRA80A01H501U"}});
    const auto due = a.inserisci("Zefo1", {{"B01", "VRDLGU70B02F205X"}});
    const auto tre = a.inserisci("Zefo1", {{"B01", "VRDLGU70B02F205X"}});  // same person, two certificates
    const auto scrivi = [&](const std::string& testo) {
        const auto p = (a.dir / "scelti.txt").string();
        std::ofstream(p, std::ios::binary) << testo;
        return p;
    };
    EXPECT_EQ(storage::LeggiElencoScelti(
                  a.conn, Elenco::Dipendenti,
                  scrivi(std::to_string(uno) + "\r\n\n vrdlgu70b02f205x \r\n" + std::to_string(uno) + "\n")),
              (std::vector<std::int64_t>{uno, due, tre}));
    struct Caso {
        std::string testo, errore;
    } casi[] = {
        {"1\n77\n", "riga 2: nessun certificato con il numero \"77\"."},
        {"\nXXXYYY\n", "riga 2: nessun certificato con il codice fiscale \"XXXYYY\"."},
        {"0\n", "riga 1: numero di certificato non valido \"0\"."},
    };
    for (const auto& c : casi) {
        const auto p = scrivi(c.testo);
        try {
            storage::LeggiElencoScelti(a.conn, Elenco::Dipendenti, p);
            ADD_FAILURE() << c.testo;
        } catch (const storage::Error& e) {
            EXPECT_EQ(std::string(e.what()), "File " + p + ", " + c.errore);
        }
    }
    // Professionals are looked up in their own list.
    EXPECT_THROW(storage::LeggiElencoScelti(a.conn, Elenco::Professionisti, scrivi(std::to_string(uno))),
                 storage::Error);

    EXPECT_EQ(storage::NumeriDaTesto("3, 1,2"), (std::vector<std::int64_t>{3, 1, 2}));
    for (const char* male : {"", "1,,2", "1;2", "-4", "x"})
        EXPECT_THROW(storage::NumeriDaTesto(male), storage::Error) << male;
}

}  // namespace
