// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/ChannelRequest.h"

#include "alerts/AlertServices.h"
#include "alerts/ChannelAddress.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

namespace {

QString jsonStringContent(const QString& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    // ["…"]: the string's content between the quotes.
    return QString::fromUtf8(array.mid(2, array.size() - 4));
}

QString isoTime(const QDateTime& time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

QString fillPlaceholders(const QString& pattern, const AlertMessage& message,
                         PlaceholderContext context)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{(text|cause|time)\\}"));
    QString filled;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(pattern)) {
        filled += QStringView(pattern).mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        const QString name = match.captured(1);
        const QString value = name == u"text"    ? message.text
                              : name == u"cause" ? message.cause
                                                 : isoTime(message.time);
        filled += context == PlaceholderContext::Json
                      ? jsonStringContent(value)
                      : QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    return filled + pattern.mid(from);
}

WebHookRequest channelRequest(const AlertChannel& channel, const AlertMessage& message,
                              const QDateTime& now)
{
    const AlertService& service = serviceOf(channel.kind);
    if (service.custom)
        return service.custom(channel, message);
    const AlertService::Request& shape = service.request;
    QString text = message.text;
    if (shape.textLength)
        text = cutToLength(text, shape.textLength);
    if (shape.textBytes)
        text = cutToUtf8Bytes(text, shape.textBytes);
    QString address = channel.address.trimmed();
    if (!shape.text)
        return {address, text.toUtf8(), QByteArrayLiteral("text/plain; charset=utf-8")};

    const AddressParts parts = addressPartsOf(channel.kind, address);
    if (shape.postTo)
        address = fillAddressPattern(channel.kind, shape.postTo, parts);
    QJsonObject body = QJsonDocument::fromJson(shape.fixedFields).object();
    const QString textField = QString::fromLatin1(shape.text);
    if (textField.contains(u'.'))
        body.insert(textField.section(u'.', 0, 0), QJsonObject{{textField.section(u'.', 1), text}});
    else
        body.insert(textField, text);
    const auto put = [&body](const char* field, const QString& value) {
        if (field)
            body.insert(QLatin1String(field), value);
    };
    put(shape.title,
        shape.titleLength ? cutToLength(message.title, shape.titleLength) : message.title);
    put(shape.key, parts.key);
    put(shape.chat, parts.chat);
    if (service.sign && !channel.secret.isEmpty())
        service.sign(address, body, channel.secret, now);
    return {address, QJsonDocument(body).toJson(QJsonDocument::Compact),
            QByteArrayLiteral("application/json; charset=utf-8")};
}
