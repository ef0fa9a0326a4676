// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/ChannelVerdict.h"

#include "alerts/AlertServices.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

using Kind = AlertChannel::Kind;
using Outcome = ChannelVerdict::Outcome;

// The fields the services put their error messages in.
const char* const MessageFields[] = {
    "errmsg", "msg", "message", "description", "StatusMessage", "errorDescription", "error"};

QString serviceMessage(const QJsonObject& reply, const QByteArray& body)
{
    for (const char* field : MessageFields) {
        const QString message = reply.value(QLatin1String(field)).toString();
        if (!message.isEmpty())
            return message;
    }
    // Slack answers a refusal with its error code as plain text.
    const QString text = QString::fromUtf8(body).trimmed();
    return reply.isEmpty() && !text.contains(u'<') ? text.left(100) : QString();
}

// Whether a 2xx reply holds one of the fields the service says it when
// the message was taken with.
bool saysTaken(Kind kind, const QJsonObject& reply)
{
    const QJsonObject taken = QJsonDocument::fromJson(serviceOf(kind).takenWhen).object();
    return taken.isEmpty() || std::ranges::any_of(taken.keys(), [&](const QString& field) {
               return reply.value(field) == taken.value(field);
           });
}

QString withMessage(const QString& reason, const QString& message)
{
    return message.isEmpty() ? reason : QStringLiteral("%1：%2").arg(reason, message);
}

} // namespace

ChannelVerdict judgeAnswer(AlertChannel::Kind kind, const WebHookAnswer& answer)
{
    const int status = answer.status;
    if (status == 0)
        return {Outcome::Transient, QStringLiteral("连接失败或没有回复")};
    const QJsonObject reply = QJsonDocument::fromJson(answer.body).object();
    const QString message = serviceMessage(reply, answer.body);
    if (status == 429)
        return {Outcome::Transient, withMessage(QStringLiteral("发送太频繁 (429)"), message)};
    if (status >= 500)
        return {Outcome::Transient,
                withMessage(QStringLiteral("服务出错 (%1)").arg(status), message)};
    if (status == 404)
        return {Outcome::Refused, withMessage(QStringLiteral("网址不存在 (404)"), message)};
    if (status < 200 || status >= 300)
        return {Outcome::Refused, withMessage(QStringLiteral("被拒绝 (%1)").arg(status), message)};
    if (!saysTaken(kind, reply))
        return {Outcome::Refused, message.isEmpty() ? QStringLiteral("回复不是发送成功") : message};
    return {Outcome::Delivered, {}};
}
