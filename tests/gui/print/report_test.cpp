#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>

#include "archivio.h"
#include "print/pdfcertificati.h"
#include "storage/error.h"

using prova::Archivio;
using prova::doveCompare;
using prova::Valori;

namespace {

const Valori kDitta = {{"A01", "01234567890"}, {"A02", "COSTRUZIONI ROSSI SRL"}, {"A03", "GIANLUCA"}, {"A04", "ROMA"},
                       {"A05", "RM"},          {"A09", "ufficio@ditta.it"}};

Valori conDitta(Valori v) {
    for (const auto& [k, x] : kDitta) v.emplace(k, x);
    return v;
}

// A certificate with one value only one page prints, for each page.
std::int64_t certificatoCampione(Archivio& a, int righeZefo3) {
    const auto id = a.certificato(
        conDitta({{"B01", "RSSMRA80A01H501U"},
                  {"B02", "ROSSINI"},
                  {"B03", "MARIO"},
                  {"B05", "01/02/1980"},
                  {"B06", "CASTELFRANCO"},
                  {"C001", "25.432,10"}}),
        {{"tipo", "DIP"}, {"MatrDip", "7"}, {"c201", "1.111,11"}, {"D04", "22.222,22"}, {"E04", "6.666,66"}});
    if (righeZefo3 >= 1) a.inserisci("Zefo3", {{"Id", std::to_string(id)}, {"D23", "33.333,33"}, {"D04", "55.555,55"}});
    if (righeZefo3 >= 2) a.inserisci("Zefo3", {{"Id", std::to_string(id)}, {"D23", "44.444,44"}});
    return id;
}

// Left edge (PDF points) of the first word equal to parola on a page.
double xDi(const QString& pdf, int pagina, const QString& parola) {
    const QString html =
        prova::esegui("pdftotext", {"-bbox", "-f", QString::number(pagina), "-l", QString::number(pagina), pdf, "-"});
    QRegularExpression re("<word xMin=\"([0-9.]+)\"[^>]*>" + QRegularExpression::escape(parola) + "</word>");
    auto m = re.match(html);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

// Width (PDF points) of the first word equal to parola on a page, from its bounding box.
double larghezzaDi(const QString& pdf, int pagina, const QString& parola) {
    const QString html =
        prova::esegui("pdftotext", {"-bbox", "-f", QString::number(pagina), "-l", QString::number(pagina), pdf, "-"});
    QRegularExpression re("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>" +
                          QRegularExpression::escape(parola) + "</word>");
    auto m = re.match(html);
    return m.hasMatch() ? m.captured(2).toDouble() - m.captured(1).toDouble() : -1;
}

// The width of a text in Arial at a size, in points.
double larghezzaArial(const QString& testo, qreal punti, bool grassetto = false) {
    QImage img(1, 1, QImage::Format_ARGB32);
    img.setDotsPerMeterX(qRound(72 / 0.0254));
    img.setDotsPerMeterY(qRound(72 / 0.0254));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return QFontMetricsF(f, &img).horizontalAdvance(testo);
}

// A page's text in raw order with every run of blanks and line ends made one blank.
QString testoUnito(const QString& pdf, int pagina) {
    return prova::esegui("pdftotext", {"-raw", "-f", QString::number(pagina), "-l", QString::number(pagina), pdf, "-"})
        .simplified();
}

}  // namespace

// Pages print at their natural size: a value measured in the PDF is as wide as it is in Arial at
// 10 point (page 1), or at 8 (the points of page 2), and a label is no smaller than 6 point.
TEST(ReportCertificato, StampaAGrandezzaNaturale) {
    Archivio a;
    const auto id = certificatoCampione(a, 0);
    const QString pdf = a.file("c.pdf");
    print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, print::Variante::Editor, pdf);
    struct Caso {
        int pagina;
        QString parola;
        qreal punti;
        bool grassetto;
    };
    for (const Caso& c : {Caso{1, "CASTELFRANCO", 10, false}, Caso{1, "ROSSINI", 10, false},
                          Caso{2, "25.432,10", 8, false}, Caso{1, "Denominazione", 6, false}}) {
        const double misurata = larghezzaDi(pdf, c.pagina, c.parola);
        ASSERT_GT(misurata, 0) << c.parola.toStdString();
        EXPECT_NEAR(misurata, larghezzaArial(c.parola, c.punti, c.grassetto), 0.02 * misurata)
            << c.parola.toStdString();
    }
}

