#include "platform/qt/CurlHttpRequestFactory.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/CurlTransferControl.h"
#include "platform/qt/CurlWebHook.h"
#include "platform/qt/QtHttpRequest.h"

#include <QEventLoop>
#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Reads each request's head, writes `answer` and, unless `keepOpen`, hangs
// up at once, as a server does that sends no length. Without an answer it
// never answers.
struct RawServer : QTcpServer {
    explicit RawServer(QByteArray answer, bool keepOpen = false)
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket* socket = nextPendingConnection();
            ++connections;
            connect(socket, &QTcpSocket::readyRead, socket, [=, this] {
                if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                    return;
                heads.append(socket->readAll());
                socket->write(answer);
                if (!answer.isEmpty() && !keepOpen)
                    socket->disconnectFromHost();
            });
            connect(socket, &QTcpSocket::disconnected, socket, [=, this] {
                hungUpUnanswered += answer.isEmpty() ? 1 : 0;
                socket->deleteLater();
            });
        });
    }
    // Its connections go with it, and must not report to it while they do.
    ~RawServer() override
    {
        for (QTcpSocket* socket : findChildren<QTcpSocket*>())
            socket->disconnect();
    }
    QString address(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_qs.arg(serverPort()).arg(path);
    }

    QList<QByteArray> heads;
    int connections = 0;
    int hungUpUnanswered = 0;
};

// Waits in an event loop, not in short sleeps, so that the servers here
// answer the moment a request arrives, as a real one does.
bool waitFor(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

bool run(HttpRequest& request, const QString& address)
{
    request.Open(u"GET"_qs, address, true);
    request.send();
    return waitFor([&] { return request.ReadyState() == 4; });
}

} // namespace

class TestCurlClient : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { QTRY_COMPARE(m_multi.transferCount(), 0); }
    void eachCallArrivesOnceOnItsOwnConnection_data();
    void eachCallArrivesOnceOnItsOwnConnection();
    void answer_data();
    void answer();
    void addressAndUserAgentAsQtSendsThem();
    void droppedRequestRunsToItsEndOrTheLimit();
    void transferControlIsBusyUntilTheCallEnds();
    void webHookSendsEachMessageOnce();

private:
    QString address(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_qs.arg(m_port).arg(path);
    }

    CurlMulti m_multi;
    QNetworkCookieJar m_jar;
    CurlHttpRequestFactory m_requests{m_multi, &m_jar};
    QHttpServer m_server;
    quint16 m_port = 0;
    std::vector<QHttpServerResponder> m_unanswered;
    QList<QByteArray> m_hooked;
    RawServer m_cutShortServer{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789"};
};

void TestCurlClient::initTestCase()
{
    using Status = QHttpServerResponse::StatusCode;
    m_server.route("/status/<arg>", [](int status) {
        return QHttpServerResponse("text/plain", QByteArray::number(status), Status(status));
    });
    // Each hop sets a cookie; the last one answers with the cookies it got.
    m_server.route("/hops/<arg>", [](int left, const QHttpServerRequest& request) {
        if (left == 0)
            return QHttpServerResponse("text/plain", request.value("Cookie"));
        QHttpServerResponse response(left % 2 ? Status::Found : Status::PermanentRedirect);
        response.addHeader("Set-Cookie", "session=s1; Path=/");
        response.setHeader("Location", left > 0 ? "/hops/" + QByteArray::number(left - 1)
                                                : QByteArray("ftp://127.0.0.1/file"));
        return response;
    });
    m_server.route("/hook", [this](const QHttpServerRequest& request) {
        const bool post = request.method() == QHttpServerRequest::Method::Post;
        m_hooked.append((post ? "POST " + request.value("Content-Type") + ' ' : "GET ") +
                        request.body() + request.url().query(QUrl::FullyEncoded).toUtf8());
        return QHttpServerResponse(Status::Accepted);
    });
    m_server.route("/never", [this](QHttpServerResponder&& responder) {
        m_unanswered.push_back(std::move(responder));
    });
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_port != 0);
    m_jar.setCookiesFromUrl({QNetworkCookie("earlier", "e1")}, QUrl(address(u"/"_qs)));
    // Qt's client ignores it, so ours must too.
    qputenv("http_proxy", "http://127.0.0.1:1");
}

