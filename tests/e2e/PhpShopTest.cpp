// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/PhpShop.h"
#include "e2e/SandboxRun.h"
#include "support/RecordPages.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QMap>
#include <QStringDecoder>
#include <QTest>

#include <algorithm>

namespace {

const QString Key = QStringLiteral("k&y=1 %");

// Titles that must reach the shop as themselves, neither cut short nor read
// as further query fields. The page carries them raw, as a real record page
// that does not escape its attributes would.
QList<Payment> payments()
{
    return {
        {tradeNumber(1), QStringLiteral("镕瑢货款 测试订单"), "0.01"},
        {tradeNumber(2), QStringLiteral("Blue mug  for  two "), "12.50"},
        {tradeNumber(3), QStringLiteral("a&b=c%d+e#f 100%+1"), "3.00"},
        {tradeNumber(4), QStringLiteral("x&jine=999.00"), "1.00"},
        // A made-up second marker must not move the next cut into the title.
        {tradeNumber(7), QStringLiteral("ORDER999 tradeNo=2026120722001404950501239999"), "9.99"},
        {tradeNumber(5), QStringLiteral("coupon %41 off"), "7.77"},
        {tradeNumber(6), QStringLiteral("新年礼盒（红）+贺卡·2"), "188.00"},
    };
}

bool writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The program against a real PHP site: whatever the shop's charset, PHP's
// $_GET holds exactly the values on the record page.
class PhpShopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void phpReadsEveryValueAsOnThePage_data()
    {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("decoderName");
        QTest::newRow("GBK shop") << "gb2312"
                                  << "GBK";
        QTest::newRow("UTF-8 shop") << "utf-8"
                                    << "UTF-8";
    }

    void phpReadsEveryValueAsOnThePage()
    {
        QFETCH(QString, charset);
        QFETCH(QString, decoderName);

        const QList<Payment> paid = payments();
        PhpShop shop;
        QString error;
        QVERIFY2(shop.start(error), qPrintable(error));
        const QString page = shop.path(QStringLiteral("records.htm"));
        QVERIFY(writeFile(page, recordPage(paid)));

        // One scan of seven new payments takes over twenty seconds; the ticks
        // that fall due meanwhile must do nothing.
        const SandboxRun run = SandboxRun::headless(
            {"--notify-url", shop.notifyUrl(), "--page", page, "--records", "7", "--charset",
             charset, "--key", Key, "--interval", "1", "--ticks", "1"});
        QVERIFY2(run.exitedByItself && run.exitCode == 0, qPrintable(run.diagnosis()));
        QVERIFY2(run.shopCalls().isEmpty(), "the sandbox's own shop was called");

        const QStringList lines = run.boxTexts("page").constLast().split("\r\n");
        QCOMPARE(lines.size(), paid.size() + 1);
        for (const QString& line : lines.mid(1))
            QVERIFY2(line.endsWith(QStringLiteral(",发送成功")), qPrintable(line));

        const auto decoded = [&](const QByteArray& bytes) {
            QStringDecoder decoder(decoderName.toLatin1().constData());
            const QString text = decoder.decode(bytes);
            return decoder.hasError() ? QStringLiteral("<not %1>").arg(decoderName) : text;
        };
        QStringList calledInOrder;
        QMap<QString, int> callsPerTradeNumber;
        for (const PhpShop::Call& call : shop.calls()) {
            const QString tradeNo = decoded(call.value("tradeno"));
            const auto expected = std::find_if(
                paid.cbegin(), paid.cend(), [&](const Payment& p) { return p.tradeNo == tradeNo; });
            QVERIFY2(expected != paid.cend(), qPrintable(tradeNo));
            QCOMPARE(call.size(), 4);
            QCOMPARE(decoded(call.value("act")), Key);
            QCOMPARE(decoded(call.value("title")), expected->title);
            QCOMPARE(decoded(call.value("jine")), expected->amount);
            QVERIFY(call.value("jine") != "999.00");
            if (!calledInOrder.contains(tradeNo))
                calledInOrder.append(tradeNo);
            ++callsPerTradeNumber[tradeNo];
        }

        // Page order, each payment called exactly twice, although PHP's
        // server closes every connection: the call whose answer is not read
        // and the one whose answer counts.
        QStringList pageOrder;
        for (const Payment& payment : paid) {
            pageOrder.append(payment.tradeNo);
            QVERIFY2(callsPerTradeNumber.value(payment.tradeNo) == 2, qPrintable(payment.title));
        }
        QCOMPARE(calledInOrder, pageOrder);
    }
};

TOLLWICK_TEST(PhpShopTest)
#include "PhpShopTest.moc"
