#include "telematic/generazione.h"

#include <gtest/gtest.h>

#include "archivio_prova.h"
#include "storage/config.h"

namespace {

using prova::Atteso;
namespace fs = std::filesystem;

struct Risposte : storage::Reporter {
    bool risposta = false;
    std::vector<std::string> info_, errori, domande;
    void info(const std::string& t) override { info_.push_back(t); }
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string& d) override {
        domande.push_back(d);
        return risposta;
    }
};

class Generazione : public ::testing::Test {
protected:
    void SetUp() override {
        arch.inserisci("SostitutoImposta", {{"CodiceFiscale", "01234567890"},
                                            {"CognomeDenominazione", "ACME SRL"},
                                            {"email", "a@acme.it"},
                                            {"A1", "2"}});
        arch.inserisci("SostitutoImposta", {{"CodiceFiscale", "99999999999"}});  // not the first
        arch.inserisci("QuadroCt", {{"NumCellulare", "3331234567"}});
        opz.cartella = (arch.dir / "invio").string();
        opz.nomeFile = "ZF2015.txt";
        // The frontispiece's count is CountQuestion's business: the others write what they carry.
        opz.aggiornaConteggi = [](const std::string&) { return true; };
    }
    std::int64_t certificato(const std::string& cognome, const std::string& tipo, prova::Valori z1 = {},
                             prova::Valori z2 = {}) {
        z1.push_back({"B01", "CF" + cognome});
        z1.push_back({"B02", cognome});
        z1.push_back({"B03", "NOME"});
        auto id = arch.inserisci("Zefo1", z1);
        z2.push_back({"ID", std::to_string(id)});
        z2.push_back({"tipo", tipo});
        arch.inserisci("Zefo2", z2);
        return id;
    }
    std::string file() { return prova::leggi(fs::path(opz.cartella) / opz.nomeFile); }
    std::string log() { return prova::leggi(fs::path(opz.cartella) / "Zf2015.log"); }

    prova::Archivio arch;
    telematic::OpzioniGenerazione opz;
    Risposte r;
};

TEST_F(Generazione, EmployeesEndToEnd) {
    auto id1 = certificato("ALFA", "DIP", {{"C001", "1.000,00"}, {"C002", "1"}, {"C008", "01/01/2014"}});
    certificato("BETA", "AMM", {{"C002", "1"}});
    auto id3 = certificato("GAMMA", "CoC", {{"C002", "2"}}, {{"D04", "10,00"}});
    arch.inserisci("Zefo1", {{"B02", "SENZA ZEFO2"}});
    certificato("DELTA", "XYZ");
    arch.inserisci("Zefo3", {{"Id", std::to_string(id3)}, {"D09", "5,00"}});
    arch.inserisci("Zefo3", {{"Id", std::to_string(id3)}, {"D09", "7,00"}});
    arch.inserisci("Zefo3", {{"Id", "9999"}, {"D09", "1,00"}});
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP).con(storage::Tipo::CoC);
    opz.quadroCt = true;
    opz.tipoFornitore = "10";

    auto ris = telematic::GeneraFileDipendenti(arch.conn, opz, r);
    ASSERT_EQ(ris.esito, telematic::Esito::Concluso) << (r.errori.empty() ? "" : r.errori[0]);
    EXPECT_EQ(r.info_, std::vector<std::string>{"Operazione conclusa. Controlla il file LOG\n" +
                                                (fs::path(opz.cartella) / "Zf2015.log").string()});

    const std::string cf = "01234567890";
    const std::string dc = "DA003002               1";
    const std::string atteso =
        Atteso('A').at(16, "CUR1510").at(23, cf).str() +
        Atteso('B')
            .at(2, cf)
            .at(18, "00000001")
            .at(91, "00")
            .at(137, "ACME SRL")
            .at(197, "a@acme.it")
            .at(383, cf)
            .at(337, "00")
            .at(394, "0000000200000000")
            .at(410, "01")
            .at(428, "0000000000")
            .str() +
        Atteso('C')
            .at(2, cf)
            .at(18, "00000001")
            .at(90,
                "CT00100101234567890     CT0010023331234567      CT001003a@acme.it       "
                "CT003005               1")
            .str() +
        prova::testa('D', "00000001", cf, "CFALFA", "0000" + std::to_string(id1))
            .at(90, "DA002001CFALFA          DA002002ALFA            DA002003NOME            " + dc)
            .str() +
        prova::testa('G', "00000001", cf, "CFALFA", "0000" + std::to_string(id1))
            .at(90, "DB001001         1000,00DB001002               1DB001008        01012014")
            .str() +
        prova::testa('D', "00000001", cf, "CFGAMMA", "0000" + std::to_string(id3))
            .at(90, "DA002001CFGAMMA         DA002002GAMMA           DA002003NOME            " + dc)
            .str() +
        prova::testa('G', "00000001", cf, "CFGAMMA", "0000" + std::to_string(id3))
            .at(90, "DB001002               2DC001004           10,00")
            .str() +
        prova::testa('G', "00000002", cf, "CFGAMMA", "0000" + std::to_string(id3))
            .at(90, "DC001009            5,00")
            .str() +
        Atteso('Z').at(16, "000000001000000001000000002000000003000000000").str();
    EXPECT_EQ(file(), atteso);
    EXPECT_EQ(log(), "");
    EXPECT_EQ(ris.conta.ContaD, 2);
    EXPECT_EQ(ris.conta.ContaG, 3);
    // No temporary file is left beside the results.
    std::vector<std::string> nomi;
    for (const auto& e : fs::directory_iterator(opz.cartella)) nomi.push_back(e.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    EXPECT_EQ(nomi, (std::vector<std::string>{"ZF2015.txt", "Zf2015.log"}));
}

