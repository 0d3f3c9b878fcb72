#include <gtest/gtest.h>

#include <functional>

#include "check/controllo.h"
#include "prova_check.h"

namespace {

using check::Gravita;
using check::Origine;
using check::Problema;
using namespace provacheck;

std::vector<Problema> controlla(Archivio& a, check::OpzioniControllo opz = {}) {
    return check::ControllaArchivio(a.conn, opz);
}

// The one problem at a column, expected with its severity and exact text.
void atteso(const std::vector<Problema>& ps, const std::string& colonna, Gravita g, const std::string& testo,
            const std::string& nome) {
    const Problema* p = trova(ps, colonna);
    ASSERT_NE(p, nullptr) << nome << ": nessun problema su " << colonna << "\n" << ::testing::PrintToString(righe(ps));
    EXPECT_EQ(p->gravita, g) << nome;
    EXPECT_EQ(p->testo, testo) << nome;
}

TEST(ControlloArchivio, ArchivioPulitoNonHaProblemi) {
    Archivio a;
    a.sostituto({{"A1", "2"}, {"A2", "1"}});
    a.dipendente(kCfMario, "ROSSI");
    a.dipendente("RSSMRA80A01HRLMS", "ROSSI", {}, {}, "AMM");  // homonymy variant, other kind
    a.inserisci("Professionisti", {{"A01", kCfSostituto},
                                   {"B01", kCfLuca},
                                   {"B02", "BIANCHI"},
                                   {"B03", "LUCA"},
                                   {"E02", "2014"},
                                   {"E04", "1.000,00"}});
    const auto ps = controlla(a);
    EXPECT_TRUE(ps.empty()) << ::testing::PrintToString(righe(ps));
}

struct CasoCodice {
    const char* nome;
    std::function<void(Archivio&)> prepara;
    const char* colonna;
    Origine origine;
    const char* testo;
    bool quadroCt = false;
};

TEST(ControlloArchivio, CodiciFiscaliDiOgniSoggetto) {
    const CasoCodice casi[] = {
        {"sostituto",
         [](Archivio& a) {
             a.sostituto({{"CodiceFiscale", "01234567890"}});
         },
         "CodiceFiscale", Origine::Sostituto,
         "Codice fiscale del sostituto: la cifra di controllo del codice fiscale è errata (attesa 7)."},
        {"firmatario",
         [](Archivio& a) {
             a.sostituto({{"CFRapp", "RSSMRA80A01H501X"}, {"CodCar", "1"}});
         },
         "CFRapp", Origine::Sostituto,
         "Codice fiscale del firmatario: il carattere di controllo del codice fiscale è errato (atteso U)."},
        {"intermediario",
         [](Archivio& a) {
             a.sostituto({{"A4", "RSSMRA80A01H5A1U"}, {"A8", "1"}, {"A5", "01"}, {"A6", "02"}, {"A7", "2015"}});
         },
         "A4", Origine::Sostituto,
         "Codice fiscale dell'intermediario: il codice fiscale ha un carattere non ammesso in posizione 14 (attesa "
         "una cifra o una lettera di omocodia)."},
        {"percipiente",
         [](Archivio& a) {
             a.sostituto();
             a.dipendente("RSSMRA80A01H501X", "ROSSI");
         },
         "B01", Origine::Dipendente,
         "Codice fiscale del percipiente: il carattere di controllo del codice fiscale è errato (atteso U)."},
        {"sostituto nel certificato",
         [](Archivio& a) {
             a.sostituto();
             a.dipendente(kCfMario, "ROSSI", {{"A01", "0123456789"}});
         },
         "A01", Origine::Dipendente,
         "Codice fiscale del sostituto: il codice fiscale deve avere 16 caratteri (persona fisica) o 11 cifre, ne ha "
         "10."},
        {"coniuge",
         [](Archivio& a) {
             a.sostituto();
             a.dipendente(kCfMario, "ROSSI", {}, {{"fam1_4", "vrdgnn75m41f205k"}});
         },
         "fam1_4", Origine::Dipendente, "Codice fiscale del familiare: il codice fiscale contiene lettere minuscole."},
        {"figlio",
         [](Archivio& a) {
             a.sostituto();
             a.dipendente(kCfMario, "ROSSI", {}, {{"fam2_4", "RSSMRA80A32H501C"}});
         },
         "fam2_4", Origine::Dipendente,
         "Codice fiscale del familiare: il codice fiscale ha un giorno di nascita non valido in posizione 10-11."},
        {"altro sostituto punto 305",
         [](Archivio& a) {
             a.sostituto();
             a.dipendente(kCfMario, "ROSSI", {}, {{"c305", "80123456785"}});
         },
         "c305", Origine::Dipendente, "La cifra di controllo del codice fiscale è errata (attesa 4)."},
        {"amministrazione D15",
         [](Archivio& a) {
             a.sostituto();
             a.dipendente(kCfMario, "ROSSI", {}, {{"D15", "80123456785"}});
         },
         "D15", Origine::Dipendente, "La cifra di controllo del codice fiscale è errata (attesa 4)."},
        {"quadro CT",
         [](Archivio& a) {
             a.sostituto({{"A3", "X"}});
             a.dipendente(kCfMario, "ROSSI");
             a.inserisci("QuadroCt", {{"B1", "RSSMRA80Z01H501Q"}});
         },
         "B1", Origine::QuadroCt,
         "Codice fiscale dell'intermediario del Quadro CT: il codice fiscale ha una lettera del mese non valida in "
         "posizione 9.",
         true},
    };
    for (const auto& c : casi) {
        Archivio a;
        c.prepara(a);
        a.conteggi(static_cast<int>(0), 0);
        check::OpzioniControllo opz;
        opz.quadroCt = c.quadroCt;
        opz.professionisti = !c.quadroCt;
        auto ps = controlla(a, opz);
        atteso(ps, c.colonna, Gravita::Errore, c.testo, c.nome);
        if (const Problema* p = trova(ps, c.colonna)) {
            EXPECT_EQ(p->origine, c.origine) << c.nome;
        }
    }
}

struct CasoValore {
    const char* colonna;
    const char* valore;
    bool zefo2;
    Gravita gravita;
    const char* testo;
    const char* campo = nullptr;  // the field code the problem names, where the case checks it
};

// Each wrong box alone on an otherwise clean certificate: its form, and what the encoder would log.
TEST(ControlloArchivio, ValoriDiOgniTipo) {
    const CasoValore casi[] = {
        {"B05", "31/02/1980", false, Gravita::Errore, "La data «31/02/1980» non esiste."},
        {"B05", "1/2/1980", false, Gravita::Errore,
         "Data non valida «1/2/1980»: attesa nella forma GG/MM/AAAA (nel file: errore 47812)."},
        {"c116", "14", false, Gravita::Errore, "Anno non valido «14»: attese quattro cifre (nel file: errore 47812).",
         "DB001116"},
        {"c011", "1.23,00", false, Gravita::Errore,
         "Importo non valido «1.23,00»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)."},
        {"c012", "12345678901234,00", false, Gravita::Errore,
         "Il valore «12345678901234,00» non occupa esattamente i 16 caratteri del campo (nel file: errore 47812)."},
        {"c071", "12a", false, Gravita::Errore, "Numero non valido «12a»: attese solo cifre."},
        {"C006", "1234", false, Gravita::Errore,
         "Numero non valido «1234»: attese al massimo tre cifre (nel file: errore 47156)."},
        {"C006", "400", false, Gravita::Avviso, "Più di 365 giorni «400» in un anno."},
        // Too many digits and too long for the field: the digits are the reason given.
        {"C007", "12345678901234567", false, Gravita::Errore,
         "Numero non valido «12345678901234567»: attese al massimo tre cifre (nel file: errore 47156)."},
        {"c119", "12", false, Gravita::Errore, "Numero non valido «12»: attesa una cifra (nel file: errore 47812)."},
        {"D01", "123456789", true, Gravita::Errore,
         "Numero non valido «123456789»: attese esattamente dieci cifre (nel file: errore 47156)."},
        {"D22", "2O14", true, Gravita::Errore, "Anno non valido «2O14»: attese quattro cifre."},
        {"D23", "-1.000,00", true, Gravita::Errore, "NONE"},
        {"fam1_5", "5", true, Gravita::Errore,
         "Numero non valido «5»: attese due cifre (es. 05) (nel file: errore 47812)."},
        {"fam3_6", "13", true, Gravita::Errore, "Più di 12 mesi «13» in un anno."},
        {"fam4_7", "C", true, Gravita::Errore, "NONE"},
        {"c408", "100,00", true, Gravita::Errore, "NONE"},
        {"D37_1", "32", true, Gravita::Errore,
         "Data INAIL: giorno «32» e mese «» non formano una data valida (attesi GG e MM).", "DC001037"},
        {"fam4_7", "150,00", true, Gravita::Errore, "Percentuale oltre 100 «150,00».", "DB804A07"},
        {"D19", "6002", true, Gravita::Avviso,
         "Il codice «6002» del punto 19 non viene scritto nel file: ammessi 6001 e 6003.", "DC001A19"},
        // Texts the writer reads through the encoder are written with "?" like any other box.
        {"D16", "ŁÓDŹ", true, Gravita::Avviso,
         "Il valore «ŁÓDŹ» contiene caratteri che il file non può rappresentare: saranno scritti come \"?\".",
         "DC001016"},
        {"B04", "X", false, Gravita::Errore, "Il sesso vale M o F, non «X»."},
        {"B02", "ŁUKASZ", false, Gravita::Avviso,
         "Il valore «ŁUKASZ» contiene caratteri che il file non può rappresentare: saranno scritti come \"?\"."},
    };
    for (const auto& c : casi) {
        Archivio a;
        a.sostituto({{"A1", "1"}});
        Valori v = {{c.colonna, c.valore}};
        a.dipendente(kCfMario, "ROSSI", c.zefo2 ? Valori{} : v, c.zefo2 ? v : Valori{});
        const auto ps = controlla(a);
        const std::string nome = std::string(c.colonna) + " = " + c.valore;
        if (std::string(c.testo) == "NONE") {
            EXPECT_TRUE(ps.empty()) << nome << ": " << ::testing::PrintToString(righe(ps));
            continue;
        }
        atteso(ps, c.colonna, c.gravita, c.testo, nome);
        if (c.campo && trova(ps, c.colonna)) {
            EXPECT_EQ(trova(ps, c.colonna)->campo, c.campo) << nome;
        }
        EXPECT_EQ(ps.size(), 1u) << nome << ": " << ::testing::PrintToString(righe(ps));
    }
}

TEST(ControlloArchivio, ControlliDelFileDiLog) {
    struct Caso {
        Valori z1;
        const char* colonna;
        Gravita gravita;
        const char* testo;
    } casi[] = {
        {{{"C008", ""}},
         "C008",
         Gravita::Errore,
         "La data di inizio lavoro (punto 8) è obbligatoria se sono compilati i punti 1 o 4."},
        {{{"C001", ""}, {"C004", "1.000,00"}, {"C008", ""}},
         "C008",
         Gravita::Errore,
         "La data di inizio lavoro (punto 8) è obbligatoria se sono compilati i punti 1 o 4."},
        {{{"C002", "3"}}, "C002", Gravita::Errore, "Il punto 2 vale 1 o 2, non «3»."},
        {{{"C002", ""}},
         "C002",
         Gravita::Errore,
         "Manca il punto 2 (1 tempo indeterminato, 2 determinato), obbligatorio con il punto 1."},
        {{{"C001", ""}, {"C002", ""}},
         "C002",
         Gravita::Avviso,
         "Il punto 2 è vuoto: il file di log lo segnalerà (ammessi 1 o 2)."},
    };
    for (const auto& c : casi) {
        Archivio a;
        a.sostituto();
        a.dipendente(kCfMario, "ROSSI", c.z1);
        a.conteggi(1, 0);  // whatever point 1 holds, the certificate counts in A1
        const auto ps = controlla(a);
        atteso(ps, c.colonna, c.gravita, c.testo, c.testo);
        EXPECT_EQ(ps.size(), 1u) << ::testing::PrintToString(righe(ps));
    }
}

TEST(ControlloArchivio, QuadroCtScartaLaFornitura) {
    const std::string professionisti =
        "Il Quadro CT (record C) non può accompagnare la fornitura dei professionisti, che non ha record G: "
        "l'Agenzia scarta l'intera fornitura.";
    const std::string annullamento =
        "Il Quadro CT (record C) non può accompagnare un annullamento o una sostituzione: l'Agenzia scarta "
        "l'intera fornitura.";
    const std::string senzaG =
        "Il Quadro CT (record C) è richiesto ma la fornitura non ha certificati di dipendenti (nessun record G): "
        "l'Agenzia scarta l'intera fornitura.";
    struct Caso {
        const char* nome;
        Valori sostituto;
        bool dipendenti, professionisti;
        const char* tipo;
        std::string atteso;
    } casi[] = {
        {"professionisti", {}, false, true, "DIP", professionisti},
        {"annullamento", {{"Annullamento", "X"}}, true, false, "DIP", annullamento},
        {"sostituzione", {{"sostituzione", "X"}}, true, false, "DIP", annullamento},
        {"nessun certificato del tipo scelto", {}, true, false, "AMM", senzaG},
        {"dipendenti in regola", {}, true, false, "DIP", ""},
    };
    for (const auto& c : casi) {
        Archivio a;
        Valori s = c.sostituto;
        s.push_back({"A3", "X"});
        s.push_back({"A1", "1"});
        a.sostituto(s);
        a.dipendente(kCfMario, "ROSSI", {}, {}, c.tipo);
        check::OpzioniControllo opz;
        opz.quadroCt = true;
        opz.tipi = storage::Tipi().con(storage::Tipo::DIP, c.dipendenti);
        opz.professionisti = c.professionisti;
        const auto ps = controlla(a, opz);
        std::vector<std::string> errori;
        for (const auto& p : ps)
            if (p.gravita == Gravita::Errore) errori.push_back(p.testo);
        if (c.atteso.empty())
            EXPECT_TRUE(errori.empty()) << c.nome << ::testing::PrintToString(errori);
        else
            EXPECT_EQ(errori, std::vector<std::string>{c.atteso}) << c.nome;
    }
}

// Record B holds fewer characters than the archive: a value that will be cut is a warning.
TEST(ControlloArchivio, TagliDelRecordB) {
    const std::string lungo60(60, 'A');
    const struct {
        const char* nome;
        Valori valori;
        const char* colonna;  // "" = no warning
        std::string testo;
        Gravita gravita = Gravita::Avviso;  // a number cut is another number: an error
    } casi[] = {
        {"denominazione di 60", {{"CognomeDenominazione", lungo60 + "   "}}, "", ""},
        {"denominazione di 61",
         {{"CognomeDenominazione", lungo60 + "è"}},
         "CognomeDenominazione",
         "Il cognome o la denominazione «" + lungo60 +
             "è» ha 61 caratteri: il record B ne contiene 60, i restanti "
             "saranno tagliati."},
        {"telefono unito",
         {{"TelefonoPref", "0039 06"}, {"telefono", "1234567"}},
         "telefono",
         "Il telefono (prefisso e numero) «0039 061234567» ha 14 caratteri: il record B ne contiene 12, i restanti "
         "saranno tagliati."},
        {"firmatario",
         {{"NomeRapp", "MARIA GIOVANNA ANTONIETTA"}},
         "NomeRapp",
         "Il nome del firmatario «MARIA GIOVANNA ANTONIETTA» ha 25 caratteri: il record B ne contiene 20, i restanti "
         "saranno tagliati."},
        {"codice carica di tre cifre",
         {{"CodCar", "123"}},
         "CodCar",
         "Il codice carica del firmatario «123» ha 3 caratteri: il record B ne contiene 2, i restanti saranno "
         "tagliati.",
         Gravita::Errore},
        {"conteggio con i punti delle migliaia", {{"A1", "00.000.000"}}, "", ""},
    };
    for (const auto& c : casi) {
        Archivio a;
        a.sostituto(c.valori);
        const auto ps = controlla(a);
        if (*c.colonna == 0) {
            EXPECT_TRUE(ps.empty()) << c.nome << ::testing::PrintToString(righe(ps));
            continue;
        }
        atteso(ps, c.colonna, c.gravita, c.testo, c.nome);
    }
}

// A1 counts the certificates of a kind, whatever their point 1; A2 the professionals. Both supplies
// carry them in record B, so either check compares them.
TEST(ControlloArchivio, ConteggiDelFrontespizio) {
    const struct {
        const char* nome;
        const char* a1;
        const char* a2;
        bool soloProfessionisti;
        std::vector<std::string> attesi;
    } casi[] = {
        {"giusti", "2", "1", false, {}},
        {"giusti, solo professionisti", "2", "1", true, {}},
        {"sbagliati",
         "5",
         "1a",
         false,
         {"A1 Avviso: Il frontespizio indica 5 certificati di lavoro dipendente, l'archivio ne ha 2.",
          "A2 Errore: Il numero di certificati di lavoro autonomo «1a» contiene caratteri non numerici."}},
        {"la regola del punto 1",
         "1",
         "2",
         true,
         {"A1 Avviso: Il frontespizio indica 1 certificati di lavoro dipendente, l'archivio ne ha 2.",
          "A2 Avviso: Il frontespizio indica 2 certificati di lavoro autonomo, l'archivio ne ha 1."}},
    };
    for (const auto& c : casi) {
        Archivio a;
        a.sostituto({{"A1", c.a1}, {"A2", c.a2}});
        a.dipendente(kCfMario, "ROSSI");
        a.dipendente(kCfGiovanna, "VERDI", {{"C001", ""}, {"C002", "1"}, {"C008", ""}}, {}, "CoC");
        a.inserisci("Zefo1", {{"B01", kCfAnna}, {"B02", "FERRARI"}, {"C001", "1.000,00"}});  // no kind
        a.inserisci("Professionisti", {{"B01", kCfLuca}, {"B02", "BIANCHI"}});
        check::OpzioniControllo opz;
        if (c.soloProfessionisti) opz.tipi = storage::Tipi();
        std::vector<std::string> visti;
        for (const auto& p : controlla(a, opz))
            if (p.colonna == "A1" || p.colonna == "A2")
                visti.push_back(p.colonna + " " + check::TestoGravita(p.gravita) + ": " + p.testo);
        EXPECT_EQ(visti, c.attesi) << c.nome;
    }
}

TEST(ControlloArchivio, CertificatiIncompletiRipetutiESenzaTipo) {
    Archivio a;
    a.sostituto({{"A1", "5"}});
    const auto primo = a.dipendente(kCfMario, "ROSSI");
    const auto doppio = a.dipendente(" rssmra80a01h501u", "ROSSI", {{"B01", kCfMario + " "}});
    const auto altroTipo = a.dipendente(kCfMario, "ROSSI", {}, {}, "CoC");
    const auto senzaNome = a.dipendente(kCfGiovanna, "");
    const auto senzaCf = a.dipendente("", "NERI");
    const auto senzaTipo = a.inserisci("Zefo1", {{"B01", kCfAnna}, {"B02", "FERRARI"}});
    const auto ps = controlla(a);
    auto testo = [&](const char* colonna, std::int64_t id) {
        const Problema* p = trova(ps, colonna, id);
        return p ? check::TestoGravita(p->gravita) + std::string(": ") + p->testo : std::string("nessuno");
    };
    EXPECT_EQ(testo("B01", doppio), "Avviso: Stesso codice fiscale e stesso tipo (DIP) del certificato " +
                                        std::to_string(primo) + ": importazione ripetuta?");
    EXPECT_EQ(testo("B01", altroTipo), "nessuno");
    EXPECT_EQ(testo("B02", senzaNome), "Errore: Manca il cognome del percipiente.");
    EXPECT_EQ(testo("B01", senzaCf), "Errore: Manca il codice fiscale del percipiente.");
    EXPECT_EQ(testo("tipo", senzaTipo),
              "Avviso: Il certificato non ha un tipo DIP, AMM o CoC: non sarà incluso in nessun file.");
    const Problema* p = trova(ps, "B02", senzaNome);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->codiceFiscale, kCfGiovanna);
    EXPECT_EQ(p->origine, Origine::Dipendente);
}

