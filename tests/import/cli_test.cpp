// The batch command's importa and azzera, run as a script would run them.
#include "prova_cli.h"

namespace {

using prova::Comandi;
using prova::esegui;
using prova::Esito;
namespace fs = std::filesystem;

TEST_F(Comandi, ImportaGliEsempi) {
    struct Caso {
        std::string file, opzioni;
        const char* tabella;
        long long righe;        // rows of the table after the command
        const char* importati;  // the summary's counts
    } casi[] = {
        {esempio("zefo.43"), "paghe @ --tracciato dip --sostituto", "Zefo1", 4,
         "Importati 4 certificati (1 riga aggiuntiva)"},
        {esempio("amministratori.43"), "paghe @ --tracciato amm", "Zefo1", 5,
         "Importato 1 certificato (0 righe aggiuntive)"},
        {esempio("collaboratori.43"), "paghe @ --tracciato coc", "Zefo1", 6,
         "Importato 1 certificato (0 righe aggiuntive)"},
        // The same file again: only with --ancora.
        {esempio("collaboratori.43"), "altro @ --codice-sede 002 --ancora", "Zefo1", 7,
         "Importato 1 certificato (0 righe aggiuntive)"},
        {esempio("770-tracciato1.txt"), "770 @ --tracciato 1", "Professionisti", 2, "Importati 2 certificati"},
        {esempio("770-tracciato2.txt"), "770 @ --tracciato 2", "Professionisti", 4, "Importati 2 certificati"},
        {esempio("finanziaria.txt"), "finanziaria @ --da-cu-dipendenti", "Professionisti", 7,
         "Importati 3 certificati"},
    };
    for (const auto& c : casi) {
        std::string argomenti = "importa " + c.opzioni;
        argomenti.replace(argomenti.find('@'), 1, c.file);
        const Esito e = esegui(archivio + argomenti);
        EXPECT_EQ(e.stato, 0) << argomenti << "\n" << e.uscita;
        EXPECT_EQ(e.uscita, "Operazione terminata.\n" + std::string(c.importati) + " dal file " + c.file + ".\n")
            << argomenti;
        EXPECT_EQ(conta(c.tabella), c.righe) << argomenti;
    }
    EXPECT_EQ(conta("Zefo3"), 1);
    EXPECT_EQ(conta("SostitutoImposta"), 1);
    EXPECT_EQ(conta("Importazioni"), 7);
}

TEST_F(Comandi, RifiutiEUsoErrato) {
    struct Caso {
        std::string argomenti;
        int stato;
        std::string inizioUscita;
    } casi[] = {
        {"importa paghe " + esempio("zefo.43"), 1,
         "Non è stato indicato il tipo di tracciato da utilizzare per l'import.\n"},
        {"importa paghe " + (dir / "manca.43").string() + " --tracciato dip", 1,
         "Il file " + (dir / "manca.43").string() + " non esiste. Non è possibile eseguire l'import.\n"},
        {"importa altro " + esempio("genera.py").substr(0, esempio("genera.py").size() - 3) + "xx", 1, "Il file "},
        {"importa paghe " + esempio("zefo.43") + " --tracciato xyz", 2, "Tracciato sconosciuto"},
        {"importa 770 " + esempio("770-tracciato1.txt"), 2, "importa 770 vuole --tracciato"},
        {"importa boh FILE", 2, "Importazione sconosciuta"},
        {"azzera dipendenti", 1, "Nessun dato eliminato"},
        {"azzera tutto --conferma", 2, "Archivio sconosciuto"},
    };
    for (const auto& c : casi) {
        const Esito e = esegui(archivio + c.argomenti);
        EXPECT_EQ(e.stato, c.stato) << c.argomenti << "\n" << e.uscita;
        EXPECT_EQ(e.uscita.substr(0, c.inizioUscita.size()), c.inizioUscita) << c.argomenti;
    }
    EXPECT_EQ(conta("Zefo1"), 0);
}

TEST_F(Comandi, AzzeraConConferma) {
    ASSERT_EQ(esegui(archivio + "importa paghe " + esempio("zefo.43") + " --tracciato dip").stato, 0);
    ASSERT_EQ(esegui(archivio + "importa finanziaria " + esempio("finanziaria.txt")).stato, 0);
    EXPECT_EQ(esegui(archivio + "azzera dipendenti").stato, 1);
    EXPECT_EQ(conta("Zefo1"), 4);
    const Esito e = esegui(archivio + "azzera dipendenti --conferma");
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.uscita,
              "Operazione terminata.\nEliminati 4 certificati dei dipendenti con 1 riga "
              "aggiuntiva (9 righe in tutto).\n");
    EXPECT_EQ(conta("Zefo1") + conta("Zefo2") + conta("Zefo3"), 0);
    EXPECT_EQ(conta("Professionisti"), 3);
    EXPECT_EQ(esegui(archivio + "azzera professionisti --conferma").stato, 0);
    EXPECT_EQ(conta("Professionisti"), 0);
}

