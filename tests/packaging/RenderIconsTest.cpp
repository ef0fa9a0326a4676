// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/TestRegistry.h"
#include "ui/AppIcon.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

int render(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(TOLLWICK_RENDER_ICONS), arguments);
    if (!tool.waitForFinished() || tool.exitStatus() != QProcess::NormalExit)
        return -1;
    return tool.exitCode();
}

} // namespace

// The build step that writes the theme icons the package installs.
class RenderIconsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheWindowsIconInTheThemeLayout()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QCOMPARE(render({dir.path()}), 0);
        for (int side : AppIconSizes) {
            const QString path =
                dir.filePath(QStringLiteral("hicolor/%1x%1/apps/tollwick.png").arg(side));
            QImage written;
            QVERIFY2(written.load(path, "PNG"), qPrintable(path));
            QCOMPARE(written.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     appIconImage(side));
        }
    }

    void failsLoudlyWhenItCannotWrite()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("hicolor")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(render({dir.path()}), 1);
        QCOMPARE(render({}), 2);
    }
};

TOLLWICK_TEST(RenderIconsTest)
#include "RenderIconsTest.moc"