TEST_F(Generazione, LogLinesByteForByte) {
    certificato("ROSSÌ", "DIP", {{"C001", "1,00"}, {"C006", "1234"}});
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(log(),
              "ROSS\xCC NOME: La data di inizio lavoro \xE8 obbligatoria se prensenti i campi "
              "DB001001 o DB001004\r\r\n"
              "CFROSS\xCC: Campo DB001002 non in (1,2)\r\n"
              "Errore 47156 in un campo non posizionali al \rDipendente ROSS\xCC NOME - codice "
              "DB001006 - tipo N3 - valore 1234\rMi aspetto un numero di massimo tre  cifre.\r\r\r\n");
}

TEST_F(Generazione, NoCertificateOfTheChosenKinds) {
    certificato("ALFA", "DIP");
    opz.tipi = storage::Tipi().con(storage::Tipo::AMM);
    auto ris = telematic::GeneraFileDipendenti(arch.conn, opz, r);
    ASSERT_EQ(ris.esito, telematic::Esito::Concluso);
    auto recs = prova::records(file());
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[2].substr(15, 45), "000000001000000000000000000000000000000000000");
}

TEST_F(Generazione, RefusalsTouchNothing) {
    opz.tipi = storage::Tipi();
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_EQ(r.errori,
              std::vector<std::string>{"Attenzione, non hai selezionato alcun tipo di fornitura da esportare."});
    EXPECT_FALSE(fs::exists(opz.cartella));

    r = Risposte();
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    opz.cartella = "  ";
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_EQ(r.errori, std::vector<std::string>{"Indicare la cartella di destinazione"});

    // An empty name would make the folder itself the file: refused before anything is created.
    r = Risposte();
    opz.cartella = (arch.dir / "invio").string();
    opz.nomeFile = " ";
    EXPECT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_EQ(r.errori, std::vector<std::string>{"Indicare il nome del file da generare"});
    EXPECT_TRUE(r.domande.empty());
    EXPECT_FALSE(fs::exists(opz.cartella));
    opz.nomeFile = "ZF2015.txt";

    r = Risposte();
    fs::path bloccata = arch.dir / "file-non-cartella";
    std::ofstream(bloccata) << "x";
    opz.cartella = (bloccata / "sotto").string();
    EXPECT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    ASSERT_EQ(r.errori.size(), 1u);
    EXPECT_EQ(r.errori[0].rfind("Impossibile creare la cartella di destinazione " + opz.cartella, 0), 0u);
}

