// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/Delay.h"
#include "fakes/FakeTimerControl.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

const QDate Day(2024, 3, 9);

QDateTime at(int hour, int minute, int second, int ms = 0)
{
    return QDateTime(Day, QTime(hour, minute, second, ms));
}

} // namespace

class DelayTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whole seconds decide: the pause ends at the first whole second at or
    // after start + 3, wherever within its second it began; nothing to wait
    // ends at once. A clock set back a second in waits until the end is
    // reached again; one set forward ends within a second.
    void endsAtTheWholeSecondBoundary_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("setTo");
        QTest::addColumn<QDateTime>("end");
        QTest::newRow("zero") << 0 << at(12, 0, 0, 500) << QDateTime() << at(12, 0, 0, 500);
        QTest::newRow("negative") << -5 << at(12, 0, 0, 500) << QDateTime() << at(12, 0, 0, 500);
        QTest::newRow("on the second") << 3 << at(12, 0, 0) << QDateTime() << at(12, 0, 3);
        QTest::newRow("late in the second")
            << 3 << at(12, 0, 0, 900) << QDateTime() << at(12, 0, 3);
        QTest::newRow("across midnight")
            << 3 << at(23, 59, 59) << QDateTime() << QDateTime(Day.addDays(1), QTime(0, 0, 2));
        QTest::newRow("clock set back") << 3 << at(12, 0, 0) << at(11, 0, 0) << at(12, 0, 3);
        QTest::newRow("clock set forward") << 3 << at(12, 0, 0) << at(13, 0, 0) << at(13, 0, 1);
    }

    void endsAtTheWholeSecondBoundary()
    {
        QFETCH(int, seconds);
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, setTo);
        FakeClock clock(start);
        FakeTimerFactory timers(clock);
        Delay delay(clock, timers);
        QDateTime endedAt;
        QObject::connect(&delay, &Delay::finished, [&] { endedAt = clock.now(); });

        delay.start(seconds);
        QCOMPARE(delay.running(), seconds > 0);
        if (setTo.isValid()) {
            clock.advance(1000);
            clock.set(setTo);
        }
        clock.advanceSeconds(7200);
        QTEST(endedAt, "end");
    }
};

TOLLWICK_TEST(DelayTest)
#include "DelayTest.moc"
