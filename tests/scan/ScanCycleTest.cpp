#include "scan/ScanCycle.h"
#include "fakes/FakeWatch.h"
#include "scan/NotificationAddress.h"
#include "support/RecordPages.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Scanning = QStringLiteral("扫描中");
const QString NotifyUrl = QStringLiteral("http://localhost/notify.php");

// The watch on fake platform objects, scanning. The record
// page shows `payments`; the shop answers `shopReply`.
struct ScanFixture : FakeWatch {
    QList<Payment> payments;
    QByteArray shopReply = "success";
    int shopStatus = 200;
    // Reads of the shop's reply that find it still running.
    int shopPendingReads = 0;
    // Where the record page's request ends; empty for where it was sent.
    QString recordPageReachedAt;
    // Run at every pass of the event loop while the scan waits.
    std::function<void(int pass)> duringWaits;

    ScanFixture()
    {
        fake.requests.respond = [this](const QString& address) {
            if (address.startsWith(Endpoints::service().RecordQueryUrl)) {
                FakeResponse page(recordPage(payments));
                page.finalAddress = recordPageReachedAt;
                return page;
            }
            FakeResponse reply(shopReply, shopPendingReads);
            reply.status = shopStatus;
            return reply;
        };
        // The clock runs on to wherever a wait asked to be woken.
        fake.pump.onPass = [this](int pass) {
            if (fake.pump.wakeRequests.last() > 0)
                fake.clock.advanceMilliseconds(fake.pump.wakeRequests.last());
            if (duringWaits)
                duringWaits(pass);
        };
        state.setDeliveryUrl(NotifyUrl);
        state.setStatus(Scanning);
    }

    void tick() { Q_EMIT fake.timer1.Timer(); }
    QString pageBox() const { return state.page(); }
    QStringList notifications() const
    {
        QStringList sent = fake.requests.sentAddresses;
        sent.removeIf([](const QString& a) { return !a.startsWith(NotifyUrl); });
        return sent;
    }
};

