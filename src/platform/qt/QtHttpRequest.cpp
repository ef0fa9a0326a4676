#include "platform/qt/QtHttpRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

namespace {

constexpr int Opened = 1;
constexpr int Done = 4;

// Whether the server answered, possibly with an error status whose body is
// then the answer. Any other failure may have cut the body short, and a
// truncated page must not pass for a whole one.
bool serverAnswered(QNetworkReply::NetworkError error)
{
    return error == QNetworkReply::NoError ||
           (error >= QNetworkReply::ContentAccessDenied &&
            error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError &&
            error <= QNetworkReply::UnknownServerError);
}

} // namespace

QtHttpRequest::QtHttpRequest(QNetworkAccessManager& network)
    : m_network(network)
{
}

QtHttpRequest::~QtHttpRequest()
{
    abandonReply();
}

void QtHttpRequest::Open(const QString& method, const QString& address, bool /*async*/)
{
    // Every request runs asynchronously; the caller polls ReadyState().
    abandonReply();
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
    if (serverAnswered(reply->error())) {
        m_body = reply->readAll();
        m_status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        m_responseUrl = reply->url().toString(QUrl::FullyEncoded);
    }
    m_state = Done;
    reply->deleteLater();
}

void QtHttpRequest::abandonReply()
{
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    if (!reply)
        return;
    reply->abort();
    reply->deleteLater();
}
