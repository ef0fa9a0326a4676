// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/ChannelAddress.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

using Kind = AlertChannel::Kind;

// Telegram's bot tokens hold a colon, which may stand in a path as it is.
QString encoded(const QString& part)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(part.trimmed(), ":"));
}

QString serverOrDefault(Kind kind, QString server)
{
    server = server.trimmed();
    while (server.endsWith(u'/'))
        server.chop(1);
    return server.isEmpty() ? defaultServer(kind) : server;
}

// Server酱's SDK picks the host from the key: a Server酱³ key "sctp<uid>t…"
// has its own host, any other key is a Turbo key
// (https://github.com/easychen/serverchan-sdk).
QString serverChanAddress(const QString& key)
{
    static const QRegularExpression sc3(QStringLiteral("^sctp(\\d+)t"));
    const QRegularExpressionMatch uid = sc3.match(key.trimmed());
    if (uid.hasMatch())
        return QStringLiteral("https://%1.push.ft07.com/send/%2.send")
            .arg(uid.captured(1), encoded(key));
    return QStringLiteral("https://sctapi.ftqq.com/%1.send").arg(encoded(key));
}

} // namespace

bool hasAddressParts(AlertChannel::Kind kind)
{
    switch (kind) {
    case Kind::ServerChan:
    case Kind::PushPlus:
    case Kind::Bark:
    case Kind::Ntfy:
    case Kind::Gotify:
    case Kind::Telegram:
        return true;
    default:
        return false;
    }
}

QString defaultServer(AlertChannel::Kind kind)
{
    switch (kind) {
    case Kind::Bark:
        return QStringLiteral("https://api.day.app");
    case Kind::Ntfy:
        return QStringLiteral("https://ntfy.sh");
    default:
        // Gotify runs only on the owner's own server.
        return {};
    }
}

QString composeAddress(AlertChannel::Kind kind, const AddressParts& parts)
{
    if (parts.key.trimmed().isEmpty())
        return {};
    const QString key = encoded(parts.key);
    switch (kind) {
    case Kind::ServerChan:
        return serverChanAddress(parts.key);
    case Kind::PushPlus:
        return QStringLiteral("https://www.pushplus.plus/send/") + key;
    case Kind::Bark:
    case Kind::Ntfy:
        return serverOrDefault(kind, parts.server) + u'/' + key;
    case Kind::Gotify:
        return serverOrDefault(kind, parts.server) + QStringLiteral("/message?token=") + key;
    case Kind::Telegram:
        return QStringLiteral("https://api.telegram.org/bot%1/sendMessage?chat_id=%2")
            .arg(key, encoded(parts.chat));
    default:
        return {};
    }
}

AddressParts splitAddress(AlertChannel::Kind kind, const QString& address)
{
    const QUrl url(address.trimmed());
    const QString path = url.path(QUrl::FullyDecoded);
    const QString last = path.section(u'/', -1, -1, QString::SectionSkipEmpty);
    const QString origin = url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment)
                               .toString(QUrl::StripTrailingSlash);
    const QUrlQuery query(url);
    switch (kind) {
    case Kind::ServerChan:
        return {{}, last.chopped(last.endsWith(QLatin1String(".send")) ? 5 : 0), {}};
    case Kind::PushPlus:
        return {{}, last, {}};
    case Kind::Bark:
    case Kind::Ntfy: {
        const QString folder = path.section(u'/', 0, -2, QString::SectionSkipEmpty);
        return {origin + (folder.isEmpty() ? QString() : u'/' + folder), last, {}};
    }
    case Kind::Gotify: {
        QString folder = path;
        if (folder.endsWith(QLatin1String("/message")))
            folder.chop(QStringLiteral("/message").size());
        return {
            origin + folder, query.queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded), {}};
    }
    case Kind::Telegram:
        return {{},
                path.section(u'/', 0, 0, QString::SectionSkipEmpty).mid(3),
                query.queryItemValue(QStringLiteral("chat_id"), QUrl::FullyDecoded)};
    default:
        return {};
    }
}
