// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SimulatedShop.h"

#include "TestClient.h"
#include "support/TestRegistry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Key = QStringLiteral("dembro");
const QString TradeNo = QStringLiteral("2024030922001404950501234567");

struct ShopFixture {
    SimulatedShop shop;
    TestClient client;

    explicit ShopFixture(const QString& charset = QStringLiteral("gb2312"))
        : shop(Key, charset)
    {
        QVERIFY(shop.listen(0));
    }

    TestReply notify(const QString& act, const QString& title = QStringLiteral("x"))
    {
        return client.get(shop.notifyUrl() + "?act=" + act + "&jine=0.01&tradeno=" + TradeNo +
                          "&title=" + title);
    }
};

} // namespace

class SimulatedShopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addressIsTheNotifyPage()
    {
        ShopFixture f;
        QCOMPARE(f.shop.notifyUrl(),
                 QStringLiteral("http://127.0.0.1:%1/notify.php").arg(f.shop.port()));
    }

    // What a PHP page in the shop's charset finds in $_GET["title"].
    void decodesTitlesAsAPhpSiteInItsCharset_data()
    {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QString>("title");
        QTest::newRow("GBK") << "gb2312"
                             << "%B2%E2%CA%D4%B6%A9%B5%A5" << QStringLiteral("测试订单");
        QTest::newRow("GBK beyond GB 2312") << "gb2312"
                                            << "%E9F" << QStringLiteral("镕");
        QTest::newRow("GBK label in capitals") << "GB2312"
                                               << "%B2%E2%CA%D4" << QStringLiteral("测试");
        QTest::newRow("UTF-8") << "utf-8"
                               << "%E6%B5%8B%E8%AF%95" << QStringLiteral("测试");
        QTest::newRow("unknown charset reads UTF-8")
            << "no-such"
            << "%E6%B5%8B%E8%AF%95" << QStringLiteral("测试");
        QTest::newRow("spaces both ways") << "utf-8"
                                          << "Order%201001+b" << QStringLiteral("Order 1001 b");
        QTest::newRow("separators and escapes")
            << "gb2312"
            << "a%26b%3Dc%25d%23e%2Bf" << QStringLiteral("a&b=c%d#e+f");
        QTest::newRow("forged parameter stays in the title")
            << "utf-8"
            << "x%26act%3Dother" << QStringLiteral("x&act=other");
    }

    void decodesTitlesAsAPhpSiteInItsCharset()
    {
        QFETCH(QString, charset);
        QFETCH(QString, encoded);
        QFETCH(QString, title);
        ShopFixture f(charset);
        QSignalSpy notified(&f.shop, &SimulatedShop::notified);

        const TestReply reply = f.notify(Key, encoded);
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.body, QByteArray("success"));
        QCOMPARE(notified.size(), 1);
        const ShopNotification notification = f.shop.notifications().constFirst();
        QCOMPARE(notification.title, title);
        QCOMPARE(notification.act, Key);
        QCOMPARE(notification.jine, QStringLiteral("0.01"));
        QCOMPARE(notification.tradeno, TradeNo);
    }

    void decodesEveryValueInTheShopsCharset()
    {
        ShopFixture f(QStringLiteral("gb2312"));
        f.client.get(f.shop.notifyUrl() + "?act=%C3%DC+1&jine=1%2E50&tradeno=7&title=");
        const ShopNotification notification = f.shop.notifications().constFirst();
        QCOMPARE(notification.act, QStringLiteral("密 1"));
        QCOMPARE(notification.jine, QStringLiteral("1.50"));
        QCOMPARE(notification.tradeno, QStringLiteral("7"));
        QCOMPARE(notification.title, QString());
    }

    void wrongKeyIsRecordedButNotAccepted_data()
    {
        QTest::addColumn<QString>("act");
        QTest::newRow("other key") << "other";
        QTest::newRow("key in other case") << "DEMBRO";
        QTest::newRow("no key") << "";
    }

    void wrongKeyIsRecordedButNotAccepted()
    {
        QFETCH(QString, act);
        ShopFixture f;
        const TestReply reply = f.notify(act);
        QCOMPARE(reply.status, 200);
        QVERIFY(!reply.body.contains("success"));
        QCOMPARE(f.shop.notifications().size(), 1);
        QCOMPARE(f.shop.notifications()[0].act, act);
    }

    void failNextAnswersServerErrorsThenRecovers()
    {
        ShopFixture f;
        f.shop.failNext(2);
        for (int attempt = 0; attempt < 2; ++attempt) {
            const TestReply reply = f.notify(Key);
            QCOMPARE(reply.status, 500);
            QVERIFY(!reply.body.contains("success"));
        }
        const TestReply reply = f.notify(Key);
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.body, QByteArray("success"));
        QCOMPARE(f.shop.notifications().size(), 3);
    }

    // Also the kept-alive connection of an earlier call must fail.
    void closedShopRefusesConnections()
    {
        ShopFixture f;
        const QString url = f.shop.notifyUrl();
        QCOMPARE(f.notify(Key).status, 200);
        f.shop.close();
        const TestReply reply = f.client.get(url + "?act=dembro");
        QCOMPARE(reply.error, QNetworkReply::ConnectionRefusedError);
        QCOMPARE(f.shop.notifications().size(), 1);
    }

    void closeFromANotificationHandlerIsSafe()
    {
        ShopFixture f;
        QObject::connect(&f.shop, &SimulatedShop::notified, &f.shop, [&] { f.shop.close(); });
        const QString url = f.shop.notifyUrl();
        f.notify(Key);
        QCOMPARE(f.client.get(url).error, QNetworkReply::ConnectionRefusedError);
    }

    void listensAgainAfterClose()
    {
        ShopFixture f;
        f.shop.close();
        QVERIFY(f.shop.listen(0));
        QCOMPARE(f.notify(Key).body, QByteArray("success"));
    }

    void unknownPathsAreNotFound()
    {
        ShopFixture f;
        const QString base = QStringLiteral("http://127.0.0.1:%1").arg(f.shop.port());
        QCOMPARE(f.client.get(base + "/").status, 404);
        QCOMPARE(f.client.get(base + "/notifyXphp").status, 404);
        QVERIFY(f.shop.notifications().isEmpty());
    }
};

TOLLWICK_TEST(SimulatedShopTest)
#include "SimulatedShopTest.moc"
