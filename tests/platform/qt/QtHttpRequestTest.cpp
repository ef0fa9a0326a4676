#include "platform/qt/QtHttpRequest.h"
#include "platform/qt/QtByteStream.h"

#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
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

constexpr int Done = 4;
constexpr int ReplyTimeoutMs = 10000;

} // namespace

class TestQtHttpRequest : public QObject {
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
    void statesBeforeSending();
    void onlyGetIsSent();
    void droppedRequestRunsToItsEndOrTheLimit();

private:
    QString address(const QString& path) const;
    // Sends a GET and waits for it to end.
    static bool run(HttpRequest& request, const QString& address);

    QNetworkAccessManager m_network;
    QHttpServer m_server;
    quint16 m_port = 0;
    int m_hits = 0;
    std::vector<QHttpServerResponder> m_unanswered;
};

void TestQtHttpRequest::initTestCase()
{
    using Status = QHttpServerResponse::StatusCode;
    m_server.route("/order", [this] {
        ++m_hits;
        return QHttpServerResponse("text/html; charset=gb2312", orderTextGbk);
    });
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

void TestQtHttpRequest::cleanup()
{
    m_unanswered.clear();
    m_hits = 0;
}

QString TestQtHttpRequest::address(const QString& path) const
{
    return u"http://127.0.0.1:%1%2"_qs.arg(m_port).arg(path);
}

bool TestQtHttpRequest::run(HttpRequest& request, const QString& address)
{
    request.Open(u"GET"_qs, address, true);
    request.send();
    return QTest::qWaitFor([&] { return request.ReadyState() == Done; }, ReplyTimeoutMs);
}

void TestQtHttpRequest::gbkPageKeepsEveryCharacter()
{
    QtHttpRequest request(m_network);
    QVERIFY(run(request, address(u"/order"_qs)));
    const QByteArray body = request.responseBody();
    QCOMPARE(body, orderTextGbk);

    QtByteStream stream;
    QVERIFY(stream.Open());
    QVERIFY(stream.Write(body));
    QVERIFY(stream.setPosition(0));
    QVERIFY(stream.setType(ByteStream::TextType));
    QVERIFY(stream.setCharset(u"gb2312"_qs));
    QCOMPARE(stream.ReadText(), orderText);
}

void TestQtHttpRequest::bodyOfEveryStatusIsKept_data()
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

void TestQtHttpRequest::bodyOfEveryStatusIsKept()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QtHttpRequest request(m_network);
    QVERIFY(run(request, address(path)));
    QCOMPARE(request.responseBody(), body);
    QCOMPARE(request.status(), status);
    QCOMPARE(request.responseURL(), address(path));
}

void TestQtHttpRequest::redirectIsFollowed()
{
    QtHttpRequest request(m_network);
    QVERIFY(run(request, address(u"/moved"_qs)));
    QCOMPARE(request.responseBody(), orderTextGbk);
    QCOMPARE(request.status(), 200);
    QCOMPARE(request.responseURL(), address(u"/order"_qs));
}

void TestQtHttpRequest::refusedConnectionEndsWithEmptyBody()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();

    QtHttpRequest request(m_network);
    QVERIFY(run(request, u"http://127.0.0.1:%1/order"_qs.arg(port)));
    QCOMPARE(request.responseBody(), QByteArray());
    QCOMPARE(request.status(), 0);
    QCOMPARE(request.responseURL(), QString());
}

void TestQtHttpRequest::bodyCutShortEndsEmpty()
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

    QtHttpRequest request(m_network);
    QVERIFY(run(request, u"http://127.0.0.1:%1/page"_qs.arg(server.serverPort())));
    QCOMPARE(request.responseBody(), QByteArray());
    QCOMPARE(request.status(), 0);
}

void TestQtHttpRequest::statesBeforeSending()
{
    QtHttpRequest request(m_network);
    QCOMPARE(request.ReadyState(), 0);
    request.send();
    QCOMPARE(request.ReadyState(), 0);
    request.Open(u"GET"_qs, address(u"/order"_qs), true);
    QCOMPARE(request.ReadyState(), 1);
    QCOMPARE(request.responseBody(), QByteArray());
}

void TestQtHttpRequest::onlyGetIsSent()
{
    QtHttpRequest request(m_network);
    request.Open(u"POST"_qs, address(u"/order"_qs), true);
    request.send();
    QTest::qWait(300);
    QCOMPARE(m_hits, 0);
    QCOMPARE(request.ReadyState(), 1);

    QVERIFY(run(request, address(u"/order"_qs)));
    QCOMPARE(request.responseBody(), orderTextGbk);
    QCOMPARE(m_hits, 1);
}

void TestQtHttpRequest::droppedRequestRunsToItsEndOrTheLimit()
{
    for (int request = 0; request < 2; ++request) {
        QtHttpRequest dropped(m_network, 500ms);
        dropped.Open(u"GET"_qs, address(u"/never"_qs), true);
        dropped.send();
    }
    QTRY_COMPARE(m_unanswered.size(), 2u);
    m_unanswered.front().write("late", "text/plain");
    QTRY_COMPARE(m_network.findChildren<QNetworkReply*>().size(), 1);
    QTest::qWait(100);
    QCOMPARE(m_network.findChildren<QNetworkReply*>().size(), 1);
    QTRY_VERIFY(m_network.findChildren<QNetworkReply*>().isEmpty());
}

QTEST_GUILESS_MAIN(TestQtHttpRequest)
#include "QtHttpRequestTest.moc"
