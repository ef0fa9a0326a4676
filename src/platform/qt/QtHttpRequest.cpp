#include "platform/qt/QtHttpRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <utility>

namespace {

constexpr int Opened = 1;
constexpr int Done = 4;

// Whether the whole answer came, possibly with an error status, whose body
// is then the answer. Qt turns error statuses into these codes; any other
// failure may have cut the body short, and a truncated page must not pass for
// a whole one.
bool serverAnswered(QNetworkReply::NetworkError error)
{
    using E = QNetworkReply;
    return error == E::NoError ||
           (error >= E::ContentAccessDenied && error <= E::UnknownContentError) ||
           error == E::ProtocolInvalidOperationError ||    // 400 and 418
           error == E::ProxyAuthenticationRequiredError || // 407
           (error >= E::InternalServerError && error <= E::UnknownServerError);
}

} // namespace

QtHttpRequest::QtHttpRequest(QNetworkAccessManager& network,
                             std::chrono::milliseconds leftBehindLimit)
    : m_network(network)
    , m_leftBehindLimit(leftBehindLimit)
{
}

QtHttpRequest::~QtHttpRequest()
{
    leaveReplyBehind();
}

void QtHttpRequest::Open(const QString& method, const QString& address, bool /*async*/)
{
    // Every request runs asynchronously; the caller polls ReadyState().
    leaveReplyBehind();
    m_method = method;
    m_address = QUrl(address);
    m_body.clear();
    m_status = 0;
    m_responseUrl.clear();
    m_state = Opened;
}

void QtHttpRequest::send()
{
    if (m_state != Opened || m_reply || m_method.compare(u"GET", Qt::CaseInsensitive) != 0)
        return;
    QNetworkReply* reply = m_network.get(QNetworkRequest(m_address));
    m_reply = reply;
    QObject::connect(reply, &QNetworkReply::finished, &m_replyContext,
                     [this, reply] { finish(reply); });
}

void QtHttpRequest::finish(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && serverAnswered(reply->error())) {
        m_body = reply->readAll();
        m_status = status.toInt();
        // After redirects, the reply's address is the one the answer came from.
        m_responseUrl = reply->url().toString(QUrl::FullyEncoded);
    }
    m_state = Done;
    reply->deleteLater();
}

void QtHttpRequest::leaveReplyBehind()
{
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    if (!reply)
        return;
    // The server must still get a request whose answer nobody waits for any
    // more; the manager owns the reply until it is freed here.
    QObject::disconnect(reply, nullptr, &m_replyContext, nullptr);
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    QTimer::singleShot(m_leftBehindLimit, reply, &QNetworkReply::abort);
}
