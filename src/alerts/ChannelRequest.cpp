// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/ChannelRequest.h"

#include "alerts/BotSignature.h"
#include "alerts/ChannelAddress.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

namespace {

using Kind = AlertChannel::Kind;

const QByteArray JsonType = QByteArrayLiteral("application/json; charset=utf-8");
const QByteArray FormType = QByteArrayLiteral("application/x-www-form-urlencoded");
const QByteArray TextType = QByteArrayLiteral("text/plain; charset=utf-8");

WebHookRequest postJson(const QString& address, const QJsonObject& body)
{
    return {address, QJsonDocument(body).toJson(QJsonDocument::Compact), JsonType};
}

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

// The query appended to the webhook of a DingTalk bot that checks 加签.
QString dingTalkSigned(const QString& address, const QString& secret, const QDateTime& now)
{
    if (secret.isEmpty())
        return address;
    const qint64 timestamp = now.toMSecsSinceEpoch();
    return address + (address.contains(u'?') ? u'&' : u'?') +
           QStringLiteral("timestamp=%1&sign=%2")
               .arg(timestamp)
               .arg(QString::fromLatin1(
                   QUrl::toPercentEncoding(QString::fromLatin1(dingTalkSign(secret, timestamp)))));
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
    const QString address = channel.address.trimmed();
    const QString& text = message.text;
    switch (channel.kind) {
    case Kind::WeCom:
        // 群机器人配置说明 (https://developer.work.weixin.qq.com/document/path/91770): a
        // POST of {"msgtype":"text","text":{"content":…}}, the content at most
        // 2048 bytes of UTF-8; success is "errcode": 0 in a 200.
        return postJson(address,
                        {{QStringLiteral("msgtype"), QStringLiteral("text")},
                         {QStringLiteral("text"),
                          QJsonObject{{QStringLiteral("content"), cutToUtf8Bytes(text, 2048)}}}});
    case Kind::DingTalk:
        // 自定义机器人发送群消息
        // (https://open.dingtalk.com/document/robots/custom-robot-access): a POST of
        // {"msgtype":"text","text":{"content":…}}, with "timestamp" and "sign" in
        // the query when the bot checks 加签; success is "errcode": 0 in a 200.
        return postJson(dingTalkSigned(address, channel.secret, now),
                        {{QStringLiteral("msgtype"), QStringLiteral("text")},
                         {QStringLiteral("text"), QJsonObject{{QStringLiteral("content"), text}}}});
    case Kind::Feishu: {
        // 自定义机器人使用指南
        // (https://open.feishu.cn/document/client-docs/bot-v3/add-custom-bot): a POST
        // of {"msg_type":"text","content":{"text":…}} of at most 20 KB, with
        // "timestamp" and "sign" in the body when the bot checks 签名校验;
        // success is "code": 0 ("StatusCode": 0 in older replies).
        QJsonObject body{{QStringLiteral("msg_type"), QStringLiteral("text")},
                         {QStringLiteral("content"),
                          QJsonObject{{QStringLiteral("text"), cutToUtf8Bytes(text, 18 * 1024)}}}};
        if (!channel.secret.isEmpty()) {
            const qint64 timestamp = now.toSecsSinceEpoch();
            body.insert(QStringLiteral("timestamp"), QString::number(timestamp));
            body.insert(QStringLiteral("sign"),
                        QString::fromLatin1(feishuSign(channel.secret, timestamp)));
        }
        return postJson(address, body);
    }
    case Kind::Discord:
        // Execute Webhook
        // (https://discord.com/developers/docs/resources/webhook#execute-webhook): a
        // POST of {"content":…} of at most 2000 characters; 204 without a body.
        return postJson(address, {{QStringLiteral("content"), cutToLength(text, 2000)}});
    case Kind::Slack:
        // Sending messages using incoming webhooks
        // (https://api.slack.com/messaging/webhooks): a POST of {"text":…}, which
        // Slack truncates beyond 40000 characters; "ok" in a 200, an error code
        // with a 4xx.
        return postJson(address, {{QStringLiteral("text"), cutToLength(text, 40000)}});
    case Kind::ServerChan:
        // Server酱 SDK (https://github.com/easychen/serverchan-sdk) and Server酱³ API
        // (https://doc2.ft07.com/serverchan3/server/api): a POST of {"title","desp"};
        // Turbo takes a title of at most 32 characters and desp of 32 KB; success
        // is "code": 0.
        return postJson(address, {{QStringLiteral("title"), cutToLength(message.title, 32)},
                                  {QStringLiteral("desp"), cutToUtf8Bytes(text, 32 * 1024)}});
    case Kind::PushPlus:
        // pushplus 发送消息接口 (http://api.pushplus.plus/api-107787114): a POST of
        // {"title","content","template"} to /send/{token}; the "txt" template shows
        // the text as it is, not as HTML; success is "code": 200.
        return postJson(address, {{QStringLiteral("title"), message.title},
                                  {QStringLiteral("content"), text},
                                  {QStringLiteral("template"), QStringLiteral("txt")}});
    case Kind::Bark: {
        // bark-server API V2 (https://github.com/Finb/bark-server/blob/master/docs/API_V2.md):
        // a POST of {"device_key","title","body"} to the server's /push; success is
        // "code": 200.
        const AddressParts parts = splitAddress(Kind::Bark, address);
        return postJson(parts.server + QStringLiteral("/push"),
                        {{QStringLiteral("device_key"), parts.key},
                         {QStringLiteral("title"), message.title},
                         {QStringLiteral("body"), text}});
    }
    case Kind::Ntfy:
        // Publishing (https://docs.ntfy.sh/publish/): a POST of the text to
        // {server}/{topic}; beyond 4096 bytes it would arrive as an attachment.
        return {address, cutToUtf8Bytes(text, 4096).toUtf8(), TextType};
    case Kind::Gotify:
        // Push messages (https://gotify.net/docs/pushmsg): a POST of
        // {"title","message","priority"} to /message?token=…
        return postJson(address, {{QStringLiteral("title"), message.title},
                                  {QStringLiteral("message"), text},
                                  {QStringLiteral("priority"), 5}});
    case Kind::Telegram: {
        // sendMessage (https://core.telegram.org/bots/api#sendmessage): a POST of
        // {"chat_id","text"}, the text 1-4096 characters; success is "ok": true.
        QUrl url(address);
        const QString chat = splitAddress(Kind::Telegram, address).chat;
        url.setQuery(QString());
        return postJson(url.toString(), {{QStringLiteral("chat_id"), chat},
                                         {QStringLiteral("text"), cutToLength(text, 4096)}});
    }
    case Kind::CustomGet:
        return {fillPlaceholders(address, message, PlaceholderContext::Url), {}, {}};
    case Kind::CustomPost: {
        const bool json = channel.contentType == AlertChannel::ContentType::Json;
        const QString body = channel.body.isEmpty() ? DefaultPostBody : channel.body;
        return {fillPlaceholders(address, message, PlaceholderContext::Url),
                fillPlaceholders(body, message,
                                 json ? PlaceholderContext::Json : PlaceholderContext::Form)
                    .toUtf8(),
                json ? JsonType : FormType};
    }
    }
    Q_UNREACHABLE();
}
