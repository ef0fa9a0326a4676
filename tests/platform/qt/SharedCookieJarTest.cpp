// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/SharedCookieJar.h"
#include "platform/qt/QtHttpClient.h"
#include "support/TestRegistry.h"

#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

namespace {

QNetworkCookie hostCookie(const QByteArray& name, const QByteArray& value)
{
    QNetworkCookie cookie(name, value);
    cookie.setDomain(u"127.0.0.1"_qs);
    cookie.setPath(u"/"_qs);
    return cookie;
}

} // namespace

class SharedCookieJarTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void jarCookiesGoOutWithBothKindsOfRequest();
    void setCookieIsStoredAndAnnounced();
    void cookieWithoutPathGetsTheReplyDirectory();
    void rejectedCookieIsNotAnnounced();
    void browserChangesAreNotEchoed();

private:
    QUrl url(const QString& path) const;
    // A GET with its body kept or dropped, waited for.
    void fetch(const QString& path, const BodyLimit& limit = {.keep = 1024});

    QHttpServer m_server;
    quint16 m_port = 0;
    QList<QByteArray> m_cookieHeaders;
    std::unique_ptr<QNetworkAccessManager> m_network;
    SharedCookieJar* m_jar = nullptr;
};

void SharedCookieJarTest::initTestCase()
{
    m_server.route("/echo", [this](const QHttpServerRequest& request) {
        m_cookieHeaders.append(request.value("Cookie"));
        return QHttpServerResponse("text/plain", "ok");
    });
    m_server.route("/login", [] {
        QHttpServerResponse response("text/plain", "welcome");
        response.addHeader("Set-Cookie", "session=s1; Path=/; HttpOnly");
        response.addHeader("Set-Cookie", "tracker=t1; Domain=example.com; Path=/");
        return response;
    });
    m_server.route("/shop/cart/add", [] {
        QHttpServerResponse response("text/plain", "added");
        response.addHeader("Set-Cookie", "cart=c1");
        return response;
    });
    m_server.route("/foreign", [] {
        QHttpServerResponse response("text/plain", "no");
        response.addHeader("Set-Cookie", "tracker=t1; Domain=example.com; Path=/");
        return response;
    });
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_port != 0);
}

void SharedCookieJarTest::init()
{
    m_network = std::make_unique<QNetworkAccessManager>();
    m_jar = new SharedCookieJar;
    m_network->setCookieJar(m_jar);
}

void SharedCookieJarTest::cleanup()
{
    m_network.reset();
    m_jar = nullptr;
    m_cookieHeaders.clear();
}

QUrl SharedCookieJarTest::url(const QString& path) const
{
    return QUrl(u"http://127.0.0.1:%1%2"_qs.arg(m_port).arg(path));
}

void SharedCookieJarTest::fetch(const QString& path, const BodyLimit& limit)
{
    QtHttpClient client(*m_network);
    const auto request = client.get(url(path).toString(), limit);
    QSignalSpy finished(request.get(), &HttpRequest::finished);
    QVERIFY(finished.wait());
}

void SharedCookieJarTest::jarCookiesGoOutWithBothKindsOfRequest()
{
    m_jar->insertCookie(hostCookie("session", "abc"));

    fetch(u"/echo"_qs);
    fetch(u"/echo"_qs, BodyLimit{});

    QCOMPARE(m_cookieHeaders, QList<QByteArray>({"session=abc", "session=abc"}));
}

void SharedCookieJarTest::setCookieIsStoredAndAnnounced()
{
    QSignalSpy received(m_jar, &SharedCookieJar::cookieReceived);
    fetch(u"/login"_qs);

    QCOMPARE(received.size(), 1);
    const auto cookie = received.front().front().value<QNetworkCookie>();
    QCOMPARE(cookie.name(), QByteArray("session"));
    QCOMPARE(cookie.value(), QByteArray("s1"));
    QCOMPARE(cookie.domain(), u"127.0.0.1"_qs);
    QCOMPARE(cookie.path(), u"/"_qs);
    QVERIFY(cookie.isHttpOnly());

    const QList<QNetworkCookie> stored = m_jar->cookiesForUrl(url(u"/"_qs));
    QCOMPARE(stored.size(), 1);
    QVERIFY(stored.front().hasSameIdentifier(cookie));

    fetch(u"/echo"_qs);
    QCOMPARE(m_cookieHeaders, QList<QByteArray>({"session=s1"}));
}

void SharedCookieJarTest::cookieWithoutPathGetsTheReplyDirectory()
{
    QSignalSpy received(m_jar, &SharedCookieJar::cookieReceived);
    fetch(u"/shop/cart/add"_qs);

    QCOMPARE(received.size(), 1);
    const auto cookie = received.front().front().value<QNetworkCookie>();
    QCOMPARE(cookie.name(), QByteArray("cart"));
    QCOMPARE(cookie.domain(), u"127.0.0.1"_qs);
    // Qt keeps the trailing slash of the directory.
    QCOMPARE(cookie.path(), u"/shop/cart/"_qs);
    const QList<QNetworkCookie> stored = m_jar->cookiesForUrl(url(u"/shop/cart/view"_qs));
    QCOMPARE(stored.size(), 1);
    QVERIFY(stored.front().hasSameIdentifier(cookie));
}

void SharedCookieJarTest::rejectedCookieIsNotAnnounced()
{
    QSignalSpy received(m_jar, &SharedCookieJar::cookieReceived);
    fetch(u"/foreign"_qs);

    QCOMPARE(received.size(), 0);
    QVERIFY(m_jar->cookiesForUrl(url(u"/"_qs)).isEmpty());
}

void SharedCookieJarTest::browserChangesAreNotEchoed()
{
    QSignalSpy received(m_jar, &SharedCookieJar::cookieReceived);
    const QNetworkCookie cookie = hostCookie("session", "abc");

    m_jar->insertCookie(cookie);
    QCOMPARE(m_jar->cookiesForUrl(url(u"/"_qs)).size(), 1);

    m_jar->deleteCookie(cookie);
    QVERIFY(m_jar->cookiesForUrl(url(u"/"_qs)).isEmpty());

    QCOMPARE(received.size(), 0);
}

TOLLWICK_TEST(SharedCookieJarTest)
#include "SharedCookieJarTest.moc"
