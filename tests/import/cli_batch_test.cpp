// The batch command's crea-archivio, genera and controlla: exit status 0 done, 1 refused or
// failed with a message, 2 wrong usage (the message, then the usage text).
#include <fstream>
#include <sstream>

#include "prova_cli.h"

namespace {

using prova::Esito;
using prova::primaRiga;

std::string leggiFile(const prova::fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The record types of a transmission file, in order ("ABDGZ").
std::string tipiRecord(const std::string& file) {
    std::string t;
    for (std::size_t i = 0; i < file.size(); i = file.find('\n', i) + 1) {
        t += file[i];
        if (file.find('\n', i) == std::string::npos) break;
    }
    return t;
}

// A clean agent (its counts right under any counting rule: every certificate has point 1 and no
// professional is in the archive) and three clean certificates, one of each kind; the
// collaborator has a further social-security section.
class Batch : public prova::Comandi {
protected:
    void SetUp() override {
        Comandi::SetUp();
        sql("insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, A1, A2) "
            "values ('01234567897', 'ACME SPA', '3', '0');"
            "insert into Zefo1 (ID, A01, B01, B02, B03, B04, B05, C001, C002, C008, B44) values "
            "(3, '01234567897', 'RSSMRA80A01H501U', 'ROSSI', 'MARIO', 'M', '01/01/1980', '20.000,00', '1', "
            "'01/01/2014', '28/02/2015'),"
            "(5, '01234567897', 'VRDGNN75M41F205K', 'VERDI', 'GIOVANNA', 'F', '01/08/1975', '1.000,00', '2', "
            "'01/01/2014', '28/02/2015'),"
            "(7, '01234567897', 'BNCLCU92T15L219N', 'BIANCHI', 'LUCA', 'M', '15/12/1992', '500,00', '2', "
            "'01/01/2014', '28/02/2015');"
            "insert into Zefo2 (ID, tipo) values (3, 'DIP'), (5, 'AMM'), (7, 'CoC');"
            "insert into Zefo3 (Id, D15, D23, D33) values (7, '80078750587', '100,00', 'X');");
        out = dir / "invio";
    }
    std::string riga(const char* testo) { return std::string(testo) + "\n"; }
    prova::fs::path out;
};

TEST_F(Batch, CreaArchivio) {
    const auto nuova = dir / "nuova" / "sotto";
    const std::string db = (nuova / "Zefo2015.db").string();
    Esito e = cli("crea-archivio " + nuova.string());
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita, "Archivio creato: " + db + "\n");
    {
        storage::Connection c;
        c.open(db);
        storage::Statement st(c, "select count(*) from Zefo1");
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.integer(0), 0);
    }
    EXPECT_FALSE(prova::fs::exists(dir / "config"));  // not configured unless asked

    // An existing archive is refused and left as it was.
    sql("insert into Zefo1 (B02) values ('PRESENTE')");
    e = cli("crea-archivio " + dir.string());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, "Il file " + (dir / "Zefo2015.db").string() + " esiste già: l'archivio non è stato creato.\n");
    EXPECT_EQ(conta("Zefo1"), 4);

    // A folder that cannot be made (a file stands in its way).
    std::ofstream((dir / "unfile").string()) << "x";
    e = cli("crea-archivio " + (dir / "unfile" / "cartella").string());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita.rfind("Impossibile creare la cartella " + (dir / "unfile" / "cartella").string(), 0), 0u)
        << e.uscita;
}

TEST_F(Batch, CreaArchivioEConfigura) {
    const auto nuova = dir / "configurata";
    const std::string ini = (dir / "config" / "ravo" / "zefo2015.ini").string();
    const Esito e = prova::esegui("crea-archivio " + nuova.string() + " --configura",
                                  "XDG_CONFIG_HOME=" + (dir / "config").string() + " ");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita,
              "Archivio creato: " + (nuova / "Zefo2015.db").string() + "\nConfigurazione aggiornata: " + ini + "\n");
    EXPECT_EQ(leggiFile(ini), nuova.string() + "\n");
    // Without --archivio the configured folder is used.
    const Esito c =
        prova::esegui("controlla archivio --tipi DIP", "XDG_CONFIG_HOME=" + (dir / "config").string() + " ");
    EXPECT_EQ(c.stato, 1);
    EXPECT_EQ(c.uscita.substr(c.uscita.rfind("Controllo")), "Controllo terminato: 1 errore, 0 avvisi.\n");
}

