// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/RecordPage.h"

#include "scan/RecordPageParser.h"
#include "support/TestRegistry.h"

#include <QStringDecoder>
#include <QTest>

namespace {

const SimulatedPayment Newest{"2024030922001404950500000003", QStringLiteral("测试订单镕"), "3.50"};
const SimulatedPayment Quoted{"2024030922001404950500000002", QStringLiteral("Say \"hi\" & <bye>"),
                              "25.00"};
const SimulatedPayment Oldest{"2024030922001404950500000001", QStringLiteral("Order 1001"), "0.01"};

QString decoded(const QByteArray& page)
{
    QStringDecoder gbk("GBK");
    const QString text = gbk.decode(page);
    return gbk.hasError() ? QString() : text;
}

} // namespace

class RecordPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rowHasTheShapeThePageUses()
    {
        QCOMPARE(RecordPage::row(Oldest),
                 QStringLiteral(
                     "<tr><td><a href=\"detail.htm?tradeNo=2024030922001404950500000001&t=1\" "
                     "title=\"Order 1001\">Order 1001</a></td><td><span class=\"amount-pay-in\">"
                     "+0.01</span></td><td><a href=\"memo.htm?tradeNo="
                     "2024030922001404950500000001\">memo</a></td></tr>\n"));
    }

    void titlesCannotLeaveTheirAttribute()
    {
        const QString row = RecordPage::row(Quoted);
        QVERIFY(row.contains(QStringLiteral(
            "title=\"Say &quot;hi&quot; &amp; &lt;bye&gt;\">Say &quot;hi&quot; &amp; "
            "&lt;bye&gt;</a>")));
        // Only the four attributes' own quotes.
        QCOMPARE(row.count(QLatin1Char('"')), 8);
    }

    void markersAppearOnlyInPaymentRows_data()
    {
        QTest::addColumn<QList<SimulatedPayment>>("payments");
        QTest::newRow("none") << QList<SimulatedPayment>{};
        QTest::newRow("three") << QList<SimulatedPayment>{Newest, Quoted, Oldest};
    }

    void markersAppearOnlyInPaymentRows()
    {
        QFETCH(QList<SimulatedPayment>, payments);
        const QString page = decoded(RecordPage::render(payments));
        QVERIFY(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
        const qsizetype count = payments.size();
        QCOMPARE(page.count(QStringLiteral("tradeNo=")), 2 * count);
        QCOMPARE(page.count(QStringLiteral("title=")), count);
        QCOMPARE(page.count(QStringLiteral("<span class=\"amount-pay-")), count);
    }

    void pageIsGbk()
    {
        const QByteArray page = RecordPage::render({Newest});
        QVERIFY(page.contains(QByteArray("\xb2\xe2\xca\xd4\xb6\xa9\xb5\xa5\xe9\x46")));
        QVERIFY(decoded(page).contains(Newest.title));
    }

    // The program's own cutter must find every payment, newest first, and
    // nothing else.
    void theProgramCutsEveryPaymentOut()
    {
        const QString page = decoded(RecordPage::render({Newest, Quoted, Oldest}));
        QStringView remaining = page;
        QList<TradeRecord> cut;
        while (const std::optional<TradeCut> next = CutTradeRecord(remaining)) {
            cut.append(next->record);
            remaining = next->remainder;
        }
        QCOMPARE(cut.size(), 3);
        const QList<SimulatedPayment> expected{Newest, Quoted, Oldest};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(cut[i].TradeNo, expected[i].tradeNo);
            QCOMPARE(cut[i].Title, expected[i].title.toHtmlEscaped());
            QCOMPARE(cut[i].Amount, expected[i].amount);
        }
    }
};

TOLLWICK_TEST(RecordPageTest)
#include "RecordPageTest.moc"
