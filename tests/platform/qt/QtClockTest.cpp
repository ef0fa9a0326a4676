// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtClock.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

QTime wholeSeconds(const QTime& time)
{
    return QTime(time.hour(), time.minute(), time.second());
}

} // namespace

class QtClockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void timeOfDayIsTheWallClockInWholeSeconds();
    void todayAndNowAreTheWallClock();
};

void QtClockTest::timeOfDayIsTheWallClockInWholeSeconds()
{
    QtClock clock;
    const QTime before = QTime::currentTime();
    const QTime time = clock.timeOfDay();
    const QTime after = QTime::currentTime();

    QCOMPARE(time.msec(), 0);
    QVERIFY(time == wholeSeconds(before) || time == wholeSeconds(after));
}

void QtClockTest::todayAndNowAreTheWallClock()
{
    QtClock clock;
    const QDateTime before = QDateTime::currentDateTime();
    const QDate today = clock.today();
    const QDateTime now = clock.now();
    const QDateTime after = QDateTime::currentDateTime();

    QVERIFY(today == before.date() || today == after.date());
    QVERIFY(before <= now && now <= after);
}

TOLLWICK_TEST(QtClockTest)
#include "QtClockTest.moc"
