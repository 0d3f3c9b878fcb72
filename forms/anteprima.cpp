// palio_forms_anteprima FOLDER [--scala N] [--vuote] [--schermo]
// Draws every form page with an example value in every box into FOLDER/<n>-<page>.png;
// with --schermo, takes pictures of the entry screens instead (the boxes over each page).

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <cstdio>

#include "forms/pagina.h"
#include "forms/valori.h"
#include "forms/vistapagina.h"

namespace {

QString esempio(const forms::Campo& c) {
    using forms::TipoCampo;
    if (c.tipo == TipoCampo::Casella) return QStringLiteral("X");
    if (c.tipo == TipoCampo::Elenco) {
        for (const auto& v : c.valori)
            if (!v.isEmpty()) return v;
    }
    const QString col = c.colonna.toUpper();
    const qreal larga = c.rettangolo.width();
    if (col.contains(QStringLiteral("CODICEFISCALE")) || col == "A01" || col == "B01" || col.endsWith("_4") ||
        col == "CFRAPP" || col == "CODENTE" || col == "A4" || col == "B1" || col == "C305")
        return QStringLiteral("RSSMRA85T10A562S");
    if (col == "ID") return QStringLiteral("12345");
    // fill the box with digits as an amount would, as wide as the box allows
    const QString importo = QStringLiteral("12.345.678,90");
    const QString breve = QStringLiteral("1234567890");
    QString testo = breve;
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(c.puntiFont);
    f.setBold(c.grassetto);
    QImage img(1, 1, QImage::Format_ARGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    QFontMetricsF fm(f, &img);
    if (fm.horizontalAdvance(importo) <= larga - 4) testo = importo;
    while (testo.size() > 1 && fm.horizontalAdvance(testo) > larga - 4) testo.chop(1);
    if (larga > 150) testo = QStringLiteral("Esempio di testo lungo per ") + c.colonna;
    return testo;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    qreal scala = 1;
    bool vuote = false;
    bool schermo = false;
    QString cartella;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--scala" && i + 1 < args.size())
            scala = args[++i].toDouble();
        else if (args[i] == "--schermo")
            schermo = true;
        else if (args[i] == "--vuote")
            vuote = true;
        else
            cartella = args[i];
    }
    if (cartella.isEmpty() || scala <= 0) {
        std::fprintf(stderr, "uso: palio_forms_anteprima CARTELLA [--scala N] [--vuote]\n");
        return 2;
    }
    if (!QDir().mkpath(cartella)) {
        std::fprintf(stderr, "Impossibile creare la cartella %s\n", qPrintable(cartella));
        return 1;
    }
    const std::vector<std::pair<QString, const forms::Pagina*>> pagine = {
        {"frontespizio", &forms::Frontespizio()},
        {"quadro-ct", &forms::PaginaQuadroCT()},
        {"certificato-1", &forms::CertificatoPagina1()},
        {"certificato-2", &forms::CertificatoPagina2()},
        {"certificato-3", &forms::CertificatoPagina3()},
        {"certificato-4", &forms::CertificatoPagina4()},
        {"certificato-4bis", &forms::CertificatoPagina4bis()},
        {"certificato-5", &forms::CertificatoPagina5()},
        {"certificato-6", &forms::CertificatoPagina6()},
        {"certificato-7", &forms::CertificatoPagina7()},
        {"professionista-1", &forms::ProfessionistaPagina1()},
        {"professionista-2", &forms::ProfessionistaPagina2()},
    };
    int n = 0;
    for (const auto& [nome, pagina] : pagine) {
        if (schermo) {
            forms::VistaPagina vista(*pagina);
            for (const auto& c : pagina->campi) {
                QWidget* w = vista.box(c.tabella, c.colonna);
                const QString v = vuote ? QString() : esempio(c);
                if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(v);
                if (auto* s = qobject_cast<QCheckBox*>(w)) s->setChecked(!v.isEmpty());
                if (auto* b = qobject_cast<QComboBox*>(w)) b->setEditText(v);
            }
            const QString file = QDir(cartella).filePath(
                QStringLiteral("%1-%2-schermo.png").arg(++n, 2, 10, QLatin1Char('0')).arg(nome));
            if (!vista.grab().save(file)) {
                std::fprintf(stderr, "Impossibile scrivere %s\n", qPrintable(file));
                return 1;
            }
            std::printf("%s\n", qPrintable(file));
            continue;
        }
        const QSize dim = (pagina->dimensione * scala).toSize();
        QImage img(dim, QImage::Format_RGB32);
        // the image's resolution follows the scale, so point-sized text scales with it
        img.setDotsPerMeterX(qRound(96 * scala / 0.0254));
        img.setDotsPerMeterY(qRound(96 * scala / 0.0254));
        img.fill(Qt::white);
        QPainter p(&img);
        forms::DisegnaPagina(p, *pagina, QRectF(QPointF(0, 0), QSizeF(dim)),
                             [&](const forms::Campo& c) { return vuote ? QString() : esempio(c); });
        p.end();
        const QString file =
            QDir(cartella).filePath(QStringLiteral("%1-%2.png").arg(++n, 2, 10, QLatin1Char('0')).arg(nome));
        if (!img.save(file)) {
            std::fprintf(stderr, "Impossibile scrivere %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
