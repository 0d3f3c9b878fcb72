// Where values land on paper: the boxes of page 4 bis, the marks in their boxes, the notes at the
// page foot, the recipient's tax code at the top of every page, the frame of joined boxes. Read
// back from the PDF (pdftotext -bbox) and from its picture (pdftoppm).

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

#include "archivio.h"
#include "forms/pagina.h"
#include "print/certificato.h"
#include "print/pdfcertificati.h"

using prova::Archivio;

namespace {

// A page pixel (1/96 inch from the printable area's corner, 10 mm in) in PDF points.
double inPunti(qreal pixel) { return 10 / 25.4 * 72 + pixel * 0.75; }

struct Parola {
    QString testo;
    double x0, y0, x1, y1;
    double cx() const { return (x0 + x1) / 2; }
    double cy() const { return (y0 + y1) / 2; }
};

std::vector<Parola> parole(const QString& pdf, int pagina) {
    const QString html =
        prova::esegui("pdftotext", {"-bbox", "-f", QString::number(pagina), "-l", QString::number(pagina), pdf, "-"});
    static const QRegularExpression re(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Parola> v;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        v.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4).toDouble()});
    }
    return v;
}

QString testoUnito(const QString& pdf, int pagina) {
    return prova::esegui("pdftotext", {"-raw", "-f", QString::number(pagina), "-l", QString::number(pagina), pdf, "-"})
        .simplified();
}

const prova::Valori kPercipiente = {{"B01", "RSSMRA80A01H501U"}, {"B02", "ROSSINI"}, {"A01", "01234567890"}};

}  // namespace

// Page 4 bis carries every box of the further section the file carries (points 1 to 34), from the
// Zefo3 row: each value prints there and on no other page, and each mark ("Tutti", a month, a
// check box) stands in the middle of its own box.
TEST(Pagina4Bis, OgniCasellaDellaSezioneUlteriore) {
    const std::vector<std::pair<std::string, std::string>> valori = {
        {"D01", "87654321"}, {"D04", "1.004,00"}, {"D05", "1.005,00"}, {"D06", "1.006,00"},    {"D09", "1.009,00"},
        {"D10", "1.010,00"}, {"D11", "1.011,00"}, {"D12", "1.012,00"}, {"D15", "98765432109"}, {"D16", "00042"},
        {"D17", "ABCDEFGH"}, {"D18", "7718"},     {"D19", "7719"},     {"D20", "7720"},        {"D21", "7721"},
        {"D22", "2013"},     {"D23", "1.023,00"}, {"D24", "1.024,00"}, {"D25", "1.025,00"},    {"D26", "1.026,00"},
        {"D27", "1.027,00"}, {"D28", "1.028,00"}, {"D29", "1.029,00"}, {"D30", "1.030,00"},    {"D31", "1.031,00"},
        {"D32", "1.032,00"},
    };
    const std::vector<std::string> segni = {"D02", "D03", "D07", "D08_1", "d08_12", "D13", "D14_6", "D33", "D34_12"};
    Archivio a;
    const auto id = a.certificato(kPercipiente, {{"tipo", "DIP"}});
    prova::Valori z3 = {{"Id", std::to_string(id)}};
    for (const auto& [c, v] : valori) z3[c] = v;
    for (const auto& c : segni) z3[c] = "X";
    a.inserisci("Zefo3", z3);
    const QString pdf = a.file("c.pdf");
    ASSERT_EQ(print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, print::Variante::Editor, pdf).fogli, 8);
    const QStringList t = prova::testi(pdf);
    for (const auto& [c, v] : valori)
        EXPECT_EQ(prova::doveCompare(t, QString::fromStdString(v)), std::vector<int>{5}) << c;

    std::vector<Parola> x;
    for (const auto& p : parole(pdf, 5))
        if (p.testo == "X") x.push_back(p);
    EXPECT_EQ(x.size(), segni.size());
    for (const auto& c : segni) {
        const forms::Campo* campo = forms::CertificatoPagina4bis().campo("Zefo3", QString::fromStdString(c));
        ASSERT_NE(campo, nullptr) << c;
        const QRectF r = campo->rettangolo;
        const double bx = inPunti(r.center().x()), by = inPunti(r.center().y());
        const bool centrato = std::any_of(x.begin(), x.end(), [&](const Parola& p) {
            return std::abs(p.cx() - bx) < 1 && std::abs(p.cy() - by) < 2;
        });
        EXPECT_TRUE(centrato) << c << ": no mark centred at " << bx << "," << by;
    }
}

