// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/Delay.h"
#include "fakes/FakeTimerControl.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QDate Day(2024, 3, 9);

struct DelayFixture {
    explicit DelayFixture(const QDateTime& start)
        : clock(start)
    {
        QObject::connect(&delay, &Delay::finished, [this] { endedAt = clock.now(); });
    }

    FakeClock clock;
    FakeTimerFactory timers{clock};
    Delay delay{clock, timers};
    QDateTime endedAt;
};

} // namespace

class DelayTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nothingToWaitEndsAtOnce_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -5;
    }

    void nothingToWaitEndsAtOnce()
    {
        QFETCH(int, seconds);
        DelayFixture f(QDateTime(Day, QTime(12, 0, 0, 500)));
        f.delay.start(seconds);
        QCOMPARE(f.endedAt, f.clock.now());
        QVERIFY(!f.delay.running());
    }

    // Whole seconds decide: the pause ends at the first whole second at or
    // after start + 3, wherever within its second it began.
    void endsAtTheWholeSecondBoundary_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::newRow("on the second")
            << QDateTime(Day, QTime(12, 0, 0)) << QDateTime(Day, QTime(12, 0, 3));
        QTest::newRow("late in the second")
            << QDateTime(Day, QTime(12, 0, 0, 900)) << QDateTime(Day, QTime(12, 0, 3));
        QTest::newRow("across midnight")
            << QDateTime(Day, QTime(23, 59, 59)) << QDateTime(Day.addDays(1), QTime(0, 0, 2));
    }

    void endsAtTheWholeSecondBoundary()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        DelayFixture f(start);
        f.delay.start(3);
        f.clock.advanceSeconds(10);
        QCOMPARE(f.endedAt, end);
    }

    void clockSetBackWaitsUntilTheEndIsReachedAgain()
    {
        DelayFixture f(QDateTime(Day, QTime(12, 0, 0)));
        f.delay.start(3);
        f.clock.advance(1000);
        f.clock.set(QDateTime(Day, QTime(11, 0, 0)));
        f.clock.advanceSeconds(7200);
        QCOMPARE(f.endedAt, QDateTime(Day, QTime(12, 0, 3)));
    }

    void clockSetForwardEndsWithinASecond()
    {
        DelayFixture f(QDateTime(Day, QTime(12, 0, 0)));
        f.delay.start(3);
        f.clock.set(QDateTime(Day, QTime(13, 0, 0)));
        f.clock.advance(1000);
        QCOMPARE(f.endedAt, QDateTime(Day, QTime(13, 0, 1)));
    }
};

QTEST_GUILESS_MAIN(DelayTest)
#include "DelayTest.moc"
