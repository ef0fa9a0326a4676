// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtHttpClient.h"

#include "platform/LimitedBody.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace {

// Read from the reply at a time, so no more than this waits in memory
// beyond what the limit keeps.
constexpr qint64 PieceSize = 64 * 1024;

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
    QtHttpRequest(QNetworkReply* reply, const BodyLimit& limit,
                  std::chrono::milliseconds abandonedLimit)
        : m_reply(reply)
        , m_body(limit)
        , m_abandonedLimit(abandonedLimit)
    {
        // Taken as it arrives instead of piling up in the reply's buffer.
        connect(reply, &QIODevice::readyRead, this, &QtHttpRequest::read);
        connect(reply, &QNetworkReply::finished, this, &QtHttpRequest::finish);
    }

    ~QtHttpRequest() override
    {
        if (!m_reply)
            return;
        // The server must still get a request whose answer nobody waits for
        // any more; once the answer begins, it has, and nobody reads the
        // rest. The manager owns the reply until it is freed here.
        QNetworkReply* reply = m_reply;
        QObject::disconnect(reply, nullptr, this, nullptr);
        if (reply->isFinished()) {
            reply->deleteLater();
            return;
        }
        connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            reply->abort();
            return;
        }
        connect(reply, &QNetworkReply::metaDataChanged, reply, &QNetworkReply::abort);
        QTimer::singleShot(m_abandonedLimit, reply, &QNetworkReply::abort);
    }

private:
    void read()
    {
        while (m_reply->bytesAvailable() > 0) {
            if (!m_body.take(m_reply->read(PieceSize))) {
                m_tooLong = true;
                // Finishes the reply, and with it this request, which may be
                // gone when abort() returns.
                m_reply->abort();
                return;
            }
        }
    }

    void finish()
    {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->deleteLater();
        // What came with the end.
        while (!m_tooLong && reply->bytesAvailable() > 0)
            m_tooLong = !m_body.take(reply->read(PieceSize));
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (m_tooLong || !status.isValid() || !serverAnswered(reply->error())) {
            Q_EMIT finished({});
            return;
        }
        // After redirects, the reply's address is the one the answer came from.
        Q_EMIT finished(m_body.answer(status.toInt(), reply->url().toString(QUrl::FullyEncoded)));
    }

    QPointer<QNetworkReply> m_reply;
    LimitedBody m_body;
    bool m_tooLong = false;
    std::chrono::milliseconds m_abandonedLimit;
};

} // namespace

QtHttpClient::QtHttpClient(QNetworkAccessManager& network, std::chrono::milliseconds abandonedLimit)
    : m_network(network)
    , m_abandonedLimit(abandonedLimit)
{
}

std::unique_ptr<HttpRequest> QtHttpClient::get(const QString& address, const BodyLimit& limit)
{
    // An address Qt cannot use still gets a reply, which fails at once.
    QNetworkReply* reply = m_network.get(QNetworkRequest(QUrl(address)));
    return std::make_unique<QtHttpRequest>(reply, limit, m_abandonedLimit);
}
