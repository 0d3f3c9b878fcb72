// A folder whose name has letters outside ASCII ("Niccolò"): the configuration, an archive, a
// generated supply and its check all reach the same folder. Windows reads a narrow file name in
// the ANSI code page, so a file opened by the UTF-8 bytes would land in "NiccolÃ²" instead.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "prova_check.h"
#include "storage/archivi.h"
#include "storage/config.h"
#include "storage/salvataggi.h"
#include "storage/sistema.h"

namespace {

namespace fs = std::filesystem;

TEST(NomiNonAscii, CartellaNiccolo) {
    const std::string nome = "palio_Niccol\xC3\xB2_" + std::to_string(storage::sistema::idProcesso());
    const std::string cartella = fs::temp_directory_path().string() + storage::kSeparatore + nome;
    // The same name handed to the standard library as UTF-8, whatever the system's code page.
    const fs::path dir = fs::temp_directory_path() / fs::path(std::u8string(nome.begin(), nome.end()));
    fs::remove_all(dir);
    fs::create_directories(storage::sistema::nativo(cartella));
    ASSERT_TRUE(fs::is_directory(dir));

    const std::string ini = cartella + storage::kSeparatore + "zefo2015.ini";
    storage::scriviCartellaDati(ini, cartella);
    EXPECT_TRUE(fs::exists(dir / "zefo2015.ini"));
    EXPECT_EQ(storage::leggiCartellaDati(ini), cartella);

    provacheck::Archivio a;
    a.sostituto();
    a.conteggi(1, 0);
    a.dipendente(provacheck::kCfMario, "ROSSI");
    telematic::OpzioniGenerazione opz;
    opz.cartella = (a.dir / "invio").string();
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi::tutti();
    provacheck::Silenzioso r;
    ASSERT_EQ(telematic::GeneraFileDipendenti(a.conn, opz, r).esito, telematic::Esito::Concluso);
    fs::copy_file(a.dir / "invio" / "ZF2015.txt", dir / "ZF2015.txt");
    EXPECT_NO_THROW(check::ControllaFile(cartella + storage::kSeparatore + "ZF2015.txt"));
    // The generation's own folder work (lock, temporaries, replacement) in that folder too.
    opz.cartella = cartella;
    opz.nomeFile = "ZF2015Bis.txt";
    ASSERT_EQ(telematic::GeneraFileDipendenti(a.conn, opz, r).esito, telematic::Esito::Concluso);
    EXPECT_EQ(fs::file_size(dir / "ZF2015Bis.txt"), fs::file_size(dir / "ZF2015.txt"));
    EXPECT_TRUE(fs::exists(dir / "Zf2015.log"));

    // An archive kept there: created, opened, its safety copies listed, its output folder named.
    const std::string archivio = cartella + storage::kSeparatore + "Archivio";
    storage::Connection conn;
    storage::apriArchivio(conn, storage::creaArchivio(archivio));
    EXPECT_TRUE(fs::exists(dir / "Archivio" / "Zefo2015.db"));
    storage::Salvataggio(conn, "prova").conferma();
    const auto copie = storage::elencoSalvataggi(storage::cartellaSalvataggi(conn));
    ASSERT_EQ(copie.size(), 1u);
    EXPECT_EQ(copie[0].percorso.rfind(archivio + storage::kSeparatore + "backup" + storage::kSeparatore, 0), 0u)
        << copie[0].percorso;
    EXPECT_TRUE(fs::exists(storage::sistema::nativo(copie[0].percorso)));
    EXPECT_EQ(storage::cartellaDiUscita(conn, "FileXInvio"), archivio + storage::kSeparatore + "FileXInvio");
    conn.close();
    fs::remove_all(dir);
}

}  // namespace
