// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
#include "alerts/DailySummary.h"
#include "alerts/Heartbeat.h"
#include "alerts/ReadableTitle.h"
#include "alerts/RemoteAlerts.h"
#include "fakes/FakeWatch.h"
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
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// The watch, its journal and the alert policy, with every alert written down
// as "+cause" when raised and "-cause" when cleared.
struct AlertFixture : FakeWatch {
    QTemporaryDir folder;
    DeliveryJournal journal{folder.filePath("journal.db"), fake.clock};
    AlertPolicy policy{watch, journal};
    QStringList heard;

    AlertFixture()
    {
        QObject::connect(&policy, &AlertPolicy::raised,
                         [this](const Alert& a) { heard.append('+' + a.causeName()); });
        QObject::connect(&policy, &AlertPolicy::cleared,
                         [this](const Alert& a) { heard.append('-' + a.causeName()); });
    }

    ScanCycle& scan() { return watch.scanCycle(); }
    void enter(ScanState scanState) { state.setScanState(scanState); }
    void scanEnded(bool pageRead) { Q_EMIT scan().scanEnded(1, pageRead); }
    void delivery(const QString& tradeNo, DeliveryAttempt::Outcome outcome)
    {
        DeliveryAttempt attempt{.record = {tradeNo, QStringLiteral("订单"), "1.00"}};
        attempt.outcome = outcome;
        Q_EMIT scan().deliveryFinished(attempt);
    }
};

// The alert address on top, every try written down as "cause:verdict" and
// each call's time in seconds from the start.
struct RemoteFixture : AlertFixture {
    AlertSettings settings;
    RemoteAlerts remote{policy, settings, fake.platform(), QStringLiteral("shop-pc"), 30s};
    QStringList tries;
    QList<qint64> callTimes;
    const Alert lost{Alert::Cause::SessionLost, {}, QStringLiteral("支付宝登录已失效。")};

    explicit RemoteFixture(AlertChannel::Kind kind = AlertChannel::Kind::Slack)
    {
        settings.setChannel({kind, QStringLiteral("http://bot.invalid/send"), {}, {}, {}});
        QObject::connect(&remote, &RemoteAlerts::sent, [this](const AlertSend& send) {
            static const char* const names[] = {"delivered", "willRetry", "gaveUp"};
            tries.append(send.cause + ':' + names[int(send.verdict)]);
        });
    }
    QByteArray body(qsizetype call) const { return fake.webHook.calls.at(call).request.body; }
    // Answers each call at once with the next of `answers`, the last again and again.
    void answerWith(const QList<WebHookAnswer>& answers)
    {
        fake.webHook.respond = [this, answers, start = fake.clock.now()](const WebHookRequest&) {
            callTimes.append(start.secsTo(fake.clock.now()));
            return answers.value(callTimes.size() - 1, answers.constLast());
        };
    }
};

using Outcome = DeliveryAttempt::Outcome;

} // namespace

class AlertsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // One alert per cause until it clears, one clearing; the unreadable
    // pages of a lost session are that one problem. Stop is no problem.
    void eachCauseAlertsOnceUntilItClears()
    {
        AlertFixture f;
        f.enter(ScanState::Scanning);
        f.enter(ScanState::SessionLost);
        for (int scan = 0; scan < 3; ++scan)
            f.scanEnded(false);
        f.enter(ScanState::Scanning);
        f.enter(ScanState::Stopped);
        f.enter(ScanState::IntervalInvalid);
        Q_EMIT f.watch.schedule().intervalStillInvalid();
        Q_EMIT f.watch.schedule().intervalStillInvalid();
        f.enter(ScanState::Scanning);
        Q_EMIT f.journal.failed(QStringLiteral("disk full"));
        Q_EMIT f.journal.failed(QStringLiteral("disk full"));
        Q_EMIT f.journal.recovered();
        QCOMPARE(f.heard, (QStringList{"+sessionLost", "-sessionLost", "+intervalInvalid",
                                       "-intervalInvalid", "+journalFailed", "-journalFailed"}));
    }

    void failuresCountOnlyInARow()
    {
        AlertFixture f;
        for (bool read : {false, false, true, false, false, false, false})
            f.scanEnded(read);
        QCOMPARE(f.heard, QStringList{"+recordPageUnreadable"});
        f.scanEnded(true);
        QCOMPARE(f.heard.last(), QStringLiteral("-recordPageUnreadable"));

        f.heard.clear();
        const QString a = QStringLiteral("A"), b = QStringLiteral("B");
        for (int scan = 1; scan <= 4; ++scan) {
            f.delivery(a, Outcome::Rejected);
            // B is rejected at scans 1, 2 and 4 only.
            f.delivery(b, scan == 3 ? Outcome::Busy : Outcome::Rejected);
            f.scanEnded(true);
        }
        QCOMPARE(f.heard, QStringList{"+paymentRejected"});
        QCOMPARE(f.policy.active().constFirst().subject, a);
        f.delivery(a, Outcome::Delivered);
        QCOMPARE(f.heard.last(), QStringLiteral("-paymentRejected"));
    }

    void retries_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<WebHookAnswer>>("answers");
        // When the first tries came, then when the last one did.
        QTest::addColumn<QList<qint64>>("times");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("last");
        using Kind = AlertChannel::Kind;
        const auto row = [](const char* name, const QList<WebHookAnswer>& answers,
                            const QList<qint64>& times, int count, const char* last,
                            Kind kind = Kind::Slack) {
            QTest::newRow(name) << int(kind) << answers << times << count << QString(last);
        };
        row("503 twice, then taken", {{503, {}}, {503, {}}, {200, {}}}, {0, 30, 90}, 3,
            "delivered");
        // Tried past the refusals' limit: a 429 is no refusal.
        row("429 three times, then taken", {{429, {}}, {429, {}}, {429, {}}, {200, {}}},
            {0, 30, 90, 210}, 4, "delivered");
        row("refused", {{400, {}}}, {0, 30, 90}, 3, "gaveUp");
        row("an error code in a 200", {{200, R"({"errcode":93000})"}}, {0, 30, 90}, 3, "gaveUp",
            Kind::WeCom);
        // Pauses double up to 30 minutes; the last try comes before a day is out.
        row("no answer for a day", {{0, {}}}, {0, 30, 90, 210, 450, 930, 1890, 3690, 5490, 84690},
            53, "gaveUp");
    }

    // Each message is tried again on its own timer, never only when the
    // next alert comes, and keeps the time of its event.
    void retries()
    {
        QFETCH(int, kind);
        QFETCH(QList<WebHookAnswer>, answers);
        QFETCH(QList<qint64>, times);
        QFETCH(QString, last);
        RemoteFixture f{AlertChannel::Kind(kind)};
        f.answerWith(answers);
        Q_EMIT f.policy.raised(f.lost);
        f.fake.clock.advanceSeconds(24 * 3600);
        QTEST(int(f.callTimes.size()), "count");
        QCOMPARE(f.callTimes.first(times.size() - 1), times.first(times.size() - 1));
        QCOMPARE(f.callTimes.constLast(), times.constLast());
        QCOMPARE(f.tries.size(), f.callTimes.size());
        QCOMPARE(f.tries.constLast(), QStringLiteral("sessionLost:") + last);
        QCOMPARE(f.body(f.callTimes.size() - 1), f.body(0));
        QVERIFY(f.body(0).contains("Tollwick（shop-pc）2024-03-09 12:00:00 支付宝登录已失效。"));
    }

    void aFailingMessageHoldsBackNoOther()
    {
        RemoteFixture f;
        Q_EMIT f.policy.raised(f.lost);
        Q_EMIT f.policy.raised({Alert::Cause::JournalFailed, {}, QStringLiteral("disk full")});
        QCOMPARE(f.fake.webHook.calls.size(), 2);
        f.fake.webHook.answer(400);
        QCOMPARE(f.remote.problem(), QStringLiteral("被拒绝 (400)"));
        f.fake.webHook.answer(200);
        QCOMPARE(f.remote.problem(), QString());
        f.fake.clock.advanceSeconds(30);
        QCOMPARE(f.tries, (QStringList{"sessionLost:willRetry", "journalFailed:delivered"}));
        QCOMPARE(f.fake.webHook.unanswered(), 1);
    }

    void aClearingDropsItsAlertStillBeingTried_data()
    {
        QTest::addColumn<bool>("answeredFirst");
        QTest::newRow("waiting for its retry") << true;
        QTest::newRow("under way") << false;
    }

    // A late "session lost" never arrives after its clearing.
    void aClearingDropsItsAlertStillBeingTried()
    {
        QFETCH(bool, answeredFirst);
        RemoteFixture f;
        Q_EMIT f.policy.raised(f.lost);
        if (answeredFirst)
            f.fake.webHook.answer(503);
        Q_EMIT f.policy.cleared(f.lost);
        if (!answeredFirst)
            f.fake.webHook.answer(503);
        f.fake.webHook.answer(200);
        f.fake.clock.advanceSeconds(24 * 3600);
        QCOMPARE(f.fake.webHook.calls.size(), 2);
        QVERIFY(f.body(1).contains("已恢复：支付宝登录有效，扫描继续"));
        QCOMPARE(f.tries.constLast(), QStringLiteral("cleared:delivered"));
    }

    void testAnswersInTheOwnersWords_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("address");
        QTest::addColumn<WebHookAnswer>("answer");
        QTest::addColumn<QString>("words");
        const int get = int(AlertChannel::Kind::CustomGet);
        const QString address = QStringLiteral("http://bot.invalid/?t={text}");
        const QByteArray refusal = R"({"errcode":310000,"errmsg":"keywords not in content"})";
        QTest::newRow("no address") << get << "" << WebHookAnswer{} << "发送失败：请先填写提醒网址";
        QTest::newRow("taken") << get << address << WebHookAnswer{200, "ok"}
                               << "发送成功\nHTTP 状态：200\n回复：ok";
        QTest::newRow("no such page") << get << address << WebHookAnswer{404, {}}
                                      << "发送失败：网址不存在 (404)\nHTTP 状态：404";
        QTest::newRow("no connection")
            << get << address << WebHookAnswer{} << "发送失败：连接失败或没有回复";
        QTest::newRow("the bot's own error")
            << int(AlertChannel::Kind::DingTalk) << address << WebHookAnswer{200, refusal}
            << QString::fromUtf8("发送失败：keywords not in content\nHTTP 状态：200\n回复：" +
                                 refusal);
    }

    void testAnswersInTheOwnersWords()
    {
        QFETCH(int, kind);
        QFETCH(QString, address);
        QFETCH(WebHookAnswer, answer);
        RemoteFixture f;
        f.answerWith({answer});
        QString words;
        f.remote.sendTest({AlertChannel::Kind(kind), address, {}, {}, {}},
                          [&words](const QString& answer) { words = answer; });
        QTEST(words, "words");
    }

    void readableTitles_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("shown");
        QTest::newRow("references")
            << "A&amp;B &lt;3 &#20013;&#x6587; &copy;" << QStringLiteral("A&B <3 中文 &copy;");
        QTest::newRow("line breaks, tabs and a reversal")
            << QStringLiteral("订单\n\u202E1001\r\t\u2066x\u2069") << QStringLiteral("订单1001x");
        QTest::newRow("a reference to a control") << "a&#10;b&#x202e;c"
                                                  << "abc";
        QTest::newRow("long") << QString(70, u'x') << QString(63, u'x') + u'…';
        QTest::newRow("a pair at the cut")
            << QString(62, u'x') + QStringLiteral("😀😀") << QString(62, u'x') + u'…';
    }

    void readableTitles()
    {
        QFETCH(QString, page);
        QTEST(readableTitle(page), "shown");
    }

    // A GET after a scan that read the record page, at most once a minute;
    // its failures show as a problem only.
    void heartbeatFollowsScansThatReadThePage()
    {
        AlertFixture f;
        AlertSettings settings;
        const QString address = QStringLiteral("https://shop.invalid/heartbeat.php");
        settings.setHeartbeatAddress(address);
        Heartbeat heartbeat(f.scan(), settings, f.fake.platform(), 60s);
        const QDateTime start = f.fake.clock.now();
        QList<qint64> pings;
        f.fake.webHook.respond = [&](const WebHookRequest& request) {
            pings.append(start.secsTo(f.fake.clock.now()));
            const bool get = request.address == address && request.body.isEmpty();
            return WebHookAnswer{get ? 503 : 400, {}};
        };
        // A scan every 20 s; from the sixth on, the record page is not read.
        for (int scan = 0; scan < 10; ++scan) {
            f.scanEnded(scan < 5);
            f.fake.clock.advanceSeconds(20);
        }
        QCOMPARE(pings, (QList<qint64>{0, 60}));
        QCOMPARE(heartbeat.problem(), QStringLiteral("服务出错 (503)"));
    }

    // The day's summary goes at its time on a day the program runs then,
    // never twice a day, and not without an address.
    void theDailySummaryGoesOnceADayWhileRunningAtItsTime()
    {
        RemoteFixture f;
        f.answerWith({{200, "ok"}});
        QObject::connect(&f.remote, &RemoteAlerts::sent, &f.journal,
                         &DeliveryJournal::recordAlertSend);
        f.settings.setDailySummary(QTime(21, 0));
        std::optional<DailySummary> summary;
        summary.emplace(f.settings, f.remote, f.journal, f.fake.platform());
        const auto sentBy = [&](int day, QTime time) {
            f.fake.clock.advance(f.fake.clock.now().msecsTo(QDateTime(QDate(2024, 3, day), time)));
            return f.tries.count(QStringLiteral("dailySummary:delivered"));
        };
        QCOMPARE(sentBy(9, QTime(21, 1)), 1);
        // Started again after the time, and told a later one: not twice a day.
        summary.emplace(f.settings, f.remote, f.journal, f.fake.platform());
        f.settings.setDailySummary(QTime(23, 0));
        QCOMPARE(sentBy(10, QTime(0, 30)), 1);
        QCOMPARE(sentBy(10, QTime(23, 1)), 2);
        // Closed over the time and started after it: none that day.
        sentBy(11, QTime(22, 0));
        summary.reset();
        sentBy(11, QTime(23, 30));
        summary.emplace(f.settings, f.remote, f.journal, f.fake.platform());
        QCOMPARE(sentBy(12, QTime(22, 0)), 2);
        QCOMPARE(sentBy(12, QTime(23, 1)), 3);
        f.settings.setChannel({});
        QCOMPARE(sentBy(13, QTime(23, 1)), 3);
    }

    // A local server, as the alert address, receives the day's summary
    // through libcurl: the totals by state, ten undelivered titles named.
    void aLocalServerReceivesTheDaysSummary()
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
        AlertFixture f;
        FakePlatform& fake = f.fake;
        const Platform platform{fake.browser, fake.http,  fake.http, fake.clock,
                                fake.timers,  fake.shell, hook,      fake.keyring};
        AlertSettings settings;
        const QString address = QStringLiteral("http://127.0.0.1:%1/alerts").arg(port);
        settings.setChannel({AlertChannel::Kind::CustomPost, address, {}, {}, {}});
        settings.setDailySummary(QTime(21, 0));
        RemoteAlerts remote(f.policy, settings, platform, QStringLiteral("pc"), 30s);
        DailySummary summary(settings, remote, f.journal, platform);
        PaymentBook book(f.journal, fake.clock);
        using State = PaymentMemory::State;
        for (int i = 1; i <= 13; ++i)
            book.rememberFirstSightings(
                {{{tradeNumber(i), QStringLiteral("单%1").arg(i), i == 13 ? "0.01" : "1.00"},
                  i == 13   ? State::Delivered
                  : i == 12 ? State::GivenUp
                            : State::Pending}});

        fake.clock.advance(fake.clock.now().msecsTo(QDateTime(QDate(2024, 3, 9), QTime(21, 0))));
        QVERIFY(QTest::qWaitFor([&] { return !received.isEmpty(); }, 10000));
        const QJsonObject message = QJsonDocument::fromJson(received).object();
        QCOMPARE(message.value("cause").toString(), DailySummary::Cause);
        QCOMPARE(
            message.value("text").toString(),
            QStringLiteral("Tollwick（pc）2024-03-09 21:00:00 每日汇总 2024-03-09："
                           "收款 13 笔 12.01 元；已送达 1 笔 0.01 元，待送达 11 笔 11.00 元，"
                           "已放弃 1 笔 1.00 元\n"
                           "未送达：单1、单2、单3、单4、单5、单6、单7、单8、单9、单10 等 12 笔"));
    }
};

TOLLWICK_TEST(AlertsTest)
#include "AlertsTest.moc"
