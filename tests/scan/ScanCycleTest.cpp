// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/ScanCycle.h"
#include "ScanFixture.h"
#include "platform/CharsetRegistry.h"
#include "scan/NotificationAddress.h"
#include "state/StatusTexts.h"
#include "support/RecordPages.h"
#include "support/TestRegistry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QString line(const Payment& p, const QString& outcome)
{
    return p.title + u',' + p.amount + u',' + p.tradeNo + u',' + outcome;
}

QStringList linesOf(const QString& pageBox)
{
    return pageBox.split(QStringLiteral("\r\n")).mid(1);
}

} // namespace

class ScanCycleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyTheScanningStateScans_data()
    {
        QTest::addColumn<ScanState>("scanState");
        QTest::newRow("stopped") << ScanState::Stopped;
        QTest::newRow("waiting for a login") << ScanState::WaitingForLogin;
        QTest::newRow("session lost") << ScanState::SessionLost;
    }

    void onlyTheScanningStateScans()
    {
        QFETCH(ScanState, scanState);
        ScanFixture f;
        f.payments = {payment(1)};
        f.state.setScanState(scanState);
        f.state.setPage(QStringLiteral("kept"));
        f.fake.http.sent.clear();
        f.tick();
        QCOMPARE(f.pageBox(), QStringLiteral("kept"));
        QVERIFY(f.fake.http.sent.isEmpty());
    }

    void readsTheLastFifteenDays()
    {
        ScanFixture f;
        f.fake.clock.set(QDateTime(QDate(2024, 1, 5), QTime(8, 0)));
        f.tick();
        QCOMPARE(f.fake.http.sent, QStringList{Endpoints::service().RecordQueryUrl +
                                               "2023.12.21&endDate=2024.01.05"});
    }

    // Two payments: the first new, the second delivered before. The time
    // texts run together at the top, newest first.
    void deliversNewAndSkipsDeliveredPayments()
    {
        ScanFixture f;
        const Payment first{"2024030922001404950501234567", "Order 1001", "0.01"};
        const Payment second{"2024030822001404950509876543", QStringLiteral("测试订单"), "25.00"};
        f.payments = {first, second};
        f.state.setRecordCount("2");
        f.watch.scanCycle().SentTradeNo[2] = second.tradeNo;

        f.tick();

        const QString expected = "http://localhost/notify.php?act=dembro&jine=0.01"
                                 "&tradeno=2024030922001404950501234567&title=Order%201001";
        QCOMPARE(f.notifications(), (QStringList{expected, expected}));
        QCOMPARE(f.pageBox(), QStringLiteral("2024/3/9 12:00:032024/3/9 12:00:03\r\n") +
                                  line(first, "发送成功") + "\r\n" +
                                  line(second, "已完结,不再发送"));
        QCOMPARE(f.watch.scanCycle().SentTradeNo[1], first.tradeNo);
    }

    // Slots remember page positions, not a set of delivered payments.
    void positionsShiftWhenANewPaymentArrives()
    {
        ScanFixture f;
        const Payment a = payment(1), b = payment(2), c = payment(3), d = payment(4);
        f.state.setRecordCount("3");

        f.payments = {a, b, c};
        f.tick();
        QCOMPARE(f.notifications().size(), 6);

        f.payments = {d, a, b};
        f.tick();
        QCOMPARE(linesOf(f.pageBox()),
                 (QStringList{line(d, "发送成功"), line(a, "发送成功"), line(b, "发送成功")}));
        QCOMPARE(f.notifications().size(), 12);

        f.tick();
        QCOMPARE(linesOf(f.pageBox()),
                 (QStringList{line(d, "已完结,不再发送"), line(a, "已完结,不再发送"),
                              line(b, "已完结,不再发送")}));
        QCOMPARE(f.notifications().size(), 12);
    }

    // Listeners learn each outcome without reading the page box.
    void eachOutcomeIsAnEvent()
    {
        ScanFixture f;
        const Payment fresh = payment(1), known = payment(2);
        f.payments = {fresh, known};
        f.state.setRecordCount("2");
        f.watch.scanCycle().SentTradeNo[2] = known.tradeNo;
        f.shopReply = QByteArray(150, 'x') + "success" + QByteArray(150, 'y');
        QSignalSpy started(&f.watch.scanCycle(), &ScanCycle::scanStarted);
        QSignalSpy ended(&f.watch.scanCycle(), &ScanCycle::scanEnded);
        QSignalSpy attempts(&f.watch.scanCycle(), &ScanCycle::deliveryFinished);

        f.tick();
        QCOMPARE(started.size(), 1);
        QCOMPARE(ended.takeFirst(), (QVariantList{2, true}));
        QCOMPARE(attempts.size(), 2);
        const auto delivered = attempts[0][0].value<DeliveryAttempt>();
        QCOMPARE(delivered.record, (TradeRecord{fresh.tradeNo, fresh.title, fresh.amount}));
        QVERIFY(delivered.outcome == DeliveryAttempt::Outcome::Delivered);
        QCOMPARE(delivered.address, withoutKey(f.notifications().constLast()));
        QVERIFY(delivered.address.contains("?act=***&"));
        QCOMPARE(delivered.charset, QStringLiteral("gb2312"));
        QCOMPARE(delivered.status, 200);
        QCOMPARE(delivered.reply, QString(f.shopReply.left(200)));
        QVERIFY(attempts[1][0].value<DeliveryAttempt>().outcome ==
                DeliveryAttempt::Outcome::AlreadyDelivered);

        f.payments = {payment(3), fresh};
        f.shopReply = "key error";
        f.shopStatus = 403;
        attempts.clear();
        f.tick();
        const auto rejected = attempts[0][0].value<DeliveryAttempt>();
        QVERIFY(rejected.outcome == DeliveryAttempt::Outcome::Rejected);
        QCOMPARE(rejected.status, 403);
        QCOMPARE(rejected.reply, QStringLiteral("key error"));
    }

    // The owner's re-notify makes both calls with the settings of now, but
    // leaves the slots and both boxes to the scan, and never runs beside it
    // or beside a first call still under way.
    void renotifyCallsTheShopOutsideTheScan()
    {
        ScanFixture f;
        const Payment p = payment(1);
        const TradeRecord record{p.tradeNo, p.title, p.amount};
        f.watch.stop();
        f.state.setPage(QStringLiteral("kept"));
        f.state.setInterfaceKey(QStringLiteral("secret"));
        f.shopReply = "success for secret";
        QSignalSpy attempts(&f.watch.scanCycle(), &ScanCycle::deliveryFinished);
        QSignalSpy statuses(&f.state, &WindowState::statusChanged);

        QVERIFY(f.watch.scanCycle().renotify(record) == ScanCycle::Refusal::None);
        QVERIFY(f.watch.scanCycle().renotify(record) == ScanCycle::Refusal::ScanRunning);
        f.runScan();
        QCOMPARE(f.notifications().size(), 2);
        const auto attempt = attempts.takeFirst()[0].value<DeliveryAttempt>();
        QVERIFY(attempt.manual);
        QVERIFY(attempt.outcome == DeliveryAttempt::Outcome::Delivered);
        QCOMPARE(attempt.reply, QStringLiteral("success for ***"));
        QVERIFY(!attempt.address.contains("secret"));
        QCOMPARE(f.state.page(), QStringLiteral("kept"));
        QCOMPARE(f.watch.scanCycle().SentTradeNo[1], QString());
        QVERIFY(statuses.isEmpty());

        f.firstCallDelayMs = 30000;
        QVERIFY(f.watch.scanCycle().renotify(record) == ScanCycle::Refusal::None);
        f.runScan();
        QVERIFY(f.watch.scanCycle().renotify(record) == ScanCycle::Refusal::FirstCallBusy);
    }

    // A lost session sends the record page to the login form.
    void aRecordPageFromElsewhereIsReported()
    {
        ScanFixture f;
        f.payments = {payment(1)};
        f.recordPageReachedAt = QStringLiteral("https://auth.alipay.com/login/index.htm");
        QSignalSpy redirected(&f.watch.scanCycle(), &ScanCycle::recordPageRedirected);
        QSignalSpy ended(&f.watch.scanCycle(), &ScanCycle::scanEnded);
        f.tick();
        QCOMPARE(redirected.takeFirst(), QVariantList{f.recordPageReachedAt});
        QCOMPARE(ended.takeFirst().at(1), QVariant(false));
    }

    // The first call of an earlier payment still runs: busy lines, even for
    // a payment delivered before, and nothing is sent.
    void busyTransferControlComesBeforeTheDuplicateTest()
    {
        ScanFixture f;
        const Payment delivered = payment(1), fresh = payment(2);
        f.payments = {delivered, fresh};
        f.state.setRecordCount("2");
        f.watch.scanCycle().SentTradeNo[1] = delivered.tradeNo;
        f.firstCallDelayMs = 30000;
        f.watch.scanCycle().renotify({"2024", "earlier", "1.00"});
        f.runScan();
        const qsizetype sent = f.fake.http.sent.size();

        f.tick();

        QCOMPARE(linesOf(f.pageBox()), (QStringList{line(delivered, "发送失败,网站无响应"),
                                                    line(fresh, "发送失败,网站无响应")}));
        QCOMPARE(f.fake.http.sent.size(), sent + 1);
    }

    void onlyARepliedSuccessDelivers_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("delivered");
        QTest::newRow("success") << QByteArray("success") << true;
        QTest::newRow("inside a longer text") << QByteArray("unsuccessful") << true;
        QTest::newRow("capitals") << QByteArray("SUCCESS") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("past the MiB kept") << QByteArray(1024 * 1024, 'x') + "success" << true;
    }

    void onlyARepliedSuccessDelivers()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, delivered);
        ScanFixture f;
        const Payment p = payment(1);
        f.payments = {p};
        f.shopReply = reply;
        f.state.setDeliveryUrl(NotifyUrl + "  ");

        f.tick();
        f.tick();

        const QString rejected = line(p, NotifyUrl + "发送失败,检查发货网址和编码格式");
        QCOMPARE(linesOf(f.pageBox()),
                 QStringList{delivered ? line(p, "已完结,不再发送") : rejected});
        // A rejected payment is sent again, both calls, at the next tick; the
        // URL goes out as typed.
        QCOMPARE(f.notifications().size(), delivered ? 2 : 4);
        QVERIFY(f.notifications().first().startsWith(NotifyUrl + "  ?act="));
    }

    // A shop that echoes what it got must not put the key into the journal
    // in any form it may have written it.
    void echoedKeyIsMaskedInTheExcerpt_data()
    {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("excerpt");
        const QString gbk = "%C3%DC%D4%BF%20Zq7%2B%2F9%26%3C%27";
        QTest::newRow("the query as sent") << "gb2312"
                                           << "act=" + gbk + "&jine=0.01"
                                           << "act=***&jine=0.01";
        QTest::newRow("UTF-8 from a GBK shop") << "gb2312"
                                               << "act=%E5%AF%86%E9%92%A5%20Zq7%2B%2F9%26%3C%27"
                                               << "act=***";
        QTest::newRow("space as plus") << "gb2312" << QString(gbk).replace("%20", "+") << "***";
        QTest::newRow("htmlspecialchars")
            << "utf-8" << QStringLiteral("<b>密钥 Zq7+/9&amp;&lt;&#039;</b>") << "<b>***</b>";
    }

    void echoedKeyIsMaskedInTheExcerpt()
    {
        QFETCH(QString, charset);
        QFETCH(QString, reply);
        ScanFixture f;
        f.payments = {payment(1)};
        f.state.setInterfaceKey(QStringLiteral(" 密钥 Zq7+/9&<' "));
        f.state.setShopCharset(charset);
        f.shopReply = encoderForCharset(charset).encode(reply);
        QSignalSpy attempts(&f.watch.scanCycle(), &ScanCycle::deliveryFinished);
        f.tick();
        QTEST(attempts.takeFirst()[0].value<DeliveryAttempt>().reply, "excerpt");
    }

    // Settings are read again for the second call, after the pause.
    void secondCallUsesTheSettingsOfItsMoment()
    {
        ScanFixture f;
        f.payments = {payment(1, QStringLiteral("订单"))};
        Q_EMIT f.watch.Timer1->Timer();
        f.fake.clock.advance(1000);
        f.state.setInterfaceKey(QStringLiteral("  newkey "));
        f.state.setShopCharset(QStringLiteral("utf-8"));
        f.runScan();
        const QStringList calls = f.notifications();
        QVERIFY(calls[0].contains("act=dembro&"));
        QVERIFY(calls[0].endsWith("title=%B6%A9%B5%A5" + QString("1")));
        QVERIFY(calls[1].contains("act=newkey&"));
        QVERIFY(calls[1].endsWith("title=%E8%AE%A2%E5%8D%951"));
    }

    void recordCountRules_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("lines");
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("negative") << "-3" << 0;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("fraction rounds down") << "2.9" << 2;
        QTest::newRow("blanks around") << " 3 " << 3;
        QTest::newRow("beyond the slots") << "20" << 12;
    }

    void recordCountRules()
    {
        QFETCH(QString, count);
        ScanFixture f;
        for (int serial = 1; serial <= 14; ++serial)
            f.payments.append(payment(serial));
        f.state.setRecordCount(count);
        f.tick();
        QTEST(int(linesOf(f.pageBox()).size()), "lines");
    }

    void pageWithoutRecordsWritesNothing()
    {
        ScanFixture f;
        f.tick();
        QCOMPARE(f.pageBox(), QString());
    }

    // Stop in the pause: the payment whose first call went out gets its
    // second call and its line; the next payment is not started, and the
    // ticks that follow do nothing.
    void stopDuringThePauseFinishesOnlyThatPayment()
    {
        ScanFixture f;
        const Payment a = payment(1), b = payment(2);
        f.payments = {a, b};
        f.state.setRecordCount("2");
        Q_EMIT f.watch.Timer1->Timer();
        f.fake.clock.advance(1000);
        f.watch.stop();
        f.runScan();
        QCOMPARE(f.pageBox(), "2024/3/9 12:00:03\r\n" + line(a, "发送成功"));
        QCOMPARE(f.notifications().size(), 2);
        QCOMPARE(f.state.status(), StoppedStatus);

        f.tick();
        QCOMPARE(f.notifications().size(), 2);
    }

    // A refresh while the shop's reply is awaited makes that fetch give up,
    // and the line is built on the box as the refresh left it.
    void refreshDuringTheNotificationGivesUpTheReply()
    {
        ScanFixture f;
        const Payment p = payment(1);
        f.payments = {p};
        f.shopDelayMs = 10000;
        Q_EMIT f.watch.Timer1->Timer();
        f.fake.clock.advance(4000);
        f.watch.keepAlive().RefreshTicks = 120;
        Q_EMIT f.watch.Timer2->Timer();
        QVERIFY(!f.watch.scanCycle().running());
        QCOMPARE(f.pageBox(), "2024/3/9 12:00:04" + Endpoints::service().PersonalHomeUrl + "\r\n" +
                                  line(p, NotifyUrl + "发送失败,检查发货网址和编码格式"));
        QCOMPARE(f.watch.scanCycle().SentTradeNo[1], QString());
    }
};

TOLLWICK_TEST(ScanCycleTest)
#include "ScanCycleTest.moc"