TEST(ControlloArchivio, SoloITipiScelti) {
    Archivio a;
    a.sostituto({{"A1", "2"}});
    a.dipendente(kCfMario, "ROSSI", {{"B05", "99/99/1999"}}, {}, "DIP");
    const auto amm = a.dipendente(kCfGiovanna, "VERDI", {{"B03", "GIOVANNA"}, {"B04", "F"}, {"B05", "99/99/1999"}}, {},
                                  "amm");  // kinds ignore case, as the run's query
    check::OpzioniControllo opz;
    opz.tipi = storage::Tipi().con(storage::Tipo::AMM);
    opz.professionisti = false;
    const auto ps = controlla(a, opz);
    ASSERT_EQ(ps.size(), 1u) << ::testing::PrintToString(righe(ps));
    EXPECT_EQ(ps[0].id, amm);
}

TEST(ControlloArchivio, SezioniPrevidenzialiUlteriori) {
    Archivio a;
    a.sostituto({{"A1", "1"}});
    const auto id = a.dipendente(kCfMario, "ROSSI");
    a.inserisci("Zefo3", {{"Id", std::to_string(id)}, {"D04", "12,5"}});
    a.inserisci("Zefo3", {{"Id", std::to_string(id)}, {"D04", "non controllata"}});
    const auto ps = controlla(a);
    ASSERT_EQ(ps.size(), 2u) << ::testing::PrintToString(righe(ps));
    atteso(ps, "Zefo3.D04", Gravita::Errore,
           "Importo non valido «12,5»: attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56).",
           "D04");
    atteso(ps, "Zefo3", Gravita::Avviso,
           "Il certificato ha 2 sezioni previdenziali ulteriori: nel file va solo la prima.", "Zefo3");
}

