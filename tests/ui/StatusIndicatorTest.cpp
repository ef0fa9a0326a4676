// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/StatusIndicator.h"
#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
#include "alerts/Heartbeat.h"
#include "alerts/RemoteAlerts.h"
#include "fakes/FakeWindow.h"
#include "journal/DeliveryJournal.h"
#include "support/TestRegistry.h"

#include <QTemporaryDir>
#include <QTest>

// Offscreen there is no tray, as on many desktops: the window's title then
// tells the state.
class StatusIndicatorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titleTellsTheStateWithoutATray()
    {
        FakeWindow w;
        QTemporaryDir folder;
        DeliveryJournal journal(folder.filePath("journal.db"), w.fake.clock);
        AlertPolicy alerts(w.watch, journal);
        AlertSettings settings;
        settings.setChannel({AlertChannel::Kind::Slack, "https://hooks.invalid/x", {}, {}, {}});
        RemoteAlerts remote(alerts, settings, w.fake.platform(), "shop-pc",
                            std::chrono::seconds(30));
        Heartbeat heartbeat(w.watch.scanCycle(), settings, w.fake.platform(),
                            std::chrono::minutes(1));
        StatusIndicator indicator(w.window, w.state, w.watch.scanCycle(), alerts, journal, settings,
                                  remote, heartbeat, false);
        const auto title = [&] {
            return w.window.windowTitle();
        };

        QCOMPARE(title(),
                 QStringLiteral(
                     "TollwickV3.5 - 请登录支付宝 - dembro 是公开的默认密钥，请换成您自己的"));
        w.state.setInterfaceKey(QStringLiteral("kT9#vQ2!mW7$pL4x"));
        QCOMPARE(title(), QStringLiteral("TollwickV3.5 - 请登录支付宝"));
        w.logIn();
        QCOMPARE(title(), QStringLiteral("TollwickV3.5 - 扫描中"));
        w.window.Command2_Click();
        QCOMPARE(title(), QStringLiteral("TollwickV3.5 - 已停止"));
        w.window.Command1_Click();
        Q_EMIT w.watch.scanCycle().recordPageRedirected(QStringLiteral("https://login"));
        QVERIFY(title().startsWith(QStringLiteral("TollwickV3.5 - 出错：支付宝登录已失效")));
        Q_EMIT journal.failed(QStringLiteral("disk full"));
        QVERIFY(title().endsWith(QStringLiteral(" - 发货记录出错：disk full")));
        w.fake.webHook.answer(404);
        QVERIFY(title().endsWith(QStringLiteral(" - 提醒网址发送失败：网址不存在 (404)")));
        // The owner logs in again.
        w.fake.browser.complete(QStringLiteral("https://login"));
        w.logIn();
        Q_EMIT journal.recovered();
        w.fake.webHook.answer(200);
        QCOMPARE(title(), QStringLiteral("TollwickV3.5 - 扫描中"));
        w.state.setScanInterval(QStringLiteral("soon"));
        w.fake.clock.advanceSeconds(20);
        QCOMPARE(title(), QStringLiteral("TollwickV3.5 - 出错：扫描间隔无效，请填写秒数"));
    }
};

TOLLWICK_TEST(StatusIndicatorTest)
#include "StatusIndicatorTest.moc"
