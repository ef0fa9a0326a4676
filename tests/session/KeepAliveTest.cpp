#include "session/KeepAlive.h"
#include "fakes/FakeWindow.h"
#include "support/RecordPages.h"
#include "ui/TextBox.h"
#include "ui/WindowTimer.h"

#include <QPushButton>
#include <QTest>

namespace {

void tick(FakeWindow& w, int times)
{
    for (int i = 0; i < times; ++i)
        Q_EMIT w.window.Timer2->Timer();
}

} // namespace

class KeepAliveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countsOnlyOnceThePageIsKnown()
    {
        FakeWindow w;
        tick(w, 500);
        QCOMPARE(w.window.RefreshTicks, qint16(0));
        QVERIFY(w.fake.inet2.calls.isEmpty());
    }

    void refreshesEvery121stTick()
    {
        FakeWindow w;
        w.logIn();
        w.window.Command2_Click();
        tick(w, 120);
        QCOMPARE(w.window.RefreshTicks, qint16(120));
        QVERIFY(w.fake.inet2.calls.isEmpty());
        QCOMPARE(w.window.Text1->text(), QStringLiteral("已停止"));

        QStringList statuses;
        connect(w.window.Text1, &TextBox::textReplaced,
                [&](const QString& text) { statuses.append(text); });
        w.fake.inet2.busy = true;
        tick(w, 1);

        QCOMPARE(statuses, (QStringList{"正在刷新，请等待……", "扫描中"}));
        QCOMPARE(w.fake.inet2.calls,
                 (QStringList{"StillExecuting", "Cancel", "Execute get https://my.alipay.com"}));
        QCOMPARE(w.window.Text2->text(), Endpoints::service().PersonalHomeUrl);
        QVERIFY(w.window.Timer1->Enabled());
        QCOMPARE(w.window.RefreshTicks, qint16(0));
        // The buttons stay as Stop left them.
        QVERIFY(w.window.Command1->isVisibleTo(&w.window));

        tick(w, 121);
        QCOMPARE(w.fake.inet2.calls.size(), 5);
    }

    // Before any home page the scan timer has no period: still no ticks.
    void refreshBeforeLoginScansNothing()
    {
        FakeWindow w;
        w.fake.browser.complete("https://auth.alipay.com/login/index.htm");
        tick(w, 121);
        QCOMPARE(w.window.Text1->text(), QStringLiteral("扫描中"));
        QVERIFY(w.window.Timer1->Enabled());
        QCOMPARE(w.window.Timer1->Interval(), 0);
    }

    void refreshMakesAWaitingFetchGiveUp()
    {
        FakeWindow w;
        w.logIn();
        w.fake.requests.respond = [](const QString&) {
            return FakeResponse{recordPage({{tradeNumber(1), "t", "1.00"}}), -1};
        };
        w.fake.pump.onPass = [&](int pass) {
            if (pass == 1)
                tick(w, 121);
        };
        Q_EMIT w.window.Timer1->Timer();
        QCOMPARE(w.fake.pump.passes, 1);
        QCOMPARE(w.window.Text2->text(), Endpoints::service().PersonalHomeUrl);
        QCOMPARE(w.window.Text1->text(), QStringLiteral("扫描中"));
    }
};

QTEST_MAIN(KeepAliveTest)
#include "KeepAliveTest.moc"