// No value is lost: a 95-character employer name (alone in its box on the editor's print, over
// both name boxes on the batch's), a 255-character annotation, a 16-character INAIL code and a
// job title longer than its box appear whole in the PDF's text; a value no box can hold is
// printed whole at the page foot.
TEST(ReportCertificato, NessunValoreTagliato) {
    const QString ditta = QStringLiteral(
        "SOCIETA COOPERATIVA DI PRODUZIONE E LAVORO EDILIZIA ARTIGIANA DEL BASSO FRIULI OCCIDENTALE SRLS");
    QString nota = QStringLiteral("Annotazione");
    for (int i = 1; nota.size() < 255; ++i) nota += QStringLiteral(" parola%1").arg(i);
    nota.truncate(255);
    ASSERT_EQ(ditta.size(), 95);
    const QString estero = QString("CODICEESTERO").repeated(5);  // no break, and longer than its cell
    Archivio a;
    const auto id = a.certificato(conDitta({{"B01", "RSSMRA80A01H501U"},
                                            {"B02", "ROSSINI"},
                                            {"A02", ditta.toStdString()},
                                            {"B40", estero.toStdString()}}),
                                  {{"tipo", "DIP"},
                                   {"des1", nota.toStdString()},
                                   {"D35", "IMPIEGATO TECNICO DI SECONDO LIVELLO"},
                                   {"D36", "1234567890123456"}});
    for (auto variante : {print::Variante::Editor, print::Variante::Batch}) {
        const QString pdf = a.file("c.pdf");
        print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, variante, pdf);
        const QString p1 = testoUnito(pdf, 1), p4 = testoUnito(pdf, 4);
        EXPECT_TRUE(p1.contains(ditta)) << p1.toStdString();
        EXPECT_TRUE(p1.contains("segue: punto 40 (percipiente estero): " + estero)) << p1.toStdString();
        EXPECT_TRUE(p4.contains(nota.simplified())) << p4.toStdString();
        EXPECT_FALSE(p4.contains("segue:")) << p4.toStdString();
        for (const char* v : {"1234567890123456", "IMPIEGATO TECNICO DI SECONDO LIVELLO"})
            EXPECT_TRUE(p4.contains(v)) << v;
    }
}

