// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SimulatedShop.h"

#include "platform/CharsetRegistry.h"
#include "sandbox/ExactRoute.h"
#include "sandbox/QueryString.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QTcpServer>

SimulatedShop::SimulatedShop(const QString& key, const QString& charset, QObject* parent)
    : QObject(parent)
    , m_key(key)
    , m_charset(charset)
{
}

SimulatedShop::~SimulatedShop() = default;

bool SimulatedShop::listen(quint16 port)
{
    close();
    m_server = new QHttpServer(this);
    m_server->route(exactRoute("/notify.php"),
                    [this](const QHttpServerRequest& request) { return notify(request); });
    m_port = m_server->listen(QHostAddress::LocalHost, port);
    if (m_port == 0)
        close();
    return m_port != 0;
}

void SimulatedShop::close()
{
    if (m_server == nullptr)
        return;
    for (QTcpServer* listener : m_server->servers())
        listener->close();
    // The listeners own the accepted connections, so those go with the server.
    m_server->deleteLater();
    m_server = nullptr;
    m_port = 0;
}

QString SimulatedShop::notifyUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/notify.php").arg(m_port);
}

QString SimulatedShop::decoded(const QByteArray& bytes) const
{
    QStringDecoder decoder = decoderForCharset(m_charset);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

QHttpServerResponse SimulatedShop::notify(const QHttpServerRequest& request)
{
    // QUrl keeps every escape that changes what a value decodes to.
    const QueryString query =
        QueryString::parse(request.url().query(QUrl::FullyEncoded).toLatin1());
    const ShopNotification notification{decoded(query.value("act")), decoded(query.value("jine")),
                                        decoded(query.value("tradeno")),
                                        decoded(query.value("title"))};
    m_notifications.append(notification);
    Q_EMIT notified(notification);

    const QByteArray plainText = QByteArrayLiteral("text/plain; charset=utf-8");
    if (m_failuresLeft > 0) {
        --m_failuresLeft;
        return QHttpServerResponse(plainText, QByteArrayLiteral("internal error"),
                                   QHttpServerResponse::StatusCode::InternalServerError);
    }
    return QHttpServerResponse(plainText, notification.act == m_key
                                              ? QByteArrayLiteral("success")
                                              : QByteArrayLiteral("key error"));
}