// An archive on a folder that cannot be written: what only reads works, what writes says why not.
TEST_F(Comandi, ArchivioInSolaLettura) {
    ASSERT_EQ(esegui(archivio + "importa paghe " + esempio("zefo.43") + " --tracciato dip --sostituto").stato, 0);
    {
        storage::Connection c;
        c.open((dir / "Zefo2015.db").string());
        c.exec("PRAGMA journal_mode=DELETE");
    }
    const fs::path archivioDir = dir / "archivio";
    fs::create_directories(archivioDir);
    fs::rename(dir / "Zefo2015.db", archivioDir / "Zefo2015.db");
    fs::permissions(archivioDir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string sola = "--archivio " + archivioDir.string() + " ";
    const Esito controllo = esegui(sola + "controlla archivio");
    EXPECT_NE(controllo.uscita.find("Controllo terminato:"), std::string::npos) << controllo.uscita;
    // The batch program built without windows has no stampa.
    const Esito stampa = esegui(sola + "stampa sostituto --pdf " + (dir / "s.pdf").string());
    if (stampa.uscita.rfind("Comando sconosciuto", 0) != 0) {
        EXPECT_EQ(stampa.stato, 0) << stampa.uscita;
    }
    // The file is written; the sending cannot be recorded, and the final message says so.
    const Esito genera =
        esegui(sola + "genera dipendenti --tipi DIP --aggiorna-conteggi --cartella " + (dir / "invio").string());
    EXPECT_EQ(genera.stato, 0) << genera.uscita;
    EXPECT_EQ(genera.uscita, "Operazione conclusa. Controlla il file LOG\n" + (dir / "invio" / "Zf2015.log").string() +
                                 "\nl'invio non è stato registrato: l'archivio è in sola lettura\n");
    EXPECT_TRUE(fs::exists(dir / "invio" / "ZF2015.txt"));
    const Esito importa = esegui(sola + "importa paghe " + esempio("zefo.43") + " --tracciato dip");
    EXPECT_EQ(importa.stato, 1);
    EXPECT_EQ(importa.uscita, "L'archivio " + (archivioDir / "Zefo2015.db").string() +
                                  " è in sola lettura: la cartella " + archivioDir.string() +
                                  " non consente la scrittura.\n");
    fs::permissions(archivioDir, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(std::distance(fs::directory_iterator(archivioDir), fs::directory_iterator()), 1);
}

}  // namespace

namespace {

TEST_F(Comandi, StessoFileSoloConAncoraERipristino) {
    const std::string importa = archivio + "importa paghe " + esempio("zefo.43") + " --tracciato dip";
    ASSERT_EQ(esegui(importa).stato, 0);
    Esito e = esegui(importa);
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.uscita.rfind("Il file " + esempio("zefo.43") + " è già stato importato il ", 0), 0u) << e.uscita;
    EXPECT_NE(e.uscita.find(". Importarlo di nuovo?\nNessun dato importato: ripetere il comando "
                            "con --ancora per importarlo di nuovo.\n"),
              std::string::npos)
        << e.uscita;
    EXPECT_EQ(conta("Zefo1"), 4);

    e = esegui(archivio + "ripristina --elenco");
    EXPECT_EQ(e.stato, 0);
    ASSERT_NE(e.uscita.find("  prima dell'importazione delle paghe (Dipendenti / LPU - LSU)\n"), std::string::npos)
        << e.uscita;
    const std::string copia = e.uscita.substr(0, e.uscita.find(' '));
    EXPECT_EQ(esegui(archivio + "ripristina " + copia).stato, 1);
    EXPECT_EQ(conta("Zefo1"), 4);
    e = esegui(archivio + "ripristina " + copia + " --conferma");
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(e.uscita.rfind("Archivio ripristinato com'era il ", 0), 0u) << e.uscita;
    EXPECT_EQ(conta("Zefo1"), 0);
    EXPECT_EQ(esegui(archivio + "ripristina nessuna.db --conferma").uscita, "Il salvataggio nessuna.db non esiste.\n");
}

}  // namespace