TEST_F(Batch, GeneraDipendentiPerTipo) {
    struct Caso {
        const char* tipi;
        const char* record;  // record types of the file
    } casi[] = {
        {"DIP", "ABDGZ"}, {"AMM", "ABDGZ"}, {"CoC", "ABDGGZ"}, {"DIP,AMM,CoC", "ABDGDGDGGZ"}, {"CoC,DIP", "ABDGDGGZ"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.tipi);
        prova::fs::remove_all(out);
        const Esito e = cli("genera dipendenti --aggiorna-conteggi --cartella " + out.string() + " --tipi " + c.tipi);
        EXPECT_EQ(e.stato, 0) << e.uscita;
        EXPECT_EQ(e.uscita, "Operazione conclusa. Controlla il file LOG\n" + (out / "Zf2015.log").string() + "\n");
        const std::string file = leggiFile(out / "ZF2015.txt");
        EXPECT_EQ(tipiRecord(file), c.record);
        EXPECT_EQ(file.size(), std::string(c.record).size() * 1900);
        EXPECT_EQ(leggiFile(out / "Zf2015.log"), "");
    }
}

TEST_F(Batch, GeneraRifiuti) {
    const std::string cartella = "genera dipendenti --cartella " + out.string();
    // No kind: nothing is created.
    Esito e = cli(cartella);
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, "Attenzione, non hai selezionato alcun tipo di fornitura da esportare.\n");
    EXPECT_FALSE(prova::fs::exists(out / "ZF2015.txt"));

    // An existing file is replaced only with --sovrascrivi; the log beside it likewise.
    prova::fs::create_directories(out);
    std::ofstream((out / "ZF2015.txt").string()) << "VECCHIO";
    std::ofstream((out / "Zf2015.log").string()) << "VECCHIO";
    e = cli(cartella + " --tipi DIP");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, "Modificare il nome del file da generare\n");
    EXPECT_EQ(leggiFile(out / "ZF2015.txt"), "VECCHIO");
    EXPECT_EQ(leggiFile(out / "Zf2015.log"), "VECCHIO");
    e = cli(cartella + " --tipi DIP --sovrascrivi --aggiorna-conteggi");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(tipiRecord(leggiFile(out / "ZF2015.txt")), "ABDGZ");
    EXPECT_EQ(leggiFile(out / "Zf2015.log"), "");

    // An empty folder text.
    e = cli("genera professionisti --cartella ''");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, "Indicare la cartella di destinazione\n");

    // No archive in the folder named.
    e = prova::esegui("--archivio " + (dir / "manca").string() + " " + cartella + " --tipi DIP");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, "ATTENZIONE!!!  Non esiste il file db dei dati. Consultare l'assistenza tecnica. " +
                            (dir / "manca" / "Zefo2015.db").string() + "\n");
}

TEST_F(Batch, GeneraProfessionistiConNomeEQuadroCt) {
    sql("insert into Professionisti (A01, B01, B02, B03, E01, E02, E04, E08) values "
        "('01234567897', 'RSSMRA80A01H501U', 'ROSSI', 'MARIO', 'A', '2014', '1.000,00', '1.000,00');"
        "insert into QuadroCt (B1) values ('RSSMRA80A01H501U')");
    Esito e = cli("genera professionisti --aggiorna-conteggi --cartella " + out.string());
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita, "Operazione conclusa\n");
    EXPECT_EQ(tipiRecord(leggiFile(out / "ZF2015Prof.txt")), "ABDHZ");
    EXPECT_FALSE(prova::fs::exists(out / "Zf2015.log"));

    e = cli("genera dipendenti --cartella " + out.string() +
            " --file ALTRO.txt --tipi DIP --quadro-ct --fornitore 10 --aggiorna-conteggi");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    const std::string file = leggiFile(out / "ALTRO.txt");
    EXPECT_EQ(tipiRecord(file), "ABCDGZ");
    EXPECT_FALSE(prova::fs::exists(out / "ZF2015.txt"));
}

