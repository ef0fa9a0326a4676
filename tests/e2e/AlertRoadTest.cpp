// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/FreePort.h"
#include "e2e/RunningSandbox.h"
#include "support/TestRegistry.h"

#include <QElapsedTimer>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

constexpr int Timeout = 120000;

// The alertSent lines' verdicts for messages of `cause`, in order.
QStringList verdictsOf(const QList<QJsonObject>& lines, const QString& cause)
{
    QStringList verdicts;
    for (const QJsonObject& line : lines) {
        const QJsonObject sent = line.value(QStringLiteral("alertSent")).toObject();
        if (sent.value(QStringLiteral("cause")).toString() == cause)
            verdicts.append(sent.value(QStringLiteral("verdict")).toString());
    }
    return verdicts;
}

// An alert address that refuses or fails the messages a test says, as a
// bot does whose keyword a message lacks, or a service that is down.
struct AlertAddress {
    QHttpServer server;
    quint16 port = 0;
    // The cause of every message received, in order.
    QStringList causes;
    QString lastText;
    // The status to answer the nth message of a cause with; 200 past the end.
    QHash<QString, QList<int>> answers;
    // When each heartbeat arrived, on the sandbox's clock.
    QList<qint64> heartbeats;
    const QElapsedTimer* clock = nullptr;

    AlertAddress()
    {
        server.route("/alerts", [this](const QHttpServerRequest& request) {
            const QJsonObject message = QJsonDocument::fromJson(request.body()).object();
            const QString cause = message.value(QStringLiteral("cause")).toString();
            const int status = answers.value(cause).value(causes.count(cause), 200);
            causes.append(cause);
            lastText = message.value(QStringLiteral("text")).toString();
            return QHttpServerResponse(QHttpServerResponse::StatusCode(status));
        });
        server.route("/heartbeat", [this] {
            heartbeats.append(clock->elapsed());
            return QHttpServerResponse(QHttpServerResponse::StatusCode::Ok);
        });
        port = server.listen(QHostAddress::LocalHost, 0);
    }
    QString address(const char* path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(QLatin1String(path));
    }
};

} // namespace

class AlertRoadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The account's session expires while the owner is away, and the alert
    // address refuses the message about it. The lost session alerts once,
    // the next login clears it once, and the clearing still arrives; the
    // heartbeat stops while the session is lost and comes back after the
    // login.
    void aLostSessionWhileTheAddressRefusesItsAlert()
    {
        AlertAddress address;
        address.answers.insert(QStringLiteral("sessionLost"), {400, 400, 400});
        const quint16 port = freeLocalPort(1000, 9999);
        RunningSandbox sandbox;
        address.clock = &sandbox.clock;
        constexpr int HeartbeatEvery = 2;
        sandbox.start({"--headless", "--port", QString::number(port), "--interval", "1",
                       "--payment", "Order 1,1.00", "--alert-url", address.address("/alerts"),
                       "--alert-retry-first", "1", "--heartbeat-url", address.address("/heartbeat"),
                       "--heartbeat-every", QString::number(HeartbeatEvery)});
        QTRY_VERIFY_WITH_TIMEOUT(sandbox.find("event", "delivered") >= 0, Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(address.heartbeats.size() >= 2, Timeout);

        QNetworkAccessManager network;
        const qint64 expired = sandbox.clock.elapsed();
        QNetworkReply* expire = network.get(
            QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/sandbox/expire").arg(port))));
        QTRY_VERIFY_WITH_TIMEOUT(expire->isFinished(), Timeout);
        expire->deleteLater();

        QTRY_VERIFY_WITH_TIMEOUT(sandbox.find("alert", "sessionLost") >= 0, Timeout);
        const qsizetype lost = sandbox.find("alert", "sessionLost");
        qInfo("session expiry to alert: %lld ms", sandbox.arrivals[lost] - expired);
        QTRY_VERIFY_WITH_TIMEOUT(sandbox.find("alert", "cleared") >= 0, Timeout);
        const qsizetype cleared = sandbox.find("alert", "cleared");
        // Logged in again, the scan reads the record page as before. Three
        // heartbeats at least two seconds apart: any retry of the lost
        // session's message would have been due by the third.
        QTRY_VERIFY_WITH_TIMEOUT(sandbox.count("heartbeat", cleared) >= 3, Timeout);

        QCOMPARE(sandbox.count("alert"), 2);
        QCOMPARE(sandbox.lines[cleared].value("cause").toString(), QStringLiteral("sessionLost"));
        const QStringList lostTries = verdictsOf(sandbox.lines, QStringLiteral("sessionLost"));
        QVERIFY2(!lostTries.isEmpty() && lostTries.size() <= 3 && !lostTries.contains("delivered"),
                 qPrintable(lostTries.join(' ')));
        QCOMPARE(verdictsOf(sandbox.lines, QStringLiteral("cleared")), QStringList{"delivered"});
        QCOMPARE(address.causes, QStringList(lostTries.size(), QStringLiteral("sessionLost")) +
                                     QStringList{"cleared"});
        QVERIFY2(address.lastText.startsWith(QStringLiteral("Tollwick（")) &&
                     address.lastText.endsWith(QStringLiteral("已恢复：支付宝登录有效，扫描继续")),
                 qPrintable(address.lastText));

        // Every ping the sandbox made arrived; none came while the session was
        // lost, the last one before within an interval of the expiry.
        QCOMPARE(sandbox.count("heartbeat"), address.heartbeats.size());
        QCOMPARE(sandbox.count("heartbeat", lost, cleared), 0);
        const qsizetype before = sandbox.count("heartbeat", 0, lost);
        QVERIFY(address.heartbeats[before - 1] < expired + HeartbeatEvery * 1000);
    }

    // A service that is down twice, then takes the message, gets it once.
    void aMessageArrivesOnceAfterRetries()
    {
        AlertAddress address;
        address.answers.insert(QStringLiteral("paymentRejected"), {503, 503});
        RunningSandbox sandbox;
        // The shop refuses the payment at every scan: three in a row alert.
        sandbox.start({"--headless", "--port", QString::number(freeLocalPort(1000, 9999)),
                       "--interval", "1", "--payment", "Order 1,1.00", "--shop-fail", "100",
                       "--ticks", "6", "--alert-url", address.address("/alerts"),
                       "--alert-retry-first", "1"});
        QTRY_VERIFY_WITH_TIMEOUT(sandbox.process.state() == QProcess::NotRunning, Timeout);
        QCOMPARE(sandbox.process.exitCode(), 0);
        QCOMPARE(address.causes, QStringList(3, QStringLiteral("paymentRejected")));
        QCOMPARE(verdictsOf(sandbox.lines, QStringLiteral("paymentRejected")),
                 (QStringList{"willRetry", "willRetry", "delivered"}));
    }
};

TOLLWICK_TEST(AlertRoadTest)
#include "AlertRoadTest.moc"
