// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/AppIcon.h"
#include "support/TestRegistry.h"

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

    // The tray's four states differ by their symbols, not only by hue: an
    // owner who cannot tell red from green still reads them, at tray size.
    void statusIconsDifferWithoutColour()
    {
        const auto grey = [](int symbol) {
            // One hue for all: what is left to tell them apart is the symbol.
            return statusIcon(StatusSymbol(symbol), Qt::darkGray)
                .pixmap(22, 22)
                .toImage()
                .convertToFormat(QImage::Format_Grayscale8);
        };
        for (int a = 0; a <= int(StatusSymbol::Exclamation); ++a) {
            for (int b = a + 1; b <= int(StatusSymbol::Exclamation); ++b) {
                const QImage first = grey(a), second = grey(b);
                int differing = 0;
                for (int y = 0; y < first.height(); ++y) {
                    for (int x = 0; x < first.width(); ++x)
                        differing +=
                            std::abs(qGray(first.pixel(x, y)) - qGray(second.pixel(x, y))) > 80;
                }
                QVERIFY2(differing >= 12,
                         qPrintable(
                             QStringLiteral("%1 and %2: %3 pixels").arg(a).arg(b).arg(differing)));
            }
        }
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

TOLLWICK_TEST(AppIconTest)
#include "AppIconTest.moc"
