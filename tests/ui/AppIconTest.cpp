#include "ui/AppIcon.h"

#include <QTest>

namespace {

// A point of the 48-unit design grid, at `side` pixels.
QColor colourAt(const QImage& image, qreal x, qreal y)
{
    const qreal scale = image.width() / 48.0;
    return image.pixelColor(int(x * scale), int(y * scale));
}

} // namespace

class AppIconTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawsTheSameArtworkAtEverySize_data()
    {
        QTest::addColumn<int>("side");
        for (int side : AppIconSizes)
            QTest::addRow("%dpx", side) << side;
        // Sizes no theme asks for still get the whole drawing.
        QTest::addRow("odd 37px") << 37;
    }

    void drawsTheSameArtworkAtEverySize()
    {
        QFETCH(int, side);
        const QImage image = appIconImage(side);
        QCOMPARE(image.size(), QSize(side, side));
        QVERIFY(image.hasAlphaChannel());

        // Each part lies where the 48-pixel design put it, scaled: a drawing
        // left unscaled would fill only a corner of the larger sizes and
        // spill over the smaller ones.
        QCOMPARE(colourAt(image, 0, 0).alpha(), 0);
        QCOMPARE(colourAt(image, 47.5, 47.5).alpha(), 0);
        const QColor frame = colourAt(image, 5, 24);
        QCOMPARE(frame, QColor(64, 64, 200));
        const QColor coin = colourAt(image, 17, 17);
        QCOMPARE(coin, QColor(255, 214, 64));
        const QColor tick = colourAt(image, 27.5, 23.5);
        QVERIFY2(tick.green() > tick.red() && tick.green() > tick.blue(), qPrintable(tick.name()));
    }

    void windowIconHoldsEveryThemeSize()
    {
        const QIcon icon = appIcon();
        for (int side : AppIconSizes) {
            QVERIFY2(icon.availableSizes().contains(QSize(side, side)),
                     qPrintable(QString::number(side)));
            QCOMPARE(icon.pixmap(QSize(side, side))
                         .toImage()
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     appIconImage(side));
        }
    }
};

QTEST_MAIN(AppIconTest)
#include "AppIconTest.moc"
