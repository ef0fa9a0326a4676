// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/BrowserSleep.h"
#include "fakes/FakeWatch.h"

#include <QTest>

namespace {
constexpr int Idle = BrowserSleep::DefaultIdleMs;
} // namespace

class BrowserSleepTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sleepsOnlyWhenIdleWhileScanning_data()
    {
        QTest::addColumn<int>("idleMs");
        QTest::addColumn<bool>("loggedIn");
        // Input in the browser area, in ms after the login.
        QTest::addColumn<QList<int>>("inputs");
        QTest::addColumn<int>("checkAtMs");
        QTest::addColumn<bool>("asleep");

        QTest::newRow("not before a login") << Idle << false << QList<int>{} << 10 * Idle << false;
        QTest::newRow("awake until the idle time")
            << Idle << true << QList<int>{} << Idle - 1 << false;
        QTest::newRow("asleep at the idle time") << Idle << true << QList<int>{} << Idle << true;
        QTest::newRow("input counts the idle time anew")
            << Idle << true << QList<int>{50000, 100000} << 100000 + Idle - 1 << false;
        QTest::newRow("input while asleep, then idle again")
            << Idle << true << QList<int>{Idle} << 2 * Idle << true;
        QTest::newRow("idle time 0: never") << 0 << true << QList<int>{} << 10 * Idle << false;
    }

    void sleepsOnlyWhenIdleWhileScanning()
    {
        QFETCH(int, idleMs);
        QFETCH(bool, loggedIn);
        QFETCH(QList<int>, inputs);
        QFETCH(int, checkAtMs);
        QFETCH(bool, asleep);
        FakeWatch w;
        w.watch.browserSleep().setIdleTime(idleMs);
        if (loggedIn)
            w.logIn();
        int at = 0;
        for (int input : inputs) {
            w.fake.clock.advance(input - at);
            w.watch.browserSleep().wake();
            QVERIFY(!w.fake.browser.asleep);
            at = input;
        }
        w.fake.clock.advance(checkAtMs - at);
        QCOMPARE(w.fake.browser.asleep, asleep);
    }
};

QTEST_MAIN(BrowserSleepTest)
#include "BrowserSleepTest.moc"
