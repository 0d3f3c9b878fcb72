// The icon registry: every picture of the image buttons is found among the program's resources
// and paints something; a name or a file out of step leaves a button blank.
#include "ui/icone.h"

#include <QImage>
#include <QTest>

class IconeTest : public QObject {
    Q_OBJECT
private slots:
    void ogniIconaHaUnaFigura_data() {
        QTest::addColumn<int>("icona");
        for (int i = 0; i <= static_cast<int>(ui::Icona::Controlla); ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i;
    }
    void ogniIconaHaUnaFigura() {
        QFETCH(int, icona);
        const QIcon ic = ui::icona(static_cast<ui::Icona>(icona));
        QVERIFY(!ic.isNull());
        const QImage im = ic.pixmap(24, 24).toImage();
        QCOMPARE(im.size(), QSize(24, 24));
        int dipinti = 0;
        for (int y = 0; y < im.height(); ++y)
            for (int x = 0; x < im.width(); ++x) dipinti += qAlpha(im.pixel(x, y)) > 0;
        QVERIFY2(dipinti > 20, qPrintable(QStringLiteral("%1 punti dipinti").arg(dipinti)));
    }
};

QTEST_MAIN(IconeTest)
#include "icone_test.moc"
