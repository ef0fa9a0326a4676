// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/NotificationAddress.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {
const TradeRecord Record{"2024030922001404950501234567", "Order 1001", "0.01"};
}

class NotificationAddressTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsTheQueryKeysInOrder()
    {
        QCOMPARE(notificationAddress("http://shop/notify.php", "K", Record, "gb2312"),
                 QStringLiteral("http://shop/notify.php?act=K&jine=0.01"
                                "&tradeno=2024030922001404950501234567&title=Order%201001"));
    }

    // What is kept or shown never holds the key, whatever the URL holds.
    void keyIsMaskedForKeeping()
    {
        const QString address =
            notificationAddress("http://shop/n.php?act=mine", "k&y 1", Record, "utf-8");
        QCOMPARE(withoutKey(address), QStringLiteral("http://shop/n.php?act=mine?act=***&jine=0.01"
                                                     "&tradeno=2024030922001404950501234567"
                                                     "&title=Order%201001"));
    }

    // Pasted line breaks and tabs go; spaces, even trailing ones, stay.
    void dropsTabsAndLineBreaksFromTheDeliveryUrl()
    {
        QCOMPARE(notificationAddress("\thttp://shop/a b\r\n/notify.php \n", "K", Record, "utf-8")
                     .section("?act=", 0, 0),
                 QStringLiteral("http://shop/a b/notify.php "));
    }

    // What a customer types as title must reach the shop as one value,
    // unchanged, and never add a parameter of its own.
    void escapesEveryValue_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("forged amount") << "x&jine=999.00"
                                       << "utf-8"
                                       << "x%26jine%3D999.00";
        QTest::newRow("plus, percent, hash") << "a+b%41#c"
                                             << "utf-8"
                                             << "a%2Bb%2541%23c";
        QTest::newRow("GBK shop") << QStringLiteral("镕瑢訂單") << "gb2312"
                                  << "%E9F%AC%8C%D3%86%86%CE";
        QTest::newRow("GBK in capitals") << QStringLiteral("测试") << "GB2312"
                                         << "%B2%E2%CA%D4";
        QTest::newRow("UTF-8 shop") << QStringLiteral("测试") << "utf-8"
                                    << "%E6%B5%8B%E8%AF%95";
        QTest::newRow("unknown charset falls back to UTF-8") << QStringLiteral("测试") << "no-such"
                                                             << "%E6%B5%8B%E8%AF%95";
    }

    void escapesEveryValue()
    {
        QFETCH(QString, title);
        QFETCH(QString, charset);
        const TradeRecord record{Record.TradeNo, title, Record.Amount};
        const QString address = notificationAddress("http://shop/n", "k&y", record, charset);
        QVERIFY(address.startsWith("http://shop/n?act=k%26y&jine=0.01&tradeno="));
        QFETCH(QString, encoded);
        QCOMPARE(address.section("&title=", 1), encoded);
    }
};

TOLLWICK_TEST(NotificationAddressTest)
#include "NotificationAddressTest.moc"
