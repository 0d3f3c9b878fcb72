// What is typed or read shows in the boxes, with the fonts this system really has: the page
// boxes in Arial, the windows' own boxes in the system's dialog font. Under Wine without
// Microsoft's fonts both fell on a font whose line edits drew nothing.
#include "forms/caratteri.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <functional>
#include <memory>

#include "forms/pagina.h"
#include "forms/vistapagina.h"

namespace {

// Pixels dark enough to be text on the boxes' white or grey.
int inchiostro(QWidget& w) {
    const QImage img = w.grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 110) ++n;
    return n;
}

TEST(Caratteri, IlTestoDelleCaselleSiVede) {
    forms::VistaPagina pagina(forms::CertificatoPagina1());
    pagina.show();
    QLineEdit testata;  // a header box of the editors: the system's font, read-only on grey
    testata.setReadOnly(true);
    QPalette p = testata.palette();
    p.setColor(QPalette::Base, QColor(240, 240, 240));
    testata.setPalette(p);
    testata.resize(170, 22);
    testata.show();

    const struct {
        const char* caso;
        QWidget* box;
        std::function<void(QWidget*, const QString&)> scrivi;
    } casi[] = {
        {"casella di testo della pagina", pagina.box(QStringLiteral("Zefo1"), QStringLiteral("B02")),
         [](QWidget* w, const QString& t) { static_cast<QLineEdit*>(w)->setText(t); }},
        {"tendina scrivibile della pagina", pagina.box(QStringLiteral("Zefo1"), QStringLiteral("B04")),
         [](QWidget* w, const QString& t) { static_cast<QComboBox*>(w)->setEditText(t); }},
        {"casella della testata", &testata,
         [](QWidget* w, const QString& t) { static_cast<QLineEdit*>(w)->setText(t); }},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        ASSERT_NE(c.box, nullptr);
        c.scrivi(c.box, QString());
        const int vuota = inchiostro(*c.box);
        c.scrivi(c.box, QStringLiteral("IIIIIIIIIIII"));
        // Thin letters in black (a font could draw nothing, or lose its I at small sizes).
        EXPECT_GT(inchiostro(*c.box), vuota + 30);
    }
}

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
    // On Windows the real platform is the point: its font database is what failed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    forms::sostituisciCaratteriMancanti();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
