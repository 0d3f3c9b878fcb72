// Ordinary, substitution and cancellation supplies: which certificates each carries, record B's
// boxes and counts, the identifiers in the D head, the refusals, and what a good run records.
#include <gtest/gtest.h>

#include "archivio_prova.h"
#include "storage/invii.h"
#include "telematic/generazione.h"

namespace {

using prova::Atteso;
using storage::Elenco;
using storage::Operazione;
using telematic::TipoFornitura;
namespace fs = std::filesystem;

struct Registro : storage::Reporter {
    std::vector<std::string> info_, errori;
    void info(const std::string& t) override { info_.push_back(t); }
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string&) override { return true; }
};

const std::string kCf = "01234567890";

class Correzioni : public ::testing::Test {
protected:
    void SetUp() override {
        arch.inserisci("SostitutoImposta", {{"CodiceFiscale", kCf}, {"CognomeDenominazione", "ACME SRL"}, {"A1", "3"}});
        alfa = certificato("ALFA");
        beta = certificato("BETA");
        gamma = certificato("GAMMA");
        storage::ScriviIdentificativi(arch.conn, Elenco::Dipendenti, alfa, "12345678901234567", "000002");
        storage::ScriviIdentificativi(arch.conn, Elenco::Dipendenti, beta, "00000000000000042", "000017");
        storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {alfa}, Operazione::Sostituzione);
        storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {beta}, Operazione::Annullamento);
        storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {gamma}, Operazione::Escluso);
        opz.cartella = (arch.dir / "invio").string();
        opz.nomeFile = "ZF2015.txt";
        opz.tipi = storage::Tipi::tutti();
    }
    std::int64_t certificato(const std::string& cognome) {
        const auto id = arch.inserisci("Zefo1", {{"B01", "CF" + cognome}, {"B02", cognome}, {"B03", "NOME"}});
        arch.inserisci("Zefo2", {{"ID", std::to_string(id)}, {"tipo", "DIP"}});
        return id;
    }
    std::string file() { return prova::leggi(fs::path(opz.cartella) / opz.nomeFile); }

    // D and G of a bare certificate; the D head carries the identifiers given.
    static std::string certificatoAtteso(const std::string& cognome, std::int64_t id, const std::string& protocollo,
                                         const std::string& progressivo) {
        const std::string num = "0000" + std::to_string(id);
        return prova::testa('D', "00000001", kCf, "CF" + cognome, num)
                   .at(47, protocollo)
                   .at(64, progressivo)
                   .at(90, "DA002001CF" + cognome + std::string(14 - cognome.size(), ' ') + "DA002002" + cognome +
                               std::string(16 - cognome.size(), ' ') +
                               "DA002003NOME            DA003002               1")
                   .str() +
               prova::testa('G', "00000001", kCf, "CF" + cognome, num).str();
    }
    static std::string testaAtteso(const std::string& annullaSostituisce, const std::string& a1a2) {
        return Atteso('A').at(16, "CUR1501").at(23, kCf).str() + Atteso('B')
                                                                     .at(2, kCf)
                                                                     .at(18, "00000001")
                                                                     .at(91, annullaSostituisce)
                                                                     .at(137, "ACME SRL")
                                                                     .at(383, kCf)
                                                                     .at(337, "00")
                                                                     .at(394, a1a2)
                                                                     .at(410, "01")
                                                                     .at(428, "0000000000")
                                                                     .str();
    }
    static std::string codaAttesa(int certificati) {
        const std::string n = std::to_string(certificati);
        return Atteso('Z')
            .at(16, "000000001000000000" + std::string(9 - n.size(), '0') + n + std::string(9 - n.size(), '0') + n +
                        "000000000")
            .str();
    }

    prova::Archivio arch;
    telematic::OpzioniGenerazione opz;
    Registro r;
    std::int64_t alfa = 0, beta = 0, gamma = 0;
};

