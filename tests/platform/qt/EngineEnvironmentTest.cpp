#include "platform/qt/EngineEnvironment.h"

#include <QTest>

namespace {

const QByteArrayList ProgramFlags{
    "--disable-gpu",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--no-first-run",
    "--no-unsandboxed-zygote",
    "--renderer-process-limit=1",
    "--disable-features=SpareRendererForSitePerProcess,BackForwardCache",
};

// Compared as one line: a failure then shows both whole.
QByteArray engineFlags()
{
    return qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
}

QByteArray line(const QByteArrayList& flags)
{
    return flags.join(' ');
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

    void addsTheProgramsFlagsWhereNoneAreGiven()
    {
        prepareEngineEnvironment(true);
        QCOMPARE(engineFlags(), line(ProgramFlags));
    }

    void keepsTheFlagsAlreadyGiven_data()
    {
        QTest::addColumn<QByteArray>("given");
        QTest::addColumn<QByteArrayList>("expected");

        QByteArrayList others = ProgramFlags;
        QTest::addRow("others first")
            << QByteArray("  --lang=zh-CN   --enable-logging ")
            << QByteArrayList{"--lang=zh-CN", "--enable-logging"} + ProgramFlags;
        // Chromium reads only the last of two equal switches; a second one
        // would override the user's choice.
        QByteArrayList limit = ProgramFlags;
        limit.removeAll("--renderer-process-limit=1");
        QTest::addRow("same switch, the user's value")
            << QByteArray("--renderer-process-limit=3")
            << QByteArrayList{"--renderer-process-limit=3"} + limit;
        QByteArrayList features = ProgramFlags;
        features.removeLast();
        QTest::addRow("feature lists merged")
            << QByteArray("--disable-features=Translate")
            << QByteArrayList{"--disable-features=Translate,SpareRendererForSitePerProcess,"
                              "BackForwardCache"} +
                   features;
    }

    void keepsTheFlagsAlreadyGiven()
    {
        QFETCH(QByteArray, given);
        QFETCH(QByteArrayList, expected);
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", given);
        prepareEngineEnvironment(true);
        QCOMPARE(engineFlags(), line(expected));
    }

    // A program started by one that prepared its environment inherits it.
    void preparingTwiceAddsNothing()
    {
        prepareEngineEnvironment(true);
        prepareEngineEnvironment(false);
        QCOMPARE(engineFlags(), line(ProgramFlags));
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

QTEST_GUILESS_MAIN(EngineEnvironmentTest)
#include "EngineEnvironmentTest.moc"