TEST(ControlloArchivio, Professionisti) {
    Archivio a;
    a.sostituto({{"A2", "1"}});
    const auto id = a.inserisci(
        "Professionisti",
        {{"A01", kCfSostituto}, {"B01", kCfLuca}, {"B02", "BIANCHI"}, {"E02", "14"}, {"E04", "1000"}, {"E06", "A"}});
    check::OpzioniControllo opz;
    opz.tipi = storage::Tipi();
    const auto ps = controlla(a, opz);
    ASSERT_EQ(ps.size(), 3u) << ::testing::PrintToString(righe(ps));
    for (const auto& p : ps) {
        EXPECT_EQ(p.origine, Origine::Professionista);
        EXPECT_EQ(p.id, id);
        EXPECT_EQ(p.nominativo, "BIANCHI ");
    }
    EXPECT_EQ(ps[0].campo, "AU001002");
    EXPECT_EQ(check::RigaProblema(ps[0]),
              "Errore - Professionista " + std::to_string(id) + " BIANCHI (" + kCfLuca +
                  ") - E02 AU001002: Anno non valido «14»: attese quattro cifre (nel file: errore 47812).");
}

TEST(ControlloArchivio, InterruzioneDallOperatore) {
    Archivio a;
    a.sostituto({{"A1", "300"}});
    a.conn.exec("BEGIN");
    for (int i = 0; i < 300; ++i) a.dipendente(kCfMario, "ROSSI", {{"B05", "x"}});
    a.conn.exec("COMMIT");
    std::size_t chiamate = 0;
    const auto ps = check::ControllaArchivio(a.conn, {}, [&](std::size_t, std::size_t totale) {
        EXPECT_EQ(totale, 300u);
        ++chiamate;
        return false;
    });
    EXPECT_EQ(chiamate, 1u);
    ASSERT_FALSE(ps.empty());
    EXPECT_EQ(ps.back().testo, "Controllo interrotto: l'elenco è incompleto.");
    EXPECT_LT(ps.size(), 300u * 2);
}

}  // namespace