// Each kind writes only its certificates; B 91/92 and the counts say what the file is.
TEST_F(Correzioni, OgniFornituraRecordPerRecord) {
    const std::string zeri17(17, '0');
    struct Caso {
        const char* nome;
        TipoFornitura fornitura;
        std::optional<std::vector<std::int64_t>> scelti;
        std::string atteso;
    };
    const Caso casi[] = {
        // The excluded certificate stays out and the counts follow the file; the agent's boxes as stored.
        {"ordinaria", TipoFornitura::Ordinaria, std::nullopt,
         testaAtteso("00", "0000000200000000") + certificatoAtteso("ALFA", alfa, zeri17, "000000") +
             certificatoAtteso("BETA", beta, zeri17, "000000") + codaAttesa(2)},
        // A chosen certificate goes even when excluded: the choice is explicit.
        {"scelti", TipoFornitura::Ordinaria, std::vector<std::int64_t>{gamma, gamma},
         testaAtteso("00", "0000000100000000") + certificatoAtteso("GAMMA", gamma, zeri17, "000000") + codaAttesa(1)},
        {"sostituzione", TipoFornitura::Sostituzione, std::nullopt,
         testaAtteso("01", "0000000100000000") + certificatoAtteso("ALFA", alfa, "12345678901234567", "000002") +
             codaAttesa(1)},
        {"annullamento", TipoFornitura::Annullamento, std::nullopt,
         testaAtteso("10", "0000000100000000") + certificatoAtteso("BETA", beta, "00000000000000042", "000017") +
             codaAttesa(1)},
    };
    for (const auto& c : casi) {
        // Marks are cleared by a good correction: put them back for each case.
        storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {alfa}, Operazione::Sostituzione);
        storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {beta}, Operazione::Annullamento);
        opz.fornitura = c.fornitura;
        opz.scelti = c.scelti;
        r = Registro();
        const auto ris = telematic::GeneraFileDipendenti(arch.conn, opz, r);
        ASSERT_EQ(ris.esito, telematic::Esito::Concluso) << c.nome << (r.errori.empty() ? "" : r.errori[0]);
        const auto letto = prova::records(file()), atteso = prova::records(c.atteso);
        ASSERT_EQ(letto.size(), atteso.size()) << c.nome;
        for (std::size_t i = 0; i < letto.size(); ++i) EXPECT_EQ(letto[i], atteso[i]) << c.nome << " record " << i + 1;
    }
}

// The whole ordinary run is today's when nothing is excluded or chosen: the agent's counts and boxes.
TEST_F(Correzioni, OrdinariaSenzaEsclusiComeSempre) {
    storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {gamma}, Operazione::Nessuna);
    arch.conn.exec("update SostitutoImposta set sostituzione = 'X'");
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    const auto rec = prova::records(file());
    ASSERT_EQ(rec.size(), 9u);
    EXPECT_EQ(rec[1].substr(90, 2), "01");
    EXPECT_EQ(rec[1].substr(393, 16), "0000000300000000");
    EXPECT_EQ(rec[2].substr(46, 23), std::string(23, '0'));
}

