#include "session/KeepAlive.h"
#include "fakes/FakeWatch.h"
#include "support/RecordPages.h"

#include <QSignalSpy>
#include <QTest>

namespace {

void tick(FakeWatch& w, int times)
{
    for (int i = 0; i < times; ++i)
        Q_EMIT w.fake.timer2.Timer();
}

} // namespace

class KeepAliveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countsOnlyOnceThePageIsKnown()
    {
        FakeWatch w;
        tick(w, 500);
        QCOMPARE(w.state.RefreshTicks, qint16(0));
        QVERIFY(w.fake.inet2.calls.isEmpty());
    }

    void refreshesEvery121stTick()
    {
        FakeWatch w;
        w.logIn();
        w.state.setStatus(QStringLiteral("已停止"));
        tick(w, 120);
        QCOMPARE(w.state.RefreshTicks, qint16(120));
        QVERIFY(w.fake.inet2.calls.isEmpty());
        QCOMPARE(w.state.status(), QStringLiteral("已停止"));

        QStringList statuses;
        connect(&w.state, &WindowState::statusChanged,
                [&](const QString& text) { statuses.append(text); });
        QSignalSpy refreshes(&w.watch.keepAlive(), &KeepAlive::refreshed);
        w.fake.inet2.busy = true;
        tick(w, 1);

        QCOMPARE(statuses, (QStringList{"正在刷新，请等待……", "扫描中"}));
        QCOMPARE(w.fake.inet2.calls,
                 (QStringList{"StillExecuting", "Cancel", "Execute get https://my.alipay.com"}));
        QCOMPARE(w.state.page(), Endpoints::service().PersonalHomeUrl);
        QVERIFY(w.state.Timer1.Enabled());
        QCOMPARE(w.state.RefreshTicks, qint16(0));
        QCOMPARE(refreshes.size(), 1);

        tick(w, 121);
        QCOMPARE(w.fake.inet2.calls.size(), 5);
    }

    // Before any home page the scan timer has no period: still no ticks.
    void refreshBeforeLoginScansNothing()
    {
        FakeWatch w;
        w.fake.browser.complete("https://auth.alipay.com/login/index.htm");
        tick(w, 121);
        QCOMPARE(w.state.status(), QStringLiteral("扫描中"));
        QVERIFY(w.state.Timer1.Enabled());
        QCOMPARE(w.state.Timer1.Interval(), 0);
    }

    void refreshMakesAWaitingFetchGiveUp()
    {
        FakeWatch w;
        w.logIn();
        w.fake.requests.respond = [](const QString&) {
            return FakeResponse{recordPage({{tradeNumber(1), "t", "1.00"}}), -1};
        };
        w.fake.pump.onPass = [&](int pass) {
            if (pass == 1)
                tick(w, 121);
        };
        Q_EMIT w.fake.timer1.Timer();
        QCOMPARE(w.fake.pump.passes, 1);
        QCOMPARE(w.state.page(), Endpoints::service().PersonalHomeUrl);
        QCOMPARE(w.state.status(), QStringLiteral("扫描中"));
    }
};

QTEST_MAIN(KeepAliveTest)
#include "KeepAliveTest.moc"