// Destinations that would overwrite the program's own files or leave the chosen folder: each is
// refused before any question, and the archive stays byte for byte as it was.
TEST_F(Generazione, ForbiddenDestinationsAreRefusedBeforeAnyQuestion) {
    certificato("ALFA", "DIP");
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    const fs::path db = arch.dir / "Zefo2015.db";
    fs::create_directories(arch.dir / "backup");
    std::ofstream(arch.dir / "backup" / "copia.db") << "copia";
    fs::create_directories(arch.dir / "invio");
    const std::string cartellaDati = arch.dir.string();
    const struct {
        std::string cartella, nome, messaggio;
    } casi[] = {
        {cartellaDati, "Zefo2015.db",
         "Il file Zefo2015.db è l'archivio aperto o un suo file: scegliere un altro nome o un'altra cartella"},
        {cartellaDati + "/", "Zefo2015.db-wal",
         "Il file Zefo2015.db-wal è l'archivio aperto o un suo file: scegliere un altro nome o un'altra cartella"},
        {cartellaDati + "/invio/..", "Zefo2015.db-shm",
         "Il file Zefo2015.db-shm è l'archivio aperto o un suo file: scegliere un altro nome o un'altra cartella"},
        {cartellaDati, "Zefo2015.db-journal",
         "Il file Zefo2015.db-journal è l'archivio aperto o un suo file: scegliere un altro nome o un'altra cartella"},
        {cartellaDati + "/backup", "copia.db",
         "La cartella " + cartellaDati +
             "/backup contiene le copie di sicurezza dell'archivio: scegliere un'altra cartella"},
        {cartellaDati + "/invio", ".palio2015.lock",
         "Il file .palio2015.lock è riservato al programma: scegliere un altro nome"},
        {cartellaDati + "/invio", "../fuori.txt", "Il nome del file non può contenere separatori di cartella (/ o \\)"},
        {cartellaDati + "/invio", "a\\b.txt", "Il nome del file non può contenere separatori di cartella (/ o \\)"},
        {cartellaDati + "/invio", "..", "Il nome del file non può contenere \"..\""},
        {cartellaDati + "/invio", "ZF2015\n.txt", "Il nome del file contiene caratteri di controllo non ammessi"},
        {cartellaDati + "/invio", std::string(201, 'a'), "Il nome del file è troppo lungo (al massimo 200 caratteri)"},
    };
    const std::string primaDb = prova::leggi(db);
    for (const auto& c : casi) {
        SCOPED_TRACE(c.cartella + " | " + c.nome);
        r = Risposte();
        r.risposta = true;
        opz.cartella = c.cartella;
        opz.nomeFile = c.nome;
        EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
        EXPECT_EQ(r.errori, std::vector<std::string>{c.messaggio});
        EXPECT_TRUE(r.domande.empty());
        EXPECT_EQ(prova::leggi(db), primaDb);
    }
    EXPECT_EQ(prova::leggi(arch.dir / "backup" / "copia.db"), "copia");
    EXPECT_FALSE(fs::exists(arch.dir / "fuori.txt"));
    EXPECT_FALSE(fs::exists(arch.dir / "invio" / ".palio2015.lock"));

    // The longest name allowed still makes its file.
    r = Risposte();
    opz.cartella = cartellaDati + "/invio";
    opz.nomeFile = std::string(200, 'a');
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_TRUE(fs::exists(arch.dir / "invio" / opz.nomeFile));
}