void TestCurlClient::eachCallArrivesOnceOnItsOwnConnection_data()
{
    QTest::addColumn<bool>("keepOpen");
    QTest::newRow("hang-up server") << false;
    QTest::newRow("keep-alive server") << true;
}

void TestCurlClient::eachCallArrivesOnceOnItsOwnConnection()
{
    QFETCH(bool, keepOpen);
    constexpr int Calls = 50;
    RawServer server(keepOpen ? "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nsuccess"
                              : "HTTP/1.1 200 OK\r\n\r\nsuccess",
                     keepOpen);
    CurlTransferControl control(m_multi, nullptr);
    for (int call = 0; call < Calls; ++call) {
        // Both calls of a payment, as the program makes them.
        control.Execute(server.address(u"/"_qs), u"get"_qs);
        const auto request = m_requests.createRequest();
        QVERIFY(run(*request, server.address(u"/"_qs)));
        QCOMPARE(request->responseBody(), "success"_qba);
        QVERIFY(waitFor([&] { return !control.StillExecuting(); }));
    }
    // A resent call would follow within milliseconds.
    QTest::qWait(200);
    QCOMPARE(server.heads.size(), 2 * Calls);
    QCOMPARE(server.connections, server.heads.size());
}

void TestCurlClient::answer_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("from");
    for (int status : {200, 400, 404, 418, 500}) {
        const QString path = address(u"/status/%1"_qs.arg(status));
        QTest::addRow("%d", status) << path << status << QByteArray::number(status) << path;
    }
    const QString arrived = address(u"/hops/0"_qs);
    const QByteArray cookies = "earlier=e1; session=s1";
    QTest::newRow("3 redirects") << address(u"/hops/3"_qs) << 200 << cookies << arrived;
    QTest::newRow("10 redirects") << address(u"/hops/10"_qs) << 200 << cookies << arrived;
    const std::pair<const char*, QString> failing[] = {
        {"11 redirects", address(u"/hops/11"_qs)},
        {"redirect to ftp", address(u"/hops/-1"_qs)},
        {"body cut short", m_cutShortServer.address(u"/"_qs)},
        {"refused", u"http://127.0.0.1:1/"_qs},
        {"not http", u"ftp://127.0.0.1/"_qs},
        {"invalid", u"http://127.0.0.1:99999/"_qs},
    };
    for (const auto& [name, asked] : failing)
        QTest::newRow(name) << asked << 0 << QByteArray() << QString();
}

void TestCurlClient::answer()
{
    QFETCH(QString, asked);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, from);
    const auto request = m_requests.createRequest();
    QVERIFY(run(*request, asked));
    QCOMPARE(request->status(), status);
    QCOMPARE(request->responseBody(), body);
    QCOMPARE(request->responseURL(), from);
}

void TestCurlClient::addressAndUserAgentAsQtSendsThem()
{
    const QString target = u"/notify.php?title=订单 1001&memo=a b&sign=%2B/"_qs;
    RawServer curlServer("HTTP/1.1 200 OK\r\n\r\nok"), qtServer("HTTP/1.1 200 OK\r\n\r\nok");
    QVERIFY(run(*m_requests.createRequest(), curlServer.address(target)));
    QNetworkAccessManager network;
    QtHttpRequest qtRequest(network);
    QVERIFY(run(qtRequest, qtServer.address(target)));
    // Qt's client may send its request again; its first one is the one to match.
    QCOMPARE(curlServer.heads.size(), 1);
    const QByteArray curl = curlServer.heads.front(), qt = qtServer.heads.front();
    QCOMPARE(curl.left(curl.indexOf('\r')), qt.left(qt.indexOf('\r')));
    const auto userAgent = [](const QByteArray& head) {
        const qsizetype start = head.indexOf("User-Agent:");
        return head.mid(start, head.indexOf('\r', start) - start);
    };
    QCOMPARE(userAgent(curl), userAgent(qt));
}

