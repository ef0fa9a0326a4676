// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SandboxLog.h"
#include "alerts/Alert.h"
#include "alerts/AlertSend.h"
#include "scan/DeliveryAttempt.h"
#include "support/TestRegistry.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryFile>
#include <QTest>

class SandboxLogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesOneCompactObjectPerLine()
    {
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        SandboxLog log(&buffer);
        log.status(QStringLiteral("正在扫描 \"1\""));
        log.page(QStringLiteral("line 1\nline 2"));
        log.shop({"dembro", "0.01", "2024030922001404950501234567", QStringLiteral("订单 & 1")});
        log.exit(3);
        DeliveryAttempt rejected{.record = {"2024", "t", "1.00"}};
        rejected.status = 500;
        log.delivery(rejected);
        const Alert lost{Alert::Cause::SessionLost, {}, QStringLiteral("失效")};
        log.alert(lost);
        log.cleared(lost);
        log.alertSent(
            {"sessionLost", "wecom", AlertSend::Verdict::WillRetry, "服务出错 (503)", 503, {}});
        log.heartbeat(200);

        const QList<QByteArray> lines = buffer.data().split('\n');
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0],
                 QStringLiteral("{\"box\":\"status\",\"text\":\"正在扫描 \\\"1\\\"\"}").toUtf8());
        QCOMPARE(lines[1], QByteArray(R"({"box":"page","text":"line 1\nline 2"})"));
        QCOMPARE(lines[2], QStringLiteral("{\"shop\":{\"act\":\"dembro\",\"jine\":\"0.01\","
                                          "\"title\":\"订单 & 1\","
                                          "\"tradeno\":\"2024030922001404950501234567\"}}")
                               .toUtf8());
        QCOMPARE(lines[3], QByteArray(R"({"exit":{"ticks":3}})"));
        QCOMPARE(lines[4], QByteArray(R"({"amount":"1.00","event":"rejected","manual":false,)"
                                      R"("status":500,"title":"t","tradeno":"2024"})"));
        QCOMPARE(lines[5], QStringLiteral(R"({"alert":"sessionLost","text":"失效"})").toUtf8());
        QCOMPARE(
            lines[6],
            QStringLiteral(R"({"alert":"cleared","cause":"sessionLost","text":"失效"})").toUtf8());
        QCOMPARE(lines[7], QByteArray(R"({"alertSent":{"cause":"sessionLost","kind":"wecom",)"
                                      R"("status":503,"verdict":"willRetry"}})"));
        QCOMPARE(lines[8], QByteArray(R"({"heartbeat":{"status":200}})"));
        QVERIFY(lines[9].isEmpty());
    }

    // A script reading a pipe or file must not wait for a buffer to fill.
    void eachLineReachesAFileAtOnce()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        SandboxLog log(&file);
        log.exit(1);
        QFile reader(file.fileName());
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QCOMPARE(reader.readAll(), QByteArray("{\"exit\":{\"ticks\":1}}\n"));
    }
};

TOLLWICK_TEST(SandboxLogTest)
#include "SandboxLogTest.moc"
