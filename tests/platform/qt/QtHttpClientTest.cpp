// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtHttpClient.h"
#include "web/EncodingConvertor.h"

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

const QString orderText = QString::fromUtf8("镕瑢测试訂單");
// orderText in GBK; the first two and the last two characters are not in GB 2312.
const QByteArray orderTextGbk = QByteArray::fromHex("e946ac8cb2e2cad4d38686ce");

constexpr int ReplyTimeoutMs = 10000;

} // namespace

class TestQtHttpClient : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void gbkPageKeepsEveryCharacter();
    void bodyOfEveryStatusIsKept_data();
    void bodyOfEveryStatusIsKept();
    void redirectIsFollowed();
    void refusedConnectionEndsWithEmptyBody();
    void bodyCutShortEndsEmpty();
    void droppedRequestRunsToItsEndOrTheLimit();

private:
    QString address(const QString& path) const;
    // Sends a GET and waits for its answer; status -1 when none came in time.
    HttpAnswer run(const QString& address);

    QNetworkAccessManager m_network;
    QtHttpClient m_client{m_network};
    QHttpServer m_server;
    quint16 m_port = 0;
    std::vector<QHttpServerResponder> m_unanswered;
};

void TestQtHttpClient::initTestCase()
{
    using Status = QHttpServerResponse::StatusCode;
    m_server.route("/order",
                   [] { return QHttpServerResponse("text/html; charset=gb2312", orderTextGbk); });
    m_server.route("/ok", [] { return QHttpServerResponse("text/plain", "all well"); });
    m_server.route("/missing", [] {
        return QHttpServerResponse("text/plain", "no such page", Status::NotFound);
    });
    m_server.route("/bad", [] {
        return QHttpServerResponse("text/plain", "bad request", Status::BadRequest);
    });
    m_server.route("/teapot", [] {
        return QHttpServerResponse("text/plain", "short and stout", Status::ImATeapot);
    });
    m_server.route("/broken", [] {
        return QHttpServerResponse("text/plain", "server fault", Status::InternalServerError);
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
}

void TestQtHttpClient::cleanup()
{
    m_unanswered.clear();
}

QString TestQtHttpClient::address(const QString& path) const
{
    return u"http://127.0.0.1:%1%2"_qs.arg(m_port).arg(path);
}

HttpAnswer TestQtHttpClient::run(const QString& address)
{
    const auto request = m_client.get(address, BodyLimit{.keep = 1024});
    QSignalSpy finished(request.get(), &HttpRequest::finished);
    if (!finished.wait(ReplyTimeoutMs))
        return {-1, {}, {}};
    return finished[0][0].value<HttpAnswer>();
}

void TestQtHttpClient::gbkPageKeepsEveryCharacter()
{
    const HttpAnswer answer = run(address(u"/order"_qs));
    QCOMPARE(answer.body, orderTextGbk);
    QCOMPARE(EncodingConvertor(answer.body, u"gb2312"_qs), orderText);
}

void TestQtHttpClient::bodyOfEveryStatusIsKept_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::newRow("200") << u"/ok"_qs << QByteArray("all well") << 200;
    QTest::newRow("400") << u"/bad"_qs << QByteArray("bad request") << 400;
    QTest::newRow("404") << u"/missing"_qs << QByteArray("no such page") << 404;
    QTest::newRow("418") << u"/teapot"_qs << QByteArray("short and stout") << 418;
    QTest::newRow("500") << u"/broken"_qs << QByteArray("server fault") << 500;
    QTest::newRow("200 without a body") << u"/empty"_qs << QByteArray() << 200;
}

void TestQtHttpClient::bodyOfEveryStatusIsKept()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    const HttpAnswer answer = run(address(path));
    QCOMPARE(answer.body, body);
    QCOMPARE(answer.status, status);
    QCOMPARE(answer.address, address(path));
}

void TestQtHttpClient::redirectIsFollowed()
{
    const HttpAnswer answer = run(address(u"/moved"_qs));
    QCOMPARE(answer.body, orderTextGbk);
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.address, address(u"/order"_qs));
}

void TestQtHttpClient::refusedConnectionEndsWithEmptyBody()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();

    const HttpAnswer answer = run(u"http://127.0.0.1:%1/order"_qs.arg(port));
    QCOMPARE(answer.body, QByteArray());
    QCOMPARE(answer.status, 0);
    QCOMPARE(answer.address, QString());
}

void TestQtHttpClient::bodyCutShortEndsEmpty()
{
    // Promises 100 bytes, sends 10 and hangs up.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    connect(&server, &QTcpServer::newConnection, this, [&server] {
        QTcpSocket* socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
            socket->disconnectFromHost();
        });
    });

    const HttpAnswer answer = run(u"http://127.0.0.1:%1/page"_qs.arg(server.serverPort()));
    QCOMPARE(answer.body, QByteArray());
    QCOMPARE(answer.status, 0);
}

void TestQtHttpClient::droppedRequestRunsToItsEndOrTheLimit()
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

QTEST_GUILESS_MAIN(TestQtHttpClient)
#include "QtHttpClientTest.moc"