TEST_F(Correzioni, RifiutiPrimaDiScrivere) {
    const auto delta = certificato("DELTA");
    storage::SegnaOperazione(arch.conn, Elenco::Dipendenti, {delta}, Operazione::Sostituzione);
    struct Caso {
        const char* nome;
        TipoFornitura fornitura;
        bool quadroCt;
        std::optional<std::vector<std::int64_t>> scelti;
        std::string errore;
        storage::Tipi tipi = storage::Tipi::tutti();
    } casi[] = {
        {"quadro CT", TipoFornitura::Annullamento, true, std::nullopt,
         "Il quadro CT non può essere inviato con una fornitura di sostituzione o di annullamento."},
        {"senza identificativi", TipoFornitura::Sostituzione, false, std::nullopt,
         "Nessun file è stato scritto: mancano protocollo e progressivo dell'invio precedente nei certificati "
         "segnati per la fornitura di sostituzione:\nCertificato " +
             std::to_string(delta) + " (DELTA NOME)"},
        {"scelto inesistente", TipoFornitura::Ordinaria, false, std::vector<std::int64_t>{alfa, 98, 99},
         "I certificati scelti 98, 99 non esistono."},
        // A chosen certificate of a kind not chosen is refused, never silently left out.
        {"scelto d'altro tipo", TipoFornitura::Ordinaria, false, std::vector<std::int64_t>{alfa},
         "Il certificato " + std::to_string(alfa) + " non è tra quelli dei tipi scelti.",
         storage::Tipi().con(storage::Tipo::AMM)},
        {"scelti in una correzione", TipoFornitura::Sostituzione, false, std::vector<std::int64_t>{alfa},
         "La scelta dei certificati vale solo per una fornitura ordinaria: una fornitura di sostituzione invia i "
         "certificati segnati."},
        // One chosen certificate of a kind not chosen is refused, not silently left out.
        {"scelto di un altro tipo", TipoFornitura::Ordinaria, false, std::vector<std::int64_t>{alfa},
         "Il certificato " + std::to_string(alfa) + " non è tra quelli dei tipi scelti.",
         storage::Tipi().con(storage::Tipo::AMM)},
    };
    for (const auto& c : casi) {
        opz.tipi = c.tipi;
        opz.fornitura = c.fornitura;
        opz.quadroCt = c.quadroCt;
        opz.scelti = c.scelti;
        opz.tipi = c.tipi;
        r = Registro();
        EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato) << c.nome;
        EXPECT_EQ(r.errori, std::vector<std::string>{c.errore}) << c.nome;
        EXPECT_FALSE(fs::exists(opz.cartella)) << c.nome;
    }
    // Two lacking identifiers are both named; the marks stay.
    opz.tipi = storage::Tipi::tutti();
    storage::ScriviIdentificativi(arch.conn, Elenco::Dipendenti, alfa, "", "");
    opz.quadroCt = false;
    opz.scelti.reset();
    opz.fornitura = TipoFornitura::Sostituzione;
    r = Registro();
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    ASSERT_EQ(r.errori.size(), 1u);
    EXPECT_NE(r.errori[0].find("\nCertificato " + std::to_string(alfa) + " (ALFA NOME)\nCertificato " +
                               std::to_string(delta) + " (DELTA NOME)"),
              std::string::npos)
        << r.errori[0];
    EXPECT_EQ(storage::MarcatiCon(arch.conn, Elenco::Dipendenti, Operazione::Sostituzione),
              (std::vector<std::int64_t>{alfa, delta}));
    // Nothing marked for a cancellation of professionals.
    opz.fornitura = TipoFornitura::Annullamento;
    opz.nomeFile = "ZF2015Prof.txt";
    r = Registro();
    EXPECT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_EQ(r.errori,
              std::vector<std::string>{
                  "Nessun certificato è segnato per la fornitura di annullamento: non c'è nulla da inviare."});
}

// After a good run each written certificate names the file; a correction clears only the marks it sent.
TEST_F(Correzioni, UnInvioBuonoSiRegistra) {
    opz.fornitura = TipoFornitura::Sostituzione;
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    const auto a = storage::LeggiInvio(arch.conn, Elenco::Dipendenti, alfa);
    EXPECT_EQ(a.operazione, Operazione::Nessuna);
    EXPECT_EQ(a.file, fs::absolute(fs::path(opz.cartella) / opz.nomeFile).string());
    EXPECT_EQ(a.scrittoIl.size(), 19u);
    EXPECT_EQ(a.protocollo, "12345678901234567");  // kept: the receipt of the new sending replaces it
    const auto b = storage::LeggiInvio(arch.conn, Elenco::Dipendenti, beta);
    EXPECT_EQ(b.operazione, Operazione::Annullamento);
    EXPECT_EQ(b.scrittoIl, "");

    opz.fornitura = TipoFornitura::Ordinaria;
    opz.nomeFile = "ALTRO.txt";
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(storage::LeggiInvio(arch.conn, Elenco::Dipendenti, beta).operazione, Operazione::Annullamento);
    EXPECT_NE(storage::LeggiInvio(arch.conn, Elenco::Dipendenti, beta).file.find("ALTRO.txt"), std::string::npos);
    EXPECT_EQ(storage::LeggiInvio(arch.conn, Elenco::Dipendenti, gamma).file, "");  // excluded, not written
}

