// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/EngineEnvironment.h"
#include "support/TestRegistry.h"

#include <QTest>

#include <algorithm>

namespace {

QByteArrayList engineFlags()
{
    return qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").split(' ');
}

qsizetype countOf(const QByteArrayList& flags, const QByteArray& name)
{
    return std::count_if(flags.cbegin(), flags.cend(),
                         [&](const QByteArray& flag) { return flag.startsWith(name); });
}

} // namespace

// prepareEngineEnvironment() works on the process's environment, which each
// case sets up itself.
class EngineEnvironmentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        qunsetenv("QT_QUICK_BACKEND");
    }

    // Chromium reads only the last of two equal switches, so a flag the user
    // gave must not be followed by the program's; feature lists are merged.
    void theUsersFlagsWin()
    {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "  --lang=zh-CN  --renderer-process-limit=3 --disable-features=Translate ");
        prepareEngineEnvironment(true);
        const QByteArrayList flags = engineFlags();
        QCOMPARE(flags.mid(0, 2), (QByteArrayList{"--lang=zh-CN", "--renderer-process-limit=3"}));
        QCOMPARE(countOf(flags, "--renderer-process-limit"), 1);
        QCOMPARE(countOf(flags, "--disable-features"), 1);
        QVERIFY(flags[2].startsWith("--disable-features=Translate,"));
        QVERIFY(flags[2].contains(",BackForwardCache"));
        QVERIFY(flags.contains("--disable-gpu"));
    }

    // A program started by one that prepared its environment inherits it.
    void preparingTwiceAddsNothing()
    {
        prepareEngineEnvironment(true);
        const QByteArrayList once = engineFlags();
        prepareEngineEnvironment(false);
        QCOMPARE(engineFlags(), once);
    }

    void drawsWithoutOpenGlUnlessToldOtherwise()
    {
        prepareEngineEnvironment(false);
        QCOMPARE(qgetenv("QT_QUICK_BACKEND"), "software");
        qputenv("QT_QUICK_BACKEND", "opengl");
        prepareEngineEnvironment(false);
        QCOMPARE(qgetenv("QT_QUICK_BACKEND"), "opengl");
    }
};

TOLLWICK_TEST(EngineEnvironmentTest)
#include "EngineEnvironmentTest.moc"
