// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtClock.h"
#include "support/TestRegistry.h"

#include <QTest>

class QtClockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nowIsTheWallClock();
};

void QtClockTest::nowIsTheWallClock()
{
    QtClock clock;
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = clock.now();
    const QDateTime after = QDateTime::currentDateTime();

    QVERIFY(before <= now && now <= after);
}

TOLLWICK_TEST(QtClockTest)
#include "QtClockTest.moc"