TEST_F(Batch, Controlla) {
    // A clean archive: exit 0.
    Esito e = cli("controlla archivio --tipi DIP,AMM,CoC");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita, "Controllo terminato: 0 errori, 0 avvisi.\n");
    ASSERT_EQ(cli("genera dipendenti --cartella " + out.string() + " --tipi DIP,AMM,CoC").stato, 0);
    e = cli("controlla file " + (out / "ZF2015.txt").string());
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita, "Controllo terminato: 0 errori, 0 avvisi.\n");

    // One error: its line, the count, exit 1; a warning alone leaves exit 0.
    sql("update Zefo1 set B04 = 'X' where ID = 5; update Zefo1 set C002 = '' where ID = 7");
    e = cli("controlla archivio --tipi AMM");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita,
              "Errore - Certificato 5 VERDI GIOVANNA (VRDGNN75M41F205K) - B04 DA002004: Il sesso vale M o F, "
              "non «X».\nControllo terminato: 1 errore, 0 avvisi.\n");
    sql("update Zefo1 set B04 = 'F' where ID = 5; update Zefo1 set C001 = '' where ID = 7");
    e = cli("controlla archivio --tipi CoC");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_NE(e.uscita.find("Avviso - Certificato 7 BIANCHI LUCA (BNCLCU92T15L219N) - C002 DB001002: "),
              std::string::npos)
        << e.uscita;

    // A file that is not there.
    e = cli("controlla file " + (dir / "manca.txt").string());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, "Impossibile aprire il file " + (dir / "manca.txt").string() + ".\n");
}

// A number past 99,999: the check names it, the generation refuses, rinumera shows its plan and
// moves it only with --conferma; then the supply goes out with the new number.
TEST_F(Batch, NumeroOltreIlLimiteERinumera) {
    sql("update Zefo1 set ID = 100003 where ID = 3; update Zefo2 set ID = 100003 where ID = 3");
    Esito e = cli("controlla archivio --tipi DIP,AMM,CoC");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(primaRiga(e.uscita),
              "Errore - Certificato 100003 ROSSI MARIO (RSSMRA80A01H501U) - D 42-46: Il numero del certificato 100003 "
              "non rientra nelle cinque cifre del file (da 1 a 99999): il record D porterebbe 10000. Rinumerare i "
              "certificati prima di generare il file.\n");
    e = cli("genera dipendenti --cartella " + out.string() + " --tipi DIP,AMM,CoC");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(
        e.uscita,
        "Nessun file è stato scritto: nel file il numero del certificato ha cinque cifre (da 1 a 99999) e questo "
        "certificato ne ha uno che non vi rientra: il file lo taglierebbe alle prime cifre, ripetendo i numeri di "
        "altri.\nCertificato 100003 (ROSSI MARIO)\nRinumerare i certificati (Importazione dati, «Rinumera i "
        "certificati…», oppure palio2015-cli rinumera --conferma), poi generare di nuovo il file.\n");
    EXPECT_FALSE(prova::fs::exists(out / "ZF2015.txt"));

    const std::string piano =
        "Rinumerare i certificati il cui numero non entra nelle cinque cifre del file (da 1 a 99999)?\n"
        "1 certificato dei dipendenti: 100003 diventa 1.\n"
        "Ogni certificato tiene ciò che è registrato dei suoi invii (file scritto, protocollo, segno per la prossima "
        "fornitura). Prima viene salvata una copia dell'archivio.\n";
    e = cli("rinumera");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita, piano + "Nessun certificato rinumerato: ripetere il comando con --conferma per rinumerare.\n");
    EXPECT_EQ(conta("Zefo1 where ID = 100003"), 1);
    e = cli("rinumera --conferma");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita, piano + "Operazione terminata.\nRinumerato 1 certificato dei dipendenti: 100003 diventa 1.\n");
    EXPECT_EQ(conta("Zefo2 where ID = 1 and tipo = 'DIP'"), 1);

    ASSERT_EQ(cli("genera dipendenti --cartella " + out.string() + " --tipi DIP,AMM,CoC").stato, 0);
    const std::string file = leggiFile(out / "ZF2015.txt");
    EXPECT_EQ(file.substr(2 * 1900 + 25, 21), "RSSMRA80A01H501U00001");
    e = cli("rinumera --conferma");
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.uscita, "Tutti i certificati hanno un numero da 1 a 99999: non c'è nulla da rinumerare.\n");
}

