#include "storage/certificati.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "comune/archivio_prova.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"

namespace {

using storage::Tipi;
using storage::Tipo;

TEST(Tipi, DaTesto) {
    const struct {
        const char* testo;
        std::optional<Tipi> atteso;
        const char* sconosciuto;
    } casi[] = {
        {"DIP,AMM,CoC", Tipi::tutti(), ""},
        {"CoC,DIP", Tipi().con(Tipo::DIP).con(Tipo::CoC), ""},
        {"AMM,,AMM,", Tipi().con(Tipo::AMM), ""},
        {"", Tipi(), ""},
        {"DIP,dip", std::nullopt, "dip"},
        {"DIP, AMM", std::nullopt, " AMM"},
        {"LPU", std::nullopt, "LPU"},
    };
    for (const auto& c : casi) {
        std::string sconosciuto;
        EXPECT_EQ(storage::TipiDaTesto(c.testo, &sconosciuto), c.atteso) << c.testo;
        EXPECT_EQ(sconosciuto, c.sconosciuto) << c.testo;
    }
    EXPECT_TRUE(Tipi().nessuno());
    EXPECT_FALSE(Tipi::tutti().con(Tipo::AMM, false).contiene(Tipo::AMM));
    EXPECT_TRUE(Tipi::tutti().con(Tipo::AMM, false).contiene(Tipo::CoC));
}

// A small archive with the rows that make the rules matter: a certificate with two Zefo2 rows
// of different kinds, one with two further sections, one with no Zefo2 row, a Zefo2 row whose
// certificate is gone, kinds written in other cases or not at all.
class CertificatiTest : public ::testing::Test {
protected:
    void SetUp() override {
        certificato(1, {"DIP"});
        certificato(2, {"amm"});         // the archive compares kinds ignoring case
        certificato(3, {"CoC", "DIP"});  // its own row is the first: CoC
        certificato(4, {});              // no Zefo2 row: no kind
        certificato(5, {""});            // empty kind
        certificato(6, {"DIP"}, 2);      // two further sections
        certificato(7, {"XYZ"});
        a.inserisci("Zefo2", {{"ID", "99"}, {"tipo", "DIP"}});  // no Zefo1 row 99
    }
    void certificato(int id, const std::vector<std::string>& tipi, int sezioni = 0) {
        a.inserisci("Zefo1", {{"ID", std::to_string(id)}, {"B02", "COGNOME" + std::to_string(id)}});
        for (const auto& t : tipi) a.inserisci("Zefo2", {{"ID", std::to_string(id)}, {"tipo", t}, {"MatrDip", t}});
        for (int s = 1; s <= sezioni; ++s)
            a.inserisci("Zefo3", {{"Id", std::to_string(id)}, {"matricola", "S" + std::to_string(s)}});
    }
    prova::Archivio a;
};

TEST_F(CertificatiTest, NumeriDeiTipiSeguonoLaRigaZefo2DelCertificato) {
    using V = std::vector<std::int64_t>;
    const auto numeri = [&](const Tipi& tipi) {
        return storage::NumeriDellElenco(a.conn, storage::Elenco::Dipendenti, tipi);
    };
    EXPECT_EQ(numeri(Tipi::tutti()), (V{1, 2, 3, 6}));
    EXPECT_EQ(numeri(Tipi().con(Tipo::DIP)), (V{1, 6}));
    EXPECT_EQ(numeri(Tipi().con(Tipo::AMM)), (V{2}));
    EXPECT_EQ(numeri(Tipi().con(Tipo::CoC)), (V{3}));
    EXPECT_EQ(numeri(Tipi()), V{});
    // The editor's lists in surname order: with a Zefo2 row of any kind, and of the kinds chosen.
    const auto elenco = [&](storage::Righe righe) {
        storage::Dataset d(a.conn);
        d.open(std::move(righe));
        V v = d.keys();
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(elenco(storage::CertificatiConZefo2PerNominativo()), (V{1, 2, 3, 5, 6, 7}));
    EXPECT_EQ(elenco(storage::CertificatiDeiTipiPerNominativo(Tipi().con(Tipo::DIP).con(Tipo::CoC))), (V{1, 3, 6}));
}

TEST_F(CertificatiTest, ScorreIDeiTipiConLeLoroRighe) {
    storage::ScorriCertificati s(a.conn, Tipi::tutti());
    EXPECT_EQ(s.totale(), 4u);
    struct Visto {
        std::int64_t id;
        std::string cognome, tipo, sezione;
        int sezioni;
        bool operator==(const Visto&) const = default;
    };
    std::vector<Visto> visti;
    while (s.prossimo()) {
        const auto& c = s.corrente();
        visti.push_back(
            {c.id, c.zefo1.text("B02"), c.zefo2.text("tipo"), c.zefo3.text("matricola"), c.sezioniUlteriori});
    }
    const std::vector<Visto> attesi = {{1, "COGNOME1", "DIP", "", 0},
                                       {2, "COGNOME2", "amm", "", 0},
                                       {3, "COGNOME3", "CoC", "", 0},
                                       {6, "COGNOME6", "DIP", "S1", 2}};
    EXPECT_EQ(visti, attesi);
    EXPECT_FALSE(s.prossimo());
}

TEST_F(CertificatiTest, ScorreSoloITipiScelti) {
    storage::ScorriCertificati s(a.conn, Tipi().con(Tipo::DIP));
    EXPECT_EQ(s.totale(), 2u);
    std::vector<std::int64_t> ids;
    while (s.prossimo()) ids.push_back(s.corrente().id);
    EXPECT_EQ(ids, (std::vector<std::int64_t>{1, 6}));

    storage::ScorriCertificati nessuno(a.conn, Tipi());
    EXPECT_EQ(nessuno.totale(), 0u);
    EXPECT_FALSE(nessuno.prossimo());
}

TEST_F(CertificatiTest, LettoreLeggeLeStesseRighe) {
    storage::LettoreCertificati l(a.conn);
    auto c3 = l.certificato(3);
    ASSERT_TRUE(c3);
    EXPECT_EQ(c3->zefo2.text("tipo"), "CoC");
    EXPECT_TRUE(c3->zefo3.empty());
    auto c6 = l.certificato(6);
    ASSERT_TRUE(c6);
    EXPECT_EQ(c6->zefo3.text("matricola"), "S1");
    EXPECT_EQ(c6->sezioniUlteriori, 2);
    auto c4 = l.certificato(4);
    ASSERT_TRUE(c4);
    EXPECT_TRUE(c4->zefo2.empty());
    EXPECT_FALSE(l.certificato(99));
    EXPECT_FALSE(l.professionista(1));
    a.inserisci("Professionisti", {{"ID", "1"}, {"B02", "VERDI"}});
    EXPECT_EQ(l.professionista(1)->text("B02"), "VERDI");
}

// A1 counts the certificates of a kind, A2 the professionals; point 1 plays no part.
TEST_F(CertificatiTest, ConteggiDelFrontespizio) {
    a.inserisci("Professionisti", {});
    a.inserisci("Professionisti", {});
    a.inserisci("Zefo1", {{"ID", "8"}, {"C001", "1.000,00"}});  // point 1 but no kind
    const auto n = storage::ContaCertificati(a.conn);
    EXPECT_EQ(n.A1, 4);
    EXPECT_EQ(n.A2, 2);
}

TEST(RigheUniche, SostitutoEQuadroCtSonoLaRigaDiChiaveMinima) {
    prova::Archivio a;
    EXPECT_TRUE(storage::LeggiSostituto(a.conn).empty());
    EXPECT_TRUE(storage::LeggiQuadroCt(a.conn).empty());
    a.inserisci("SostitutoImposta", {{"ID", "5"}, {"CodiceFiscale", "SECONDO"}});
    a.inserisci("SostitutoImposta", {{"ID", "2"}, {"CodiceFiscale", "PRIMO"}});
    a.inserisci("QuadroCt", {{"ID", "9"}, {"B1", "NONO"}});
    a.inserisci("QuadroCt", {{"ID", "3"}, {"B1", "TERZO"}});
    EXPECT_EQ(storage::LeggiSostituto(a.conn).text("CodiceFiscale"), "PRIMO");
    EXPECT_EQ(storage::LeggiQuadroCt(a.conn).text("B1"), "TERZO");
    storage::Dataset d(a.conn);
    d.open(storage::RigaDelSostituto());
    EXPECT_EQ(d.rowCount(), 1u);
    EXPECT_EQ(d.text("CodiceFiscale"), "PRIMO");
}

// The run's read transaction opens inside another one without failing, and leaves it open.
TEST(Lettura, DentroUnaTransazioneGiaAperta) {
    prova::Archivio a;
    {
        storage::Transaction t(a.conn);
        { storage::Lettura l(a.conn); }
        a.inserisci("Zefo1", {});
        t.commit();
    }
    { storage::Lettura l(a.conn); }
    storage::Statement st(a.conn, "select count(*) from Zefo1");
    st.step();
    EXPECT_EQ(st.integer(0), 1);
}

}  // namespace

// The agent's data of one certificate go to every professional in one transaction: the
// certificates whose values change are marked changed; a stop leaves everything as it was.
TEST(RiportaSostituto, TuttiOppureNessuno) {
    for (const bool ferma : {false, true}) {
        prova::Archivio a;
        a.inserisci("Professionisti", {{"B02", "A"}, {"A01", "VECCHIO"}, {"A07", "VIA VECCHIA"}});
        a.inserisci(
            "Professionisti",
            {{"B02", "B"}, {"A01", "NUOVO"}, {"A02", "DITTA"}, {"A07", "VIA"}, {"BFirma", "X"}, {"B44", "28/02/2015"}});
        a.inserisci("Professionisti", {{"B02", "C"}});
        const std::map<std::string, std::string> valori = {
            {"A01", "NUOVO"}, {"A02", "DITTA"}, {"A07", "VIA"}, {"BFirma", "X"}, {"B44", "28/02/2015"}};
        std::size_t chiamate = 0;
        const auto cambiati = storage::RiportaSostitutoNeiProfessionisti(
            a.conn,
            [&](const char* c) {
                const auto it = valori.find(c);
                return it == valori.end() ? std::string() : it->second;
            },
            [&](std::size_t, std::size_t totale) {
                EXPECT_EQ(totale, 2u);  // the second row already holds them
                return !ferma || ++chiamate < 1;
            });
        storage::Statement st(a.conn,
                              "select group_concat(coalesce(A01, '') || '/' || coalesce(A07, ''), ' ') from "
                              "(select * from Professionisti order by ID)");
        st.step();
        storage::Statement marcati(a.conn, "select count(*) from Invii where Elenco = 'P' and ModificatoIl <> ''");
        marcati.step();
        if (ferma) {
            EXPECT_FALSE(cambiati.has_value());
            EXPECT_EQ(std::string(st.text(0)), "VECCHIO/VIA VECCHIA NUOVO/VIA /");
            EXPECT_EQ(marcati.integer(0), 0);
        } else {
            ASSERT_TRUE(cambiati.has_value());
            EXPECT_EQ(*cambiati, (std::vector<std::int64_t>{1, 3}));
            EXPECT_EQ(std::string(st.text(0)), "NUOVO/VIA NUOVO/VIA NUOVO/VIA");
            EXPECT_EQ(marcati.integer(0), 2);
        }
    }
}

// A new certificate starts from the last one's employer part, date, signature (and kind), with
// the agent's own data over them.
TEST(NuovoCertificato, DallUltimoEDalSostituto) {
    prova::Archivio a;
    using V = std::vector<std::pair<std::string, std::string>>;
    const auto valori = [&](bool professionisti) {
        V v;
        for (const auto& [c, x] : storage::ValoriNuovoCertificato(a.conn, professionisti)) v.emplace_back(c, x);
        return v;
    };
    EXPECT_EQ(valori(false), V{});
    a.inserisci("Zefo1", {{"ID", "1"}, {"A04", "PRIMO"}});
    a.inserisci("Zefo1", {{"ID", "2"},
                          {"A01", "VECCHIO"},
                          {"A04", "ROMA"},
                          {"A11", "001"},
                          {"B44", "28/02/2015"},
                          {"BFirma", "X"},
                          {"B02", "ROSSI"}});
    a.inserisci("Zefo2", {{"ID", "2"}, {"tipo", "CoC"}});
    EXPECT_EQ(valori(false), (V{{"A01", "VECCHIO"},
                                {"A04", "ROMA"},
                                {"A11", "001"},
                                {"BFirma", "X"},
                                {"B44", "28/02/2015"},
                                {"tipo", "CoC"}}));
    a.inserisci("SostitutoImposta",
                {{"CodiceFiscale", "01234567897"}, {"TelefonoPref", "06"}, {"telefono", "5551234"}});
    EXPECT_EQ(valori(false), (V{{"A01", "01234567897"},
                                {"A04", "ROMA"},
                                {"A11", "001"},
                                {"BFirma", "X"},
                                {"B44", "28/02/2015"},
                                {"tipo", "CoC"},
                                {"A08", "065551234"}}));
    a.inserisci("Professionisti", {{"A05", "MI"}});
    EXPECT_EQ(valori(true), (V{{"A05", "MI"}, {"A01", "01234567897"}, {"A08", "065551234"}}));
}
