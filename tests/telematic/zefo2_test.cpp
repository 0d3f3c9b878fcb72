// A certificate with more than one Zefo2 row, or several Zefo3 rows, is written from the row with
// the lowest key of each table, whatever order the rows were stored in.
#include <gtest/gtest.h>

#include "archivio_prova.h"
#include "telematic/generazione.h"

namespace {

struct Silenzioso : storage::Reporter {
    std::vector<std::string> errori;
    void info(const std::string&) override {}
    void error(const std::string& t) override { errori.push_back(t); }
    bool ask(const std::string&) override { return false; }
};

TEST(RigheDelCertificato, LaChiavePiuBassaVinceSullOrdineDiInserimento) {
    prova::Archivio a;
    a.inserisci("SostitutoImposta", {{"CodiceFiscale", "01234567890"}, {"A1", "1"}});
    const auto id = a.inserisci("Zefo1", {{"B01", "CFALFA"}, {"B02", "ALFA"}, {"C002", "1"}});
    // Stored later but with the lower key: this is the certificate's row.
    a.inserisci("Zefo2", {{"IdNooo", "9"}, {"ID", std::to_string(id)}, {"tipo", "DIP"}, {"D04", "20,00"}});
    a.inserisci("Zefo2", {{"IdNooo", "4"}, {"ID", std::to_string(id)}, {"tipo", "DIP"}, {"D04", "10,00"}});
    a.inserisci("Zefo3", {{"IDNoooo", "8"}, {"Id", std::to_string(id)}, {"D09", "7,00"}});
    a.inserisci("Zefo3", {{"IDNoooo", "3"}, {"Id", std::to_string(id)}, {"D09", "5,00"}});

    telematic::OpzioniGenerazione opz;
    opz.cartella = (a.dir / "invio").string();
    opz.nomeFile = "ZF2015.txt";
    opz.tipi = storage::Tipi().con(storage::Tipo::DIP);
    Silenzioso r;
    ASSERT_EQ(telematic::GeneraFileDipendenti(a.conn, opz, r).esito, telematic::Esito::Concluso);
    const auto rec = prova::records(prova::leggi(a.dir / "invio" / "ZF2015.txt"));
    ASSERT_EQ(rec.size(), 6u);  // A B D G G Z: one certificate, written once
    EXPECT_EQ(rec[3].substr(89, 48), "DB001002               1DC001004           10,00");
    EXPECT_EQ(rec[4].substr(89, 24), "DC001009            5,00");
    EXPECT_EQ(rec[4].substr(113, 24), std::string(24, ' '));
}

}  // namespace