// Pages, their order, and which values each page shows: a marker value per page, found with
// pdftotext on the pages where it must be and nowhere else.
TEST(ReportCertificato, PagineOrdineEValori) {
    struct Caso {
        int righeZefo3;
        int fogli;
    };
    for (const Caso& c : {Caso{0, 7}, Caso{1, 8}, Caso{2, 8}}) {
        SCOPED_TRACE(c.righeZefo3);
        Archivio a;
        const auto id = certificatoCampione(a, c.righeZefo3);
        const QString pdf = a.file("c.pdf");
        const auto esito =
            print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, print::Variante::Editor, pdf);
        EXPECT_EQ(esito.fogli, c.fogli);
        ASSERT_EQ(prova::pagine(pdf), c.fogli);
        const QStringList t = prova::testi(pdf);
        const bool bis = c.righeZefo3 > 0;
        const int p5 = bis ? 6 : 5, p6 = p5 + 1, p7 = p6 + 1;
        std::vector<int> tutte;
        for (int i = 1; i <= c.fogli; ++i) tutte.push_back(i);
        const std::vector<std::pair<QString, std::vector<int>>> attese = {
            {"RSSMRA80A01H501U", tutte},  // recipient's tax code: page 1 and the top of every other
            {"ufficio@ditta.it", {1}},
            {"GIANLUCA", {1}},
            {"01234567890", {1, p6}},  // the agent's tax code again on the per mille sheet
            {"ROSSINI", {1, p6}},
            {"CASTELFRANCO", {1, p6}},
            {"25.432,10", {2}},
            {"1.111,11", {3}},
            {"22.222,22", {4}},
            {"33.333,33", bis ? std::vector<int>{5} : std::vector<int>{}},
            {"44.444,44", {}},                                              // only the first further section prints
            {"55.555,55", bis ? std::vector<int>{5} : std::vector<int>{}},  // section 1 of the further module
            {"6.666,66", {p5}},
        };
        for (const auto& [valore, pagine] : attese) EXPECT_EQ(doveCompare(t, valore), pagine) << valore.toStdString();
        EXPECT_TRUE(t[p7 - 1].contains("RSSMRA80A01H501U"));
        // the module number, not the archive's; page 4 bis says it is the further section
        std::vector<int> moduli = {2, 3, 4, p5};
        if (bis) moduli.insert(moduli.begin() + 3, 5);
        EXPECT_EQ(doveCompare(t, "Mod. N."), moduli);
        EXPECT_EQ(doveCompare(t, "Certificazione n."), std::vector<int>{});
        EXPECT_EQ(doveCompare(t, "ULTERIORE SEZIONE"), bis ? std::vector<int>{5} : std::vector<int>{});
        EXPECT_EQ(doveCompare(t, "CERTIFICAZIONE UNICA 2015"), tutte);
    }
}

TEST(ReportCertificato, IlBatchUnisceLaDittaESoloIlBatchCentra) {
    Archivio a;
    const auto id =
        a.certificato(conDitta({{"B01", "RSS123"}, {"B02", "ROSSINI"}, {"B05", "1980"}}), {{"tipo", "DIP"}});
    const QString editor = a.file("e.pdf"), batch = a.file("b.pdf");
    print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, print::Variante::Editor, editor);
    print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, print::Variante::Batch, batch);
    EXPECT_TRUE(prova::testi(editor)[0].contains("GIANLUCA"));
    EXPECT_FALSE(prova::testi(batch)[0].contains("GIANLUCA"));
    EXPECT_TRUE(prova::testi(batch)[0].contains("COSTRUZIONI ROSSI SRL"));
    // Page 2's tax code and page 6's birth date: left on the editor's print, centred on the batch
    // (short values, so that the two places differ clearly).
    for (auto [pagina, parola] : {std::pair{2, "RSS123"}, std::pair{6, "1980"}}) {
        const double xe = xDi(editor, pagina, parola), xb = xDi(batch, pagina, parola);
        ASSERT_GT(xe, 0) << parola;
        EXPECT_GT(xb, xe + 5) << parola;
    }
}