namespace {

// The correction commands' wrong usage (exit 2) and refusals (exit 1): nothing is marked or written.
TEST_F(Comandi, CorrezioniUsoErratoERifiuti) {
    const std::string manca = (dir / "manca.txt").string(), out = (dir / "out").string();
    struct Caso {
        std::string argomenti;
        int stato;
        std::string inizioUscita;
    } casi[] = {
        {"segna rettifica --id 1", 2,
         "Operazione sconosciuta: rettifica (ammesse sostituzione, annullamento, nessuna, escluso)."},
        {"segna sostituzione", 2, "segna vuole --id N[,N...] oppure --elenco FILE."},
        {"segna sostituzione --id 1,x", 2, "--id: Numero di certificato non valido: \"x\"."},
        {"segna sostituzione --id 1 --elenco " + manca, 2, "Indicare --id oppure --elenco, non entrambi."},
        {"segna escluso --elenco " + manca, 1, "Impossibile leggere il file " + manca + "."},
        {"segna annullamento --id 1", 1,
         "Non esiste il certificato 1 tra i dipendenti: nessun segno è stato cambiato."},
        {"genera dipendenti --cartella " + out + " --fornitura rettifica", 2,
         "Tipo di fornitura sconosciuto: rettifica (ammessi ordinaria, sostituzione, annullamento)."},
        {"genera professionisti --cartella " + out + " --fornitura sostituzione --id 1", 2,
         "--id e --elenco valgono solo per una fornitura ordinaria"},
        {"genera dipendenti --cartella " + out + " --id 7 --tipi DIP", 1, "Il certificato scelto 7 non esiste."},
        {"controlla archivio --fornitura boh", 2, "Tipo di fornitura sconosciuto: boh"},
        {"controlla file " + manca + " --fornitura sostituzione", 2, "controlla file non ha opzioni."},
        {"controlla archivio --id 1", 2, "--id e --elenco valgono per una sola fornitura"},

        {"importa ricevute", 2, "importa ricevute vuole un FILE da importare."},
        {"importa ricevute " + manca + " --dipendenti --professionisti", 2,
         "importa ricevute vuole --dipendenti oppure"},
        {"importa ricevute " + manca, 1,
         "Il file " + manca + " non esiste o non si può leggere: nessuna ricevuta importata."},
    };
    for (const auto& c : casi) {
        const Esito e = esegui(archivio + c.argomenti);
        EXPECT_EQ(e.stato, c.stato) << c.argomenti << "\n" << e.uscita;
        EXPECT_EQ(e.uscita.substr(0, c.inizioUscita.size()), c.inizioUscita) << c.argomenti;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(conta("Invii"), 0);
}

}  // namespace
