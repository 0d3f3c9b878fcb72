// What the readers refuse before storing anything: control characters, lines cut inside a
// field, files of another layout; the encodings and line ends they accept.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "import/lettori.h"
#include "import/lettura.h"
#include "prova_import.h"
#include "righe_prova.h"
#include "storage/cp1252.h"
#include "storage/error.h"

namespace {

using Tracciato = storage::Tipo;
using prova::au;
using prova::certificato;
using prova::continuazione;
using prova::professionista;
using V = std::vector<std::string>;

enum class Lettura { Dip, Amm, CoC, Altro, T770_1, T770_2, Finanziaria };
using Tipo = importazione::ErroreLettura::Tipo;

// How a file ends: read, refused for a line (the kind, the line, the field and the column that
// tell what was found), or refused whole with a message (what follows "Il file X ").
struct Esito {
    Esito() = default;
    Esito(Tipo t, std::size_t r, std::string c, std::size_t col = 0)
        : letto(false), tipo(t), riga(r), colonna(col), campo(std::move(c)) {}
    Esito(std::string m) : letto(false), messaggio(std::move(m)) {}  // NOLINT: a table's cells
    bool letto = true;
    std::optional<Tipo> tipo;
    std::size_t riga = 0, colonna = 0;
    std::string campo, messaggio;
};

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
                                              l == Lettura::Dip   ? Tracciato::DIP
                                              : l == Lettura::Amm ? Tracciato::AMM
                                                                  : Tracciato::CoC,
                                              false, dati_, r);
        case Lettura::Altro: return importazione::ImportaAltro(a.conn, in, nome(l), "03", false, dati_, r);
        case Lettura::T770_1:
        case Lettura::T770_2:
            return importazione::Importa770(a.conn, in, nome(l), l == Lettura::T770_1 ? 1 : 2, dati_, r);
        case Lettura::Finanziaria: return importazione::ImportaFinanziaria(a.conn, in, nome(l), false, dati_, r);
        }
        return false;
    }
    // What a refused run must leave as it was: every row of every table.
    V archivio() {
        V v;
        for (const auto& t : a.righe("select name from sqlite_master where type = 'table' "
                                     "order by name")) {
            v.push_back("[" + t[0] + "]");
            for (const auto& riga : a.righe("select * from \"" + t[0] + "\" order by rowid")) {
                std::string r;
                for (const auto& c : riga) r += c + "|";
                v.push_back(r);
            }
        }
        return v;
    }
    void nuovoArchivio() {
        a.conn.close();
        a.conn.open(":memory:");
        a.conn.exec(storage::schemaSql());
        SetUp();
    }

    // One table of cases per reader: a file read with the values its layout gives, or refused
    // whole with its message and the archive as it was.
    struct Lettura1 {
        const char* nome;
        Lettura lettura;
        std::string dati;
        Esito esito = {};      // refused: how; by default read
        std::string sql = {};  // read: the new rows' values
        std::vector<V> attesi = {};
    };
    void leggi(const std::vector<Lettura1>& casi) {
        for (const auto& c : casi) {
            SCOPED_TRACE(c.nome);
            nuovoArchivio();
            r = prova::Reporter();
            const V prima = archivio();
            try {
                EXPECT_TRUE(importa(c.lettura, c.dati));
                EXPECT_TRUE(c.esito.letto) << "accettato";
                if (!c.esito.letto) continue;
                EXPECT_EQ(a.righe(c.sql), c.attesi);
                EXPECT_TRUE(r.errori.empty());
            } catch (const importazione::ErroreLettura& e) {
                EXPECT_FALSE(c.esito.letto) << e.what();
                EXPECT_EQ(e.tipo(), c.esito.tipo) << e.what();
                EXPECT_EQ(e.riga(), c.esito.riga) << e.what();
                EXPECT_EQ(e.campo(), c.esito.campo) << e.what();
                if (c.esito.colonna) {
                    EXPECT_EQ(e.colonna(), c.esito.colonna) << e.what();
                }
                EXPECT_EQ(e.file(), nome(c.lettura));
                EXPECT_EQ(std::string(e.what()).rfind(
                              "File " + std::string(nome(c.lettura)) + ", riga " + std::to_string(e.riga()) + ": ", 0),
                          0u);
                EXPECT_TRUE(r.infos.empty());
                EXPECT_EQ(archivio(), prima);
            } catch (const storage::Error& e) {
                EXPECT_FALSE(c.esito.tipo.has_value()) << e.what();
                EXPECT_EQ(std::string(e.what()), "Il file " + std::string(nome(c.lettura)) + " " + c.esito.messaggio);
                EXPECT_TRUE(r.infos.empty());
                EXPECT_EQ(archivio(), prima);
            }
        }
    }

    prova::Archivio a;
    prova::Reporter r;
    importazione::DatiAggiuntivi dati_{"841110", "001", ""};
};