TEST(ReportProfessionista, QuattroFogliEImportiADestraNelBatch) {
    Archivio a;
    const auto id = a.inserisci("Professionisti", conDitta({{"B01", "BNCLGU70C03L219K"},
                                                            {"B02", "BIANCHINI"},
                                                            {"B05", "1970"},
                                                            {"E04", "10.000,00"},
                                                            {"E09", "7,00"}}));
    const QString editor = a.file("e.pdf"), batch = a.file("b.pdf");
    print::PdfCertificati(a.conn, print::Famiglia::Professionisti, {id}, print::Variante::Editor, editor);
    print::PdfCertificati(a.conn, print::Famiglia::Professionisti, {id}, print::Variante::Batch, batch);
    ASSERT_EQ(prova::pagine(editor), 4);
    const QStringList t = prova::testi(editor);
    EXPECT_EQ(doveCompare(t, "BNCLGU70C03L219K"), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(doveCompare(t, "01234567890"), (std::vector<int>{1, 3}));
    EXPECT_EQ(doveCompare(t, "BIANCHINI"), (std::vector<int>{1, 3}));
    EXPECT_EQ(doveCompare(t, "10.000,00"), (std::vector<int>{2}));
    EXPECT_EQ(doveCompare(t, "GIANLUCA"), (std::vector<int>{1}));
    for (auto [pagina, parola] : {std::pair{2, "10.000,00"}, std::pair{2, "7,00"}, std::pair{3, "1970"}}) {
        const double xe = xDi(editor, pagina, parola), xb = xDi(batch, pagina, parola);
        ASSERT_GT(xe, 0) << parola;
        EXPECT_GT(xb, xe + 5) << parola;
    }
}

TEST(ReportSostituto, FrontespizioEQuadroCT) {
    Archivio a;
    a.inserisci("SostitutoImposta", {{"CodiceFiscale", "01234567890"},
                                     {"CognomeDenominazione", "ALFA SPA"},
                                     {"email", "alfa@example.it"},
                                     {"A1", "12"},
                                     {"CFRapp", "BNCMRA60A01H501Q"}});
    a.inserisci("SostitutoImposta", {{"CodiceFiscale", "99999999999"}});  // not the first row
    a.inserisci("QuadroCt", {{"NumCellulare", "3331234567"}, {"B1", "RSSMRA80A01H501U"}, {"B4", "int@studio.it"}});
    const QString s = a.file("s.pdf"), q = a.file("q.pdf");
    EXPECT_EQ(print::SalvaPdf(print::LavoroSostituto(a.conn), s).fogli, 1);
    EXPECT_EQ(print::SalvaPdf(print::LavoroQuadroCT(a.conn), q).fogli, 1);
    const QString ts = prova::testi(s).value(0), tq = prova::testi(q).value(0);
    EXPECT_EQ(ts.count("01234567890"), 2);  // the page header and the agent's data
    for (const char* v : {"ALFA SPA", "alfa@example.it", "BNCMRA60A01H501Q"}) EXPECT_TRUE(ts.contains(v)) << v;
    EXPECT_FALSE(ts.contains("99999999999"));
    for (const char* v : {"01234567890", "alfa@example.it", "3331234567", "RSSMRA80A01H501U", "int@studio.it"})
        EXPECT_TRUE(tq.contains(v)) << v;
    EXPECT_FALSE(tq.contains("CSO")) << "the window's note is not for paper";
}

// The agent's tax code in the page header is printed larger (12 point) than with its data (10).
TEST(ReportSostituto, CodiceFiscaleDellIntestazionePiuGrande) {
    Archivio a;
    a.inserisci("SostitutoImposta", {{"CodiceFiscale", "01234567890"}});
    const QString s = a.file("s.pdf");
    ASSERT_EQ(print::SalvaPdf(print::LavoroSostituto(a.conn), s).fogli, 1);
    // pdftotext -bbox: one <word xMin yMin xMax yMax>text</word> per word.
    const QString html = prova::esegui("pdftotext", {"-bbox", s, "-"});
    static const QRegularExpression parola(
        R"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">01234567890</word>)re");
    std::vector<std::pair<double, double>> dove;  // top and height of each occurrence
    for (auto it = parola.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        dove.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble() - m.captured(1).toDouble());
    }
    ASSERT_EQ(dove.size(), 2u) << html.toStdString();
    std::sort(dove.begin(), dove.end());
    EXPECT_NEAR(dove[0].second / dove[1].second, 12.0 / 10.0, 0.05);
}

TEST(ReportSostituto, TabelleVuoteStampanoLaPaginaVuota) {
    Archivio a;
    EXPECT_EQ(print::SalvaPdf(print::LavoroSostituto(a.conn), a.file("s.pdf")).fogli, 1);
    EXPECT_EQ(print::SalvaPdf(print::LavoroQuadroCT(a.conn), a.file("q.pdf")).fogli, 1);
    EXPECT_EQ(prova::pagine(a.file("q.pdf")), 1);
}

