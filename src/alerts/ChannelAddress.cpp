// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/ChannelAddress.h"

#include "alerts/AlertServices.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

// Slashes an address or a server ends with, which it does not need.
const QRegularExpression EndSlashes(QStringLiteral("/+$"));

// Telegram's bot tokens hold a colon, which may stand in a path as it is.
QString encoded(const QString& part)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(part.trimmed(), ":"));
}

QString serverOrDefault(const AlertService& service, const AddressParts& parts)
{
    const QString server = parts.server.trimmed().remove(EndSlashes);
    if (!server.isEmpty())
        return server;
    return service.serverFor ? service.serverFor(parts.key)
                             : QString::fromLatin1(service.address.defaultServer);
}

} // namespace

bool hasAddressParts(AlertChannel::Kind kind)
{
    return serviceOf(kind).address.pattern != nullptr;
}

QString fillAddressPattern(AlertChannel::Kind kind, const char* pattern, const AddressParts& parts)
{
    return QString::fromLatin1(pattern)
        .replace(QStringLiteral("{server}"), serverOrDefault(serviceOf(kind), parts))
        .replace(QStringLiteral("{key}"), encoded(parts.key))
        .replace(QStringLiteral("{chat}"), encoded(parts.chat));
}

QString composeAddress(AlertChannel::Kind kind, const AddressParts& parts)
{
    const char* pattern = serviceOf(kind).address.pattern;
    if (!pattern || parts.key.trimmed().isEmpty())
        return {};
    return fillAddressPattern(kind, pattern, parts);
}

AddressParts addressPartsOf(AlertChannel::Kind kind, const QString& address)
{
    const char* pattern = serviceOf(kind).address.pattern;
    if (!pattern)
        return {};
    // The pattern read backwards: the server is whatever comes before the
    // rest, so a server in a folder keeps its folder.
    QString expression = QRegularExpression::escape(QString::fromLatin1(pattern));
    expression.replace(QStringLiteral("\\{server\\}"), QStringLiteral("(?<server>.*)"))
        .replace(QStringLiteral("\\{key\\}"), QStringLiteral("(?<key>[^/?&#]*)"))
        .replace(QStringLiteral("\\{chat\\}"), QStringLiteral("(?<chat>[^&#]*)"));
    const QRegularExpressionMatch match =
        QRegularExpression(QRegularExpression::anchoredPattern(expression))
            .match(address.trimmed().remove(EndSlashes));
    const auto part = [&match](const char* name) {
        return QUrl::fromPercentEncoding(match.captured(QLatin1String(name)).toUtf8());
    };
    return {match.captured(QStringLiteral("server")), part("key"), part("chat")};
}

AddressParts splitAddress(AlertChannel::Kind kind, const QString& address)
{
    AddressParts parts = addressPartsOf(kind, address);
    if (!serviceOf(kind).dialog.server)
        parts.server.clear();
    return parts;
}
