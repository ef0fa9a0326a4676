// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/RecordPageParser.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {

QString payment(const QString& tradeNo, const QString& title, const QString& figure)
{
    return QStringLiteral("<tr><a href=\"d.htm?tradeNo=%1&t=1\" title=\"%2\">x</a>"
                          "<span class=\"amount-pay-in\">+%3</span>"
                          "<a href=\"m.htm?tradeNo=%1\">m</a></tr>")
        .arg(tradeNo, title, figure);
}

const QString FirstTradeNo = QStringLiteral("2024030922001404950501234567");
const QString SecondTradeNo = QStringLiteral("2024030822001404950509876543");

} // namespace

class RecordPageParserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cutsTheWorkedExampleRecordByRecord()
    {
        const QString first = payment(FirstTradeNo, QStringLiteral("Order 1001"), "0.01");
        const QString second = payment(SecondTradeNo, QStringLiteral("测试订单"), "25.00");
        QCOMPARE(first.size(), 188);
        QCOMPARE(second.size(), 183);

        const QString page = first + second;
        const auto cut1 = CutTradeRecord(page);
        QVERIFY(cut1);
        QCOMPARE(cut1->record, (TradeRecord{FirstTradeNo, "Order 1001", "0.01"}));
        QCOMPARE(cut1->remainder.size(), 196);
        QVERIFY(cut1->remainder.startsWith(QStringLiteral("7\">m</a></tr><tr>")));

        const auto cut2 = CutTradeRecord(cut1->remainder);
        QVERIFY(cut2);
        QCOMPARE(cut2->record, (TradeRecord{SecondTradeNo, QStringLiteral("测试订单"), "25.00"}));

        QVERIFY(!CutTradeRecord(cut2->remainder));
    }

    // A payer who writes a marker and a made-up number into the title must
    // not move the next cut into that title.
    void aTitleCannotSteerTheNextCut()
    {
        const QString forged = QStringLiteral("ORDER999 tradeNo=2026120722001404950501239999");
        const QString page = payment(FirstTradeNo, forged, "999.00") +
                             payment(SecondTradeNo, QStringLiteral("ORDER100"), "100.00");

        const auto cut1 = CutTradeRecord(page);
        QVERIFY(cut1);
        QCOMPARE(cut1->record, (TradeRecord{FirstTradeNo, forged, "999.00"}));
        const auto cut2 = CutTradeRecord(cut1->remainder);
        QVERIFY(cut2);
        QCOMPARE(cut2->record, (TradeRecord{SecondTradeNo, "ORDER100", "100.00"}));
        QVERIFY(!CutTradeRecord(cut2->remainder));
    }

    void findsNoRecord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("no marker") << QStringLiteral("<html>no payments</html>");
        QTest::newRow("capitalised marker")
            << payment(FirstTradeNo, "t", "1.00").replace("tradeNo=", "TradeNo=");
        QTest::newRow("lower-case marker")
            << payment(FirstTradeNo, "t", "1.00").replace("tradeNo=", "tradeno=");
        // The fixed counts would reach past the end of these texts.
        QTest::newRow("title marker at the very end") << QStringLiteral("tradeNo=123 title=");
        QTest::newRow("title without closing quote")
            << QStringLiteral("tradeNo=%1 title=\"no closing quote, and long enough to skip "
                              "1.00</span> tradeNo=%1 and more text beyond it")
                   .arg(FirstTradeNo);
        QTest::newRow("amount without end tag")
            << QStringLiteral("tradeNo=%1 title=\"t\"<span class=\"amount-pay-in\">+1.00 "
                              "tradeNo=%1 and some more text after it")
                   .arg(FirstTradeNo);
        QTest::newRow("second trade number cut short")
            << QStringLiteral("tradeNo=%1 title=\"t\"<span class=\"amount-pay-in\">+1.00</span>"
                              "tradeNo=20240309")
                   .arg(FirstTradeNo);
    }

    void findsNoRecord()
    {
        QFETCH(QString, text);
        QVERIFY(!CutTradeRecord(text));
    }

    void cutsUnusualButCompleteTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tradeNo");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("amount");

        QTest::newRow("empty title") << payment(FirstTradeNo, "", "3.50") << FirstTradeNo << ""
                                     << "3.50";
        QTest::newRow("entities stay undecoded")
            << payment(FirstTradeNo, "A&amp;B &quot;x&quot;", "1.00") << FirstTradeNo
            << "A&amp;B &quot;x&quot;"
            << "1.00";
        // Without its own amount marker a payment takes the next one's amount.
        QTest::newRow("amount of a later payment")
            << QStringLiteral("<a href=\"d?tradeNo=%1\" title=\"first\">x</a>"
                              "<a href=\"m?tradeNo=%1\">m</a>")
                       .arg(FirstTradeNo) +
                   payment(SecondTradeNo, "second", "9.99")
            << FirstTradeNo << "first"
            << "9.99";
        // No "title=" after the trade number: the title runs from the trade
        // number itself up to the next quote.
        QTest::newRow("no title marker")
            << QStringLiteral("tradeNo=%1\"<span class=\"amount-pay-in\">+2.00</span>"
                              "tradeNo=%1 and the rest")
                   .arg(FirstTradeNo)
            << FirstTradeNo << FirstTradeNo << "2.00";
    }

    void cutsUnusualButCompleteTexts()
    {
        QFETCH(QString, text);
        const auto cut = CutTradeRecord(text);
        QVERIFY(cut);
        QTEST(cut->record.TradeNo, "tradeNo");
        QTEST(cut->record.Title, "title");
        QTEST(cut->record.Amount, "amount");
    }

    // A short trade number is taken from the text it stands in, marker included.
    void shortTradeNumberTakesTheLastCharacters()
    {
        const QString text = QStringLiteral("tradeNo=12345\" title=\"t\""
                                            "<span class=\"amount-pay-in\">+1.00</span>"
                                            "tradeNo=12345 and enough text to skip over");
        const auto cut = CutTradeRecord(text);
        QVERIFY(cut);
        QCOMPARE(cut->record.TradeNo, QStringLiteral("12345\" title=\"t\"<span class="));
        QCOMPARE(cut->record.TradeNo.size(), 28);
    }

    void extractsAmountAfterTheMarker_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("amount");
        QTest::newRow("incoming") << QStringLiteral("t\"<span class=\"amount-pay-in\">+0.01</span>")
                                  << "0.01";
        QTest::newRow("outgoing keeps its sign")
            << QStringLiteral("<span class=\"amount-pay-out\">-12.00</span>") << "-12.00";
        QTest::newRow("no marker: from the 29th character")
            << QStringLiteral("0123456789012345678901234567X8.88</span>") << "X8.88";
    }

    void extractsAmountAfterTheMarker()
    {
        QFETCH(QString, text);
        QTEST(ExtractAmount(text).value_or("<none>"), "amount");
    }

    void extractsNoAmountFromTooShortTexts()
    {
        QVERIFY(!ExtractAmount(QStringLiteral("<span class=\"amount-pay-in\">")));
        QVERIFY(!ExtractAmount(QStringLiteral("short")));
        QVERIFY(!ExtractAmount(QStringLiteral("<span class=\"amount-pay-in\">+1.00 no end")));
    }
};

TOLLWICK_TEST(RecordPageParserTest)
#include "RecordPageParserTest.moc"
