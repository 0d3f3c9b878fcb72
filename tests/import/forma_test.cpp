// What the readers refuse before storing anything: control characters, lines cut inside a
// field, files of another layout; the encodings and line ends they accept.
#include <gtest/gtest.h>

#include <sstream>

#include "import/lettori.h"
#include "prova_import.h"
#include "righe_prova.h"
#include "storage/cp1252.h"
#include "storage/error.h"

namespace {

using importazione::Tracciato;
using prova::au;
using prova::certificato;
using prova::continuazione;
using prova::professionista;
using V = std::vector<std::string>;

enum class Lettura { Dip, Amm, CoC, Altro, T770_1, T770_2, Finanziaria };

class Forma : public ::testing::Test {
protected:
    void SetUp() override {
        a.conn.exec("insert into Zefo1 (B02) values ('GIÀ PRESENTE')");
        a.conn.exec("insert into Zefo2 (ID, tipo) values (1, 'DIP')");
        a.conn.exec("insert into Professionisti (B02) values ('GIÀ PRESENTE')");
    }
    static const char* nome(Lettura l) {
        return l == Lettura::Altro                            ? "/tmp/Dati/zefo.03"
               : l == Lettura::T770_1 || l == Lettura::T770_2 ? "770Semplificato.txt"
               : l == Lettura::Finanziaria                    ? "A.TXT"
                                                              : "/tmp/Dati/zefo.43";
    }
    bool importa(Lettura l, const std::string& dati) {
        std::istringstream in(dati);
        switch (l) {
            case Lettura::Dip:
            case Lettura::Amm:
            case Lettura::CoC:
                return importazione::ImportaPaghe(a.conn, in, nome(l), "43",
                                                  l == Lettura::Dip   ? Tracciato::Dipendenti
                                                  : l == Lettura::Amm ? Tracciato::Amministratori
                                                                      : Tracciato::CoCoCo,
                                                  false, dati_, r);
            case Lettura::Altro:
                return importazione::ImportaAltro(a.conn, in, nome(l), "03", false, dati_, r);
            case Lettura::T770_1:
            case Lettura::T770_2:
                return importazione::Importa770(a.conn, in, nome(l), l == Lettura::T770_1 ? 1 : 2,
                                                dati_, r);
            case Lettura::Finanziaria:
                return importazione::ImportaFinanziaria(a.conn, in, nome(l), false, dati_, r);
        }
        return false;
    }
    // What a refused run must leave as it was.
    V archivio() {
        V v;
        for (const char* t : {"Zefo1", "Zefo2", "Zefo3", "Professionisti", "SostitutoImposta"})
            v.push_back(std::to_string(a.conta(t)));
        v.push_back(a.valore("select group_concat(B02) from Zefo1"));
        return v;
    }

    struct Caso {
        const char* nome;
        Lettura lettura;
        std::string dati;
        std::string messaggio;  // after "Il file <nome> "
    };
    void rifiuta(const std::vector<Caso>& casi) {
        const V prima = archivio();
        for (const auto& c : casi) {
            SCOPED_TRACE(c.nome);
            r = prova::Reporter();
            try {
                importa(c.lettura, c.dati);
                ADD_FAILURE() << "accettato";
            } catch (const storage::Error& e) {
                EXPECT_EQ(std::string(e.what()),
                          "Il file " + std::string(nome(c.lettura)) + " " + c.messaggio);
            }
            EXPECT_TRUE(r.infos.empty());
            EXPECT_EQ(archivio(), prima);
        }
    }

