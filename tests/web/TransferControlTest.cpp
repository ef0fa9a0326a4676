// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/TransferControl.h"
#include "fakes/FakeHttpClient.h"
#include "fakes/FakeTimerControl.h"
#include "support/TestRegistry.h"

#include <QTest>

class TransferControlTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Busy from Execute until the call ends or the limit lets it go; a call
    // asked for meanwhile is not made.
    void busyUntilTheCallEndsOrTheLimit()
    {
        FakeClock clock;
        FakeHttpClient http(clock);
        FakeTimerFactory timers(clock);
        TransferControl control(http, timers);
        http.respond = [](const QString&) {
            return FakeResponse{"ok", 200, {}, 2000};
        };

        control.Execute("http://shop/1");
        control.Execute("http://shop/2");
        QVERIFY(control.StillExecuting());
        clock.advance(2000);
        QVERIFY(!control.StillExecuting());
        QCOMPARE(http.sent, QStringList{"http://shop/1"});

        http.respond = [](const QString&) {
            return FakeResponse::silent();
        };
        control.Execute("http://shop/3");
        clock.advanceSeconds(59);
        QVERIFY(control.StillExecuting());
        clock.advanceSeconds(1);
        QVERIFY(!control.StillExecuting());
        QCOMPARE(http.abandoned, 1);

        control.Execute("http://shop/4");
        control.Cancel();
        QVERIFY(!control.StillExecuting());
        QCOMPARE(http.abandoned, 2);
    }
};

TOLLWICK_TEST(TransferControlTest)
#include "TransferControlTest.moc"
