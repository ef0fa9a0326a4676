// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/BrowserSleep.h"
#include "fakes/FakeWatch.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {
constexpr int Idle = BrowserSleep::DefaultIdleMs;
} // namespace

class BrowserSleepTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sleepsOnlyWhenIdleWhileScanning()
    {
        struct Case {
            const char* name;
            int idleMs;
            bool loggedIn;
            // Input in the browser area, in ms after the login.
            QList<int> inputs;
            int checkAtMs;
            bool asleep;
        };
        const Case cases[] = {
            {"not before a login", Idle, false, {}, 10 * Idle, false},
            {"awake until the idle time", Idle, true, {}, Idle - 1, false},
            {"asleep at the idle time", Idle, true, {}, Idle, true},
            {"input counts the idle time anew",
             Idle,
             true,
             {50000, 100000},
             100000 + Idle - 1,
             false},
            {"input while asleep, then idle again", Idle, true, {Idle}, 2 * Idle, true},
            {"idle time 0: never", 0, true, {}, 10 * Idle, false},
        };
        for (const Case& c : cases) {
            FakeWatch w;
            w.watch.browserSleep().setIdleTime(c.idleMs);
            if (c.loggedIn)
                w.logIn();
            int at = 0;
            for (int input : c.inputs) {
                w.fake.clock.advance(input - at);
                w.watch.browserSleep().wake();
                QVERIFY2(!w.fake.browser.asleep, c.name);
                at = input;
            }
            w.fake.clock.advance(c.checkAtMs - at);
            QVERIFY2(w.fake.browser.asleep == c.asleep, c.name);
        }
    }
};

TOLLWICK_TEST(BrowserSleepTest)
#include "BrowserSleepTest.moc"
