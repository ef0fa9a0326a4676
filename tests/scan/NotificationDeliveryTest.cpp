// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/CurlHttpClient.h"
#include "platform/qt/CurlMulti.h"
#include "sandbox/SimulatedShop.h"
#include "scan/NotificationAddress.h"
#include "scan/ScanCycle.h"
#include "support/TestRegistry.h"

#include <QSignalSpy>
#include <QTest>

// Notifications travel through the shop's real client, both calls, to a shop
// that reads its query as a PHP site in its charset would.
class NotificationDeliveryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shopReadsTheValuesAsTheyWereCut_data()
    {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("title");
        QTest::newRow("GBK shop, Chinese") << "gb2312" << QStringLiteral("镕瑢 訂單 测试");
        QTest::newRow("GBK shop, forged amount") << "gb2312"
                                                 << "x&jine=999.00";
        QTest::newRow("UTF-8 shop, Chinese") << "utf-8" << QStringLiteral("镕瑢 訂單 测试");
        QTest::newRow("UTF-8 shop, reserved characters") << "utf-8"
                                                         << "a+b %41 #c=d&e";
    }

    void shopReadsTheValuesAsTheyWereCut()
    {
        QFETCH(QString, charset);
        QFETCH(QString, title);
        SimulatedShop shop(QStringLiteral("k&y=1"), charset);
        QVERIFY(shop.listen(0));
        QSignalSpy notified(&shop, &SimulatedShop::notified);

        const TradeRecord record{"2024030922001404950501234567", title, "25.00"};
        const QString address = notificationAddress(shop.notifyUrl(), "k&y=1", record, charset);

        CurlMulti curl;
        CurlHttpClient client(curl, nullptr);
        const auto first = client.get(address, BodyLimit{});
        const auto second = client.get(address, ScanCycle::ShopReplyLimit);
        QSignalSpy answered(second.get(), &HttpRequest::finished);
        QTRY_COMPARE(answered.size(), 1);
        QCOMPARE(answered[0][0].value<HttpAnswer>().body, QByteArray("success"));
        QTRY_COMPARE(notified.size(), 2);

        for (const ShopNotification& received : shop.notifications()) {
            QCOMPARE(received.act, QStringLiteral("k&y=1"));
            QCOMPARE(received.jine, record.Amount);
            QCOMPARE(received.tradeno, record.TradeNo);
            QCOMPARE(received.title, title);
        }
    }
};

TOLLWICK_TEST(NotificationDeliveryTest)
#include "NotificationDeliveryTest.moc"
