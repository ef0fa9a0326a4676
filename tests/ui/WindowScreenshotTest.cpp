// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeWindow.h"
#include "support/TestRegistry.h"
#include "ui/TextBox.h"

#include <QLabel>
#include <QTest>

// Renders the window offscreen and keeps the picture for people to look at.
class WindowScreenshotTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawsTheWindowInItsColours()
    {
        FakeWindow w;
        w.logIn();
        w.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));

        const QImage image = w.window.grab().toImage();
        const QString path = QStringLiteral(TOLLWICK_SCREENSHOT_DIR "/Form1.png");
        QVERIFY2(image.save(path), qPrintable(path));

        const qreal scale = image.devicePixelRatio();
        const auto colourAt = [&](QPoint point) {
            return image.pixelColor(point * scale);
        };
        // Between the frames on the left: the window's background.
        QCOMPARE(colourAt(QPoint(4, 4)), QColor(192, 192, 255));
        // The strip of the release note at the bottom.
        const QRect note = w.window.Label13->geometry();
        QCOMPARE(colourAt(note.bottomRight() - QPoint(3, 3)), QColor(128, 128, 255));
        QCOMPARE(image.size() / scale, QSize(686, 511));
    }
};

TOLLWICK_TEST(WindowScreenshotTest)
#include "WindowScreenshotTest.moc"
