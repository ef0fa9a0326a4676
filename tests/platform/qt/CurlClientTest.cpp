// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/CurlHttpClient.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/CurlWebHook.h"
#include "platform/qt/QtHttpClient.h"
#include "scan/ScanCycle.h"
#include "support/TestRegistry.h"

#include <QEventLoop>
#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>
#include <vector>

using namespace std::chrono_literals;

namespace {

const QByteArray DeadProxy = "http://127.0.0.1:1";
constexpr qint64 MiB = 1024 * 1024;

// `size` bytes ending in "success", as a download the delivery URL points at
// by mistake, under a head that promises `promised`.
QByteArray longAnswer(qint64 promised, qint64 size)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(promised) + "\r\n\r\n" +
           QByteArray(size - 7, 'x') + "success";
}

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
                ++hungUp;
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
    int hungUp = 0;
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

// A GET through `client`, waited for; status -1 when no answer came in time.
HttpAnswer run(HttpClient& client, const QString& address, const BodyLimit& limit = {.keep = 1024})
{
    const auto request = client.get(address, limit);
    QSignalSpy finished(request.get(), &HttpRequest::finished);
    if (!waitFor([&] { return !finished.isEmpty(); }))
        return {-1, {}, {}};
    return finished[0][0].value<HttpAnswer>();
}

} // namespace

class CurlClientTest : public QObject {
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
    void webHookSendsEachMessageOnce();
    void callsGoThroughTheSystemProxy();
    void longReplyIsReadUnderTheLimit_data();
    void longReplyIsReadUnderTheLimit();
    void abandonedReplyStopsAtOnce();

private:
    QString address(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_qs.arg(m_port).arg(path);
    }

    CurlMulti m_multi;
    QNetworkCookieJar m_jar;
    CurlHttpClient m_client{m_multi, &m_jar};
    // The account's client, where the reading limits apply too.
    QNetworkAccessManager m_network;
    QtHttpClient m_qtClient{m_network};
    QHttpServer m_server;
    quint16 m_port = 0;
    std::vector<QHttpServerResponder> m_unanswered;
    QList<QByteArray> m_hooked;
    RawServer m_cutShortServer{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789"};
};

void CurlClientTest::initTestCase()
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
        return QHttpServerResponse("text/plain", "taken", Status::Accepted);
    });
    m_server.route("/never", [this](QHttpServerResponder&& responder) {
        m_unanswered.push_back(std::move(responder));
    });
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_port != 0);
    m_jar.setCookiesFromUrl({QNetworkCookie("earlier", "e1")}, QUrl(address(u"/"_qs)));
    // Neither client takes a proxy for this machine's own addresses.
    qputenv("http_proxy", DeadProxy);
}

void CurlClientTest::eachCallArrivesOnceOnItsOwnConnection_data()
{
    QTest::addColumn<bool>("keepOpen");
    QTest::newRow("hang-up server") << false;
    QTest::newRow("keep-alive server") << true;
}

void CurlClientTest::eachCallArrivesOnceOnItsOwnConnection()
{
    QFETCH(bool, keepOpen);
    constexpr int Calls = 50;
    RawServer server(keepOpen ? "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nsuccess"
                              : "HTTP/1.1 200 OK\r\n\r\nsuccess",
                     keepOpen);
    for (int call = 0; call < Calls; ++call) {
        // Both calls of a payment, as the program makes them.
        const auto first = m_client.get(server.address(u"/"_qs), BodyLimit{});
        QSignalSpy firstEnded(first.get(), &HttpRequest::finished);
        QCOMPARE(run(m_client, server.address(u"/"_qs)).body, "success"_qba);
        QVERIFY(waitFor([&] { return !firstEnded.isEmpty(); }));
    }
    // A resent call would follow within milliseconds.
    QTest::qWait(200);
    QCOMPARE(server.heads.size(), 2 * Calls);
    QCOMPARE(server.connections, server.heads.size());
}

void CurlClientTest::answer_data()
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

void CurlClientTest::answer()
{
    QFETCH(QString, asked);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, from);
    const HttpAnswer answer = run(m_client, asked);
    QCOMPARE(answer.status, status);
    QCOMPARE(answer.body, body);
    QCOMPARE(answer.address, from);
}

