// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/FreePort.h"
#include "e2e/RunningSandbox.h"
#include "support/TestRegistry.h"

#include <QMap>
#include <QTest>

namespace {

constexpr int Timeout = 120000;

// The calls the shop received per trade number, in the order first seen.
QMap<QString, int> callsPerTradeNumber(const RunningSandbox& sandbox)
{
    QMap<QString, int> calls;
    for (const QJsonObject& line : sandbox.lines) {
        if (line.contains(QStringLiteral("shop")))
            ++calls[line.value(QStringLiteral("shop")).toObject().value("tradeno").toString()];
    }
    return calls;
}

} // namespace

// The program is killed, as by a power cut, between the two calls of a
// payment it found while catching up after a restart; the journal holds it
// as pending, and the next start delivers it.
class RestartTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aPaymentKilledBetweenItsCallsIsDeliveredAtTheNextStart()
    {
        QTemporaryDir folder;
        const QString journal = folder.filePath(QStringLiteral("journal.db"));
        const auto arguments = [&](const QStringList& payments) {
            QStringList list{"--headless", "--port",    QString::number(freeLocalPort(1000, 9999)),
                             "--journal",  journal,     "--interval",
                             "1",          "--records", "1"};
            for (const QString& payment : payments)
                list << "--payment" << payment;
            return list;
        };
        const QStringList three{"A,1.00", "B,2.00", "C,3.00"};

        // The first start knows A.
        {
            RunningSandbox sandbox;
            sandbox.start(arguments({"A,1.00"}) << "--ticks"
                                                << "1");
            QTRY_VERIFY_WITH_TIMEOUT(sandbox.process.state() == QProcess::NotRunning, Timeout);
            QCOMPARE(sandbox.process.exitCode(), 0);
            QCOMPARE(callsPerTradeNumber(sandbox).size(), 1);
        }

        // B and C came while it was closed: C at the scanned position, then
        // B below it, killed after B's first call.
        QString c, b;
        {
            RunningSandbox sandbox;
            sandbox.onLine = [&](const QJsonObject& line) {
                const QString tradeNo =
                    line.value(QStringLiteral("shop")).toObject().value("tradeno").toString();
                if (tradeNo.isEmpty())
                    return;
                if (c.isEmpty())
                    c = tradeNo;
                else if (tradeNo != c && b.isEmpty()) {
                    b = tradeNo;
                    sandbox.process.kill();
                }
            };
            sandbox.start(arguments(three));
            QTRY_VERIFY_WITH_TIMEOUT(sandbox.process.state() == QProcess::NotRunning, Timeout);
            QCOMPARE(sandbox.process.exitStatus(), QProcess::CrashExit);
            QCOMPARE(callsPerTradeNumber(sandbox), (QMap<QString, int>{{c, 2}, {b, 1}}));
        }

        // C again at the scanned position, as every start does; B from the
        // journal, by both calls.
        RunningSandbox sandbox;
        sandbox.start(arguments(three) << "--ticks"
                                       << "1");
        QTRY_VERIFY_WITH_TIMEOUT(sandbox.process.state() == QProcess::NotRunning, Timeout);
        QCOMPARE(sandbox.process.exitCode(), 0);
        QCOMPARE(callsPerTradeNumber(sandbox), (QMap<QString, int>{{c, 2}, {b, 2}}));
    }
};

TOLLWICK_TEST(RestartTest)
#include "RestartTest.moc"