// A whole supply whose stored count is not the number of certificates it carries asks before
// writing: No writes nothing; Yes writes the supply's count, and stores it when the supply is the
// whole list. The professionals' run compares A2.
TEST_F(Generazione, CountQuestion) {
    for (const char* c : {"ALFA", "BETA", "GAMMA"}) certificato(c, "DIP");
    certificato("DELTA", "AMM");
    const auto a1 = [&] {
        storage::Statement st(arch.conn, "select A1, A2 from SostitutoImposta order by ID limit 1");
        st.step();
        return std::string(st.text(0)) + "/" + std::string(st.text(1));
    };
    const auto conteggiB = [&] { return file().substr(1900 + 393, 16); };
    const std::string domanda =
        "I conteggi del frontespizio (2) non corrispondono ai certificati della fornitura (3): aggiornarli?";
    opz.aggiornaConteggi = nullptr;

    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    r.risposta = false;
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_EQ(r.domande, std::vector<std::string>{domanda});
    EXPECT_EQ(
        r.errori,
        std::vector<std::string>{
            "Nessun file è stato scritto: i conteggi del frontespizio devono corrispondere ai certificati inviati."});
    EXPECT_FALSE(fs::exists(fs::path(opz.cartella) / opz.nomeFile));

    // Part of the list: the file counts what it carries, the archive keeps its count.
    r = Risposte();
    r.risposta = true;
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(r.domande, std::vector<std::string>{domanda});
    EXPECT_EQ(conteggiB(), "0000000300000000");
    EXPECT_EQ(a1(), "2/");

    // The whole list: stored too, and the next run asks nothing.
    opz.tipi = storage::Tipi::tutti();
    r = Risposte();
    r.risposta = true;
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(
        r.domande,
        (std::vector<std::string>{
            "Il file ZF2015.txt esiste già. Lo vuoi sovrascrivere?",
            "I conteggi del frontespizio (2) non corrispondono ai certificati della fornitura (4): aggiornarli?"}));
    EXPECT_EQ(conteggiB(), "0000000400000000");
    EXPECT_EQ(a1(), "4/");
    r = Risposte();
    r.risposta = true;
    ASSERT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(r.domande, std::vector<std::string>{"Il file ZF2015.txt esiste già. Lo vuoi sovrascrivere?"});

    // The caller's answer given in advance: false writes nothing and says nothing.
    arch.inserisci("Professionisti", {{"B01", "CFP"}, {"B02", "PROF"}});
    opz.nomeFile = "PROF.txt";
    std::string detto;
    opz.aggiornaConteggi = [&](const std::string& testo) {
        detto = testo;
        return false;
    };
    r = Risposte();
    EXPECT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_EQ(detto, "I conteggi del frontespizio (0) non corrispondono ai certificati della fornitura (1)");
    EXPECT_TRUE(r.domande.empty());
    EXPECT_TRUE(r.errori.empty());
    opz.aggiornaConteggi = [](const std::string&) { return true; };
    ASSERT_EQ(telematic::GeneraFileProfessionisti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(conteggiB(), "0000000400000001");
    EXPECT_EQ(a1(), "4/1");
}

TEST_F(Generazione, OverwriteQuestion) {
    certificato("ALFA", "DIP");
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    fs::create_directories(opz.cartella);
    std::ofstream(fs::path(opz.cartella) / "ZF2015.txt") << "vecchio";
    std::ofstream(fs::path(opz.cartella) / "Zf2015.log") << "log vecchio";

    r.risposta = false;
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Rifiutato);
    EXPECT_EQ(r.domande, std::vector<std::string>{"Il file ZF2015.txt esiste già. Lo vuoi sovrascrivere?"});
    EXPECT_EQ(r.errori, std::vector<std::string>{"Modificare il nome del file da generare"});
    EXPECT_EQ(file(), "vecchio");
    EXPECT_EQ(log(), "log vecchio");

    r = Risposte();
    r.risposta = true;
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(file().size(), 5u * 1900u);
    EXPECT_EQ(log(), "CFALFA: Campo DB001002 non in (1,2)\r\n");
}

TEST_F(Generazione, TrailingSeparatorIsRemoved) {
    const std::string s(1, storage::kSeparatore);
    opz.cartella += s;
    opz.nomeFile = "ZF2015Prof.txt";
    auto ris = telematic::GeneraFileProfessionisti(arch.conn, opz, r);
    ASSERT_EQ(ris.esito, telematic::Esito::Concluso);
    EXPECT_EQ(ris.cartella + s, opz.cartella);
    EXPECT_EQ(ris.percorsoFile, ris.cartella + s + "ZF2015Prof.txt");
}

TEST_F(Generazione, CancelledRunLeavesTheEarlierFile) {
    struct Annulla : Risposte {
        bool progress(std::size_t, std::size_t) override { return false; }
    } a;
    for (int i = 0; i < 300; ++i) certificato("N" + std::to_string(i), "DIP", {{"C002", "1"}});
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    fs::create_directories(opz.cartella);
    std::ofstream(fs::path(opz.cartella) / "ZF2015.txt") << "vecchio";
    a.risposta = true;
    EXPECT_EQ(telematic::GeneraFileDipendenti(arch.conn, opz, a).esito, telematic::Esito::Annullato);
    EXPECT_EQ(file(), "vecchio");
    EXPECT_FALSE(fs::exists(fs::path(opz.cartella) / "Zf2015.log"));
    EXPECT_EQ(std::distance(fs::directory_iterator(opz.cartella), fs::directory_iterator()), 1);
}