    prova::Archivio a;
    prova::Reporter r;
    importazione::DatiAggiuntivi dati_{"841110", "001", ""};
};

std::string conNul(std::string riga, std::size_t colonna) {
    riga[colonna - 1] = '\0';
    return riga;
}
std::string primi(const std::string& riga, std::size_t n) { return riga.substr(0, n); }
// A payroll line shorter than its layout: the file was cut short, or is of another layout.
std::string corta(int riga, std::size_t lunga, std::size_t tracciato) {
    return "non può essere importato: la riga " + std::to_string(riga) + " è lunga " +
           std::to_string(lunga) + " colonne, meno delle " + std::to_string(tracciato) +
           " del suo tracciato: il file è tagliato o non è un file delle paghe.";
}

TEST_F(Forma, FileDellePagheRifiutati) {
    const std::string buona = certificato("A", "UNO");
    auto importoTagliato = certificato("B", "DUE");
    importoTagliato.at(462, "0014112,75");
    auto famiglia = certificato("C", "TRE");
    prova::famiglia(
        famiglia, {{"C", "CONIUGE000000001", "12", ""}, {"F1", "FIGLIO0000000001", "12", "50,00"}});
    const std::string file770 = "A              77S15\r\nB80012345678\r\n";
    const std::string utf16SenzaBom = std::string("R\0O\0S\0S\0I\0", 10) + "\r\0\n\0";
    rifiuta({
        {"NUL in una riga", Lettura::Dip, prova::file({buona, conNul(buona, 300)}),
         "non può essere importato: la riga 2 contiene un carattere di controllo alla colonna "
         "300."},
        {"carattere 0x07 in una continuazione", Lettura::Dip,
         prova::file({buona, continuazione("0001").at(100, "\x07")}),
         "non può essere importato: la riga 2 contiene un carattere di controllo alla colonna "
         "100."},
        {"UTF-16 senza BOM", Lettura::Altro, utf16SenzaBom,
         "non può essere importato: la riga 1 contiene un carattere di controllo alla colonna 2."},
        {"tagliata dentro un importo", Lettura::Dip,
         prova::file({buona, primi(importoTagliato, 466)}),
         corta(2, 466, 2304)},
        {"tagliata dentro un testo", Lettura::Dip, prova::file({primi(buona, 245)}),
         corta(1, 245, 2304)},
        {"tagliata dentro un familiare", Lettura::Altro, prova::file({primi(famiglia, 1800)}),
         corta(1, 1800, 2304)},
        {"tagliata dentro una continuazione", Lettura::Dip,
         prova::file({buona, primi(continuazione("0001"), 218)}),
         corta(2, 218, 300)},
        {"un 770 sul pannello paghe", Lettura::Dip, file770,
         corta(1, 20, 2304)},
        {"tagliata tra due campi", Lettura::Dip, prova::file({buona, primi(buona, 471)}),
         corta(2, 471, 2304)},
        {"tagliata su spazi", Lettura::Amm, prova::file({primi(buona, 476)}), corta(1, 476, 2304)},
        {"continuazione tagliata su spazi", Lettura::Dip,
         prova::file({buona, primi(continuazione("0001"), 299)}), corta(2, 299, 300)},
        {"esportazione finanziaria sul pannello paghe", Lettura::Dip,
         prova::file({professionista("A", "UNO")}), corta(1, 460, 2304)},
        {"esportazione finanziaria sul pannello Altro", Lettura::Altro,
         prova::file({professionista("A", "UNO")}), corta(1, 460, 2304)},
        {"continuazione sul pannello Altro", Lettura::Altro,
         prova::file({buona, continuazione("0001")}),
         "non sembra un file delle paghe: riga 2, è una riga di continuazione (||||), che "
         "l'importazione Altro non legge."},
    });
}

TEST_F(Forma, ImportoTagliatoRifiutatoDaOgniLettura) {
    // Each reading refuses a line cut inside an amount it reads: the payroll ones for its length.
    struct {
        Lettura lettura;
        std::size_t colonna;  // first column of the amount
        const char* campo;
    } casi[] = {{Lettura::Dip, 462, "C001"},
                {Lettura::Amm, 473, "C004"},
                {Lettura::CoC, 1354, "D09"},
                {Lettura::Altro, 1300, "D04"},
                {Lettura::Finanziaria, 327, "E04"}};
    for (const auto& c : casi) {
        const std::string riga = c.lettura == Lettura::Finanziaria
                                     ? professionista("A", "UNO").at(c.colonna, "00014112,75").str()
                                     : certificato("A", "UNO").at(c.colonna, "0014112,75").str();
        const std::size_t fine = c.colonna + (c.lettura == Lettura::Finanziaria ? 10 : 9);
        const std::string messaggio =
            c.lettura == Lettura::Finanziaria
                ? "non può essere importato: la riga 1 finisce alla colonna " +
                      std::to_string(c.colonna + 4) + ", dentro il campo " + c.campo +
                      " (colonne " + std::to_string(c.colonna) + "-" + std::to_string(fine) +
                      "), di cui contiene solo «" + riga.substr(c.colonna - 1, 5) + "»."
                : corta(1, c.colonna + 4, 2304);
        rifiuta({{c.campo, c.lettura, prova::file({primi(riga, c.colonna + 4)}), messaggio}});
    }
}

TEST_F(Forma, File770Rifiutati) {
    prova::Riga h;
    h.at(1, "H80012345678").at(30, "RSSMRA65B01L219K").at(90, au("AU001002", "ROSSI"));
    prova::Riga h2;  // the same professional in the second layout
    h2.at(1, "H80012345678").at(14, "RSSMRA65B01L219K").at(58, au("AU001002", "ROSSI"));
    rifiuta({
        {"file delle paghe", Lettura::T770_1, prova::file({certificato("A", "UNO")}),
         "non sembra un file 770 Semplificato: riga 1, colonna 1: «0» non è un tipo di record."},
        {"PDF", Lettura::T770_2, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n",
         "non sembra un file 770 Semplificato: riga 1, colonna 1: «%» non è un tipo di record."},
        {"tracciato 2 letto come 1", Lettura::T770_1, prova::file({"A", h2}),
         "non sembra un file 770 Semplificato: riga 2, colonne 30-45: manca il codice fiscale del "
         "percipiente."},
        {"tracciato 1 letto come 2", Lettura::T770_2, prova::file({h}),
         "non sembra un file 770 Semplificato: riga 1, colonne 14-29: manca il codice fiscale del "
         "percipiente."},
        {"codice fiscale con segni", Lettura::T770_1,
         prova::file({prova::Riga(h).at(30, "RSS-MRA")}),
         "non sembra un file 770 Semplificato: riga 1, colonne 30-45: «RSS-MRA5B01L219K» non è "
         "un codice fiscale."},
        {"elementi fuori posto", Lettura::T770_1,
         prova::file({prova::Riga(h).at(90, "ROSSI   AU001002")}),
         "non sembra un file 770 Semplificato: riga 1, colonne 90-97: «ROSSI   » non è il codice "
         "di un campo (il tracciato scelto è giusto?)."},
        {"tagliata dentro un codice", Lettura::T770_1, prova::file({h.str() + "AU00"}),
         "non può essere importato: la riga 1 finisce alla colonna 117, dentro il campo codice di "
         "campo (colonne 114-121), di cui contiene solo «AU00»."},
        {"NUL", Lettura::T770_2, prova::file({conNul(h2, 40)}),
         "non può essere importato: la riga 1 contiene un carattere di controllo alla colonna 40."},
    });
}

TEST_F(Forma, FileDellaFinanziariaRifiutati) {
    const std::string buona = professionista("A", "UNO");
    rifiuta({
        {"file delle paghe", Lettura::Finanziaria, prova::file({certificato("A", "UNO")}),
         "non sembra un file della procedura finanziaria: riga 1, colonne 71-80: «" +
             std::string(10, ' ') + "» invece della data di nascita GG/MM/AAAA (o 00/00/0000)."},
        {"file 770", Lettura::Finanziaria, "A              77S15\r\nB80012345678\r\n",
         "non può essere importato: la riga 1 finisce alla colonna 20, dentro il campo B01 "
         "(colonne 6-21), di cui contiene solo «" +
             std::string(10, ' ') + "77S15»."},
        {"data senza barre", Lettura::Finanziaria,
         prova::file({buona, professionista("B", "DUE").at(71, "15-06-1975")}),
         "non sembra un file della procedura finanziaria: riga 2, colonne 71-80: «15-06-1975» "
         "invece della data di nascita GG/MM/AAAA (o 00/00/0000)."},
        {"importo senza decimali", Lettura::Finanziaria,
         prova::file({professionista("B", "DUE").at(327, "      500  ")}),
         "non sembra un file della procedura finanziaria: riga 1, colonne 327-337: «      500  » "
         "invece di un importo 00000000,00."},
        {"senza codice fiscale", Lettura::Finanziaria, prova::file({professionista("", "DUE")}),
         "non sembra un file della procedura finanziaria: riga 1, colonne 6-21: manca il codice "
         "fiscale."},
        {"carattere di controllo", Lettura::Finanziaria, prova::file({conNul(buona, 451)}),
         "non può essere importato: la riga 1 contiene un carattere di controllo alla colonna "
         "451."},
    });
}

TEST_F(Forma, FileSenzaCertificatiRifiutati) {
    const std::string nessuno = "non contiene certificati da importare.";
    rifiuta({
        {"vuoto", Lettura::Dip, "", nessuno},
        {"solo righe bianche", Lettura::Altro, "\r\n   \r\n\t\r\n", nessuno},
        {"solo Ctrl-Z", Lettura::Amm, "\x1a", nessuno},
        {"770 senza record H", Lettura::T770_1, "A              77S15\r\nZ\r\n", nessuno},
        {"finanziaria vuota", Lettura::Finanziaria, "\r\n", nessuno},
    });
}

TEST_F(Forma, ColonneOltreIlTracciatoNonLette) {
    // Lines have no length limit: what follows the layout's last column is not read.
    const std::string lunga = certificato("A", "UNO").at(462, "0001000,00").str() + "    X";
    const std::string continuazioneLunga =
        continuazione("0001").at(214, "0000500,00").at(400, "DATI").str();
    ASSERT_TRUE(importa(Lettura::Dip, prova::file({lunga, continuazioneLunga})));
    EXPECT_EQ(a.righe("select B02, C001 from Zefo1 where ID > 1 order by ID"),
              (std::vector<V>{{"UNO", "1.000,00"}}));
    EXPECT_EQ(a.righe("select D23 from Zefo3"), (std::vector<V>{{"500,00"}}));
}

// The same certificate written in each encoding: every column in its place.
TEST_F(Forma, CodificheEFineRiga) {
    // Surname with two letters past ASCII, then C001 and B05 further right.
    const std::string utf8 =
        storage::daWindows1252(certificato("RSSMRA70B01F205X", "NICCOL\xD2 D\xC0")
                                   .at(462, "0030000,00")
                                   .at(287, "01/02/1970")
                                   .str());
    auto utf16 = [](const std::string& testo, bool le) {
        std::string out = le ? "\xFF\xFE" : "\xFE\xFF";
        for (std::size_t i = 0; i < testo.size();) {
            unsigned cp = static_cast<unsigned char>(testo[i]);
            if (cp >= 0xC0) {
                cp = ((cp & 0x1F) << 6) | (static_cast<unsigned char>(testo[i + 1]) & 0x3F);
                i += 2;
            } else {
                ++i;
            }
            const char alto = static_cast<char>(cp >> 8), basso = static_cast<char>(cp & 0xFF);
            out += le ? std::string{basso, alto} : std::string{alto, basso};
        }
        return out;
    };
    const std::string due = prova::file({utf8, utf8});
    struct Caso {
        const char* nome;
        std::string dati;
    } casi[] = {
        {"UTF-8", due},
        {"UTF-8 con BOM", "\xEF\xBB\xBF" + due},
        {"UTF-16 LE", utf16(due, true)},
        {"UTF-16 BE", utf16(due, false)},
        {"CR soli", utf8 + "\r" + utf8 + "\r"},
        {"fine riga mescolate", utf8 + "\r" + utf8 + "\n"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        a.conn.exec("delete from Zefo1 where ID > 1");
        r = prova::Reporter();
        ASSERT_TRUE(importa(Lettura::Dip, c.dati));
        EXPECT_EQ(a.righe("select B02, B03, B05, C001 from Zefo1 where ID > 1"),
                  (std::vector<V>(2, V{"NICCOLÒ DÀ", "MARIO", "01/02/1970", "30.000,00"})));
        EXPECT_TRUE(r.errori.empty());
    }
}

TEST_F(Forma, CaratteriSenzaWindows1252DiventanoPunti) {
    // "Ł" and "€" in UTF-8: the first has no Windows-1252 byte, the second has one.
    std::string riga = storage::daWindows1252(certificato("A", "#UKASZ \x80").str());
    riga.replace(riga.find('#'), 1, "\xC5\x81");
    ASSERT_TRUE(importa(Lettura::Dip, prova::file({riga, certificato("B", "DUE"), riga})));
    EXPECT_EQ(a.righe("select B02 from Zefo1 where ID > 1 order by ID"),
              (std::vector<V>{{"?UKASZ €"}, {"DUE"}, {"?UKASZ €"}}));
    EXPECT_EQ(r.errori, V{"Nel file /tmp/Dati/zefo.43 alcuni caratteri non esistono in "
                          "Windows-1252 e sono stati memorizzati come «?», come li scriverebbe il "
                          "file telematico:\nriga 1: 1 carattere\nriga 3: 1 carattere"});
}

TEST_F(Forma, Windows1252RestaIlPredefinito) {
    // 0xC3 0x92 is "Ã’" in Windows-1252; with one byte that is not UTF-8 the file is not UTF-8.
    const std::string riga = certificato("A", "NICCOL\xC3\x92");
    ASSERT_TRUE(importa(Lettura::Dip, prova::file({riga, certificato("B", "CAF\xC8")})));
    EXPECT_EQ(a.righe("select B02 from Zefo1 where ID > 1 order by ID"),
              (std::vector<V>{{"NICCOLÃ’"}, {"CAFÈ"}}));
}

}  // namespace
