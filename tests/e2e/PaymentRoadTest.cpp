// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/SandboxRun.h"
#include "support/TestRegistry.h"

#include <QDateTime>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString Scanning = QStringLiteral("扫描中");
const QString Delivered = QStringLiteral("发送成功");
const QString AlreadyDelivered = QStringLiteral("已完结,不再发送");
const QString TimeFormat = QStringLiteral("yyyy/M/d H:mm:ss");

struct Payment {
    QString title;
    QString amount;
};

qsizetype indexOfEvent(const QList<QJsonObject>& events, const QString& box, const QString& text)
{
    for (qsizetype i = 0; i < events.size(); ++i) {
        if (events[i].value(QStringLiteral("box")).toString() == box &&
            events[i].value(QStringLiteral("text")).toString() == text)
            return i;
    }
    return -1;
}

// Every trade number the page box showed as delivered for `payment`.
QStringList deliveredTradeNumbers(const QStringList& pageTexts, const Payment& payment)
{
    const QRegularExpression line(QRegularExpression::anchoredPattern(
        QStringLiteral("%1,%2,(\\d{28}),%3")
            .arg(QRegularExpression::escape(payment.title),
                 QRegularExpression::escape(payment.amount), Delivered)));
    QStringList numbers;
    for (const QString& text : pageTexts) {
        for (const QString& part : text.split(QStringLiteral("\r\n"))) {
            const QRegularExpressionMatch match = line.match(part);
            if (match.hasMatch() && !numbers.contains(match.captured(1)))
                numbers.append(match.captured(1));
        }
    }
    return numbers;
}

} // namespace

// The whole road of two payments through the real executable: the browser
// logs in by itself, the shop is called for each new payment, and a later
// scan knows both were delivered.
class PaymentRoadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoPaymentsAreDeliveredOnceAndThenKnown()
    {
        // Oldest first, as given; the record page lists the newest first.
        const Payment older{QStringLiteral("第一笔 订单"), QStringLiteral("0.01")};
        const Payment newer{QStringLiteral("Order 2"), QStringLiteral("25.00")};

        const QDateTime started = QDateTime::currentDateTime();
        const SandboxRun run = SandboxRun::headless(
            {"--interval", "1", "--records", "2", "--ticks", "2", "--payment",
             older.title + u',' + older.amount, "--payment", newer.title + u',' + newer.amount});
        const QDateTime ended = QDateTime::currentDateTime();
        const QString diagnosis = run.diagnosis();

        QVERIFY2(run.exitedByItself, qPrintable(diagnosis));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.strayLines.isEmpty(), qPrintable(diagnosis));
        // The engine's start-up dump stays out of the owner's terminal.
        QVERIFY2(!run.standardError.contains("Init Parameters"), qPrintable(diagnosis));
        QVERIFY(!run.events.isEmpty());
        // First what a script needs to add payments.
        const QString token = run.events.constFirst()["control"].toObject()["token"].toString();
        QVERIFY2(QRegularExpression("^[0-9a-f]{32}$").match(token).hasMatch(),
                 qPrintable(diagnosis));
        QCOMPARE(run.events.constLast(), (QJsonObject{{"exit", QJsonObject{{"ticks", 2}}}}));

        // The browser was sent to the login form and reached the home page
        // before scanning started.
        const QString address = QStringLiteral("http://127.0.0.1:%1").arg(run.port);
        const qsizetype login = indexOfEvent(run.events, "page", address + "/login");
        const qsizetype home = indexOfEvent(run.events, "page", address + "/portal/i.htm");
        const qsizetype scanning = indexOfEvent(run.events, "status", Scanning);
        QVERIFY2(login >= 0 && home > login, qPrintable(diagnosis));
        QVERIFY2(scanning > home, qPrintable(diagnosis));

        const QStringList pageTexts = run.boxTexts("page");
        const QStringList olderNumbers = deliveredTradeNumbers(pageTexts, older);
        const QStringList newerNumbers = deliveredTradeNumbers(pageTexts, newer);
        QCOMPARE(olderNumbers.size(), 1);
        QCOMPARE(newerNumbers.size(), 1);
        QVERIFY(olderNumbers[0] != newerNumbers[0]);

        // Each payment reaches the shop twice: the unanswered call and the
        // one whose answer counts.
        QMap<QString, int> callsPerTradeNumber;
        for (const QJsonObject& call : run.shopCalls()) {
            const QString tradeNo = call.value("tradeno").toString();
            ++callsPerTradeNumber[tradeNo];
            const Payment& paid = tradeNo == olderNumbers[0] ? older : newer;
            QCOMPARE(call, (QJsonObject{{"act", "dembro"},
                                        {"jine", paid.amount},
                                        {"tradeno", tradeNo},
                                        {"title", paid.title}}));
        }
        QCOMPARE(callsPerTradeNumber,
                 (QMap<QString, int>{{olderNumbers[0], 2}, {newerNumbers[0], 2}}));

        // The second scan lists both payments as delivered, newest first,
        // with the time of each line in front of all of them.
        const QString lastText = pageTexts.constLast();
        const QString time = QStringLiteral("(\\d{4}/\\d{1,2}/\\d{1,2} \\d{1,2}:\\d{2}:\\d{2})");
        const QRegularExpression expected(
            QRegularExpression::anchoredPattern(QStringLiteral("%1%1%2").arg(
                time, QRegularExpression::escape("\r\n" + newer.title + u',' + newer.amount + u',' +
                                                 newerNumbers[0] + u',' + AlreadyDelivered +
                                                 "\r\n" + older.title + u',' + older.amount + u',' +
                                                 olderNumbers[0] + u',' + AlreadyDelivered))));
        const QRegularExpressionMatch match = expected.match(lastText);
        QVERIFY2(match.hasMatch(), qPrintable(lastText));
        for (int group = 1; group <= 2; ++group) {
            const QDateTime written = QDateTime::fromString(match.captured(group), TimeFormat);
            QVERIFY2(written.isValid(), qPrintable(match.captured(group)));
            QVERIFY2(written >= started.addSecs(-1) && written <= ended.addSecs(1),
                     qPrintable(match.captured(group)));
        }
    }
};

TOLLWICK_TEST(PaymentRoadTest)
#include "PaymentRoadTest.moc"