TEST_F(Batch, UsoErrato) {
    struct Caso {
        std::string argomenti;
        std::string messaggio;  // the first line; the usage text follows
    } casi[] = {
        {"", "Uso: palio2015-cli [--archivio CARTELLA] COMANDO [opzioni]"},
        {"boh", "Comando sconosciuto: boh"},
        {"crea-archivio", "crea-archivio vuole una CARTELLA."},
        {"crea-archivio A B", "crea-archivio vuole una CARTELLA."},
        {"crea-archivio A --boh", "Opzione sconosciuta: --boh"},
        {"genera", "genera vuole dipendenti o professionisti."},
        {"genera tutti --cartella X", "genera vuole dipendenti o professionisti, non tutti."},
        {"genera dipendenti --tipi DIP", "genera vuole --cartella DIR."},
        {"genera dipendenti --cartella", "L'opzione --cartella richiede 1 valore."},
        {"genera dipendenti --cartella X --fornitore 02", "--fornitore vale 01 o 10."},
        {"genera dipendenti --cartella X --tipi DIP,XYZ",
         "Tipo di certificato sconosciuto: XYZ (ammessi DIP, AMM, CoC)."},
        {"genera professionisti --cartella X --tipi DIP", "--tipi vale solo per genera dipendenti."},
        {"controlla", "controlla vuole archivio o file."},
        {"controlla boh", "controlla vuole archivio o file, non boh."},
        {"controlla file", "controlla file vuole il nome di un FILE."},
        {"controlla file F --quadro-ct", "controlla file non ha opzioni."},
        {"controlla archivio altro", "controlla archivio non vuole altri argomenti."},
        {"controlla archivio --tipi DOP", "Tipo di certificato sconosciuto: DOP (ammessi DIP, AMM, CoC)."},
    };
    for (const auto& c : casi) {
        const Esito e = cli(c.argomenti);
        EXPECT_EQ(e.stato, 2) << c.argomenti << "\n" << e.uscita;
        EXPECT_EQ(primaRiga(e.uscita), c.messaggio + "\n") << c.argomenti;
        EXPECT_NE(e.uscita.find("Comandi:\n  crea-archivio CARTELLA [--configura]\n"), std::string::npos)
            << c.argomenti;
    }
    EXPECT_FALSE(prova::fs::exists(dir / "X"));
    const Esito aiuto = cli("--help");
    EXPECT_EQ(aiuto.stato, 0);
    EXPECT_EQ(primaRiga(aiuto.uscita), "Uso: palio2015-cli [--archivio CARTELLA] COMANDO [opzioni]\n");
}

