#include "platform/qt/QtTransferControl.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

namespace {

// A server that stops sending for this long is given up on.
constexpr int TransferTimeoutMs = 60000;

} // namespace

QtTransferControl::QtTransferControl(QNetworkAccessManager& network)
    : m_network(network)
{
}

QtTransferControl::~QtTransferControl()
{
    Cancel();
}

void QtTransferControl::Execute(const QString& address, const QString& operation)
{
    if (m_reply || operation.compare(u"get", Qt::CaseInsensitive) != 0)
        return;
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply* reply = m_network.get(request);
    m_reply = reply;
    // Nobody reads the answer, so it is dropped as it arrives instead of
    // piling up in the reply's buffer.
    QObject::connect(reply, &QIODevice::readyRead, &m_replyContext,
                     [reply] { reply->skip(reply->bytesAvailable()); });
    QObject::connect(reply, &QNetworkReply::finished, &m_replyContext,
                     [this, reply] { finish(reply); });
}

void QtTransferControl::Cancel()
{
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    if (!reply)
        return;
    reply->abort();
    reply->deleteLater();
}

void QtTransferControl::finish(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
}