Payment payment(int serial, const QString& title = QStringLiteral("Order"))
{
    return {tradeNumber(serial), title + QString::number(serial), QStringLiteral("0.01")};
}

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
    void onlyTheExactScanningStatusScans_data()
    {
        QTest::addColumn<QString>("status");
        QTest::newRow("stopped") << QStringLiteral("已停止");
        QTest::newRow("trailing space") << QStringLiteral("扫描中 ");
        QTest::newRow("fetching") << QStringLiteral("获取交易信息");
        QTest::newRow("empty") << QString();
    }

    void onlyTheExactScanningStatusScans()
    {
        QFETCH(QString, status);
        ScanFixture f;
        f.payments = {payment(1)};
        f.state.setStatus(status);
        f.state.setPage(QStringLiteral("kept"));
        f.tick();
        QCOMPARE(f.pageBox(), QStringLiteral("kept"));
        QVERIFY(f.fake.requests.sentAddresses.isEmpty());
    }

    void readsTheLastFifteenDays()
    {
        ScanFixture f;
        f.fake.clock.set(QDateTime(QDate(2024, 1, 5), QTime(8, 0)));
        f.tick();
        QCOMPARE(f.fake.requests.sentAddresses, QStringList{Endpoints::service().RecordQueryUrl +
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
        f.state.SentTradeNo[2] = second.tradeNo;

        f.tick();

        const QString expected = "http://localhost/notify.php?act=dembro&jine=0.01"
                                 "&tradeno=2024030922001404950501234567&title=Order%201001";
        QCOMPARE(f.fake.inet1.executedAddresses, QStringList{expected});
        QCOMPARE(f.notifications(), QStringList{expected});
        QCOMPARE(f.pageBox(), QStringLiteral("2024/3/9 12:00:032024/3/9 12:00:03\r\n") +
                                  line(first, "发送成功") + "\r\n" +
                                  line(second, "已完结,不再发送"));
        QCOMPARE(f.state.SentTradeNo[1], first.tradeNo);
    }

    // Slots remember page positions, not a set of delivered payments.
    void positionsShiftWhenANewPaymentArrives()
    {
        ScanFixture f;
        const Payment a = payment(1), b = payment(2), c = payment(3), d = payment(4);
        f.state.setRecordCount("3");

        f.payments = {a, b, c};
        f.tick();
        QCOMPARE(f.notifications().size(), 3);

        f.payments = {d, a, b};
        f.tick();
        QCOMPARE(linesOf(f.pageBox()),
                 (QStringList{line(d, "发送成功"), line(a, "发送成功"), line(b, "发送成功")}));
        QCOMPARE(f.notifications().size(), 6);

        f.tick();
        QCOMPARE(linesOf(f.pageBox()),
                 (QStringList{line(d, "已完结,不再发送"), line(a, "已完结,不再发送"),
                              line(b, "已完结,不再发送")}));
        QCOMPARE(f.notifications().size(), 6);
    }

    // Ticks fall due during the waits of a long first scan; they must not
    // start scans of their own, and the tick after the scan scans normally.
    void ticksDuringAScanDoNothing()
    {
        ScanFixture f;
        const Payment a = payment(1), b = payment(2);
        f.payments = {a, b};
        f.state.setRecordCount("2");
        f.duringWaits = [&](int) {
            f.tick();
        };

        f.tick();
        QCOMPARE(f.fake.requests.sentAddresses.size(), 3);
        QCOMPARE(f.fake.inet1.executedAddresses.size(), 2);
        QCOMPARE(linesOf(f.pageBox()), (QStringList{line(a, "发送成功"), line(b, "发送成功")}));

        f.duringWaits = nullptr;
        f.tick();
        QCOMPARE(linesOf(f.pageBox()),
                 (QStringList{line(a, "已完结,不再发送"), line(b, "已完结,不再发送")}));
        QCOMPARE(f.fake.requests.sentAddresses.size(), 4);
    }

    // Listeners learn each outcome without reading the page box.
    void eachOutcomeIsAnEvent()
    {
        ScanFixture f;
        const Payment fresh = payment(1), known = payment(2);
        f.payments = {fresh, known};
        f.state.setRecordCount("2");
        f.state.SentTradeNo[2] = known.tradeNo;
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

        f.fake.inet1.busy = true;
        attempts.clear();
        f.tick();
        QVERIFY(attempts[0][0].value<DeliveryAttempt>().outcome == DeliveryAttempt::Outcome::Busy);
    }

    // The owner's re-notify makes both calls with the settings of now, but
    // leaves the slots and both boxes to the scan, and never runs beside it.
    void renotifyCallsTheShopOutsideTheScan()
    {
        ScanFixture f;
        const Payment p = payment(1);
        const TradeRecord record{p.tradeNo, p.title, p.amount};
        f.state.setPage(QStringLiteral("kept"));
        f.state.setStatus(QStringLiteral("已停止"));
        f.state.setInterfaceKey(QStringLiteral("secret"));
        f.shopReply = "success for secret";
        QSignalSpy attempts(&f.watch.scanCycle(), &ScanCycle::deliveryFinished);
        QSignalSpy statuses(&f.state, &WindowState::statusChanged);

        QVERIFY(f.watch.scanCycle().renotify(record) == ScanCycle::Refusal::None);
        QCOMPARE(f.fake.inet1.executedAddresses.size(), 1);
        QCOMPARE(f.notifications().size(), 1);
        const auto attempt = attempts.takeFirst()[0].value<DeliveryAttempt>();
        QVERIFY(attempt.manual);
        QVERIFY(attempt.outcome == DeliveryAttempt::Outcome::Delivered);
        QCOMPARE(attempt.reply, QStringLiteral("success for ***"));
        QVERIFY(!attempt.address.contains("secret"));
        QCOMPARE(f.state.page(), QStringLiteral("kept"));
        QCOMPARE(f.state.SentTradeNo[1], QString());
        QVERIFY(statuses.isEmpty());

        f.fake.inet1.busy = true;
        QVERIFY(f.watch.scanCycle().renotify(record) == ScanCycle::Refusal::FirstCallBusy);
        f.fake.inet1.busy = false;
        f.state.setStatus(Scanning);
        f.payments = {p};
        std::optional<ScanCycle::Refusal> duringScan;
        f.duringWaits = [&](int) {
            if (!duringScan)
                duringScan = f.watch.scanCycle().renotify(record);
        };
        f.tick();
        QVERIFY(duringScan == ScanCycle::Refusal::ScanRunning);
        QCOMPARE(f.notifications().size(), 2);
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

    void busyTransferControlComesBeforeTheDuplicateTest()
    {
        ScanFixture f;
        const Payment delivered = payment(1), fresh = payment(2);
        f.payments = {delivered, fresh};
        f.state.setRecordCount("2");
        f.state.SentTradeNo[1] = delivered.tradeNo;
        f.fake.inet1.busy = true;

        f.tick();

        QCOMPARE(linesOf(f.pageBox()), (QStringList{line(delivered, "发送失败,网站无响应"),
                                                    line(fresh, "发送失败,网站无响应")}));
        QVERIFY(f.notifications().isEmpty());
    }

    void onlyARepliedSuccessDelivers_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("delivered");
        QTest::newRow("success") << QByteArray("success") << true;
        QTest::newRow("inside a longer text") << QByteArray("unsuccessful") << true;
        QTest::newRow("capitals") << QByteArray("SUCCESS") << false;
        QTest::newRow("empty") << QByteArray() << false;
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
        QCOMPARE(f.notifications().size(), delivered ? 1 : 2);
        QCOMPARE(f.fake.inet1.executedAddresses.size(), delivered ? 1 : 2);
        QVERIFY(f.notifications().first().startsWith(NotifyUrl + "  ?act="));
    }

    // Settings are read again for the second call, after the pause.
    void secondCallUsesTheSettingsOfItsMoment()
    {
        ScanFixture f;
        f.payments = {payment(1, QStringLiteral("订单"))};
        f.duringWaits = [&](int) {
            f.state.setInterfaceKey(QStringLiteral("  newkey "));
            f.state.setShopCharset(QStringLiteral("utf-8"));
        };
        f.tick();
        QVERIFY(f.fake.inet1.executedAddresses.first().contains("act=dembro&"));
        QVERIFY(
            f.fake.inet1.executedAddresses.first().endsWith("title=%B6%A9%B5%A5" + QString("1")));
        QVERIFY(f.notifications().first().contains("act=newkey&"));
        QVERIFY(f.notifications().first().endsWith("title=%E8%AE%A2%E5%8D%951"));
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
        f.state.setPage(QStringLiteral("https://my.alipay.com/portal/i.htm"));
        f.tick();
        QCOMPARE(f.pageBox(), QString());
    }

    // Stop empties the box mid-scan; the scan goes on and writes into it.
    void stopDuringThePauseDoesNotEndTheScan()
    {
        ScanFixture f;
        const Payment p = payment(1);
        f.payments = {p};
        f.duringWaits = [&](int pass) {
            if (pass == 1) {
                f.state.setStatus(QStringLiteral("已停止"));
                f.state.setPage(QString());
            }
        };
        f.tick();
        QCOMPARE(f.pageBox(), "2024/3/9 12:00:03\r\n" + line(p, "发送成功"));
        QCOMPARE(f.state.status(), Scanning);
    }

    // A refresh writes the home address while the shop's reply is awaited:
    // that fetch gives up, and the line is built on the box as it then is.
    void homeAddressDuringTheNotificationGivesUpTheReply()
    {
        ScanFixture f;
        const Payment p = payment(1);
        f.payments = {p};
        f.shopPendingReads = 100;
        f.duringWaits = [&](int) {
            if (f.fake.clock.now().time().second() >= 3)
                f.state.setPage(Endpoints::service().PersonalHomeUrl);
        };
        f.tick();
        QCOMPARE(f.pageBox(), "2024/3/9 12:00:03" + Endpoints::service().PersonalHomeUrl + "\r\n" +
                                  line(p, NotifyUrl + "发送失败,检查发货网址和编码格式"));
        QCOMPARE(f.state.SentTradeNo[1], QString());
    }
};

QTEST_MAIN(ScanCycleTest)
#include "ScanCycleTest.moc"