// A correction's log is named after its file: the ordinary supply's Zf2015.log stays as it was.
TEST_F(Correzioni, OgniFornituraIlSuoLog) {
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    const fs::path cartella(opz.cartella);
    const std::string logOrdinario = prova::leggi(cartella / "Zf2015.log");
    ASSERT_NE(logOrdinario, "");
    const struct {
        TipoFornitura fornitura;
        std::string file, log;
    } casi[] = {
        {TipoFornitura::Sostituzione, "SOST.txt", "SOST.log"},
        {TipoFornitura::Annullamento, "ZF2015.txt", "ZF2015.txt.log"},  // "ZF2015.log" is Zf2015.log on Windows
        {TipoFornitura::Annullamento, "ANN.log", "ANN.log.log"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.file);
        opz.fornitura = c.fornitura;
        opz.nomeFile = c.file;
        EXPECT_EQ(telematic::NomeLog(opz), c.log);
    }
    opz.fornitura = TipoFornitura::Sostituzione;
    opz.nomeFile = "SOST.txt";
    const auto ris = telematic::GeneraFileDipendenti(arch.conn, opz, r);
    ASSERT_EQ(ris.esito, telematic::Esito::Concluso);
    EXPECT_EQ(ris.percorsoLog, (cartella / "SOST.log").string());
    EXPECT_TRUE(fs::exists(cartella / "SOST.log"));
    EXPECT_EQ(r.info_.back(),
              "Operazione conclusa. Controlla il file LOG\n" + fs::absolute(cartella / "SOST.log").string());
    EXPECT_EQ(prova::leggi(cartella / "Zf2015.log"), logOrdinario);
}

// The professionals' correction: D with the identifiers, then H; the count goes to A2.
TEST_F(Correzioni, SostituzioneDiUnProfessionista) {
    const auto p = arch.inserisci("Professionisti", {{"B01", "CFPROF"}, {"B02", "PROF"}, {"B03", "NOME"}});
    arch.inserisci("Professionisti", {{"B01", "CFALTRO"}, {"B02", "ALTRO"}});
    storage::ScriviIdentificativi(arch.conn, Elenco::Professionisti, p, "99999999999999999", "123456");
    storage::SegnaOperazione(arch.conn, Elenco::Professionisti, {p}, Operazione::Sostituzione);
    opz.fornitura = TipoFornitura::Sostituzione;
    opz.nomeFile = "ZF2015Prof.txt";
    ASSERT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    const auto rec = prova::records(file());
    ASSERT_EQ(rec.size(), 5u);
    EXPECT_EQ(rec[1].substr(90, 2), "01");
    EXPECT_EQ(rec[1].substr(393, 16), "0000000000000001");
    EXPECT_EQ(rec[2].substr(0, 89), prova::testa('D', "00000001", kCf, "CFPROF", "0000" + std::to_string(p))
                                        .at(47, "99999999999999999123456")
                                        .str()
                                        .substr(0, 89));
    EXPECT_EQ(rec[3].substr(0, 89),
              prova::testa('H', "00000001", kCf, "CFPROF", "0000" + std::to_string(p)).str().substr(0, 89));
    EXPECT_EQ(rec[4].substr(15, 45), "000000001000000000000000001000000000000000001");
}

}  // namespace