void TestCurlClient::droppedRequestRunsToItsEndOrTheLimit()
{
    RawServer silent{QByteArray()};
    {
        CurlMulti multi;
        CurlHttpRequestFactory requests(multi, nullptr, 500ms);
        for (const QString& asked : {address(u"/never"_qs), silent.address(u"/"_qs)}) {
            const auto request = requests.createRequest();
            request->Open(u"GET"_qs, asked, true);
            request->send();
        }
        QTRY_COMPARE(m_unanswered.size(), 1u);
        QTRY_COMPARE(silent.heads.size(), 1);
        m_unanswered.front().write("late", "text/plain");
        QTRY_COMPARE(multi.transferCount(), 1);
        QTest::qWait(100);
        QCOMPARE(silent.hungUpUnanswered, 0);
        QTRY_COMPARE(silent.hungUpUnanswered, 1);
        QCOMPARE(multi.transferCount(), 0);

        // What a destroyed multi still holds is stopped and freed.
        const auto request = requests.createRequest();
        request->Open(u"GET"_qs, silent.address(u"/"_qs), true);
        request->send();
        QTRY_COMPARE(silent.heads.size(), 2);
    }
    QTRY_COMPARE(silent.hungUpUnanswered, 2);
    m_unanswered.clear();
}

void TestCurlClient::transferControlIsBusyUntilTheCallEnds()
{
    CurlTransferControl control(m_multi, nullptr), limited(m_multi, nullptr, 300ms);
    control.Execute(address(u"/never"_qs), u"post"_qs);
    QVERIFY(!control.StillExecuting());
    control.Execute(address(u"/never"_qs), u"GET"_qs);
    control.Execute(address(u"/never"_qs), u"get"_qs);
    QTRY_COMPARE(m_unanswered.size(), 1u);
    limited.Execute(address(u"/never"_qs), u"Get"_qs);
    QTRY_COMPARE(m_unanswered.size(), 2u);
    QTest::qWait(100);
    QCOMPARE(m_unanswered.size(), 2u);
    QVERIFY(control.StillExecuting());
    QTRY_VERIFY(!limited.StillExecuting());
    m_unanswered.front().write("late", "text/plain");
    QTRY_VERIFY(!control.StillExecuting());

    control.Execute(address(u"/never"_qs), u"get"_qs);
    QTRY_COMPARE(m_unanswered.size(), 3u);
    control.Cancel();
    QVERIFY(!control.StillExecuting());
    QCOMPARE(m_multi.transferCount(), 0);
    m_unanswered.clear();
}

void TestCurlClient::webHookSendsEachMessageOnce()
{
    CurlWebHook hook(m_multi, 300ms);
    QList<int> statuses;
    const auto done = [&](int status) {
        statuses.append(status);
    };
    hook.call(address(u"/hook"_qs), R"({"text":"镕"})", done);
    hook.call(address(u"/hook?text=%E9%95%95"_qs), {}, done);
    hook.call(address(u"/never"_qs), R"({})", done);
    hook.call(u"mailto:owner"_qs, {}, done);
    // The address that cannot be called answers at once, the silent one at
    // the limit.
    QTRY_COMPARE(statuses.size(), 4);
    QCOMPARE(statuses.count(202), 2);
    QCOMPARE(statuses.count(0), 2);
    QCOMPARE(m_hooked, (QList<QByteArray>{"POST application/json " + QByteArray(R"({"text":"镕"})"),
                                          "GET text=%E9%95%95"}));
    m_unanswered.clear();
}

QTEST_GUILESS_MAIN(TestCurlClient)
#include "CurlClientTest.moc"
