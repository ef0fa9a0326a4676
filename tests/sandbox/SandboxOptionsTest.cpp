// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SandboxOptions.h"
#include "support/TestRegistry.h"

#include <QTemporaryFile>
#include <QTest>

namespace {

std::optional<SandboxOptions> parse(const QStringList& arguments, QString& error)
{
    return SandboxOptions::parse(QStringList{"tollwick-sandbox"} + arguments, error);
}

using Payments = QList<SandboxOptions::Payment>;

QString described(const Payments& payments)
{
    QStringList parts;
    for (const SandboxOptions::Payment& payment : payments)
        parts.append(payment.title + "|" + payment.amount);
    return parts.join(";");
}

} // namespace

class SandboxOptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpExplainsEveryOption()
    {
        QString error;
        const auto options = parse({"--payment", "a,1", "--help"}, error);
        QVERIFY2(options, qPrintable(error));
        QVERIFY(options->help.startsWith("Usage: tollwick-sandbox [options]"));
        const QString all = "--headless --payment --page --notify-url --key --records --interval "
                            "--charset --ticks --port --shop-fail --journal --alert-kind "
                            "--alert-url --alert-secret --alert-body --alert-content-type "
                            "--heartbeat-url --alert-retry-first --heartbeat-every --browser-sleep";
        for (const QString& option : all.split(' '))
            QVERIFY2(options->help.contains(option), qPrintable(option));
        QVERIFY(options->payments.isEmpty());
    }

    void defaults()
    {
        QString error;
        const auto options = parse({}, error);
        QVERIFY2(options, qPrintable(error));
        QVERIFY(!options->headless);
        QVERIFY(options->payments.isEmpty());
        QVERIFY(!options->recordPage);
        QVERIFY(options->notifyUrl.isEmpty());
        QCOMPARE(options->key, QStringLiteral("dembro"));
        QCOMPARE(options->records, QStringLiteral("1"));
        QCOMPARE(options->interval, QStringLiteral("20"));
        QCOMPARE(options->charset, QStringLiteral("gb2312"));
        QVERIFY(!options->ticks);
        QCOMPARE(options->port, quint16(8631));
        QCOMPARE(options->shopFailures, 0);
        QCOMPARE(options->browserSleep, 60);
    }

    void everyOptionIsRead()
    {
        QString error;
        const QString arguments =
            "--headless --notify-url http://127.0.0.1:9000/n.php --records 3 --interval=5 "
            "--charset utf-8 --ticks 2 --port 1000 --shop-fail 4 --journal /tmp/j.db "
            "--alert-kind dingtalk --alert-url https://bot.invalid/robot/send?access_token=t "
            "--alert-secret SEC1 --heartbeat-url https://shop.invalid/heartbeat.php "
            "--alert-retry-first 2 --heartbeat-every 3 --browser-sleep 0";
        const auto options = parse(arguments.split(' ') + QStringList{"--key", "k 1"}, error);
        QVERIFY2(options, qPrintable(error));
        QVERIFY(options->headless);
        QCOMPARE(options->notifyUrl, QStringLiteral("http://127.0.0.1:9000/n.php"));
        QCOMPARE(options->key, QStringLiteral("k 1"));
        QCOMPARE(options->records, QStringLiteral("3"));
        QCOMPARE(options->interval, QStringLiteral("5"));
        QCOMPARE(options->charset, QStringLiteral("utf-8"));
        QCOMPARE(options->journal, QStringLiteral("/tmp/j.db"));
        QCOMPARE(options->alertChannel,
                 (AlertChannel{AlertChannel::Kind::DingTalk,
                               "https://bot.invalid/robot/send?access_token=t",
                               "SEC1",
                               {},
                               {}}));
        QCOMPARE(options->heartbeatUrl, QStringLiteral("https://shop.invalid/heartbeat.php"));
        QCOMPARE(options->alertRetryFirstSeconds, 2);
        QCOMPARE(options->heartbeatEverySeconds, 3);
        QCOMPARE(options->ticks, std::optional<int>(2));
        QCOMPARE(options->port, quint16(1000));
        QCOMPARE(options->shopFailures, 4);
        QCOMPARE(options->browserSleep, 0);
    }

    // Without a kind named, an address with {text} is a GET, any other a POST.
    void alertKindFollowsTheAddress()
    {
        QString error;
        const auto get = parse({"--alert-url", "https://bot.invalid/s?m={text}"}, error);
        QCOMPARE(get->alertChannel.kind, AlertChannel::Kind::CustomGet);
        const auto form =
            parse({"--alert-url", "https://bot.invalid/h", "--alert-content-type", "form"}, error);
        QCOMPARE(form->alertChannel.kind, AlertChannel::Kind::CustomPost);
        QCOMPARE(form->alertChannel.contentType, AlertChannel::ContentType::Form);
    }

    void payments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("payments");
        QTest::newRow("one") << QStringList{"--payment", "Order 1001,0.01"} << "Order 1001|0.01";
        QTest::newRow("oldest first")
            << QStringList{"--payment", "a,1", "--payment", "b,2"} << "a|1.00;b|2.00";
        QTest::newRow("commas in the title")
            << QStringList{"--payment", "Tea, milk, sugar,3.5"} << "Tea, milk, sugar|3.50";
        QTest::newRow("Chinese title") << QStringList{"--payment", QStringLiteral("测试订单,12")}
                                       << QStringLiteral("测试订单|12.00");
        QTest::newRow("blank around the amount")
            << QStringList{"--payment", "a, 0.10 "} << "a|0.10";
        QTest::newRow("empty title") << QStringList{"--payment", ",1"} << "|1.00";
    }

    void payments()
    {
        QFETCH(QStringList, arguments);
        QString error;
        const auto options = parse(arguments, error);
        QVERIFY2(options, qPrintable(error));
        QTEST(described(options->payments), "payments");
    }

    void badCommandLinesSayWhy_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("unknown option") << QStringList{"--fast"} << "fast";
        QTest::newRow("missing value") << QStringList{"--port"} << "port";
        QTest::newRow("positional argument") << QStringList{"extra"} << "extra";
        QTest::newRow("payment without comma") << QStringList{"--payment", "Order 1"} << "Order 1";
        QTest::newRow("payment without amount") << QStringList{"--payment", "Order,"} << "amount";
        QTest::newRow("zero amount") << QStringList{"--payment", "a,0"} << "amount";
        QTest::newRow("negative amount") << QStringList{"--payment", "a,-1"} << "amount";
        QTest::newRow("three decimals") << QStringList{"--payment", "a,1.005"} << "amount";
        QTest::newRow("amount in words") << QStringList{"--payment", "a,ten"} << "ten";
        QTest::newRow("exponent") << QStringList{"--payment", "a,1e3"} << "1e3";
        QTest::newRow("port too small") << QStringList{"--port", "999"} << "1000 to 9999";
        QTest::newRow("port too large") << QStringList{"--port", "10000"} << "1000 to 9999";
        QTest::newRow("port not a number") << QStringList{"--port", "http"} << "--port";
        QTest::newRow("records zero") << QStringList{"--records", "0"} << "--records";
        QTest::newRow("records signed") << QStringList{"--records", "+2"} << "--records";
        QTest::newRow("interval fraction") << QStringList{"--interval", "1.5"} << "--interval";
        QTest::newRow("interval overflow")
            << QStringList{"--interval", "99999999999"} << "--interval";
        QTest::newRow("ticks zero") << QStringList{"--ticks", "0"} << "--ticks";
        QTest::newRow("shop failures negative")
            << QStringList{"--shop-fail", "-1"} << "--shop-fail";
        QTest::newRow("browser sleep beyond a timer's range")
            << QStringList{"--browser-sleep", "2147484"} << "--browser-sleep";
        QTest::newRow("notify address without scheme")
            << QStringList{"--notify-url", "127.0.0.1/notify.php"} << "--notify-url";
        QTest::newRow("notify address of another kind")
            << QStringList{"--notify-url", "ftp://127.0.0.1/n"} << "--notify-url";
        QTest::newRow("alert address of another kind")
            << QStringList{"--alert-url", "mailto:owner@example.com"} << "--alert-url";
        QTest::newRow("alert kind unknown") << QStringList{"--alert-kind", "pager"} << "pager";
        QTest::newRow("alert content type unknown")
            << QStringList{"--alert-content-type", "xml"} << "--alert-content-type";
        QTest::newRow("heartbeat address of another kind")
            << QStringList{"--heartbeat-url", "ftp://shop.invalid/hb"} << "--heartbeat-url";
        QTest::newRow("retry pause zero")
            << QStringList{"--alert-retry-first", "0"} << "--alert-retry-first";
        QTest::newRow("heartbeat spacing not a number")
            << QStringList{"--heartbeat-every", "soon"} << "--heartbeat-every";
        QTest::newRow("unreadable page")
            << QStringList{"--page", "/nonexistent/record.htm"} << "/nonexistent/record.htm";
    }

    void badCommandLinesSayWhy()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mentions);
        QString error;
        QVERIFY(!parse(arguments, error));
        QVERIFY2(error.contains(mentions), qPrintable(error));
    }

    void pageIsReadAsBytes()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        const QByteArray bytes("<html>\xb2\xe2\x00 tradeNo=</html>", 26);
        file.write(bytes);
        file.close();
        QString error;
        const auto options = parse({"--page", file.fileName()}, error);
        QVERIFY2(options, qPrintable(error));
        QCOMPARE(options->recordPage, std::optional<QByteArray>(bytes));
    }
};

TOLLWICK_TEST(SandboxOptionsTest)
#include "SandboxOptionsTest.moc"