namespace {
class FermaDopo : public storage::Reporter {
public:
    explicit FermaDopo(std::size_t n) : n_(n) {}
    void info(const std::string&) override {}
    void error(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
    bool progress(std::size_t fatti, std::size_t) override { return fatti < n_; }

private:
    std::size_t n_;
};
}  // namespace

TEST(PdfCertificati, AnnullareFermaDopoIlCertificatoInCorso) {
    Archivio a;
    std::vector<std::int64_t> ids;
    for (int i = 0; i < 3; ++i) ids.push_back(certificatoCampione(a, 0));
    FermaDopo ferma(1);
    const auto esito = print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, ids, print::Variante::Batch,
                                             a.file("c.pdf"), &ferma);
    EXPECT_FALSE(esito.completo);
    EXPECT_EQ(esito.fogli, 7);
    EXPECT_EQ(prova::pagine(a.file("c.pdf")), 7);
}

TEST(PdfCertificati, UnFileCheNonSiPuoScrivereNonLasciaNulla) {
    Archivio a;
    const QString dentroNulla = a.file("manca/c.pdf");
    EXPECT_THROW(print::SalvaPdf([](print::Pittore&) { return true; }, dentroNulla), storage::Error);
    EXPECT_FALSE(QFile::exists(dentroNulla));

    // A job that fails half-way leaves the earlier file as it was.
    const QString vecchio = a.file("v.pdf");
    {
        QFile f(vecchio);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precedente");
    }
    const auto id = certificatoCampione(a, 0);
    auto fallisce = [&](print::Pittore& p) {
        print::LavoroCertificati(a.conn, {id}, print::Variante::Batch)(p);
        throw storage::Error("errore del database");
        return true;
    };
    EXPECT_THROW(print::SalvaPdf(fallisce, vecchio), storage::Error);
    QFile f(vecchio);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("precedente"));
}

TEST(PdfPerCertificato, UnFilePerCertificatoConNomeDaCodiceCognomeENumero) {
    struct Caso {
        std::string cf, cognome;
        std::int64_t id;
        QString nome;
    };
    for (const Caso& c :
         {Caso{"RSSMRA80A01H501U", "Rossi", 12, "RSSMRA80A01H501U_ROSSI_12.pdf"},
          Caso{"DNGLCU80A41H501X", "D'Angelo", 3, "DNGLCU80A41H501X_D_ANGELO_3.pdf"}, Caso{"", "", 4, "4.pdf"},
          Caso{"AB/CD", " De  Luca / Bianchi ", 5, "AB_CD_DE_LUCA_BIANCHI_5.pdf"}, Caso{"..", "../..", 6, "6.pdf"}})
        EXPECT_EQ(print::NomeFilePdf(c.cf, c.cognome, c.id), c.nome) << c.cognome;

    Archivio a;
    const auto uno = certificatoCampione(a, 1);
    const auto due = a.certificato({{"B01", "VRDGPP75B12F205X"}, {"B02", "VERDI"}}, {{"tipo", "AMM"}});
    const QString cartella = a.file("pdf/sotto");
    const auto esito =
        print::PdfPerCertificato(a.conn, print::Famiglia::Dipendenti, {uno, due}, print::Variante::Batch, cartella);
    ASSERT_EQ(esito.file.size(), 2u);
    EXPECT_TRUE(esito.file[0].endsWith(QString("RSSMRA80A01H501U_ROSSINI_%1.pdf").arg(uno)));
    EXPECT_EQ(prova::pagine(esito.file[0]), 8);
    EXPECT_EQ(prova::pagine(esito.file[1]), 7);

    try {
        print::PdfPerCertificato(a.conn, print::Famiglia::Dipendenti, {uno}, print::Variante::Batch, "  ");
        ADD_FAILURE();
    } catch (const storage::Error& e) {
        EXPECT_STREQ(e.what(), print::kIndicareCartella);
    }
    QFile intralcio(a.file("file"));
    ASSERT_TRUE(intralcio.open(QIODevice::WriteOnly));
    intralcio.close();
    EXPECT_THROW(print::PdfPerCertificato(a.conn, print::Famiglia::Dipendenti, {uno}, print::Variante::Batch,
                                          a.file("file/sotto")),
                 storage::Error);
}
