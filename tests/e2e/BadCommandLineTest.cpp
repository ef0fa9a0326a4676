// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/SandboxRun.h"
#include "support/TestRegistry.h"

#include <QTest>

// A command line the sandbox cannot use stops it before anything starts, so
// a script reading its output never sees a half-started run.
class BadCommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedWithAMessage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("records not a number") << QStringList{"--records", "x"} << "--records \"x\"";
        QTest::newRow("port of three digits") << QStringList{"--port", "80"} << "--port \"80\"";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << "bogus";
    }

    void refusedWithAMessage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);

        // Were the line accepted, these make the run end on its own quickly.
        const SandboxRun run = SandboxRun::withArguments(
            QStringList{"--headless", "--interval", "1", "--ticks", "1"} + arguments);

        QVERIFY2(run.exitedByItself, qPrintable(run.diagnosis()));
        QVERIFY2(run.exitCode != 0, qPrintable(run.diagnosis()));
        QVERIFY2(run.standardOutput.isEmpty(), qPrintable(run.diagnosis()));
        const QString message = QString::fromLocal8Bit(run.standardError);
        QVERIFY2(message.startsWith(QStringLiteral("tollwick-sandbox: ")), qPrintable(message));
        QVERIFY2(message.contains(named), qPrintable(message));
    }
};

TOLLWICK_TEST(BadCommandLineTest)
#include "BadCommandLineTest.moc"