std::string primi(const std::string& riga, std::size_t n) { return riga.substr(0, n); }
// A payroll line shorter than its layout: the file was cut short, or is of another layout.
Esito corta(std::size_t riga, std::size_t lunga, std::size_t) { return {Tipo::Corta, riga, "", lunga + 1}; }

// A control character at the column of a line, or a value written over its columns.
std::string con(std::string riga, std::size_t colonna, std::string_view testo) {
    if (riga.size() < colonna - 1 + testo.size()) riga.resize(colonna - 1 + testo.size(), ' ');
    riga.replace(colonna - 1, testo.size(), testo);
    return riga;
}
Esito controllo(std::size_t riga, std::size_t colonna, const char* campo) {
    return {Tipo::Controllo, riga, campo, colonna};
}

TEST_F(Forma, FileDellePaghe) {
    const std::string buona = certificato("A", "UNO");
    auto importoTagliato = certificato("B", "DUE");
    importoTagliato.at(462, "0014112,75");
    auto famiglia = certificato("C", "TRE").at(690, "0000100,00");
    prova::famiglia(famiglia, {{"C", "CONIUGE000000001", "12", ""}, {"F1", "FIGLIO0000000001", "12", "50,00"}});
    const std::string file770 = "A              77S15\r\nB80012345678\r\n";
    const std::string utf16SenzaBom = std::string("R\0O\0S\0S\0I\0", 10) + "\r\n";
    const std::string nuovi = "select B02, B03, BFirma from Zefo1 where ID > 1 order by ID";
    const std::string cr = con(buona, 248, "\r");  // a lone CR right after "UNO" in B02
    leggi({
        // Control characters at a text field's ends are removed; in columns not read, ignored.
        {"cognome riempito di NUL",
         Lettura::Dip,
         prova::file({con(buona, 246, std::string(17, '\0'))}),
         {},
         nuovi,
         {{"UNO", "MARIO", "FIRMA DEL SOSTITUTO"}}},
        {"salto pagina dopo il nome e Ctrl-A dopo la firma",
         Lettura::Amm,
         prova::file({con(con(buona, 269, "\f"), 2231, "\x01")}),
         {},
         nuovi,
         {{"UNO", "MARIO", "FIRMA DEL SOSTITUTO"}}},
        {"controllo in colonne non lette",
         Lettura::Dip,
         prova::file({con(buona, 150, std::string("\0\x07", 2)), con(continuazione("0001"), 100, "\x1b")}),
         {},
         "select B02, D23 from Zefo1 join Zefo3 on Zefo3.Id = Zefo1.ID",
         {{"UNO", "500,00"}}},
        {"CR solo in un campo, righe che finiscono con CR LF",
         Lettura::Dip,
         prova::file({cr, certificato("B", "DUE")}),
         {},
         "select B02 from Zefo1 where ID > 1",
         {{"UNO"}, {"DUE"}}},
        {"righe che finiscono con CR solo",
         Lettura::Altro,
         buona + "\r" + certificato("B", "DUE").str() + "\r",
         {},
         "select B02 from Zefo1 where ID > 1",
         {{"UNO"}, {"DUE"}}},
        {"CR solo in una continuazione",
         Lettura::Dip,
         prova::file({buona, con(continuazione("0001"), 50, "\r")}),
         {},
         "select D23 from Zefo3",
         {{"500,00"}}},
        // Control characters that would be stored.
        {"NUL dentro il cognome", Lettura::Dip, prova::file({buona, con(buona, 244, std::string(1, '\0'))}),
         controllo(2, 244, "B02")},
        {"CR solo dentro un valore", Lettura::Dip, prova::file({con(buona, 244, "\r")}), controllo(1, 244, "B02")},
        {"controllo in un importo", Lettura::Dip, prova::file({con(buona, 471, "\x01")}), controllo(1, 471, "C001")},
        {"controllo in una data", Lettura::CoC, prova::file({con(buona, 2289, "\f")}), controllo(1, 2289, "C008")},
        {"controllo in un conteggio", Lettura::Altro, prova::file({con(buona, 486, "\x05")}),
         controllo(1, 486, "C006")},
        {"controllo in un codice convertito", Lettura::Altro, prova::file({con(buona, 1296, "\x02")}),
         controllo(1, 1296, "D02")},
        {"controllo nel familiare, valore grezzo", Lettura::Dip, prova::file({con(famiglia, 1777, "\x01")}),
         controllo(1, 1777, "codice fiscale del familiare 1")},
        {"controllo in un importo della continuazione", Lettura::Dip,
         prova::file({buona, con(continuazione("0001"), 223, "\x07")}), controllo(2, 223, "D23")},
        // Lines shorter than the layout, files of another layout.
        {"UTF-16 senza BOM", Lettura::Altro, utf16SenzaBom, corta(1, 10, 2304)},
        {"tagliata dentro un importo", Lettura::Dip, prova::file({buona, primi(importoTagliato, 466)}),
         corta(2, 466, 2304)},
        {"tagliata dentro un testo", Lettura::Dip, prova::file({primi(buona, 245)}), corta(1, 245, 2304)},
        {"tagliata dentro un familiare", Lettura::Altro, prova::file({primi(famiglia, 1800)}), corta(1, 1800, 2304)},
        {"tagliata dentro una continuazione", Lettura::Dip, prova::file({buona, primi(continuazione("0001"), 218)}),
         corta(2, 218, 300)},
        {"un 770 sul pannello paghe", Lettura::Dip, file770, corta(1, 20, 2304)},
        {"tagliata tra due campi", Lettura::Dip, prova::file({buona, primi(buona, 471)}), corta(2, 471, 2304)},
        {"tagliata su spazi", Lettura::Amm, prova::file({primi(buona, 476)}), corta(1, 476, 2304)},
        {"continuazione tagliata su spazi", Lettura::Dip, prova::file({buona, primi(continuazione("0001"), 299)}),
         corta(2, 299, 300)},
        {"tagliata, in un file che finisce le righe con CR solo", Lettura::Dip,
         primi(buona, 2000) + "\r" + buona + "\r", corta(1, 2000, 2304)},
        {"esportazione finanziaria sul pannello paghe", Lettura::Dip, prova::file({professionista("A", "UNO")}),
         corta(1, 460, 2304)},
        {"esportazione finanziaria sul pannello Altro", Lettura::Altro, prova::file({professionista("A", "UNO")}),
         corta(1, 460, 2304)},
        {"continuazione sul pannello Altro", Lettura::Altro, prova::file({buona, continuazione("0001")}),
         Esito(Tipo::Tracciato, 2, "||||", 1)},
        // Blanks past its layout do not make a continuation a certificate: only a full-length line is one.
        {"continuazione allungata di spazi sul pannello Altro", Lettura::Altro,
         prova::file({buona, continuazione("0001").lunga(2303)}), Esito(Tipo::Tracciato, 2, "||||", 1)},
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
        const Esito esito = c.lettura == Lettura::Finanziaria ? Esito(Tipo::Troncata, 1, c.campo, c.colonna + 4)
                                                              : corta(1, c.colonna + 4, 2304);
        leggi({{c.campo, c.lettura, prova::file({primi(riga, c.colonna + 4)}), esito}});
    }
}

// The sentence each kind of refusal says, built once for every reader.
TEST_F(Forma, MessaggiDeiRifiuti) {
    const std::string buona = certificato("A", "UNO");
    struct {
        Lettura lettura;
        std::string dati;
        const char* messaggio;
    } casi[] = {
        {Lettura::Dip, prova::file({buona, con(buona, 244, std::string(1, '\0'))}),
         "File /tmp/Dati/zefo.43, riga 2: carattere di controllo (0x00) alla colonna 244, nel "
         "campo B02 (colonne 243-262)."},
        {Lettura::Amm, prova::file({primi(buona, 476)}),
         "File /tmp/Dati/zefo.43, riga 1: la riga è lunga 476 colonne, meno delle 2304 del suo "
         "tracciato: il file è tagliato o non è un file delle paghe."},
        {Lettura::Finanziaria, prova::file({primi(professionista("A", "UNO"), 331)}),
         "File A.TXT, riga 1: la riga finisce alla colonna 331, dentro il campo E04 (colonne "
         "327-337), di cui contiene solo «00000»."},
        {Lettura::Finanziaria, prova::file({professionista("A", "UNO").at(71, "15-06-1975")}),
         "File A.TXT, riga 1: non sembra un file della procedura finanziaria: colonne 71-80, "
         "«15-06-1975» invece della data di nascita GG/MM/AAAA (o 00/00/0000)."},
    };
    for (const auto& c : casi) {
        try {
            importa(c.lettura, c.dati);
            ADD_FAILURE() << "accettato: " << c.messaggio;
        } catch (const importazione::ErroreLettura& e) {
            EXPECT_EQ(std::string(e.what()), c.messaggio);
        }
    }
}

TEST_F(Forma, File770) {
    prova::Riga h;
    h.at(1, "H80012345678").at(30, "RSSMRA65B01L219K").at(90, au("AU001002", "ROSSI"));
    prova::Riga h2;  // the same professional in the second layout
    h2.at(1, "H80012345678").at(14, "RSSMRA65B01L219K").at(58, au("AU001002", "ROSSI"));
    // A line longer than a piece of the reader: elements on both sides of the cut, one across it.
    std::string lunga = h2.str() + std::string(24 * 2727, ' ') + au("AU001003", "MARIO") + std::string(24 * 300, ' ') +
                        au("AU001006", "VIA LONTANA");
    const std::string nuovi = "select B01, B02, B03, B06 from Professionisti where ID > 1";
    const std::string nessuno = "non contiene certificati da importare.";
    leggi({
        {"riempitivo non bianco tra gli elementi",
         Lettura::T770_1,
         prova::file({h.str() + "******** riempitivo ****" + au("AU001003", "MARIO\f") + "ROSSI   AU001002        " +
                      au("AU009999",
                         "A\x01"
                         "B")}),
         {},
         nuovi,
         {{"RSSMRA65B01L219K", "ROSSI", "MARIO", "<null>"}}},
        {"righe di titolo che non iniziano con una lettera",
         Lettura::T770_2,
         prova::file({"*** 770 SEMPLIFICATO 2015 ***", " ELENCO", "0001", h2}),
         {},
         nuovi,
         {{"RSSMRA65B01L219K", "ROSSI", "<null>", "<null>"}}},
        // Only a full DDMMYYYY birth date is given its slashes; a shorter one is kept as it is.
        {"data di nascita di sette cifre",
         Lettura::T770_2,
         prova::file({h2.str() + au("AU001005", "1021975")}),
         {},
         "select B05 from Professionisti where ID > 1",
         {{"1021975"}}},
        {"riga più lunga di un pezzo",
         Lettura::T770_2,
         prova::file({lunga}),
         {},
         nuovi,
         {{"RSSMRA65B01L219K", "ROSSI", "MARIO", "VIA LONTANA"}}},
        {"file delle paghe", Lettura::T770_1, prova::file({certificato("A", "UNO")}), nessuno},
        {"PDF", Lettura::T770_2, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n", nessuno},
        {"tracciato 2 letto come 1", Lettura::T770_1, prova::file({"A", h2}),
         Esito(Tipo::Tracciato, 2, "codice fiscale", 30)},
        {"tracciato 1 letto come 2", Lettura::T770_2, prova::file({h}),
         Esito(Tipo::Tracciato, 1, "codice fiscale", 14)},
        {"codice fiscale con segni", Lettura::T770_1, prova::file({prova::Riga(h).at(30, "RSS-MRA")}),
         Esito(Tipo::Tracciato, 1, "codice fiscale", 30)},
        // The shape checks' edges: a line ending on the tax code's last column or on an element's
        // code is whole; one column short of either is cut.
        {"finisce con il codice fiscale",
         Lettura::T770_1,
         prova::file({primi(h.str(), 45)}),
         {},
         nuovi,
         {{"RSSMRA65B01L219K", "<null>", "<null>", "<null>"}}},
        {"ultimo elemento con il solo codice",
         Lettura::T770_2,
         prova::file({h2.str() + "AU001003"}),
         {},
         nuovi,
         {{"RSSMRA65B01L219K", "ROSSI", "", "<null>"}}},
        {"tagliata dentro un codice", Lettura::T770_1, prova::file({h.str() + "AU00"}),
         Esito(Tipo::Troncata, 1, "codice di campo", 117)},
        {"tagliata all'ultimo carattere di un codice", Lettura::T770_1, prova::file({h.str() + "AU00100"}),
         Esito(Tipo::Troncata, 1, "codice di campo", 120)},
        {"tagliata al primo carattere del codice fiscale", Lettura::T770_1, prova::file({primi(h.str(), 30)}),
         Esito(Tipo::Troncata, 1, "codice fiscale", 30)},
        {"codice fiscale bianco", Lettura::T770_2, prova::file({primi(h2.str(), 13) + std::string(20, ' ')}),
         Esito(Tipo::Tracciato, 1, "codice fiscale", 14)},
        {"NUL nel codice fiscale", Lettura::T770_2, prova::file({con(h2, 20, std::string(1, '\0'))}),
         controllo(1, 20, "codice fiscale")},
        {"controllo dentro un valore", Lettura::T770_1, prova::file({h.str() + au("AU001003", "MA\x0bRIO")}),
         controllo(1, 124, "B03")},
        {"controllo dentro un valore oltre un pezzo", Lettura::T770_2, prova::file({lunga + au("AU001007", "M\x01I")}),
         controllo(1, 82 + 24 * 3029 + 9, "B07")},
    });
}

TEST_F(Forma, FileDellaFinanziaria) {
    const std::string buona = professionista("A", "UNO");
    const std::string nuovi = "select B01, B02, B05, E04, E08, E09, B44, A10, BFirma from Professionisti where ID > 1";
    auto letta = [](std::string b01, std::string b05, std::string e04, std::string e09, std::string a10,
                    std::string firma) {
        return std::vector<V>{{b01, "UNO", b05, e04, e04, e09, "28/02/2015", a10, firma}};
    };
    leggi({
        {"data di nascita e ritenuta bianche",
         Lettura::Finanziaria,
         prova::file({con(con(buona, 71, "          "), 339, "           ")}),
         {},
         nuovi,
         letta("A", "", "500,00", "", "691000", "28/02/2015 691000")},
        {"importo senza zeri iniziali",
         Lettura::Finanziaria,
         prova::file({con(con(buona, 327, "   3.200,00"), 339, "     320,50")}),
         {},
         nuovi,
         letta("A", "15/06/1975", "3.200,00", "320,50", "691000", "28/02/2015 691000")},
        {"riga che finisce dentro gli ultimi testi",
         Lettura::Finanziaria,
         prova::file({primi(buona, 449), primi(buona, 440)}),
         {},
         "select B44, A10, BFirma from Professionisti where ID > 1",
         {{"28/02/2015", "6910", "28/02/2015 6910"}, {"28/02/", "841110", "28/02/"}}},
        {"senza codice fiscale, NUL alla fine del codice attività",
         Lettura::Finanziaria,
         prova::file({con(con(buona, 6, std::string(16, ' ')), 451, std::string(1, '\0'))}),
         {},
         nuovi,
         letta("", "15/06/1975", "500,00", "100,00", "69100", "28/02/2015 69100")},
        {"file delle paghe", Lettura::Finanziaria, prova::file({certificato("A", "UNO")}),
         Esito(Tipo::Tracciato, 1, "E04", 327)},
        {"file 770", Lettura::Finanziaria, "A              77S15\r\nB80012345678\r\n",
         Esito(Tipo::Troncata, 1, "B01", 20)},
        {"data senza barre", Lettura::Finanziaria,
         prova::file({buona, professionista("B", "DUE").at(71, "15-06-1975")}), Esito(Tipo::Tracciato, 2, "B05", 71)},
        {"importo senza decimali", Lettura::Finanziaria,
         prova::file({professionista("B", "DUE").at(327, "      500  ")}), Esito(Tipo::Tracciato, 1, "E04", 327)},
        {"importo con i punti fuori posto", Lettura::Finanziaria,
         prova::file({professionista("B", "DUE").at(327, "   32.00,00")}), Esito(Tipo::Tracciato, 1, "E04", 327)},
        {"riga che finisce dentro una ritenuta", Lettura::Finanziaria, prova::file({primi(buona, 345)}),
         Esito(Tipo::Troncata, 1, "E09", 345)},
        {"NUL dentro il cognome", Lettura::Finanziaria, prova::file({con(buona, 24, std::string(1, '\0'))}),
         controllo(1, 24, "B02")},
        {"controllo in un importo", Lettura::Finanziaria, prova::file({con(buona, 337, "\x03")}),
         controllo(1, 337, "E04")},
        {"controllo nella data", Lettura::Finanziaria, prova::file({con(buona, 80, "\x1f")}), controllo(1, 80, "B05")},
    });
}

TEST_F(Forma, FileSenzaCertificatiRifiutati) {
    const std::string nessuno = "non contiene certificati da importare.";
    leggi({
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
    const std::string continuazioneLunga = continuazione("0001").at(214, "0000500,00").at(400, "DATI").str();
    ASSERT_TRUE(importa(Lettura::Dip, prova::file({lunga, continuazioneLunga})));
    EXPECT_EQ(a.righe("select B02, C001 from Zefo1 where ID > 1 order by ID"), (std::vector<V>{{"UNO", "1.000,00"}}));
    EXPECT_EQ(a.righe("select D23 from Zefo3"), (std::vector<V>{{"500,00"}}));
}

// The same certificate written in each encoding: every column in its place.
TEST_F(Forma, CodificheEFineRiga) {
    // Surname with two letters past ASCII, then C001 and B05 further right.
    const std::string utf8 = storage::daWindows1252(
        certificato("RSSMRA70B01F205X", "NICCOL\xD2 D\xC0").at(462, "0030000,00").at(287, "01/02/1970").str());
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
    EXPECT_EQ(a.righe("select B02 from Zefo1 where ID > 1 order by ID"), (std::vector<V>{{"NICCOLÃ’"}, {"CAFÈ"}}));
}

}  // namespace
