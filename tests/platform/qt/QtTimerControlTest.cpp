// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtTimerControl.h"
#include "support/TestRegistry.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class QtTimerControlTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A QTimer with interval 0 would fire on every pass of the event loop.
    void noIntervalMeansNoTicks()
    {
        QtTimerControl timer;
        QSignalSpy ticks(&timer, &TimerControl::Timer);
        timer.setEnabled(true);
        QTest::qWait(50);
        QCOMPARE(ticks.size(), 0);

        timer.setInterval(10);
        QTRY_VERIFY(ticks.size() >= 2);
    }

    void ticksOnlyWhileEnabled()
    {
        QtTimerControl timer;
        QSignalSpy ticks(&timer, &TimerControl::Timer);
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

    // The keep-alive switches the scan timer off and on; the next scan must
    // still come a full period later.
    void aStoppedCountdownStartsAFullPeriodAnew_data()
    {
        QTest::addColumn<bool>("newInterval");
        QTest::newRow("off and on") << false;
        QTest::newRow("new interval") << true;
    }

    void aStoppedCountdownStartsAFullPeriodAnew()
    {
        QFETCH(bool, newInterval);
        constexpr int Period = 300;
        QtTimerControl timer;
        QSignalSpy ticks(&timer, &TimerControl::Timer);
        timer.setInterval(Period);
        timer.setEnabled(true);
        QTest::qWait(Period / 2);
        if (newInterval) {
            timer.setInterval(Period + 1);
        } else {
            timer.setEnabled(false);
            timer.setEnabled(true);
        }
        QElapsedTimer sinceRestart;
        sinceRestart.start();

        QTRY_COMPARE_WITH_TIMEOUT(ticks.size(), 1, 5 * Period);
        QVERIFY2(sinceRestart.elapsed() >= Period - 10,
                 qPrintable(QString::number(sinceRestart.elapsed())));
    }
};

TOLLWICK_TEST(QtTimerControlTest)
#include "QtTimerControlTest.moc"
