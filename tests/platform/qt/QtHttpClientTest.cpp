// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtHttpClient.h"
#include "support/TestRegistry.h"

#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <chrono>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A GBK page whose first two and last two characters are not in GB 2312.
const QByteArray orderTextGbk = QByteArray::fromHex("e946ac8cb2e2cad4d38686ce");

} // namespace

class QtHttpClientTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { m_unanswered.clear(); }

    void answer_data();
    void answer();
    void droppedRequestRunsToItsEndOrTheLimit();

private:
    QString address(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_qs.arg(m_port).arg(path);
    }

    QNetworkAccessManager m_network;
    QtHttpClient m_client{m_network};
    QHttpServer m_server;
    quint16 m_port = 0;
    std::vector<QHttpServerResponder> m_unanswered;
    // Promises 100 bytes, sends 10 and hangs up.
    QTcpServer m_cutShortServer;
};

void QtHttpClientTest::initTestCase()
{
    using Status = QHttpServerResponse::StatusCode;
    m_server.route("/order",
                   [] { return QHttpServerResponse("text/html; charset=gb2312", orderTextGbk); });
    m_server.route("/status/<arg>", [](int status) {
        return QHttpServerResponse("text/plain", QByteArray::number(status), Status(status));
    });
    m_server.route("/empty", [] { return QHttpServerResponse(Status::Ok); });
    m_server.route("/moved", [] {
        QHttpServerResponse response(Status::Found);
        response.setHeader("Location", "/order");
        return response;
    });
    m_server.route("/never", [this](QHttpServerResponder&& responder) {
        m_unanswered.push_back(std::move(responder));
    });
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_port != 0);

    QVERIFY(m_cutShortServer.listen(QHostAddress::LocalHost, 0));
    connect(&m_cutShortServer, &QTcpServer::newConnection, this, [this] {
        QTcpSocket* socket = m_cutShortServer.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
            socket->disconnectFromHost();
        });
    });
}

void QtHttpClientTest::answer_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("from");
    // The body of every status is kept, byte for byte.
    for (int status : {200, 400, 404, 418, 500}) {
        const QString path = address(u"/status/%1"_qs.arg(status));
        QTest::addRow("%d", status) << path << status << QByteArray::number(status) << path;
    }
    const QString order = address(u"/order"_qs);
    QTest::newRow("GBK page") << order << 200 << orderTextGbk << order;
    QTest::newRow("200 without a body")
        << address(u"/empty"_qs) << 200 << QByteArray() << address(u"/empty"_qs);
    QTest::newRow("redirected") << address(u"/moved"_qs) << 200 << orderTextGbk << order;

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    QTest::newRow("refused") << u"http://127.0.0.1:%1/order"_qs.arg(closed.serverPort()) << 0
                             << QByteArray() << QString();
    QTest::newRow("body cut short")
        << u"http://127.0.0.1:%1/page"_qs.arg(m_cutShortServer.serverPort()) << 0 << QByteArray()
        << QString();
}

void QtHttpClientTest::answer()
{
    QFETCH(QString, asked);
    const auto request = m_client.get(asked, BodyLimit{.keep = 1024});
    QSignalSpy finished(request.get(), &HttpRequest::finished);
    QVERIFY(finished.wait(10000));
    const HttpAnswer answer = finished[0][0].value<HttpAnswer>();
    QTEST(answer.status, "status");
    QTEST(answer.body, "body");
    QTEST(answer.address, "from");
}

void QtHttpClientTest::droppedRequestRunsToItsEndOrTheLimit()
{
    QtHttpClient client(m_network, 500ms);
    for (int request = 0; request < 2; ++request)
        client.get(address(u"/never"_qs), BodyLimit{.keep = 1024});
    QTRY_COMPARE(m_unanswered.size(), 2u);
    m_unanswered.front().write("late", "text/plain");
    QTRY_COMPARE(m_network.findChildren<QNetworkReply*>().size(), 1);
    QTest::qWait(100);
    QCOMPARE(m_network.findChildren<QNetworkReply*>().size(), 1);
    QTRY_VERIFY(m_network.findChildren<QNetworkReply*>().isEmpty());
}

TOLLWICK_TEST(QtHttpClientTest)
#include "QtHttpClientTest.moc"
