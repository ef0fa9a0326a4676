#include "e2e/FreePort.h"

#include <QElapsedTimer>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

constexpr int Timeout = 120000;

// The sandbox executable running, its JSON lines read as they come, each
// with the moment it arrived.
struct RunningSandbox {
    QProcess process;
    QTemporaryDir home;
    QList<QJsonObject> lines;
    QList<qint64> arrivals;
    QElapsedTimer clock;
    QByteArray pending;

    void start(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("d")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("c")));
        process.setProcessEnvironment(environment);
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] {
            pending += process.readAllStandardOutput();
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                lines.append(QJsonDocument::fromJson(pending.left(end)).object());
                arrivals.append(clock.elapsed());
                pending.remove(0, end + 1);
            }
        });
        clock.start();
        process.start(QStringLiteral(TOLLWICK_SANDBOX), arguments);
    }
    // The index of the first line from `from` on whose `key` is `value`.
    qsizetype find(const QString& key, const QString& value, qsizetype from = 0) const
    {
        for (qsizetype i = from; i < lines.size(); ++i) {
            if (lines[i].value(key).toString() == value)
                return i;
        }
        return -1;
    }
    qsizetype count(const QString& key) const
    {
        return std::count_if(lines.cbegin(), lines.cend(),
                             [&](const QJsonObject& line) { return line.contains(key); });
    }
    ~RunningSandbox()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished();
    }
};

} // namespace

// The owner is away: the account's session expires. The next scan must alert
// once, locally and at the alert address, and the next login clear it once.
class AlertRoadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lostSessionAlertsOnceAndClearsOnce()
    {
        QHttpServer alertServer;
        QList<QJsonObject> received;
        alertServer.route("/alerts", [&](const QHttpServerRequest& request) {
            received.append(QJsonDocument::fromJson(request.body()).object());
            return QHttpServerResponse(QHttpServerResponse::StatusCode::Ok);
        });
        const quint16 alertPort = alertServer.listen(QHostAddress::LocalHost, 0);
        QVERIFY(alertPort != 0);

        const quint16 port = freeLocalPort(1000, 9999);
        RunningSandbox sandbox;
        sandbox.start({"--headless", "--port", QString::number(port), "--interval", "2",
                       "--payment", "Order 1,1.00", "--alert-url",
                       QStringLiteral("http://127.0.0.1:%1/alerts").arg(alertPort)});
        QTRY_VERIFY_WITH_TIMEOUT(sandbox.find("event", "delivered") >= 0, Timeout);

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
        // Logged in again, the scan reads the record page as before.
        QTRY_VERIFY_WITH_TIMEOUT(sandbox.find("event", "alreadyDelivered", cleared) >= 0, Timeout);
        QTest::qWait(3000);

        QCOMPARE(sandbox.count("alert"), 2);
        QCOMPARE(sandbox.lines[cleared].value("cause").toString(), QStringLiteral("sessionLost"));
        QCOMPARE(received.size(), 2);
        QCOMPARE(received[0].value("cause").toString(), QStringLiteral("sessionLost"));
        QCOMPARE(received[1].value("cause").toString(), QStringLiteral("cleared"));
        QVERIFY(received[1].value("text").toString().startsWith(QStringLiteral("已恢复")));
    }
};

QTEST_GUILESS_MAIN(AlertRoadTest)
#include "AlertRoadTest.moc"
