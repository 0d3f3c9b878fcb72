#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "archivio.h"
#include "print/selezione.h"

using prova::Archivio;

namespace {

struct Esito {
    int codice;
    QString out, err;
};

Esito cli(const Archivio& a, QStringList argomenti) {
    argomenti.prepend(a.dir.path());
    argomenti.prepend("--archivio");
    QProcess p;
    p.start(PALIO_CLI, argomenti);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(ComandoStampa, CasiDelContratto) {
    Archivio a;
    a.certificato({{"B01", "RSSMRA80A01H501U"}, {"B02", "ROSSI"}}, {{"tipo", "DIP"}, {"MatrDip", "10"}});
    const auto dangelo = a.certificato({{"B02", "D'ANGELO"}}, {{"tipo", "AMM"}, {"MatrDip", "2"}});
    a.inserisci("Zefo3", {{"Id", std::to_string(dangelo)}});
    a.certificato({{"B02", "VERDI"}}, {{"tipo", "CoC"}, {"MatrDip", "3"}});
    a.inserisci("Professionisti", {{"B02", "D'AMICO"}});
    const QString pdf = a.file("out.pdf");

    struct Caso {
        const char* nome;
        QStringList argomenti;
        int codice;
        QString messaggio;  // on stdout (information) or stderr (errors)
        int pagine;         // of out.pdf; -1: no file written
    };
    const std::vector<Caso> casi = {
        {"per cognome",
         {"stampa", "dipendenti", "--pdf", pdf, "--cognome", "A", "Z"},
         0,
         print::kOperazioneEseguita,
         22},
        {"per matricola come testo", {"stampa", "dipendenti", "--pdf", pdf, "--matricola", "1", "2"}, 0, "", 15},
        {"filtro per tipo", {"stampa", "dipendenti", "--pdf", pdf, "--cognome", "A", "Z", "--tipi", "CoC"}, 0, "", 7},
        {"apostrofo", {"stampa", "dipendenti", "--pdf", pdf, "--cognome", "d'angelo", "D'ANGELO"}, 0, "", 8},
        {"per numero", {"stampa", "dipendenti", "--pdf", pdf, "--id", QString::number(dangelo)}, 0, "", 8},
        {"professionisti", {"stampa", "professionisti", "--pdf", pdf, "--cognome", "D'AMICO", "D'AMICO"}, 0, "", 4},
        {"sostituto", {"stampa", "sostituto", "--pdf", pdf}, 0, print::kOperazioneEseguita, 1},
        {"quadro CT", {"stampa", "quadro-ct", "--pdf", pdf}, 0, "", 1},
        {"selezione vuota",
         {"stampa", "dipendenti", "--pdf", pdf, "--matricola", "4", "5"},
         1,
         print::kSelezioneVuota,
         -1},
        {"nessun tipo",
         {"stampa", "dipendenti", "--pdf", pdf, "--cognome", "A", "Z", "--tipi", ""},
         1,
         print::kNessunTipo,
         -1},
        {"certificato inesistente",
         {"stampa", "dipendenti", "--pdf", pdf, "--id", "999"},
         1,
         "Certificato 999 non trovato.",
         -1},
        {"senza selezione", {"stampa", "dipendenti", "--pdf", pdf}, 2, "", -1},
        {"due uscite", {"stampa", "dipendenti", "--pdf", pdf, "--cartella-pdf", a.file("d"), "--id", "1"}, 2, "", -1},
        {"matricola ai professionisti", {"stampa", "professionisti", "--pdf", pdf, "--matricola", "1", "2"}, 2, "", -1},
        {"numero non valido", {"stampa", "dipendenti", "--pdf", pdf, "--id", "x1"}, 2, "", -1},
    };
    for (const auto& c : casi) {
        QFile::remove(pdf);
        const Esito e = cli(a, c.argomenti);
        EXPECT_EQ(e.codice, c.codice) << c.nome << "\n" << e.err.toStdString();
        if (!c.messaggio.isEmpty()) {
            EXPECT_TRUE((e.codice == 0 ? e.out : e.out + e.err).contains(c.messaggio)) << c.nome;
        }
        EXPECT_EQ(QFile::exists(pdf) ? prova::pagine(pdf) : -1, c.pagine) << c.nome;
    }
}

TEST(ComandoStampa, CartellaPdfUnFilePerCertificato) {
    Archivio a;
    const auto rossi =
        a.certificato({{"B01", "RSSMRA80A01H501U"}, {"B02", "Rossi"}}, {{"tipo", "DIP"}, {"MatrDip", "1"}});
    a.certificato({{"B01", "VRDGPP75B12F205X"}, {"B02", "VERDI"}}, {{"tipo", "DIP"}, {"MatrDip", "2"}});
    const QString dir = a.file("per persona");
    const Esito e = cli(a, {"stampa", "dipendenti", "--cartella-pdf", dir, "--matricola", "1", "2"});
    ASSERT_EQ(e.codice, 0) << e.err.toStdString();
    const QStringList file = QDir(dir).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(file, (QStringList{QString("RSSMRA80A01H501U_ROSSI_%1.pdf").arg(rossi),
                                 QString("VRDGPP75B12F205X_VERDI_%1.pdf").arg(rossi + 1)}));
    for (const auto& f : file) EXPECT_EQ(prova::pagine(QDir(dir).filePath(f)), 7);
}
