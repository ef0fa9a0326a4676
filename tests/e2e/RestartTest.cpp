// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/FreePort.h"
#include "e2e/RunningSandbox.h"
#include "support/TestRegistry.h"

#include <QMap>
#include <QTest>

namespace {

// The calls the shop received per trade number.
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
        // Starts `sandbox` on the one journal and waits until it ends.
        const auto run = [&](RunningSandbox& sandbox, const QString& more) {
            sandbox.start(QStringList{"--journal", folder.filePath("journal.db")} +
                          QStringLiteral("--headless --interval 1 --records 1 --port %1 %2")
                              .arg(freeLocalPort(1000, 9999))
                              .arg(more)
                              .split(' '));
            return QTest::qWaitFor([&] { return sandbox.process.state() == QProcess::NotRunning; },
                                   120000);
        };
        const QString three = QStringLiteral("--payment A,1.00 --payment B,2.00 --payment C,3.00");

        // The first start knows A.
        {
            RunningSandbox sandbox;
            QVERIFY(run(sandbox, "--payment A,1.00 --ticks 1"));
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
            QVERIFY(run(sandbox, three));
            QCOMPARE(sandbox.process.exitStatus(), QProcess::CrashExit);
            QCOMPARE(callsPerTradeNumber(sandbox), (QMap<QString, int>{{c, 2}, {b, 1}}));
        }

        // C again at the scanned position, as every start does; B from the
        // journal, by both calls.
        RunningSandbox sandbox;
        QVERIFY(run(sandbox, three + " --ticks 1"));
        QCOMPARE(sandbox.process.exitCode(), 0);
        QCOMPARE(callsPerTradeNumber(sandbox), (QMap<QString, int>{{c, 2}, {b, 2}}));
    }
};

TOLLWICK_TEST(RestartTest)
#include "RestartTest.moc"
