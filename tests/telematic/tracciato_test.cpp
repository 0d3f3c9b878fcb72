#include "telematic/tracciato.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "telematic/record.h"

namespace {

using telematic::CampiPosizionali;
using telematic::CampoDi;
using telematic::Sezione;
using telematic::TipoCampo;

const Sezione kSezioni[] = {
    Sezione::Anagrafica,         Sezione::FiscaleZefo1,           Sezione::FiscaleZefo2, Sezione::Familiari,
    Sezione::PrevidenzialePrima, Sezione::PrevidenzialeUlteriore, Sezione::Autonomi,     Sezione::QuadroCt};

// Each table runs from position 1 without gaps or overlaps to its end: the body of A, B and Z,
// the head of C, D, G and H.
TEST(Tracciato, OgniRecordPosizionaleSenzaBuchiNeSovrapposizioni) {
    const struct {
        char record;
        int fine;
    } casi[] = {{'A', 1897}, {'B', 1897}, {'Z', 1897}, {'C', 89}, {'D', 89}};
    for (const auto& c : casi) {
        int atteso = 1;
        for (const auto& f : CampiPosizionali(c.record)) {
            EXPECT_EQ(f.da, atteso) << c.record << " " << f.nome;
            EXPECT_LE(f.da, f.a) << c.record << " " << f.nome;
            if (f.posa == telematic::Posa::Testo || f.posa == telematic::Posa::TestoInD) {
                EXPECT_EQ(std::string(f.testo).size(), f.larghezza()) << c.record << " " << f.nome;
            }
            atteso = f.a + 1;
        }
        EXPECT_EQ(atteso - 1, c.fine) << c.record;
    }
    EXPECT_EQ(telematic::kFineArea - telematic::kInizioArea + 1, telematic::kAreaNonPosizionale);
    EXPECT_EQ(telematic::kFineArea, 1889u);
}

// The positions the checks name, as the published layout gives them.
TEST(Tracciato, PosizioniDeiCampiLetti) {
    const struct {
        char record;
        const char* primo;
        const char* ultimo;
        const char* atteso;
    } casi[] = {
        {'A', "codice fornitura", "", "A 16-20"},
        {'A', telematic::kTipoFornitore, "", "A 21-22"},
        {'A', "CodiceFiscale", "", "A 23-38"},
        {'B', "CodiceFiscale", "", "B 2-17"},
        {'B', telematic::kModulo, "", "B 18-25"},
        {'B', "Annullamento", "", "B 91"},
        {'B', "sostituzione", "", "B 92"},
        {'B', "CognomeDenominazione", "", "B 137-196"},
        {'B', "email", "", "B 197-296"},
        {'B', "TelefonoPref", "", "B 297-308"},
        {'B', "CFRapp", "", "B 321-336"},
        {'B', "CodCar", "", "B 337-338"},
        {'B', "CognomeRapp", "", "B 339-362"},
        {'B', "NomeRapp", "", "B 363-382"},
        {'B', "A1", "", "B 394-401"},
        {'B', "A2", "", "B 402-409"},
        {'B', "A1", "A2", "B 394-409"},
        {'B', "A3", "", "B 410"},
        {'B', "A4", "", "B 412-427"},
        {'B', "A8", "", "B 428"},
        {'B', "A5", "A7", "B 429-436"},
        {'B', "A7", "", "B 433-436"},
        {'B', "A8", "firma intermediario", "B 428-437"},
        {'Z', "ContaB", "", "Z 16-24"},
        {'Z', "ContaH", "", "Z 52-60"},
        {'D', "CodiceFiscale", "", "D 2-17"},
        {'D', telematic::kModulo, "", "D 18-25"},
        {'D', "B01", "", "D 26-41"},
        {'D', "ID", "", "D 42-46"},
        {'D', telematic::kProtocollo, "", "D 47-63"},
        {'D', telematic::kProgressivo, "", "D 64-69"},
        {'D', "riservato", "", "D 70-83"},
    };
    for (const auto& c : casi) EXPECT_EQ(telematic::Posizioni(c.record, c.primo, c.ultimo), c.atteso) << c.primo;
    EXPECT_THROW(CampoDi('B', "A9"), std::logic_error);
}

// Record B written from an agent whose every column holds its own marker: each field the
// check reads by name holds what the writer put there.
TEST(Tracciato, IlRecordBSiRileggeDallaTabella) {
    std::vector<std::string> nomi, valori;
    std::map<std::string, std::string> per;
    for (const auto& f : CampiPosizionali('B')) {
        if (f.posa != telematic::Posa::Sinistra && f.posa != telematic::Posa::Zeri &&
            f.posa != telematic::Posa::Casella)
            continue;
        for (std::string c : {std::string(f.nome), std::string(f.testo)}) {
            if (c.empty() || per.count(c)) continue;
            // Digits for the zero-filled counts, letters elsewhere; distinct per column.
            const std::string v =
                f.posa == telematic::Posa::Zeri ? std::to_string(per.size() % 9 + 1) : "V" + std::to_string(per.size());
            per[c] = v;
            nomi.push_back(c);
            valori.push_back(v);
        }
    }
    storage::Row s(std::make_shared<const storage::Columns>(nomi), valori);
    std::ostringstream out;
    telematic::ContestoCampi campi;
    telematic::ContestoRecord ctx{out, campi, {}};
    telematic::ScriviRecordB(ctx, s);
    const std::string r = out.str();
    ASSERT_EQ(r.size(), telematic::kLunghezzaRecord);
    for (const auto& f : CampiPosizionali('B')) {
        const std::string in = r.substr(f.inizio(), f.larghezza());
        switch (f.posa) {
        case telematic::Posa::Sinistra:
            EXPECT_EQ(in, telematic::AllineaSinistra(per[f.nome] + (*f.testo ? per[f.testo] : ""), f.larghezza()))
                << f.nome;
            break;
        case telematic::Posa::Zeri: EXPECT_EQ(in, telematic::RiempiZeri(per[f.nome], f.larghezza())) << f.nome; break;
        case telematic::Posa::Casella: EXPECT_EQ(in, "1") << f.nome; break;
        case telematic::Posa::Testo: EXPECT_EQ(in, f.testo) << f.nome; break;
        default: EXPECT_EQ(in, std::string(f.larghezza(), ' ')) << f.nome; break;
        }
    }
}

// Every code is eight characters, written once per section (the further social-security
// section repeats the first), and has its type for the file check.
TEST(Tracciato, CodiciDelleSezioni) {
    std::map<std::string, Sezione> visti;
    std::size_t campi = 0;
    for (auto s : kSezioni) {
        for (const auto& c : telematic::Campi(s)) {
            ++campi;
            for (const std::string* codice : {&c.codice, &c.codice2}) {
                if (codice->empty()) continue;
                EXPECT_EQ(codice->size(), 8u) << *codice;
                const auto [it, nuovo] = visti.emplace(*codice, s);
                EXPECT_TRUE(nuovo ||
                            (s == Sezione::PrevidenzialeUlteriore && it->second == Sezione::PrevidenzialePrima))
                    << *codice;
                EXPECT_TRUE(telematic::TipoDelCodice(*codice)) << *codice;
            }
            switch (c.regola) {
            case telematic::Regola::Mesi: EXPECT_EQ(c.colonne.size(), 12u) << c.codice; break;
            case telematic::Regola::Lettera: EXPECT_EQ(c.colonne.size(), 3u) << c.codice; break;
            case telematic::Regola::Unione: EXPECT_EQ(c.colonne.size(), 2u) << c.codice; break;
            case telematic::Regola::Costante: EXPECT_TRUE(c.colonne.empty()) << c.codice; break;
            default: EXPECT_EQ(c.colonne.size(), 1u) << c.codice;
            }
        }
    }
    // 33 anagraphic boxes and the signature, 153 fiscal points, 3 + 8 * 6 + 1 family boxes, 40 and 34
    // social-security points, 23 self-employment boxes, 9 Quadro CT boxes.
    EXPECT_EQ(telematic::Campi(Sezione::Anagrafica).size(), 34u);
    EXPECT_EQ(telematic::Campi(Sezione::FiscaleZefo1).size() + telematic::Campi(Sezione::FiscaleZefo2).size(), 153u);
    EXPECT_EQ(telematic::Campi(Sezione::Familiari).size(), 52u);
    EXPECT_EQ(telematic::Campi(Sezione::PrevidenzialePrima).size(), 40u);
    EXPECT_EQ(telematic::Campi(Sezione::PrevidenzialeUlteriore).size(), 34u);
    EXPECT_EQ(telematic::Campi(Sezione::Autonomi).size(), 23u);
    EXPECT_EQ(telematic::Campi(Sezione::QuadroCt).size(), 9u);
    EXPECT_GT(campi, 0u);

    const struct {
        const char* codice;
        TipoCampo tipo;
    } tipi[] = {{"DB001002", TipoCampo::N1},         {"DB001116", TipoCampo::DA},   {"DB001305", TipoCampo::CF},
                {"DB001408", TipoCampo::PC},         {"DB802B07", TipoCampo::AN},   {"DB802A07", TipoCampo::PC},
                {"DB805001", TipoCampo::AN},         {"DC001008", TipoCampo::Mesi}, {"DC001B19", TipoCampo::NP},
                {"DC001037", TipoCampo::GiornoMese}, {"DA003002", TipoCampo::CB},   {"CT001003", TipoCampo::AN}};
    for (const auto& t : tipi) EXPECT_EQ(telematic::TipoDelCodice(t.codice), t.tipo) << t.codice;
    EXPECT_FALSE(telematic::TipoDelCodice("DB001013"));
    EXPECT_TRUE(telematic::CodiceDelRecord('G', "DC001001"));
    EXPECT_FALSE(telematic::CodiceDelRecord('H', "DA001001"));
}

TEST(Tracciato, NomiDeiTipi) {
    for (int i = 0; i <= static_cast<int>(TipoCampo::N10); ++i) {
        const auto t = static_cast<TipoCampo>(i);
        EXPECT_EQ(telematic::TipoDaNome(telematic::NomeTipo(t)), t) << telematic::NomeTipo(t);
    }
    for (const char* fuori : {"MESI", "GM", "cf", "CF ", ""}) EXPECT_FALSE(telematic::TipoDaNome(fuori)) << fuori;
}

}  // namespace
