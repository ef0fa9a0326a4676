#include "web/Delay.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeMessagePump.h"

#include <QTest>

namespace {

// Each pass of the pump lets the clock run on to where the wait asked to be
// woken, as the real event loop would.
void runClockWithPump(FakeClock& clock, FakeMessagePump& pump)
{
    pump.onPass = [&](int) {
        QVERIFY(pump.wakeRequests.last() > 0);
        clock.advanceMilliseconds(pump.wakeRequests.last());
    };
}

} // namespace

class DelayTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nothingToWaitReturnsWithoutHandlingEvents_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -5;
    }

    void nothingToWaitReturnsWithoutHandlingEvents()
    {
        QFETCH(int, seconds);
        FakeClock clock;
        FakeMessagePump pump;
        Delay(seconds, clock, pump);
        QCOMPARE(pump.passes, 0);
    }

    // Whole seconds decide: the wait ends at the first whole second at or
    // after start + 3, wherever within its second it began.
    void endsAtTheWholeSecondBoundary_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        const QDate day(2024, 3, 9);
        QTest::newRow("on the second")
            << QDateTime(day, QTime(12, 0, 0)) << QDateTime(day, QTime(12, 0, 3));
        QTest::newRow("late in the second")
            << QDateTime(day, QTime(12, 0, 0, 900)) << QDateTime(day, QTime(12, 0, 3));
        QTest::newRow("across midnight")
            << QDateTime(day, QTime(23, 59, 59)) << QDateTime(day.addDays(1), QTime(0, 0, 2));
    }

    void endsAtTheWholeSecondBoundary()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        FakeClock clock(start);
        FakeMessagePump pump;
        runClockWithPump(clock, pump);
        Delay(3, clock, pump);
        QCOMPARE(clock.now(), end);
    }

    void clockSetBackWaitsUntilTheStartIsPassedAgain()
    {
        const QDate day(2024, 3, 9);
        FakeClock clock(QDateTime(day, QTime(12, 0, 0)));
        FakeMessagePump pump;
        pump.onPass = [&](int pass) {
            if (pass == 1)
                clock.set(QDateTime(day, QTime(11, 0, 0)));
            else
                clock.advanceMilliseconds(pump.wakeRequests.last());
        };
        Delay(3, clock, pump);
        QCOMPARE(clock.now(), QDateTime(day, QTime(12, 0, 3)));
    }

    void clockSetForwardEndsAtTheNextCheck()
    {
        const QDate day(2024, 3, 9);
        FakeClock clock(QDateTime(day, QTime(12, 0, 0)));
        FakeMessagePump pump;
        pump.onPass = [&](int) {
            clock.set(QDateTime(day, QTime(13, 0, 0)));
        };
        Delay(3, clock, pump);
        QCOMPARE(pump.passes, 1);
    }

    // Waking at every whole second, never sooner: the wait costs nothing in
    // between and still ends on time.
    void asksToBeWokenAtEachSecond()
    {
        FakeClock clock(QDateTime(QDate(2024, 3, 9), QTime(12, 0, 0, 250)));
        FakeMessagePump pump;
        runClockWithPump(clock, pump);
        Delay(3, clock, pump);
        QCOMPARE(pump.wakeRequests, (QList<int>{750, 1000, 1000}));
    }
};

QTEST_GUILESS_MAIN(DelayTest)
#include "DelayTest.moc"