// The caller's last word comes after the overwrite question; a refusal writes nothing.
TEST_F(Generazione, LastWordBeforeWriting) {
    certificato("ALFA", "DIP", {{"C002", "1"}});
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    fs::create_directories(opz.cartella);
    std::ofstream(fs::path(opz.cartella) / "ZF2015.txt") << "vecchio";
    r.risposta = true;
    for (const bool consenso : {false, true}) {
        SCOPED_TRACE(consenso);
        std::vector<std::string> ordine;
        opz.primaDiScrivere = [&] {
            ordine = r.domande;
            return consenso;
        };
        const auto dip = telematic::GeneraFileDipendenti(arch.conn, opz, r);
        const auto pro = telematic::GeneraFileProfessionisti(arch.conn, opz, r);
        EXPECT_EQ(ordine.back(), "Il file ZF2015.txt esiste già. Lo vuoi sovrascrivere?");
        const auto atteso = consenso ? telematic::Esito::Concluso : telematic::Esito::Annullato;
        EXPECT_EQ(dip.esito, atteso);
        EXPECT_EQ(pro.esito, atteso);
        if (!consenso) {
            EXPECT_EQ(file(), "vecchio");
            EXPECT_FALSE(fs::exists(fs::path(opz.cartella) / "Zf2015.log"));
            EXPECT_TRUE(r.errori.empty());
            EXPECT_TRUE(r.info_.empty());
        }
    }
    EXPECT_NE(file(), "vecchio");
}

TEST_F(Generazione, ProfessionalsInIdOrderWithBoxesForReports) {
    auto ins = [&](const std::string& cognome, prova::Valori v) {
        v.push_back({"B02", cognome});
        v.push_back({"B03", "NOME"});
        return arch.inserisci("Professionisti", v);
    };
    ins("UNO", {});
    auto due = ins("DUE", {{"E07", "12345678901234567"}});
    ins("TRE", {});
    arch.conn.exec("delete from Professionisti where B02 = 'TRE'");
    auto quattro = ins("QUATTRO", {{"E03", "S"}});
    arch.conn.exec("delete from Professionisti where B02 = 'UNO'");
    opz.nomeFile = "ZF2015Prof.txt";

    auto ris = telematic::GeneraFileProfessionisti(arch.conn, opz, r);
    ASSERT_EQ(ris.esito, telematic::Esito::Concluso);
    EXPECT_EQ(r.info_, std::vector<std::string>{"Operazione conclusa"});
    EXPECT_EQ(r.errori,
              std::vector<std::string>{"Errore 47812 nei campi non posizionali al dipendente DUE NOME - codice "
                                       "AU001007 - tipo VP - valore 12345678901234567"});
    auto recs = prova::records(file());
    ASSERT_EQ(recs.size(), 7u);
    std::string tipi;
    for (const auto& rec : recs) tipi += rec[0];
    EXPECT_EQ(tipi, "ABDHDHZ");
    EXPECT_EQ(recs[2].substr(41, 5), "0000" + std::to_string(due));
    EXPECT_EQ(recs[4].substr(41, 5), "0000" + std::to_string(quattro));
    EXPECT_EQ(recs[3].substr(89, 25), "AU00100712345678901234567");
    EXPECT_EQ(recs[5].substr(89, 24), "AU001003               1");
    EXPECT_EQ(recs[6].substr(15, 45), "000000001000000000000000002000000000000000002");
    EXPECT_FALSE(fs::exists(fs::path(opz.cartella) / "Zf2015.log"));
}

TEST_F(Generazione, SameRowSameDRecordInBothRuns) {
    prova::Valori v = {{"A01", "01234567890"}, {"A02", "ACME"},       {"B01", "RSSMRA70A01H501U"},
                       {"B02", "ROSSI"},       {"B05", "01/01/1970"}, {"B44", "28/02/2015"}};
    auto idp = arch.inserisci("Professionisti", v);
    auto ide = arch.inserisci("Zefo1", v);
    ASSERT_EQ(idp, ide);
    arch.inserisci("Zefo2", {{"ID", std::to_string(ide)}, {"tipo", "DIP"}});
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    telematic::GeneraFileDipendenti(arch.conn, opz, r);
    std::string dip = prova::records(file())[2];
    opz.nomeFile = "ZF2015Prof.txt";
    telematic::GeneraFileProfessionisti(arch.conn, opz, r);
    EXPECT_EQ(prova::records(file())[2], dip);
}

}  // namespace
