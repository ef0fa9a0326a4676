// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SimulatedAccount.h"

#include "TestClient.h"
#include "support/TestRegistry.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTest>

namespace {

QString day(QDate date)
{
    return date.toString(QStringLiteral("yyyy.MM.dd"));
}

const QString RecordQueryStart =
    QStringLiteral("_input_charset=utf-8&tradeType=all&status=success&fundFlow=in&beginTime=00%3A00"
                   "&dateType=createDate&endTime=24%3A00&dateRange=customDate&beginDate=");

// The record page address the program builds on `today`.
QString recordAddress(const SimulatedAccount& account, QDate today)
{
    return account.endpoints().RecordQueryUrl + day(today.addDays(-15)) +
           QStringLiteral("&endDate=") + day(today);
}

QString todaysRecordAddress(const SimulatedAccount& account)
{
    return recordAddress(account, QDate::currentDate());
}

QString fromGbk(const QByteArray& bytes)
{
    return QStringDecoder("GBK").decode(bytes);
}

struct AccountFixture {
    SimulatedAccount account;
    TestClient client;

    AccountFixture() { QVERIFY(account.listen(0)); }

    QString at(const QString& path) const { return account.endpoints().AccountRootUrl + path; }

    // Adds a payment as the /sandbox page's form does.
    TestReply pay(const QByteArray& form)
    {
        return client.postForm(at("/sandbox/pay"), form + "&token=" + account.controlToken());
    }

    bool logIn()
    {
        const TestReply reply =
            client.postForm(account.loginUrl(), "user=sandbox&password=sandbox");
        return reply.status == 302 && !reply.setCookies.isEmpty();
    }
};

} // namespace

class SimulatedAccountTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addressesPointAtTheServer()
    {
        AccountFixture f;
        const QString origin = QStringLiteral("http://127.0.0.1:%1").arg(f.account.port());
        const Endpoints endpoints = f.account.endpoints();
        QCOMPARE(endpoints.AccountRootUrl, origin);
        QCOMPARE(endpoints.PersonalHomeUrl, origin + "/portal/i.htm");
        QCOMPARE(endpoints.PortalHomeUrl, origin + "/portal/home.htm");
        QCOMPARE(endpoints.RecordQueryUrl, origin + "/record/standard.htm?" + RecordQueryStart);
        // 34 characters with a four-digit port, as the program's home prefix.
        QCOMPARE(endpoints.PersonalHomeUrl.size(), 30 + QString::number(f.account.port()).size());
    }

    void loginPageShowsTheFormAndTheTestAccount()
    {
        AccountFixture f;
        const TestReply reply = f.client.get(f.account.loginUrl());
        QCOMPARE(reply.status, 200);
        const QString page = QString::fromUtf8(reply.body);
        QVERIFY(page.contains(QStringLiteral("<form id=\"login\"")));
        QVERIFY(page.contains(QStringLiteral("用户名")));
        QVERIFY(page.contains(QStringLiteral("password <b>sandbox</b>")));
        // A control named "submit" would hide the form's submit() from scripts.
        QVERIFY(!page.contains(QStringLiteral("name=\"submit\"")));
    }

    void wrongCredentialsShowTheFormAgain_data()
    {
        QTest::addColumn<QByteArray>("form");
        QTest::newRow("wrong password") << QByteArray("user=sandbox&password=secret");
        QTest::newRow("wrong user") << QByteArray("user=other&password=sandbox");
        QTest::newRow("nothing") << QByteArray();
    }

    void wrongCredentialsShowTheFormAgain()
    {
        QFETCH(QByteArray, form);
        AccountFixture f;
        const TestReply reply = f.client.postForm(f.account.loginUrl(), form);
        QCOMPARE(reply.status, 200);
        QVERIFY(reply.setCookies.isEmpty());
        const QString page = QString::fromUtf8(reply.body);
        QVERIFY(page.contains(QStringLiteral("<form id=\"login\"")));
        QVERIFY(page.contains(QStringLiteral("Wrong user name or password")));
        QCOMPARE(f.client.get(f.account.endpoints().PersonalHomeUrl).location,
                 f.account.loginUrl().toUtf8());
    }

    void rightCredentialsStartAnHttpOnlySession()
    {
        AccountFixture f;
        QSignalSpy loggedIn(&f.account, &SimulatedAccount::loggedIn);
        const TestReply reply =
            f.client.postForm(f.account.loginUrl(), "user=sandbox&password=sandbox");
        QCOMPARE(reply.status, 302);
        QCOMPARE(reply.location, f.account.endpoints().PersonalHomeUrl.toUtf8());
        QCOMPARE(reply.setCookies.size(), 1);
        QVERIFY(reply.setCookies[0].isHttpOnly());
        QCOMPARE(reply.setCookies[0].name(), SimulatedAccount::SessionCookie);
        QVERIFY(reply.setCookies[0].value().size() >= 32);
        QCOMPARE(loggedIn.size(), 1);

        for (const QString& home :
             {f.account.endpoints().PersonalHomeUrl, f.account.endpoints().PortalHomeUrl}) {
            const TestReply page = f.client.get(home);
            QCOMPARE(page.status, 200);
            QVERIFY(QString::fromUtf8(page.body).contains(QStringLiteral("href=\"/sandbox\"")));
        }
    }

    void sessionsAreNotGuessable()
    {
        AccountFixture f;
        QVERIFY(f.logIn());
        TestClient other;
        QVERIFY(other.postForm(f.account.loginUrl(), "user=sandbox&password=sandbox").status ==
                302);
        QVERIFY(f.client.cookiesFor(f.account.endpoints().AccountRootUrl)[0].value() !=
                other.cookiesFor(f.account.endpoints().AccountRootUrl)[0].value());
    }

    void withoutSessionEveryAccountPageRedirectsToLogin_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("personal home") << "/portal/i.htm";
        QTest::newRow("portal home") << "/portal/home.htm";
        QTest::newRow("account root") << "/";
        QTest::newRow("record page") << "record";
    }

    void withoutSessionEveryAccountPageRedirectsToLogin()
    {
        QFETCH(QString, path);
        AccountFixture f;
        const QString url = path == "record" ? todaysRecordAddress(f.account) : f.at(path);
        const TestReply reply = f.client.get(url);
        QCOMPARE(reply.status, 302);
        QCOMPARE(reply.location, f.account.loginUrl().toUtf8());
        QVERIFY(reply.setCookies.isEmpty());
    }

    // Only the exact query for today's window lists payments; the program
    // must notice when it asks for anything else.
    void otherRecordQueriesListNothing_data()
    {
        QTest::addColumn<QString>("query");
        const QDate today = QDate::currentDate();
        const QString start = RecordQueryStart;
        const QString window = day(today.addDays(-15)) + "&endDate=" + day(today);
        QTest::newRow("yesterday's window")
            << start + day(today.addDays(-16)) + "&endDate=" + day(today.addDays(-1));
        QTest::newRow("fourteen days")
            << start + day(today.addDays(-14)) + "&endDate=" + day(today);
        QTest::newRow("dashed dates") << start + today.addDays(-15).toString(Qt::ISODate) +
                                             "&endDate=" + today.toString(Qt::ISODate);
        QTest::newRow("no end date") << start + day(today.addDays(-15));
        QTest::newRow("extra parameter") << start + window + "&page=2";
        QTest::newRow("colon not escaped") << QString(start).replace("%3A", ":") + window;
        QTest::newRow("other order") << "beginDate=" + window + "&" + start.chopped(11);
        QTest::newRow("no query") << QString();
    }

    void otherRecordQueriesListNothing()
    {
        QFETCH(QString, query);
        AccountFixture f;
        f.account.addPayment("Order 1001", "0.01");
        QVERIFY(f.logIn());
        const QString page = f.at("/record/standard.htm");
        const TestReply reply = f.client.get(query.isEmpty() ? page : page + "?" + query);
        QVERIFY(reply.status == 200 || reply.status == 400);
        QVERIFY(!fromGbk(reply.body).contains(QStringLiteral("tradeNo=")));
        QVERIFY(!QString::fromUtf8(reply.body).contains(QStringLiteral("tradeNo=")));
        // The right query still works in the same session.
        QVERIFY(f.client
                    .get(page + "?" + RecordQueryStart + day(QDate::currentDate().addDays(-15)) +
                         "&endDate=" + day(QDate::currentDate()))
                    .body.contains("tradeNo="));
    }

    void recordPageListsPaymentsNewestFirstInGbk()
    {
        AccountFixture f;
        QSignalSpy served(&f.account, &SimulatedAccount::recordPageServed);
        f.account.addPayment("Order 1001", "0.01");
        f.account.addPayment(QStringLiteral("Say \"hi\" & <bye>"), "25");
        f.account.addPayment(QStringLiteral("测试订单镕"), "3.5");
        QVERIFY(f.logIn());

        const TestReply reply = f.client.get(todaysRecordAddress(f.account));
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.contentType, QByteArray("text/html; charset=GBK"));
        // "测试订单镕" in GBK; the last character is not in GB 2312.
        QVERIFY(reply.body.contains("\xb2\xe2\xca\xd4\xb6\xa9\xb5\xa5\xe9\x46"));
        QCOMPARE(served.size(), 1);

        const QString page = fromGbk(reply.body);
        const QList<SimulatedPayment> payments = f.account.payments();
        QCOMPARE(payments.size(), 3);
        const QString oldest =
            QStringLiteral("<tr><td><a href=\"detail.htm?tradeNo=%1&t=1\" title=\"Order 1001\">"
                           "Order 1001</a></td><td><span class=\"amount-pay-in\">+0.01</span></td>"
                           "<td><a href=\"memo.htm?tradeNo=%1\">memo</a></td></tr>")
                .arg(payments[2].tradeNo);
        const QString quoted = QStringLiteral(
            "title=\"Say &quot;hi&quot; &amp; &lt;bye&gt;\">Say &quot;hi&quot; &amp; &lt;bye&gt;"
            "</a></td><td><span class=\"amount-pay-in\">+25.00</span>");
        const QString chinese = QStringLiteral("title=\"测试订单镕\">测试订单镕</a></td><td><span "
                                               "class=\"amount-pay-in\">+3.50</span>");
        QVERIFY(page.contains(oldest));
        QVERIFY(page.contains(quoted));
        QVERIFY(page.contains(chinese));
        QVERIFY(page.indexOf(chinese) < page.indexOf(quoted));
        QVERIFY(page.indexOf(quoted) < page.indexOf(oldest));
        QCOMPARE(page.count(QStringLiteral("tradeNo=")), 6);
    }

    void recordPageCanBeReplacedByExactBytes()
    {
        AccountFixture f;
        const QByteArray replacement("\xb2\xe2 raw bytes \xff", 14);
        f.account.setRecordPage(replacement);
        QVERIFY(f.logIn());
        QCOMPARE(f.client.get(todaysRecordAddress(f.account)).body, replacement);
        // Still only for today's window.
        QVERIFY(f.client.get(recordAddress(f.account, QDate::currentDate().addDays(-1))).body !=
                replacement);
    }

    void expiredSessionsGoBackToLogin()
    {
        AccountFixture f;
        QVERIFY(f.logIn());
        QCOMPARE(f.client.get(todaysRecordAddress(f.account)).status, 200);
        // As a person or a script ends them, through the sandbox's page.
        QCOMPARE(f.client.get(f.account.endpoints().AccountRootUrl + "/sandbox/expire").status,
                 200);
        const TestReply reply = f.client.get(todaysRecordAddress(f.account));
        QCOMPARE(reply.status, 302);
        QCOMPARE(reply.location, f.account.loginUrl().toUtf8());
    }

    void keepAliveRenewsTheSession()
    {
        AccountFixture f;
        QVERIFY(f.logIn());
        const TestReply reply = f.client.get(f.account.endpoints().AccountRootUrl);
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.setCookies.size(), 1);
        QCOMPARE(reply.setCookies[0].name(), SimulatedAccount::SessionCookie);
        QVERIFY(reply.setCookies[0].isHttpOnly());
        QCOMPARE(f.client.get(todaysRecordAddress(f.account)).status, 200);
    }

    void sandboxPayAddsAPayment()
    {
        AccountFixture f;
        QSignalSpy added(&f.account, &SimulatedAccount::paymentAdded);
        const TestReply reply = f.pay("title=%E4%B8%AD%E6%96%87+Order%20%26%201&amount=5.5");
        QCOMPARE(reply.status, 200);
        QCOMPARE(added.size(), 1);
        const SimulatedPayment payment = f.account.payments().constFirst();
        QCOMPARE(payment.title, QStringLiteral("中文 Order & 1"));
        QCOMPARE(payment.amount, QStringLiteral("5.50"));
        QVERIFY(QString::fromUtf8(reply.body).contains(payment.tradeNo));

        const TestReply list = f.client.get(f.at("/sandbox"));
        QCOMPARE(list.status, 200);
        QVERIFY(QString::fromUtf8(list.body).contains(QStringLiteral("中文 Order &amp; 1")));
        QVERIFY(list.body.contains("<form method=\"post\" action=\"/sandbox/pay\""));
        QVERIFY(list.body.contains("name=\"token\" value=\"" + f.account.controlToken() + '"'));
    }

    void sandboxPayRefusesBadAmounts_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::newRow("zero") << "0.00";
        QTest::newRow("negative") << "-1";
        QTest::newRow("three decimals") << "1.234";
        QTest::newRow("words") << "ten";
        QTest::newRow("missing") << "";
    }

    void sandboxPayRefusesBadAmounts()
    {
        QFETCH(QString, amount);
        AccountFixture f;
        const TestReply reply = f.pay("title=x&amount=" + amount.toUtf8());
        QCOMPARE(reply.status, 400);
        QVERIFY(f.account.payments().isEmpty());
    }

    // A page of another site in the owner's browser must not add payments or
    // end sessions: not by a link or an image, not by a cross-site form, not
    // after rebinding its name to 127.0.0.1.
    void onlyTheSandboxsOwnPagesDriveIt_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("host");
        QTest::addColumn<QByteArray>("origin");
        QTest::addColumn<bool>("withToken");
        QTest::addColumn<int>("status");
        const QByteArray own = "127.0.0.1:%1";
        const QString pay = "/sandbox/pay";
        QTest::newRow("own form") << "POST"_qba << pay << own << "http://" + own << true << 200;
        QTest::newRow("as localhost") << "POST"_qba << pay << "LocalHost:%1"_qba
                                      << "http://localhost:%1"_qba << true << 200;
        QTest::newRow("link or image") << "GET"_qba << pay << own << QByteArray() << true << 405;
        QTest::newRow("no token") << "POST"_qba << pay << own << QByteArray() << false << 403;
        QTest::newRow("other site's form")
            << "POST"_qba << pay << own << "http://shop.example"_qba << true << 403;
        QTest::newRow("rebound name")
            << "POST"_qba << pay << "evil.example:%1"_qba << QByteArray() << true << 403;
        QTest::newRow("expire from another site")
            << "GET"_qba << QString("/sandbox/expire") << own << "null"_qba << false << 403;
    }

    void onlyTheSandboxsOwnPagesDriveIt()
    {
        QFETCH(QByteArray, method);
        QFETCH(QString, path);
        QFETCH(QByteArray, host);
        QFETCH(QByteArray, origin);
        QFETCH(bool, withToken);
        AccountFixture f;
        QVERIFY(f.logIn());
        const QByteArray port = QByteArray::number(f.account.port());
        QList<std::pair<QByteArray, QByteArray>> headers{{"Host", host.replace("%1", port)}};
        if (!origin.isEmpty())
            headers.append({"Origin", origin.replace("%1", port)});
        const QByteArray form =
            "title=t&amount=1" + (withToken ? "&token=" + f.account.controlToken() : "");
        const TestReply reply = f.client.send(method, f.at(path), headers, form);
        QTEST(reply.status, "status");
        QCOMPARE(f.account.payments().size(), reply.status == 200 ? 1 : 0);
        // The session lives on unless the sandbox's own page ended it.
        QCOMPARE(f.client.get(todaysRecordAddress(f.account)).status, 200);
    }

    void tradeNumbersAreDistinct28Digits()
    {
        SimulatedAccount account;
        const auto first = account.addPayment("a", "1");
        const auto second = account.addPayment("a", "1");
        QVERIFY(first && second);
        const QRegularExpression digits(QStringLiteral("^\\d{28}$"));
        QVERIFY(digits.match(first->tradeNo).hasMatch());
        QVERIFY(digits.match(second->tradeNo).hasMatch());
        QVERIFY(first->tradeNo != second->tradeNo);
        QVERIFY(first->tradeNo.startsWith(QDate::currentDate().toString("yyyyMMdd")));
        QVERIFY(!account.addPayment("a", "1.001"));
    }

    void unknownPathsAreNotFound_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("unknown") << "/nothing";
        QTest::newRow("dot is not a wildcard") << "/portal/iXhtm";
        QTest::newRow("below a page") << "/portal/i.htm/x";
        QTest::newRow("merchant home") << "/merchant/home/i.htm";
    }

    void unknownPathsAreNotFound()
    {
        QFETCH(QString, path);
        AccountFixture f;
        QVERIFY(f.logIn());
        QCOMPARE(f.client.get(f.at(path)).status, 404);
    }
};

TOLLWICK_TEST(SimulatedAccountTest)
#include "SimulatedAccountTest.moc"