void CurlClientTest::addressAndUserAgentAsQtSendsThem()
{
    const QString target = u"/notify.php?title=订单 1001&memo=a b&sign=%2B/"_qs;
    RawServer curlServer("HTTP/1.1 200 OK\r\n\r\nok"), qtServer("HTTP/1.1 200 OK\r\n\r\nok");
    QCOMPARE(run(m_client, curlServer.address(target)).status, 200);
    QNetworkAccessManager network;
    QtHttpClient qtClient(network);
    QCOMPARE(run(qtClient, qtServer.address(target)).status, 200);
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

void CurlClientTest::droppedRequestRunsToItsEndOrTheLimit()
{
    RawServer silent{QByteArray()};
    {
        CurlMulti multi;
        CurlHttpClient client(multi, nullptr, 500ms);
        for (const QString& asked : {address(u"/never"_qs), silent.address(u"/"_qs)})
            client.get(asked, BodyLimit{.keep = 1024});
        QTRY_COMPARE(m_unanswered.size(), 1u);
        QTRY_COMPARE(silent.heads.size(), 1);
        m_unanswered.front().write("late", "text/plain");
        QTRY_COMPARE(multi.transferCount(), 1);
        QTest::qWait(100);
        QCOMPARE(silent.hungUpUnanswered, 0);
        QTRY_COMPARE(silent.hungUpUnanswered, 1);
        QCOMPARE(multi.transferCount(), 0);

        // What a destroyed multi still holds is stopped and freed.
        client.get(silent.address(u"/"_qs), BodyLimit{.keep = 1024});
        QTRY_COMPARE(silent.heads.size(), 2);
    }
    QTRY_COMPARE(silent.hungUpUnanswered, 2);
    m_unanswered.clear();
}

void CurlClientTest::webHookSendsEachMessageOnce()
{
    CurlWebHook hook(m_multi, 300ms);
    QList<WebHookAnswer> answers;
    const auto done = [&](const WebHookAnswer& answer) {
        answers.append(answer);
    };
    hook.call({address(u"/hook"_qs), "t=%E9%95%95", "application/x-www-form-urlencoded"}, done);
    hook.call({address(u"/hook?text=%E9%95%95"_qs), {}, {}}, done);
    hook.call({address(u"/never"_qs), R"({})", "application/json"}, done);
    hook.call({u"mailto:owner"_qs, {}, {}}, done);
    // The address that cannot be called answers at once, the silent one at
    // the limit.
    QTRY_COMPARE(answers.size(), 4);
    QCOMPARE(
        std::count_if(answers.cbegin(), answers.cend(),
                      [](const WebHookAnswer& a) { return a.status == 202 && a.body == "taken"; }),
        2);
    QCOMPARE(std::count_if(answers.cbegin(), answers.cend(),
                           [](const WebHookAnswer& a) { return a.status == 0; }),
             2);
    QCOMPARE(m_hooked, (QList<QByteArray>{"POST application/x-www-form-urlencoded t=%E9%95%95",
                                          "GET text=%E9%95%95"}));
    m_unanswered.clear();
}

// An owner behind a proxy the desktop names: the shop is called through it,
// as the account's pages are.
void CurlClientTest::callsGoThroughTheSystemProxy()
{
    RawServer proxy("HTTP/1.1 200 OK\r\n\r\nsuccess");
    qputenv("http_proxy", proxy.address(QString()).toLatin1());
    const HttpAnswer answer = run(m_client, u"http://shop.invalid/notify.php?act=k"_qs);
    qputenv("http_proxy", DeadProxy);
    QCOMPARE(answer.body, "success"_qba);
    QCOMPARE(proxy.heads.size(), 1);
    QVERIFY(proxy.heads[0].startsWith("GET http://shop.invalid/notify.php?act=k HTTP/1.1\r\n"));
}

void CurlClientTest::longReplyIsReadUnderTheLimit_data()
{
    QTest::addColumn<bool>("curl");
    QTest::addColumn<qint64>("size");
    for (const char* client : {"curl", "qt"}) {
        QTest::addRow("%s, 64 MiB", client) << (client[0] == 'c') << 64 * MiB;
        QTest::addRow("%s, past 64 MiB", client) << (client[0] == 'c') << 80 * MiB;
    }
}

// A long reply must not take the desktop's memory: up to 64 MiB its first
// MiB is kept and "success" found at its end; a longer one fails.
void CurlClientTest::longReplyIsReadUnderTheLimit()
{
    QFETCH(bool, curl);
    QFETCH(qint64, size);
    RawServer server(longAnswer(size, size));
    const HttpAnswer answer = run(curl ? static_cast<HttpClient&>(m_client) : m_qtClient,
                                  server.address(u"/"_qs), ScanCycle::ShopReplyLimit);
    const bool whole = size <= ScanCycle::ShopReplyLimit.readAtMost;
    QCOMPARE(answer.status, whole ? 200 : 0);
    QCOMPARE(answer.body, whole ? QByteArray(MiB, 'x') : QByteArray());
    QCOMPARE(answer.soughtInRest, whole);
}

// A request given up has reached the server once its answer begins; then
// nobody reads the rest.
void CurlClientTest::abandonedReplyStopsAtOnce()
{
    const std::pair<const char*, HttpClient*> clients[] = {{"curl", &m_client},
                                                           {"qt", &m_qtClient}};
    for (const auto& [name, client] : clients) {
        RawServer server(longAnswer(1024 * MiB, 4 * MiB), true);
        auto request = client->get(server.address(u"/"_qs), ScanCycle::ShopReplyLimit);
        QTRY_VERIFY2(server.heads.size() == 1, name);
        request.reset();
        QTRY_VERIFY2(server.hungUp == 1, name);
    }
}

TOLLWICK_TEST(CurlClientTest)
#include "CurlClientTest.moc"
