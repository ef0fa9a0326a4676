// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertServices.h"

#include "alerts/BotSignature.h"
#include "alerts/ChannelRequest.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

using Kind = AlertChannel::Kind;

const char* const Webhook = "Webhook 地址：";
const char* const ServerLabel = "服务器：";
const char* const KeywordNote =
    "机器人若设置了自定义关键词，请设为“Tollwick”：每条提醒都以它开头。";
const char* const PlaceholderNote =
    "{text} 换成提醒内容，{cause} 换成原因，{time} 换成时间，按所在位置转义。";

// Server酱's SDK picks the host from the key: a Server酱³ key "sctp<uid>t…"
// has its own host, any other key is a Turbo key.
QString serverChanServer(const QString& key)
{
    static const QRegularExpression sc3(QStringLiteral("^sctp(\\d+)t"));
    const QRegularExpressionMatch uid = sc3.match(key.trimmed());
    return uid.hasMatch() ? QStringLiteral("https://%1.push.ft07.com/send").arg(uid.captured(1))
                          : QStringLiteral("https://sctapi.ftqq.com");
}

// DingTalk's 加签 goes into the query, the timestamp in milliseconds.
void dingTalkSigned(QString& address, QJsonObject&, const QString& secret, const QDateTime& now)
{
    const qint64 timestamp = now.toMSecsSinceEpoch();
    address += (address.contains(u'?') ? u'&' : u'?') +
               QStringLiteral("timestamp=%1&sign=%2")
                   .arg(timestamp)
                   .arg(QString::fromLatin1(QUrl::toPercentEncoding(
                       QString::fromLatin1(dingTalkSign(secret, timestamp)))));
}

// Feishu's 签名校验 goes into the body, the timestamp in seconds.
void feishuSigned(QString&, QJsonObject& body, const QString& secret, const QDateTime& now)
{
    const qint64 timestamp = now.toSecsSinceEpoch();
    body.insert(QStringLiteral("timestamp"), QString::number(timestamp));
    body.insert(QStringLiteral("sign"), QString::fromLatin1(feishuSign(secret, timestamp)));
}

// The owner's own address, and for a POST the body, with the placeholders
// filled in.
WebHookRequest custom(const AlertChannel& channel, const AlertMessage& message)
{
    const QString address =
        fillPlaceholders(channel.address.trimmed(), message, PlaceholderContext::Url);
    if (channel.kind == Kind::CustomGet)
        return {address, {}, {}};
    const bool json = channel.contentType == AlertChannel::ContentType::Json;
    const QString body = channel.body.isEmpty() ? DefaultPostBody : channel.body;
    return {
        address,
        fillPlaceholders(body, message, json ? PlaceholderContext::Json : PlaceholderContext::Form)
            .toUtf8(),
        json ? QByteArrayLiteral("application/json; charset=utf-8")
             : QByteArrayLiteral("application/x-www-form-urlencoded")};
}