// A word for the shell, whatever it holds.
std::string citato(const std::string& t) {
    std::string q = "'";
    for (char c : t) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A destination that is the archive, one of its companions or copies, the folder's lock, or a
// name that leaves the folder or that the system cannot hold: refused before any question (even
// with --sovrascrivi), the archive and its copies byte for byte as they were.
TEST_F(Batch, DestinazioniRiservateRifiutate) {
    ASSERT_EQ(cli("azzera professionisti --conferma").stato, 0);
    const auto copie = prova::fs::directory_iterator(dir / "backup");
    const prova::fs::path copia = copie->path();
    std::ofstream(dir / "Zefo2015.db-wal") << "";
    const std::string db = leggiFile(dir / "Zefo2015.db");
    const std::string salvata = leggiFile(copia);
    const std::string dati = dir.string();
    const std::string occupato = " è l'archivio aperto o un suo file: scegliere un altro nome o un'altra cartella";
    const struct {
        std::string cartella, nome, messaggio;
    } casi[] = {
        {dati, "Zefo2015.db", "Il file Zefo2015.db" + occupato},
        {dati + "/", "Zefo2015.db-wal", "Il file Zefo2015.db-wal" + occupato},
        {dati + "/invio/..", "Zefo2015.db-shm", "Il file Zefo2015.db-shm" + occupato},
        {dati, "Zefo2015.db-journal", "Il file Zefo2015.db-journal" + occupato},
        {dati + "/backup", copia.filename().string(),
         "La cartella " + dati + "/backup contiene le copie di sicurezza dell'archivio: scegliere un'altra cartella"},
        {dati + "/backup", "nuovo.txt",
         "La cartella " + dati + "/backup contiene le copie di sicurezza dell'archivio: scegliere un'altra cartella"},
        {dati, ".palio2015.lock", "Il file .palio2015.lock è riservato al programma: scegliere un altro nome"},
        {dati, "../fuori.txt", "Il nome del file non può contenere separatori di cartella (/ o \\)"},
        {dati, "invio\\ZF.txt", "Il nome del file non può contenere separatori di cartella (/ o \\)"},
        {dati, "..", "Il nome del file non può contenere \"..\""},
        {dati, "ZF2015\n.txt", "Il nome del file contiene caratteri di controllo non ammessi"},
        {dati, "ZF2015\t.txt", "Il nome del file contiene caratteri di controllo non ammessi"},
        {dati, std::string(320, 'a'), "Il nome del file è troppo lungo (al massimo 200 caratteri)"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.cartella + " | " + c.nome);
        for (const char* chi : {"dipendenti --tipi DIP,AMM,CoC", "professionisti"}) {
            const Esito e = cli(std::string("genera ") + chi + " --sovrascrivi --cartella " + citato(c.cartella) +
                                " --file " + citato(c.nome));
            EXPECT_EQ(e.stato, 1);
            EXPECT_EQ(e.uscita, c.messaggio + "\n");
            EXPECT_EQ(leggiFile(dir / "Zefo2015.db"), db);
            EXPECT_EQ(leggiFile(copia), salvata);
        }
    }
    EXPECT_FALSE(prova::fs::exists(dir.parent_path() / "fuori.txt"));
    EXPECT_FALSE(prova::fs::exists(dir / ".palio2015.lock"));
    EXPECT_FALSE(prova::fs::exists(dir / "backup" / "nuovo.txt"));
    EXPECT_EQ(std::distance(prova::fs::directory_iterator(dir / "backup"), prova::fs::directory_iterator()), 1);
}

// A damaged archive opens for nothing, but its copies are listed and one is put in its place
// without opening it; the damaged file is kept beside it.
TEST_F(Batch, ArchivioDanneggiatoRipristinato) {
    ASSERT_EQ(cli("azzera dipendenti --conferma").stato, 0);
    ASSERT_EQ(conta("Zefo1"), 0);
    const std::string rovinato(8192, 'z');
    std::ofstream(dir / "Zefo2015.db", std::ios::binary | std::ios::trunc) << rovinato;
    const std::string danneggiato = "L'archivio " + (dir / "Zefo2015.db").string() +
                                    " è danneggiato o non è un archivio: ripristinarne una copia di sicurezza.";
    Esito e = cli("controlla archivio --tipi DIP");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(primaRiga(e.uscita), danneggiato + "\n");

    e = cli("ripristina --elenco");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    const std::string nome = e.uscita.substr(0, e.uscita.find(' '));
    EXPECT_EQ(nome.rfind("Zefo2015_", 0), 0u) << e.uscita;
    EXPECT_NE(e.uscita.find("_azzera-dipendenti.db  "), std::string::npos) << e.uscita;
    EXPECT_NE(e.uscita.find("  prima dell'eliminazione dei dati dei dipendenti\n"), std::string::npos) << e.uscita;

    e = cli("ripristina " + nome);
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(leggiFile(dir / "Zefo2015.db"), rovinato);

    e = cli("ripristina " + nome + " --conferma");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita.rfind("Archivio ripristinato com'era il ", 0), 0u) << e.uscita;
    EXPECT_NE(e.uscita.find(", prima dell'eliminazione dei dati dei dipendenti.\nIl file che non si apriva è "
                            "conservato come " +
                            (dir / "Zefo2015.db").string() + ".danneggiato-"),
              std::string::npos)
        << e.uscita;
    EXPECT_EQ(conta("Zefo1"), 3);
    std::string conservato;
    for (const auto& f : prova::fs::directory_iterator(dir))
        if (f.path().filename().string().rfind("Zefo2015.db.danneggiato-", 0) == 0) conservato = leggiFile(f.path());
    EXPECT_EQ(conservato, rovinato);
    EXPECT_EQ(cli("controlla archivio --tipi DIP,AMM,CoC").stato, 0);

    // A copy that is not one leaves the archive as it is.
    std::ofstream(dir / "Zefo2015.db", std::ios::binary | std::ios::trunc) << rovinato;
    std::ofstream(dir / "backup" / "finto.db") << "non una copia";
    e = cli("ripristina finto.db --conferma");
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(
        e.uscita.rfind("Il file " + (dir / "backup" / "finto.db").string() + " non è un salvataggio dell'archivio", 0),
        0u)
        << e.uscita;
    EXPECT_EQ(leggiFile(dir / "Zefo2015.db"), rovinato);
}

