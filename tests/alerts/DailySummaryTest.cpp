// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/DailySummary.h"
#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
#include "alerts/RemoteAlerts.h"
#include "fakes/FakeWatch.h"
#include "journal/DayTotals.h"
#include "journal/DeliveryJournal.h"
#include "journal/PaymentBook.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/CurlWebHook.h"
#include "support/RecordPages.h"
#include "support/TestRegistry.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The program's alert side on the fake clock, the summary due at 21:00.
struct SummaryFixture : FakeWatch {
    QTemporaryDir folder;
    DeliveryJournal journal{folder.filePath("journal.db"), fake.clock};
    AlertPolicy policy{watch, journal};
    AlertSettings settings;
    std::unique_ptr<RemoteAlerts> remote;
    std::unique_ptr<DailySummary> summary;
    WebHook& hook;

    // The alert address through `hook`, or the fake one.
    explicit SummaryFixture(WebHook* hook = nullptr)
        : hook(hook ? *hook : fake.webHook)
    {
        AlertChannel channel;
        channel.kind = AlertChannel::Kind::CustomPost;
        channel.address = QStringLiteral("http://127.0.0.1:1/alerts");
        settings.setChannel(channel);
        settings.setDailySummary(QTime(21, 0));
        fake.webHook.respond = [](const WebHookRequest&) {
            return WebHookAnswer{200, {}};
        };
        start();
    }
    // As at a start of the program.
    void start()
    {
        const Platform platform{fake.browser, fake.http,   fake.http,  fake.clock, fake.timer1,
                                fake.timer2,  fake.timers, fake.shell, hook,       fake.keyring};
        summary.reset();
        remote = std::make_unique<RemoteAlerts>(policy, settings, platform, "pc",
                                                std::chrono::seconds(30));
        QObject::connect(remote.get(), &RemoteAlerts::sent, &journal,
                         &DeliveryJournal::recordAlertSend);
        summary = std::make_unique<DailySummary>(settings, *remote, journal, platform);
    }
    void runUntil(const QDateTime& time) { fake.clock.advance(fake.clock.now().msecsTo(time)); }
    qsizetype summariesSent() const { return fake.webHook.calls.size(); }
};

QDateTime day(int d, QTime time)
{
    return QDateTime(QDate(2024, 3, d), time);
}

} // namespace

Q_DECLARE_METATYPE(DayTotals)

class DailySummaryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textNamesAtMostTenUndelivered_data()
    {
        QTest::addColumn<DayTotals>("totals");
        QTest::addColumn<QString>("text");
        DayTotals all;
        all.seen = all.delivered = {2, 128051};
        QTest::newRow("all delivered")
            << all
            << QStringLiteral("每日汇总 2024-03-09：收款 2 笔 1280.51 元；已送达 2 笔 1280.51 元，"
                              "待送达 0 笔 0.00 元，已放弃 0 笔 0.00 元");
        DayTotals some;
        some.seen = {12, 1200};
        some.pending = {11, 1100};
        some.givenUp = {1, 100};
        for (int i = 1; i <= 12; ++i)
            some.undeliveredTitles.append(QStringLiteral("单%1").arg(i));
        QTest::newRow("twelve not delivered")
            << some
            << QStringLiteral("每日汇总 2024-03-09：收款 12 笔 12.00 元；已送达 0 笔 0.00 元，"
                              "待送达 11 笔 11.00 元，已放弃 1 笔 1.00 元\n"
                              "未送达：单1、单2、单3、单4、单5、单6、单7、单8、单9、单10 等 12 笔");
    }

    void textNamesAtMostTenUndelivered()
    {
        QFETCH(DayTotals, totals);
        QTEST(DailySummary::text(totals, QDate(2024, 3, 9)), "text");
    }

    // Sent at the time on a day the program runs then, never twice a day,
    // and not on a day it started after the time.
    void onceADayWhileRunningAtTheTime()
    {
        SummaryFixture f;
        f.runUntil(day(9, QTime(21, 1)));
        QCOMPARE(f.summariesSent(), 1);
        QVERIFY(f.fake.webHook.calls[0].request.body.contains("dailySummary"));

        // Started again after the time, and later told another time.
        f.start();
        f.settings.setDailySummary(QTime(23, 0));
        f.runUntil(day(10, QTime(0, 30)));
        QCOMPARE(f.summariesSent(), 1);

        // Across midnight, the next day's.
        f.runUntil(day(10, QTime(23, 1)));
        QCOMPARE(f.summariesSent(), 2);

        // Closed over the time, started after it: that day sends none.
        f.runUntil(day(11, QTime(22, 0)));
        f.summary.reset();
        f.runUntil(day(11, QTime(23, 30)));
        f.start();
        f.runUntil(day(12, QTime(22, 0)));
        QCOMPARE(f.summariesSent(), 2);
        f.runUntil(day(12, QTime(23, 1)));
        QCOMPARE(f.summariesSent(), 3);

        // Without an alert address, none.
        f.settings.setChannel({});
        f.runUntil(day(13, QTime(23, 1)));
        QCOMPARE(f.summariesSent(), 3);
    }

    // A local server, as the alert address, receives the day's summary.
    void aLocalServerReceivesTheSummary()
    {
        QHttpServer server;
        QByteArray received;
        server.route("/alerts", [&](const QHttpServerRequest& request) {
            received = request.body();
            return QHttpServerResponse(QHttpServerResponse::StatusCode::Ok);
        });
        const quint16 port = server.listen(QHostAddress::LocalHost, 0);
        CurlMulti multi;
        CurlWebHook hook(multi);
        SummaryFixture f(&hook);
        AlertChannel channel = f.settings.channel();
        channel.address = QStringLiteral("http://127.0.0.1:%1/alerts").arg(port);
        f.settings.setChannel(channel);
        PaymentBook book(f.journal, f.fake.clock);
        book.rememberFirstSightings({{{tradeNumber(1), QStringLiteral("订单 1001"), "25.00"},
                                      PaymentMemory::State::Pending}});

        f.runUntil(day(9, QTime(21, 0, 10)));
        QVERIFY(QTest::qWaitFor([&] { return !received.isEmpty(); }, 10000));
        const QJsonObject message = QJsonDocument::fromJson(received).object();
        QCOMPARE(message.value("cause").toString(), DailySummary::Cause);
        QCOMPARE(message.value("text").toString(),
                 QStringLiteral("Tollwick（pc）2024-03-09 21:00:00 每日汇总 2024-03-09："
                                "收款 1 笔 25.00 元；已送达 0 笔 0.00 元，待送达 1 笔 25.00 元，"
                                "已放弃 0 笔 0.00 元\n未送达：订单 1001"));
    }
};

TOLLWICK_TEST(DailySummaryTest)
#include "DailySummaryTest.moc"
