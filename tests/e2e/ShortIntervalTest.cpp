// SPDX-License-Identifier: GPL-3.0-or-later

#include "InProcessSandbox.h"

#include "scan/ScanCycle.h"
#include "support/TestRegistry.h"

#include <QMap>
#include <QTest>

namespace {

const QString Delivered = QStringLiteral("发送成功");
const QString AlreadyDelivered = QStringLiteral("已完结,不再发送");

} // namespace

// The first scan after a login with several new payments lasts far longer
// than a short interval: the ticks that fall due meanwhile must neither start
// scans of their own nor deliver anything twice.
class ShortIntervalTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ticksDuringAScanDoNothing()
    {
        SandboxOptions options;
        options.payments = {{QStringLiteral("A"), QStringLiteral("1.00")},
                            {QStringLiteral("B"), QStringLiteral("2.00")},
                            {QStringLiteral("C"), QStringLiteral("3.00")}};
        options.records = QStringLiteral("3");
        options.interval = QStringLiteral("1");
        InProcessSandbox sandbox(options);
        const QString error = sandbox.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));

        int depth = 0;
        int deepest = 0;
        QList<QStringList> linesPerScan;
        ScanCycle& scan = sandbox.watch().scanCycle();
        connect(&scan, &ScanCycle::scanStarted, this,
                [&] { deepest = std::max(deepest, ++depth); });
        connect(&scan, &ScanCycle::scanEnded, this, [&] {
            --depth;
            linesPerScan.append(sandbox.resultLines());
        });
        QTRY_VERIFY_WITH_TIMEOUT(linesPerScan.size() >= 4, 2 * InProcessSandbox::Timeout);

        QCOMPARE(deepest, 1);
        QMap<QString, int> callsPerTradeNumber;
        for (const ShopNotification& call : sandbox.shop().notifications())
            ++callsPerTradeNumber[call.tradeno];
        const QList<SimulatedPayment> payments = sandbox.account().payments();
        QCOMPARE(callsPerTradeNumber.size(), 3);
        for (const SimulatedPayment& payment : payments)
            QCOMPARE(callsPerTradeNumber.value(payment.tradeNo), 2);

        const auto linesEndingIn = [&](const QString& outcome) {
            QStringList lines;
            for (const SimulatedPayment& p : payments)
                lines.append(p.title + u',' + p.amount + u',' + p.tradeNo + u',' + outcome);
            return lines;
        };
        QCOMPARE(linesPerScan.first(), linesEndingIn(Delivered));
        for (const QStringList& lines : linesPerScan.mid(1))
            QCOMPARE(lines, linesEndingIn(AlreadyDelivered));
    }
};

TOLLWICK_TEST(ShortIntervalTest)
#include "ShortIntervalTest.moc"