// A SQLite file that is not an archive is never written, by any command.
TEST_F(Batch, FileNonArchivioMaiScritto) {
    prova::fs::remove(dir / "Zefo2015.db");
    {
        std::ofstream(dir / "Zefo2015.db", std::ios::binary).flush();
        storage::Connection c;
        c.open((dir / "Zefo2015.db").string());  // an empty file opens untouched
        c.exec("create table clienti (nome text); insert into clienti values ('ROSSI')");
    }
    const std::string prima = leggiFile(dir / "Zefo2015.db");
    const std::string rifiuto = "Il file " + (dir / "Zefo2015.db").string() +
                                " non è un archivio di Palio 2015: mancano le tabelle Parametri, SostitutoImposta, "
                                "QuadroCt, Zefo1, Zefo2, Zefo3, Professionisti.\n";
    const std::vector<std::string> comandi = {"controlla archivio",
                                              "controlla archivio --tipi DIP --professionisti --quadro-ct",
                                              "genera dipendenti --tipi DIP --cartella " + out.string(),
                                              "genera professionisti --cartella " + out.string(),
                                              "segna escluso --id 1",
                                              "azzera ente --conferma",
                                              "importa paghe " + esempio("zefo.43") + " --tracciato dip"};
    for (const std::string& comando : comandi) {
        SCOPED_TRACE(comando);
        const Esito e = cli(comando);
        EXPECT_EQ(e.stato, 1);
        EXPECT_EQ(e.uscita, rifiuto);
        EXPECT_EQ(leggiFile(dir / "Zefo2015.db"), prima);
        EXPECT_FALSE(prova::fs::exists(dir / "Zefo2015.db-wal"));
    }
    EXPECT_EQ(cli("ripristina --elenco").uscita, "Nessuna copia dell'archivio.\n");
    EXPECT_FALSE(prova::fs::exists(dir / "backup"));
    EXPECT_FALSE(prova::fs::exists(out));
}

// A whole supply whose frontispiece count differs from what it carries goes out only when told
// to update it.
TEST_F(Batch, ConteggiDelFrontespizio) {
    const std::string genera = "genera dipendenti --cartella " + out.string() + " --tipi DIP";
    Esito e = cli(genera);
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita,
              "I conteggi del frontespizio (3) non corrispondono ai certificati della fornitura (1): nessun "
              "file è stato scritto. Per scriverli aggiornati ripetere il comando con --aggiorna-conteggi.\n");
    EXPECT_FALSE(prova::fs::exists(out / "ZF2015.txt"));
    e = cli(genera + " --aggiorna-conteggi");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(leggiFile(out / "ZF2015.txt").substr(1900 + 393, 16), "0000000100000000");
}

}  // namespace
