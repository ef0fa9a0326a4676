// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/KeepAlive.h"
#include "fakes/FakeWatch.h"
#include "state/StatusTexts.h"
#include "support/RecordPages.h"
#include "support/TestRegistry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QStringList refreshesSent(const FakeWatch& w)
{
    QStringList sent = w.fake.http.sent;
    sent.removeIf([](const QString& a) { return a != Endpoints::service().AccountRootUrl; });
    return sent;
}

} // namespace

class KeepAliveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countsOnlyOnceThePageIsKnown()
    {
        FakeWatch w;
        w.fake.clock.advanceSeconds(500);
        QCOMPARE(w.watch.keepAlive().RefreshTicks, qint16(0));
        QVERIFY(w.fake.http.sent.isEmpty());
    }

    void refreshesEvery121Seconds()
    {
        FakeWatch w;
        w.state.setScanInterval("100000");
        w.logIn();
        w.fake.clock.advanceSeconds(120);
        QCOMPARE(w.watch.keepAlive().RefreshTicks, qint16(120));
        QVERIFY(refreshesSent(w).isEmpty());

        QStringList statuses;
        connect(&w.state, &WindowState::statusChanged,
                [&](const QString& text) { statuses.append(text); });
        QSignalSpy refreshes(&w.watch.keepAlive(), &KeepAlive::refreshed);
        w.fake.clock.advanceSeconds(1);

        QCOMPARE(statuses, (QStringList{RefreshingStatus, ScanningStatus}));
        QCOMPARE(refreshesSent(w).size(), 1);
        QCOMPARE(w.state.page(), Endpoints::service().PersonalHomeUrl);
        QVERIFY(w.watch.Timer1->Enabled());
        QCOMPARE(w.watch.keepAlive().RefreshTicks, qint16(0));
        QCOMPARE(refreshes.size(), 1);

        w.fake.clock.advanceSeconds(121);
        QCOMPARE(refreshesSent(w).size(), 2);
    }

    // Nobody has logged in: the refresh keeps the session warm and nothing
    // else; the window still asks for a login, and nothing is scanned.
    void refreshBeforeLoginLeavesTheLoginRequest()
    {
        FakeWatch w;
        w.fake.browser.complete("https://auth.alipay.com/login/index.htm");
        QStringList statuses;
        connect(&w.state, &WindowState::statusChanged,
                [&](const QString& text) { statuses.append(text); });
        w.fake.clock.advanceSeconds(250);
        QCOMPARE(refreshesSent(w).size(), 2);
        QCOMPARE(w.state.status(), LoginRequestStatus);
        QVERIFY(statuses.isEmpty());
        QCOMPARE(w.fake.http.sent, refreshesSent(w));
        QVERIFY(!w.watch.Timer1->Enabled());
        QVERIFY(w.state.startButtonShown());
    }

    void refreshMakesAWaitingFetchGiveUp()
    {
        FakeWatch w;
        w.logIn();
        w.fake.http.respond = [](const QString&) {
            return FakeResponse::silent();
        };
        Q_EMIT w.watch.Timer1->Timer();
        QCOMPARE(w.state.status(), FetchingStatus);
        w.watch.keepAlive().RefreshTicks = KeepAlive::TicksBetweenRefreshes - 1;
        Q_EMIT w.watch.Timer2->Timer();
        QVERIFY(!w.watch.scanCycle().running());
        QCOMPARE(w.state.page(), Endpoints::service().PersonalHomeUrl);
        QCOMPARE(w.state.status(), ScanningStatus);
    }
};

TOLLWICK_TEST(KeepAliveTest)
#include "KeepAliveTest.moc"