// A value no box can hold is printed whole at the page foot under the name of its item, which
// says which part of the form it belongs to where point numbers repeat.
TEST(NoteInCalce, NominanoLaCasella) {
    const QString lungo = QString("NONCISTA").repeated(8);  // no break, wider than any of these cells
    struct Caso {
        const char* tabella;
        const char* colonna;
        int pagina;
        const char* nome;
    };
    const std::vector<Caso> casi = {
        {"Zefo1", "A07", 1, "punto 7 (sostituto)"},
        {"Zefo1", "B06", 1, "punto 6 (percipiente)"},
        {"Zefo1", "B30", 1, "punto 30 (rappresentante)"},
        {"Zefo1", "B40", 1, "punto 40 (percipiente estero)"},
        {"Zefo2", "fam3_4", 3, "familiare 3, codice fiscale"},
        {"Zefo2", "D35", 4, "punto 35 (INAIL)"},
    };
    prova::Valori z1 = kPercipiente, z2 = {{"tipo", "DIP"}};
    for (const auto& c : casi) (std::string(c.tabella) == "Zefo1" ? z1 : z2)[c.colonna] = lungo.toStdString();
    Archivio a;
    const auto id = a.certificato(z1, z2);
    const QString pdf = a.file("c.pdf");
    print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, print::Variante::Editor, pdf);
    for (const auto& c : casi) {
        const QString nota = QStringLiteral("segue: %1: %2").arg(QString::fromUtf8(c.nome), lungo);
        EXPECT_TRUE(testoUnito(pdf, c.pagina).contains(nota)) << nota.toStdString();
    }
}

// The recipient's tax code at the top of pages 2 to 5, 4 bis and the back of the per mille sheet
// (page 8 of a certificate with a further section) is one size in one box: the same width and
// height on paper, and on the page descriptions the same rectangle and size.
TEST(CodiceFiscaleInTestata, UnaGrandezzaEUnBoxSuOgniPagina) {
    Archivio a;
    const auto id = a.certificato(kPercipiente, {{"tipo", "DIP"}});
    a.inserisci("Zefo3", {{"Id", std::to_string(id)}});
    for (auto variante : {print::Variante::Editor, print::Variante::Batch}) {
        const QString pdf = a.file("c.pdf");
        print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, variante, pdf);
        std::vector<std::pair<int, Parola>> trovate;
        for (int pagina : {2, 3, 4, 5, 6, 8}) {
            // the top one: page 8 has it once, the others only there
            std::optional<Parola> cima;
            for (const auto& p : parole(pdf, pagina))
                if (p.testo == "RSSMRA80A01H501U" && (!cima || p.y0 < cima->y0)) cima = p;
            ASSERT_TRUE(cima) << pagina;
            trovate.emplace_back(pagina, *cima);
        }
        for (const auto& [pagina, p] : trovate) {
            EXPECT_NEAR(p.x1 - p.x0, trovate[0].second.x1 - trovate[0].second.x0, 0.1) << pagina;
            EXPECT_NEAR(p.y0, trovate[0].second.y0, 0.5) << pagina;
        }
    }
    const forms::Campo* primo = nullptr;
    for (const forms::Pagina* p :
         {&forms::CertificatoPagina2(), &forms::CertificatoPagina3(), &forms::CertificatoPagina4(),
          &forms::CertificatoPagina4bis(), &forms::CertificatoPagina5(), &forms::CertificatoPagina7(),
          &forms::ProfessionistaPagina2()}) {
        const forms::Campo* cf = nullptr;
        for (const auto& c : p->campi)
            if (c.colonna == "B01" && (!cf || c.rettangolo.top() < cf->rettangolo.top())) cf = &c;
        ASSERT_NE(cf, nullptr) << p->nome.toStdString();
        if (!primo) primo = cf;
        EXPECT_EQ(cf->rettangolo, primo->rettangolo) << p->nome.toStdString();
        EXPECT_EQ(cf->puntiFont, forms::kPuntiCodicePercipiente) << p->nome.toStdString();
    }
}

// On the batch print the employer's name spans both name boxes of page 1 under one white ground:
// that ground has a frame of its own, whole along its top and bottom, where the drawing's two
// frames had a gap between the boxes.
TEST(BoxUniti, LaCorniceResta) {
    Archivio a;
    const auto id = a.certificato({{"A02", "COSTRUZIONI ROSSI SRL"}, {"B01", "RSSMRA80A01H501U"}}, {{"tipo", "DIP"}});
    const QString pdf = a.file("b.pdf");
    print::PdfCertificati(a.conn, print::Famiglia::Dipendenti, {id}, print::Variante::Batch, pdf);
    const int dpi = 288;
    prova::esegui("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-gray", "-png", "-singlefile", pdf,
                               a.file("p1")});
    const QImage img(a.file("p1.png"));
    ASSERT_FALSE(img.isNull());
    const auto* pagina = print::ReportDipendenti(print::Variante::Batch).pagine(false).front();
    QRectF box;
    for (const auto& v : pagina->voci())
        if (v.colonna == "A02") box = v.rettangolo;
    ASSERT_FALSE(box.isEmpty());
    const double k = dpi / 72.0;
    const auto scuro = [&](double xPixel, double yPixel) {
        // the frame sits half a page pixel outside the box; look a little around it
        const int x = qRound(inPunti(xPixel) * k), y = qRound(inPunti(yPixel) * k);
        for (int dy = -3; dy <= 3; ++dy)
            if (qGray(img.pixel(x, y + dy)) < 160) return true;
        return false;
    };
    int buchi = 0;
    for (double x = box.left() + 1; x < box.right() - 1; x += 0.5)
        buchi += !scuro(x, box.top() - 0.5) + !scuro(x, box.bottom() + 0.5);
    EXPECT_EQ(buchi, 0);
}
