// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/CurlCall.h"

#include "platform/qt/CurlMulti.h"

#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkProxyFactory>

#include <utility>

namespace {

// What Qt's network access manager sends, so the shop sees no change.
constexpr char UserAgent[] = "Mozilla/5.0";
constexpr int MaxRedirects = 10;

bool isWebAddress(const QUrl& url)
{
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https");
}

bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The values of header `name` in the hop's answer: neither an interim
// answer's nor a proxy's.
QByteArrayList headerValues(CURL* easy, const char* name)
{
    QByteArrayList values;
    curl_header* header = nullptr;
    for (size_t i = 0; curl_easy_header(easy, name, i, CURLH_HEADER, -1, &header) == CURLHE_OK; ++i)
        values.append(header->value);
    return values;
}

QByteArray cookieHeader(const QList<QNetworkCookie>& cookies)
{
    QByteArrayList pairs;
    for (const QNetworkCookie& cookie : cookies)
        pairs.append(cookie.toRawForm(QNetworkCookie::NameAndValueOnly));
    return pairs.join("; ");
}

// The proxy Qt's own network access takes for `url`: the desktop's or the
// environment's, found through the system's proxy lookup, and none for this
// machine's own addresses. An owner behind a required proxy needs it for the
// shop as much as for the account.
void useProxyFor(CURL* easy, const QUrl& url)
{
    const QNetworkProxy proxy =
        QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url)).value(0);
    QUrl address;
    switch (proxy.type()) {
    case QNetworkProxy::HttpProxy:
    case QNetworkProxy::HttpCachingProxy:
        address.setScheme(QStringLiteral("http"));
        break;
    case QNetworkProxy::Socks5Proxy:
        // The proxy looks names up, as Qt's own SOCKS client lets it.
        address.setScheme(QStringLiteral("socks5h"));
        break;
    default:
        // Also keeps curl from taking one from the environment by itself.
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        return;
    }
    address.setHost(proxy.hostName());
    address.setPort(proxy.port());
    curl_easy_setopt(easy, CURLOPT_PROXY, address.toEncoded().constData());
    if (!proxy.user().isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxy.user().toUtf8().constData());
        curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxy.password().toUtf8().constData());
    }
}

} // namespace

CurlCall::CurlCall(CurlMulti& multi, QNetworkCookieJar* jar, BodyLimit limit)
    : m_multi(multi)
    , m_jar(jar)
    , m_limit(std::move(limit))
    , m_body(m_limit)
{
}

CurlCall::~CurlCall()
{
    if (m_easy) {
        m_multi.stop(m_easy);
        curl_easy_cleanup(m_easy);
    }
    curl_slist_free_all(m_headers);
}

void CurlCall::setBody(const QByteArray& body, const QByteArray& contentType)
{
    m_post = body;
    m_contentType = contentType;
}

bool CurlCall::start(const QString& address)
{
    return !running() && startHop(QUrl(address));
}

bool CurlCall::startHop(const QUrl& url)
{
    if (!isWebAddress(url))
        return false;
    CURL* easy = curl_easy_init();
    if (!easy)
        return false;
    // Curl refuses raw spaces and would pass other characters on as they
    // are; QUrl's encoding is what the shop has always been sent.
    curl_easy_setopt(easy, CURLOPT_URL, url.toEncoded().constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, UserAgent);
    useProxyFor(easy, url);
    // A proxy's answer to CONNECT is none of the server's: the request has
    // not reached it yet.
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlCall::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlCall::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    if (!m_post.isEmpty()) {
        if (!m_headers)
            m_headers = curl_slist_append(nullptr,
                                          QByteArray("Content-Type: " + m_contentType).constData());
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, m_headers);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, long(m_post.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, m_post.constData());
    }
    const QByteArray cookies = m_jar ? cookieHeader(m_jar->cookiesForUrl(url)) : QByteArray();
    if (!cookies.isEmpty())
        curl_easy_setopt(easy, CURLOPT_COOKIE, cookies.constData());

    m_url = url;
    m_answerBegun = false;
    m_body = LimitedBody(m_limit);
    m_easy = easy;
    if (m_multi.start(easy, [this](CURLcode result) { hopEnded(result); }))
        return true;
    m_easy = nullptr;
    curl_easy_cleanup(easy);
    return false;
}

size_t CurlCall::onBody(char* data, size_t size, size_t count, void* self)
{
    auto* call = static_cast<CurlCall*>(self);
    // Taking less than was given ends the transfer as failed.
    return call->m_body.take(QByteArrayView(data, qsizetype(size * count))) ? size * count : 0;
}

size_t CurlCall::onHeader(char* /*data*/, size_t size, size_t count, void* self)
{
    auto* call = static_cast<CurlCall*>(self);
    if (call->m_endAtAnswer)
        return 0;
    call->m_answerBegun = true;
    return size * count;
}

void CurlCall::hopEnded(CURLcode result)
{
    CURL* easy = std::exchange(m_easy, nullptr);
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    // Before the next hop, which may need them.
    storeCookies(headerValues(easy, "Set-Cookie"));
    const QByteArrayList locations = headerValues(easy, "Location");
    const QByteArray location = locations.isEmpty() ? QByteArray() : locations.last();
    curl_easy_cleanup(easy);
    if (result != CURLE_OK) {
        finish({});
    } else if (isRedirect(status) && !location.isEmpty()) {
        if (!followRedirect(status, location))
            finish({});
    } else {
        finish(m_body.answer(int(status), m_url.toString(QUrl::FullyEncoded)));
    }
}

bool CurlCall::followRedirect(long status, const QByteArray& locationHeader)
{
    // As browsers do: only 307 and 308 repeat a POST; the others fetch the
    // new address.
    if (status != 307 && status != 308)
        m_post.clear();
    // Qt's default policy: only to http or https, never from https down to
    // http, and a limited number of times.
    const QUrl location = QUrl::fromEncoded(locationHeader);
    const QUrl next = m_url.resolved(location);
    const bool downgrade = m_url.scheme() == u"https" && next.scheme() == u"http";
    if (!location.isValid() || downgrade || m_redirects == MaxRedirects || !startHop(next))
        return false;
    ++m_redirects;
    return true;
}

void CurlCall::storeCookies(const QByteArrayList& setCookies) const
{
    if (!m_jar || setCookies.isEmpty())
        return;
    QList<QNetworkCookie> cookies;
    for (const QByteArray& header : setCookies)
        cookies += QNetworkCookie::parseCookies(header);
    m_jar->setCookiesFromUrl(cookies, m_url);
}

void CurlCall::finish(const HttpAnswer& answer)
{
    // Taken out first, since it may free this call.
    const Finished finished = std::move(m_finished);
    if (finished)
        finished(answer);
}
