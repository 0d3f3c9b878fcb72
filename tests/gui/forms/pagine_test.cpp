#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <map>
#include <set>

#include "forms/pagina.h"
#include "forms/valori.h"
#include "storage/connection.h"
#include "storage/dataset.h"
#include "storage/elenchi.h"

namespace {

using forms::Campo;
using forms::Pagina;
using Colonne = std::set<QString>;

QString n3(const char* prefisso, int i) { return QStringLiteral("%1%2").arg(prefisso).arg(i, 3, 10, QLatin1Char('0')); }
QString n2(const char* prefisso, int i) { return QStringLiteral("%1%2").arg(prefisso).arg(i, 2, 10, QLatin1Char('0')); }

void intervallo(Colonne& c, const char* prefisso, int da, int a, bool tre = true) {
    for (int i = da; i <= a; ++i) c.insert((tre ? n3(prefisso, i) : n2(prefisso, i)).toLower());
}

void aggiungi(Colonne& c, std::initializer_list<const char*> nomi) {
    for (const char* n : nomi) c.insert(QString::fromLatin1(n).toLower());
}

Colonne anagrafica() {
    Colonne c;
    intervallo(c, "A", 1, 11, false);
    intervallo(c, "B", 1, 10, false);
    intervallo(c, "B", 20, 25, false);
    intervallo(c, "B", 40, 44, false);
    aggiungi(c, {"B30", "BFirma"});
    return c;
}

Colonne fiscali() {
    Colonne c;
    intervallo(c, "c", 1, 10);
    aggiungi(c, {"c011", "c012", "c016", "c017", "c019", "c020", "c021", "c023", "c024", "c166", "c184", "c186", "c191",
                 "c192"});
    for (auto [da, a] : std::vector<std::pair<int, int>>{
             {31, 38}, {51, 58}, {61, 68}, {71, 82}, {101, 121}, {141, 153}, {161, 164}, {171, 175}})
        intervallo(c, "c", da, a);
    return c;
}

Colonne pagina3() {
    Colonne c;
    for (auto [da, a] : std::vector<std::pair<int, int>>{{201, 205},
                                                         {221, 223},
                                                         {241, 246},
                                                         {261, 264},
                                                         {301, 305},
                                                         {308, 317},
                                                         {323, 324},
                                                         {326, 331},
                                                         {401, 413}})
        intervallo(c, "c", da, a);
    aggiungi(c, {"fam1_1", "fam1_4", "fam1_5", "fam2_1", "fam10_1"});
    for (int col = 3; col <= 8; ++col) c.insert(QStringLiteral("fam2_%1").arg(col));
    for (int r = 3; r <= 9; ++r)
        for (int col = 1; col <= 8; ++col) c.insert(QStringLiteral("fam%1_%2").arg(r).arg(col));
    return c;
}

Colonne previdenziali(bool conInail) {
    Colonne c;
    intervallo(c, "D", 1, 7, false);
    intervallo(c, "D", 9, 13, false);
    intervallo(c, "D", 15, 33, false);
    for (int m = 1; m <= 12; ++m) {
        c.insert(QStringLiteral("d08_%1").arg(m));
        c.insert(QStringLiteral("d14_%1").arg(m));
        c.insert(QStringLiteral("d34_%1").arg(m));
    }
    if (conInail) {
        aggiungi(c, {"D35", "D36", "D37_1", "D37_2", "D38_1", "D38_2", "D39", "D40", "des1", "des2", "des3", "des4"});
    }
    return c;
}

Colonne autonomo() {
    Colonne c;
    intervallo(c, "E", 1, 23, false);
    return c;
}

// The columns a page lets the operator edit, by table; a column twice on a page is an error.
std::map<QString, Colonne> modificabili(const Pagina& p, std::vector<QString>* doppie = nullptr) {
    std::map<QString, Colonne> r;
    for (const Campo& c : p.campi) {
        if (c.solaLettura) continue;
        if (!r[c.tabella.toLower()].insert(c.colonna.toLower()).second && doppie)
            doppie->push_back(p.nome + ": " + c.tabella + "." + c.colonna);
    }
    return r;
}

struct Atteso {
    const char* nome;
    const Pagina& (*pagina)();
    std::map<QString, Colonne> colonne;
};

std::vector<Atteso> attese() {
    Colonne sostituto;
    aggiungi(sostituto, {"Annullamento",
                         "sostituzione",
                         "CodiceFiscale",
                         "CognomeDenominazione",
                         "Nome",
                         "TelefonoPref",
                         "telefono",
                         "email",
                         "CFRapp",
                         "CodCar",
                         "CodEnte",
                         "CognomeRapp",
                         "NomeRapp",
                         "A1",
                         "A2",
                         "A3",
                         "A4",
                         "A8",
                         "A5",
                         "A6",
                         "A7"});
    Colonne ct, ctSostituto;
    aggiungi(ct, {"NumCellulare", "B5", "B6", "B1", "B2", "B3", "B4"});
    aggiungi(ctSostituto, {"CodiceFiscale", "email"});
    Colonne scelta, retro;
    aggiungi(scelta, {"A01", "B01", "B02", "B03", "B04", "B05", "B06", "B07"});
    aggiungi(retro, {"B01"});
    return {
        {"frontespizio", &forms::Frontespizio, {{"sostitutoimposta", sostituto}}},
        {"quadro CT", &forms::PaginaQuadroCT, {{"quadroct", ct}, {"sostitutoimposta", ctSostituto}}},
        {"pagina 1", &forms::CertificatoPagina1, {{"zefo1", anagrafica()}}},
        {"pagina 2", &forms::CertificatoPagina2, {{"zefo1", fiscali()}}},
        {"pagina 3", &forms::CertificatoPagina3, {{"zefo2", pagina3()}}},
        {"pagina 4", &forms::CertificatoPagina4, {{"zefo2", previdenziali(true)}}},
        {"pagina 4 bis", &forms::CertificatoPagina4bis, {{"zefo3", previdenziali(false)}}},
        {"pagina 5", &forms::CertificatoPagina5, {{"zefo2", autonomo()}}},
        {"pagina 6", &forms::CertificatoPagina6, {{"zefo1", scelta}}},
        {"pagina 7", &forms::CertificatoPagina7, {{"zefo1", retro}}},
        {"professionista 1", &forms::ProfessionistaPagina1, {{"professionisti", anagrafica()}}},
        {"professionista 2", &forms::ProfessionistaPagina2, {{"professionisti", autonomo()}}},
    };
}

TEST(Pagine, OgniPaginaMostraEsattamenteLeSueColonne) {
    for (const auto& a : attese()) {
        std::vector<QString> doppie;
        const auto trovate = modificabili(a.pagina(), &doppie);
        EXPECT_TRUE(doppie.empty()) << a.nome << ": " << doppie.front().toStdString();
        for (const auto& [tabella, colonne] : a.colonne) {
            const Colonne vuoto;
            const Colonne& t = trovate.count(tabella) ? trovate.at(tabella) : vuoto;
            for (const auto& c : colonne)
                EXPECT_TRUE(t.count(c)) << a.nome << ": manca " << tabella.toStdString() << "." << c.toStdString();
            for (const auto& c : t)
                EXPECT_TRUE(colonne.count(c))
                    << a.nome << ": in più " << tabella.toStdString() << "." << c.toStdString();
        }
        for (const auto& [tabella, colonne] : trovate)
            EXPECT_TRUE(a.colonne.count(tabella)) << a.nome << ": tabella inattesa " << tabella.toStdString();
    }
}

TEST(Pagine, OgniColonnaDelCertificatoStaSuUnaSolaPagina) {
    std::map<std::pair<QString, QString>, QString> dove;
    for (const Pagina* p : forms::PagineCertificato())
        for (const auto& [tabella, colonne] : modificabili(*p))
            for (const auto& c : colonne) {
                auto [it, nuova] = dove.emplace(std::make_pair(tabella, c), p->nome);
                EXPECT_TRUE(nuova) << tabella.toStdString() << "." << c.toStdString() << " su "
                                   << it->second.toStdString() << " e su " << p->nome.toStdString();
            }
    EXPECT_EQ(forms::PagineCertificato().size(), 6u);
}

TEST(Pagine, OgniColonnaEsisteNellArchivio) {
    namespace fs = std::filesystem;
    const std::string percorso =
        (fs::temp_directory_path() / ("palio_forms_" + std::to_string(::getpid()) + ".db")).string();
    fs::remove(percorso);
    storage::Connection::crea(percorso);
    storage::Connection conn;
    conn.open(percorso);
    std::map<QString, std::unique_ptr<storage::Dataset>> tabelle;
    for (const auto& a : attese())
        for (const Campo& c : a.pagina().campi) {
            if (c.tabella == forms::kTabellaCalcolata) continue;
            auto& ds = tabelle[c.tabella.toLower()];
            if (!ds) {
                ds = std::make_unique<storage::Dataset>(conn);
                const auto t = storage::TabellaDelNome(c.tabella.toStdString());
                ASSERT_TRUE(t) << c.tabella.toStdString();
                ds->open(storage::TutteLeRighe(*t));
            }
            EXPECT_GE(ds->columns().indexOf(c.colonna.toStdString()), 0)
                << a.nome << ": " << c.tabella.toStdString() << "." << c.colonna.toStdString();
        }
    tabelle.clear();
    conn.close();
    fs::remove(percorso);
}

TEST(Pagine, CampiDentroLaPaginaESenzaSovrapposizioni) {
    for (const auto& a : attese()) {
        const Pagina& p = a.pagina();
        const QRectF foglio(QPointF(0, 0), p.dimensione);
        // the printable area of A4 inside 10 mm margins (190 x 277 mm at 96 dpi): pages print at scale 1
        EXPECT_EQ(p.dimensione, QSizeF(718, 1046)) << a.nome;
        EXPECT_LE(p.fondo, p.dimensione.height() - 12) << a.nome << ": no room for notes at the foot";
        for (std::size_t i = 0; i < p.campi.size(); ++i) {
            const Campo& c = p.campi[i];
            EXPECT_TRUE(foglio.contains(c.rettangolo)) << a.nome << ": " << c.colonna.toStdString();
            EXPECT_GE(c.rettangolo.height(), 12) << a.nome << ": " << c.colonna.toStdString();
            EXPECT_GE(c.rettangolo.width(), 12) << a.nome << ": " << c.colonna.toStdString();
            for (std::size_t j = i + 1; j < p.campi.size(); ++j) {
                const QRectF x = c.rettangolo.intersected(p.campi[j].rettangolo);
                EXPECT_TRUE(x.isEmpty()) << a.nome << ": " << c.colonna.toStdString() << " copre "
                                         << p.campi[j].colonna.toStdString();
            }
        }
    }
}

// Codes of a fixed width (tax codes, dates, INAIL codes) fit their boxes at their natural size:
// no row squeezes a box below the sample that sized it.
TEST(Pagine, OgniCodiceStaNelSuoBox) {
    QImage img(1, 1, QImage::Format_ARGB32);
    img.setDotsPerMeterX(qRound(96 / 0.0254));
    img.setDotsPerMeterY(qRound(96 / 0.0254));
    int codici = 0;
    for (const auto& a : attese())
        for (const Campo& c : a.pagina().campi) {
            if (c.campione.isEmpty()) continue;
            ++codici;
            QFont f(QStringLiteral("Arial"));
            f.setPointSizeF(c.puntiFont);
            f.setBold(c.grassetto);
            EXPECT_GE(c.rettangolo.width(), QFontMetricsF(f, &img).horizontalAdvance(c.campione) + 3)
                << a.nome << ": " << c.colonna.toStdString();
            EXPECT_TRUE(c.spazio.contains(c.rettangolo)) << a.nome << ": " << c.colonna.toStdString();
        }
    EXPECT_GT(codici, 0);
    const Campo* inail = forms::CertificatoPagina4().campo("Zefo2", "D36");
    ASSERT_TRUE(inail);
    EXPECT_EQ(inail->campione.size(), 16);
    // the INAIL qualification is a word, the longest of the usual ones whole
    const Campo* qualifica = forms::CertificatoPagina4().campo("Zefo2", "D35");
    ASSERT_TRUE(qualifica);
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(qualifica->puntiFont);
    EXPECT_GE(qualifica->rettangolo.width(), QFontMetricsF(f, &img).horizontalAdvance(QStringLiteral("IMPIEGATO")) + 3);
}

// Page 4 bis draws the INAIL and note boxes of page 4 but takes nothing in them: on screen they
// look like boxes that take no typing; on paper they are the form's blank boxes.
TEST(Pagine, BoxSoloDisegnatiSembranoDisattivatiSulloSchermo) {
    const struct {
        const Pagina& pagina;
        forms::Supporto supporto;
        QColor atteso;
    } casi[] = {{forms::CertificatoPagina4bis(), forms::Supporto::Schermo, forms::kSfondoSenzaDigitazione},
                {forms::CertificatoPagina4bis(), forms::Supporto::Carta, Qt::white},
                {forms::CertificatoPagina4(), forms::Supporto::Schermo, Qt::white}};
    for (const auto& c : casi) {
        QImage img(c.pagina.dimensione.toSize(), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        c.pagina.disegna(painter, QRectF(QPointF(0, 0), c.pagina.dimensione), c.supporto);
        painter.end();
        for (const char* colonna : {"D35", "D36", "D40", "des1", "des4"}) {
            const Campo* campo = forms::CertificatoPagina4().campo("Zefo2", colonna);
            ASSERT_TRUE(campo) << colonna;
            EXPECT_EQ(QColor(img.pixel(campo->rettangolo.center().toPoint())), c.atteso)
                << c.pagina.nome.toStdString() << " " << colonna
                << (c.supporto == forms::Supporto::Carta ? " carta" : " schermo");
        }
    }
}

TEST(Pagine, BoxSpeciali) {
    const Campo* sesso = forms::CertificatoPagina1().campo("Zefo1", "B04");
    ASSERT_TRUE(sesso);
    EXPECT_EQ(sesso->tipo, forms::TipoCampo::Elenco);
    EXPECT_EQ(sesso->valori, (QStringList{"", "M", "F"}));

    const Campo* tempo = forms::CertificatoPagina2().campo("Zefo1", "C002");
    ASSERT_TRUE(tempo);
    EXPECT_EQ(tempo->tipo, forms::TipoCampo::Elenco);
    EXPECT_EQ(tempo->valori, (QStringList{"", "1", "2"}));
    EXPECT_EQ(tempo->sfondo, QColor(255, 255, 128));  // 8454143, a light yellow
    EXPECT_EQ(tempo->suggerimento, QStringLiteral("1-indeterminato,2-determinato (p.15)"));

    for (const Pagina* p : {&forms::CertificatoPagina4(), &forms::CertificatoPagina4bis()}) {
        const auto it = std::find_if(p->campi.begin(), p->campi.end(), [](const Campo& c) {
            return c.colonna.startsWith("d08_12", Qt::CaseInsensitive);
        });
        ASSERT_NE(it, p->campi.end());
        EXPECT_EQ(it->colonna, QStringLiteral("d08_12"));
        for (const Campo& c : p->campi) {
            const bool segno =
                (c.colonna.contains('_') && !c.colonna.startsWith("D37") && !c.colonna.startsWith("D38")) ||
                c.colonna == "D07" || c.colonna == "D13" || c.colonna == "D33";
            if (!segno) continue;
            EXPECT_TRUE(c.trasparente && c.grassetto) << c.colonna.toStdString();
            EXPECT_EQ(c.puntiFont, 8) << c.colonna.toStdString();
        }
    }

    const Pagina& f = forms::Frontespizio();
    EXPECT_EQ(f.campo("SostitutoImposta", "Annullamento")->valori, (QStringList{"", "X"}));
    EXPECT_EQ(f.campo("SostitutoImposta", "sostituzione")->valori, (QStringList{"", "X"}));
    EXPECT_EQ(f.campo("SostitutoImposta", "A8")->valori, (QStringList{"1", "2", ""}));
    for (const char* c : {"TelefonoPref", "telefono", "A5", "A6", "A7"})
        EXPECT_EQ(f.campo("SostitutoImposta", c)->puntiFont, 8) << c;
    // the tax code in the header: large, bold and a display; the editable one is the other box
    int codici = 0;
    for (const Campo& c : f.campi)
        if (c.colonna == "CodiceFiscale") {
            ++codici;
            if (c.solaLettura) {
                EXPECT_TRUE(c.grassetto && c.puntiFont == 12);
            }
        }
    EXPECT_EQ(codici, 2);
    EXPECT_FALSE(f.campo("SostitutoImposta", "CodiceFiscale")->solaLettura);

    // pages 2 to 5 show the recipient's tax code and the certificate number at the top
    for (const Pagina* p : {&forms::CertificatoPagina2(), &forms::CertificatoPagina3(), &forms::CertificatoPagina4(),
                            &forms::CertificatoPagina4bis(), &forms::CertificatoPagina5()}) {
        const Campo* cf = p->campo("Zefo1", "B01");
        const Campo* id = p->campo("Zefo1", "ID");
        ASSERT_TRUE(cf && id) << p->nome.toStdString();
        EXPECT_TRUE(cf->solaLettura && id->solaLettura);
        EXPECT_LT(cf->rettangolo.top(), 80);
        EXPECT_GT(id->rettangolo.left(), cf->rettangolo.right());
    }
    EXPECT_EQ(forms::TipiRecord(), (QStringList{"DIP", "AMM", "CoC"}));
}

// Every value lands in its own box: painting "8888" into one box leaves the others white.
TEST(Pagine, UnValoreSiDisegnaNelSuoBox) {
    const Pagina& p = forms::CertificatoPagina2();
    const Campo* scelto = p.campo("Zefo1", "c021");
    ASSERT_TRUE(scelto);
    for (qreal scala : {1.0, 2.0}) {
        QImage img((p.dimensione * scala).toSize(), QImage::Format_RGB32);
        img.setDotsPerMeterX(qRound(96 * scala / 0.0254));
        img.setDotsPerMeterY(qRound(96 * scala / 0.0254));
        img.fill(Qt::white);
        QPainter painter(&img);
        const QRectF dest(QPointF(0, 0), p.dimensione * scala);
        forms::DisegnaPagina(painter, p, dest,
                             [&](const Campo& c) { return &c == scelto ? QStringLiteral("8888") : QString(); });
        painter.end();
        const auto scuri = [&](const QRectF& r) {
            int n = 0;
            const QRect q = r.toAlignedRect().adjusted(1, 1, -1, -1);
            for (int y = q.top(); y <= q.bottom(); ++y)
                for (int x = q.left(); x <= q.right(); ++x) n += qGray(img.pixel(x, y)) < 128;
            return n;
        };
        EXPECT_GT(scuri(forms::RettangoloSu(p, *scelto, dest)), 10) << scala;
        EXPECT_EQ(scuri(forms::RettangoloSu(p, *p.campo("Zefo1", "c020"), dest)), 0) << scala;
    }
}

// On paper (a PDF) a page's texts are laid out once per device and place and then drawn from
// their glyphs, sheet after sheet: the picture is the one QPainter::drawText makes (the screen's
// way, and nothing else differs from paper on these pages), for the first sheet and the next.
TEST(Pagine, SuCartaITestiCadonoDoveLiMetteDrawText) {
    QTemporaryDir dir;
    for (const Pagina* p : {&forms::CertificatoPagina7(), &forms::Frontespizio()}) {
        const auto pdf = [&](const QString& nome, forms::Supporto supporto, int fogli) {
            const QString file = dir.filePath(nome + ".pdf");
            QPdfWriter w(file);
            w.setPageSize(QPageSize(QPageSize::A4));
            w.setResolution(1200);
            QPainter painter(&w);
            for (int i = 0; i < fogli; ++i) {
                if (i > 0) w.newPage();
                p->disegna(painter, QRectF(QPointF(0, 0), p->dimensione * 1200 / 96), supporto);
            }
            painter.end();
            QProcess::execute("pdftoppm", {"-r", "100", "-gray", "-png", file, dir.filePath(nome)});
        };
        pdf("schermo", forms::Supporto::Schermo, 1);
        pdf("carta", forms::Supporto::Carta, 2);
        const QImage atteso(dir.filePath("schermo-1.png"));
        ASSERT_FALSE(atteso.isNull());
        for (const char* foglio : {"carta-1.png", "carta-2.png"})
            EXPECT_TRUE(QImage(dir.filePath(foglio)) == atteso) << p->nome.toStdString() << " " << foglio;
    }
}

}  // namespace