const AlertService Services[] = {
    // 群机器人配置说明 (https://developer.work.weixin.qq.com/document/path/91770):
    // the content at most 2048 bytes of UTF-8; errors in a 200.
    {.kind = Kind::WeCom,
     .name = "wecom",
     .title = "企业微信群机器人",
     .dialog = {.address = Webhook,
                .hint = "https://qyapi.weixin.qq.com/cgi-bin/webhook/send?key=…",
                .note = KeywordNote},
     .request = {.fixedFields = R"({"msgtype":"text"})", .text = "text.content", .textBytes = 2048},
     .takenWhen = R"({"errcode":0})"},
    // 自定义机器人发送群消息
    // (https://open.dingtalk.com/document/robots/custom-robot-access).
    {.kind = Kind::DingTalk,
     .name = "dingtalk",
     .title = "钉钉群机器人",
     .dialog = {.address = Webhook,
                .hint = "https://oapi.dingtalk.com/robot/send?access_token=…",
                .secret = "加签密钥：",
                .note = KeywordNote},
     .request = {.fixedFields = R"({"msgtype":"text"})", .text = "text.content"},
     .takenWhen = R"({"errcode":0})",
     .sign = dingTalkSigned},
    // 自定义机器人使用指南
    // (https://open.feishu.cn/document/client-docs/bot-v3/add-custom-bot): at
    // most 20 KB; older replies say "StatusCode".
    {.kind = Kind::Feishu,
     .name = "feishu",
     .title = "飞书群机器人",
     .dialog = {.address = Webhook,
                .hint = "https://open.feishu.cn/open-apis/bot/v2/hook/…",
                .secret = "签名校验密钥：",
                .note = KeywordNote},
     .request = {.fixedFields = R"({"msg_type":"text"})",
                 .text = "content.text",
                 .textBytes = 18 * 1024},
     .takenWhen = R"({"code":0,"StatusCode":0})",
     .sign = feishuSigned},
    // Server酱 SDK (https://github.com/easychen/serverchan-sdk) and Server酱³ API
    // (https://doc2.ft07.com/serverchan3/server/api): Turbo takes a title of at
    // most 32 characters and desp of 32 KB.
    {.kind = Kind::ServerChan,
     .name = "serverchan",
     .title = "Server酱",
     .dialog = {.key = "SendKey："},
     .address = {.pattern = "{server}/{key}.send"},
     .request = {.text = "desp", .title = "title", .textBytes = 32 * 1024, .titleLength = 32},
     .takenWhen = R"({"code":0})",
     .serverFor = serverChanServer},
    // pushplus 发送消息接口 (http://api.pushplus.plus/api-107787114): the "txt"
    // template shows the text as it is, not as HTML.
    {.kind = Kind::PushPlus,
     .name = "pushplus",
     .title = "PushPlus 推送加",
     .dialog = {.key = "Token："},
     .address = {.pattern = "{server}/send/{key}", .defaultServer = "https://www.pushplus.plus"},
     .request = {.fixedFields = R"({"template":"txt"})", .text = "content", .title = "title"},
     .takenWhen = R"({"code":200})"},
    // bark-server API V2 (https://github.com/Finb/bark-server/blob/master/docs/API_V2.md).
    {.kind = Kind::Bark,
     .name = "bark",
     .title = "Bark（iPhone）",
     .dialog = {.server = ServerLabel, .key = "Key："},
     .address = {.pattern = "{server}/{key}", .defaultServer = "https://api.day.app"},
     .request = {.postTo = "{server}/push", .text = "body", .title = "title", .key = "device_key"},
     .takenWhen = R"({"code":200})"},
    // Publishing (https://docs.ntfy.sh/publish/): beyond 4096 bytes the text
    // would arrive as an attachment.
    {.kind = Kind::Ntfy,
     .name = "ntfy",
     .title = "ntfy",
     .dialog = {.server = ServerLabel, .key = "主题（topic）："},
     .address = {.pattern = "{server}/{key}", .defaultServer = "https://ntfy.sh"},
     .request = {.textBytes = 4096}},
    // Push messages (https://gotify.net/docs/pushmsg): only on the owner's own
    // server.
    {.kind = Kind::Gotify,
     .name = "gotify",
     .title = "Gotify",
     .dialog = {.server = ServerLabel, .key = "应用 Token："},
     .address = {.pattern = "{server}/message?token={key}"},
     .request = {.fixedFields = R"({"priority":5})", .text = "message", .title = "title"}},
    // sendMessage (https://core.telegram.org/bots/api#sendmessage): the text
    // 1-4096 characters.
    {.kind = Kind::Telegram,
     .name = "telegram",
     .title = "Telegram 机器人",
     .dialog = {.key = "Bot Token：", .chat = "Chat ID："},
     .address = {.pattern = "{server}/bot{key}/sendMessage?chat_id={chat}",
                 .defaultServer = "https://api.telegram.org"},
     .request = {.postTo = "{server}/bot{key}/sendMessage",
                 .text = "text",
                 .chat = "chat_id",
                 .textLength = 4096},
     .takenWhen = R"({"ok":true})"},
    // Execute Webhook
    // (https://discord.com/developers/docs/resources/webhook#execute-webhook):
    // at most 2000 characters; 204 without a body.
    {.kind = Kind::Discord,
     .name = "discord",
     .title = "Discord 网络钩子",
     .dialog = {.address = Webhook, .hint = "https://discord.com/api/webhooks/…"},
     .request = {.text = "content", .textLength = 2000}},
    // Sending messages using incoming webhooks
    // (https://api.slack.com/messaging/webhooks): truncated beyond 40000
    // characters; an error code with a 4xx.
    {.kind = Kind::Slack,
     .name = "slack",
     .title = "Slack 网络钩子",
     .dialog = {.address = Webhook, .hint = "https://hooks.slack.com/services/…"},
     .request = {.text = "text", .textLength = 40000}},
    {.kind = Kind::CustomGet,
     .name = "get",
     .title = "自定义 GET 网址",
     .dialog = {.address = "网址模板：",
                .hint = "https://…/send?text={text}",
                .note = PlaceholderNote},
     .custom = custom},
    {.kind = Kind::CustomPost,
     .name = "post",
     .title = "自定义 POST",
     .dialog =
         {.address = "网址：", .hint = "https://…", .body = "正文模板：", .note = PlaceholderNote},
     .custom = custom},
};

} // namespace

const QString DefaultPostBody =
    QStringLiteral(R"({"cause":"{cause}","text":"{text}","time":"{time}"})");

std::span<const AlertService> alertServices()
{
    return Services;
}

const AlertService& serviceOf(AlertChannel::Kind kind)
{
    return *std::ranges::find(Services, kind, &AlertService::kind);
}

QString channelKindName(AlertChannel::Kind kind)
{
    return QString::fromLatin1(serviceOf(kind).name);
}

std::optional<AlertChannel::Kind> channelKindNamed(const QString& name)
{
    const auto* found = std::ranges::find_if(Services, [&name](const AlertService& service) {
        return name == QLatin1String(service.name);
    });
    return found == std::end(Services) ? std::nullopt : std::optional(found->kind);
}
