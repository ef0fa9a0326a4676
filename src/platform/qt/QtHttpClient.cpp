#include "platform/qt/QtHttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace {

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

class QtHttpRequest : public HttpRequest {
public:
    QtHttpRequest(QNetworkReply* reply, HttpClient::Body body,
                  std::chrono::milliseconds abandonedLimit)
        : m_reply(reply)
        , m_abandonedLimit(abandonedLimit)
    {
        if (body == HttpClient::Body::Dropped) {
            // Nobody reads the answer, so it is dropped as it arrives
            // instead of piling up in the reply's buffer.
            connect(reply, &QIODevice::readyRead, this,
                    [reply] { reply->skip(reply->bytesAvailable()); });
        }
        connect(reply, &QNetworkReply::finished, this, &QtHttpRequest::finish);
    }

    ~QtHttpRequest() override
    {
        if (!m_reply)
            return;
        // The server must still get a request whose answer nobody waits for
        // any more; the manager owns the reply until it is freed here.
        QNetworkReply* reply = m_reply;
        QObject::disconnect(reply, nullptr, this, nullptr);
        connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        QTimer::singleShot(m_abandonedLimit, reply, &QNetworkReply::abort);
    }

private:
    void finish()
    {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->deleteLater();
        HttpAnswer answer;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid() && serverAnswered(reply->error())) {
            answer.status = status.toInt();
            answer.body = reply->readAll();
            // After redirects, the reply's address is the one the answer came from.
            answer.address = reply->url().toString(QUrl::FullyEncoded);
        }
        Q_EMIT finished(answer);
    }

    QPointer<QNetworkReply> m_reply;
    std::chrono::milliseconds m_abandonedLimit;
};

} // namespace

QtHttpClient::QtHttpClient(QNetworkAccessManager& network, std::chrono::milliseconds abandonedLimit)
    : m_network(network)
    , m_abandonedLimit(abandonedLimit)
{
}

std::unique_ptr<HttpRequest> QtHttpClient::get(const QString& address, Body body)
{
    // An address Qt cannot use still gets a reply, which fails at once.
    QNetworkReply* reply = m_network.get(QNetworkRequest(QUrl(address)));
    return std::make_unique<QtHttpRequest>(reply, body, m_abandonedLimit);
}
