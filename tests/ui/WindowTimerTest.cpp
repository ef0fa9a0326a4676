#include "ui/WindowTimer.h"

#include <QSignalSpy>
#include <QTest>

class WindowTimerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A QTimer with interval 0 would fire on every pass of the event loop.
    void noIntervalMeansNoTicks()
    {
        WindowTimer timer;
        QSignalSpy ticks(&timer, &WindowTimer::Timer);
        timer.setEnabled(true);
        QTest::qWait(50);
        QCOMPARE(ticks.size(), 0);

        timer.setInterval(10);
        QTRY_VERIFY(ticks.size() >= 2);
    }

    void ticksOnlyWhileEnabled()
    {
        WindowTimer timer;
        QSignalSpy ticks(&timer, &WindowTimer::Timer);
        timer.setInterval(10);
        QTest::qWait(50);
        QCOMPARE(ticks.size(), 0);

        timer.setEnabled(true);
        QTRY_VERIFY(ticks.size() >= 1);
        timer.setEnabled(false);
        const qsizetype seen = ticks.size();
        QTest::qWait(50);
        QCOMPARE(ticks.size(), seen);
    }

    // A handler that handles events while it runs gets the next tick of the
    // same timer, as the scan's waits expect.
    void ticksReachAHandlerThatIsStillRunning()
    {
        WindowTimer timer;
        int depth = 0;
        int deepest = 0;
        connect(&timer, &WindowTimer::Timer, [&] {
            ++depth;
            deepest = std::max(deepest, depth);
            if (depth == 1)
                QTest::qWait(100);
            --depth;
        });
        timer.setInterval(20);
        timer.setEnabled(true);
        QTRY_COMPARE(deepest, 2);
    }
};

QTEST_GUILESS_MAIN(WindowTimerTest)
#include "WindowTimerTest.moc"
