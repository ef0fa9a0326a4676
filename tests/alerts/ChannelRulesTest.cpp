// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertMessage.h"
#include "alerts/BotSignature.h"
#include "alerts/ChannelAddress.h"
#include "alerts/ChannelRequest.h"
#include "alerts/ChannelVerdict.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/CurlWebHook.h"
#include "support/TestRegistry.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QTest>
#include <QUrlQuery>

namespace {

using Kind = AlertChannel::Kind;
using Verdict = ChannelVerdict::Outcome;
using Request = QHttpServerRequest;
using Response = QHttpServerResponse;
using Status = QHttpServerResponse::StatusCode;

const QString DingTalkSecret = QStringLiteral("SECd1ng+/=");
const QString FeishuSecret = QStringLiteral("f3ishu密钥");

// What a payer could type into a title to break a message: quotes, escapes,
// a line break, delimiters and placeholders; long enough for every limit.
const QString Hostile =
    QStringLiteral("付款“{cause}&x=1#\"\\\n{text}+%20</b>”") + QString(3000, QChar(0x6C34));

bool isJsonPost(const Request& r)
{
    return r.method() == Request::Method::Post &&
           r.value("Content-Type").startsWith("application/json");
}

// The string at `name` (or `name`.`inner`) in a POST's JSON body; empty in
// any other request, which every service refuses.
QString field(const Request& r, const char* name, const char* inner = nullptr)
{
    if (!isJsonPost(r))
        return {};
    const QJsonValue value = QJsonDocument::fromJson(r.body()).object().value(QLatin1String(name));
    return (inner ? value.toObject().value(QLatin1String(inner)) : value).toString();
}

QByteArray hmacBase64(const QByteArray& key, const QByteArray& message)
{
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256).toBase64();
}

// WeCom's and DingTalk's reply; Feishu's names its fields differently.
QJsonObject errcode(int code, const char* message)
{
    return {{"errcode", code}, {"errmsg", message}};
}

// Local stand-ins for the services, each applying its documentation's rules
// to what arrives and answering as the service does, refusals included.
struct Services {
    QHttpServer server;
    quint16 port = 0;
    // The text the last service to take a message took.
    QString taken;

    Response take(const QString& text, Response&& reply)
    {
        taken = text;
        return std::move(reply);
    }

    Services()
    {
        // 群机器人配置说明: errors in a 200; text.content at most 2048 bytes.
        server.route("/wecom", [this](const Request& r) -> Response {
            const QString text = field(r, "text", "content");
            if (r.query().queryItemValue("key") != u"K")
                return errcode(93000, "invalid webhook url");
            if (field(r, "msgtype") != u"text" || text.isEmpty() || text.toUtf8().size() > 2048)
                return errcode(40008, "invalid message type");
            return take(text, errcode(0, "ok"));
        });
        // 自定义机器人: 加签 in the query, the owner's keyword in the text.
        server.route("/dingtalk", [this](const Request& r) -> Response {
            const QUrlQuery query = r.query();
            const QByteArray time = query.queryItemValue("timestamp").toLatin1();
            const QByteArray secret = DingTalkSecret.toUtf8();
            if (query.queryItemValue("access_token") == u"signed" &&
                (qAbs(QDateTime::currentMSecsSinceEpoch() - time.toLongLong()) > 3600000 ||
                 query.queryItemValue("sign", QUrl::FullyDecoded).toLatin1() !=
                     hmacBase64(secret, time + '\n' + secret)))
                return errcode(310000, "sign not match");
            const QString text = field(r, "text", "content");
            if (field(r, "msgtype") != u"text" || text.isEmpty())
                return errcode(40035, "缺少参数 json");
            if (!text.contains(u"Tollwick"))
                return errcode(310000, "keywords not in content");
            return take(text, errcode(0, "ok"));
        });
        // 自定义机器人使用指南: 签名校验 in the body, at most 20 KB.
        server.route("/feishu/<arg>", [this](const QString& hook, const Request& r) -> Response {
            const auto reply = [](int code, const char* message) {
                return QJsonObject{{"code", code}, {"msg", message}, {"data", QJsonObject()}};
            };
            const QByteArray time = field(r, "timestamp").toLatin1();
            if (hook == u"signed" &&
                (qAbs(QDateTime::currentSecsSinceEpoch() - time.toLongLong()) > 3600 ||
                 field(r, "sign").toLatin1() !=
                     hmacBase64(time + '\n' + FeishuSecret.toUtf8(), QByteArray())))
                return reply(19021, "sign match fail or timestamp is not within one hour");
            const QString text = field(r, "content", "text");
            if (r.body().size() > 20 * 1024 || field(r, "msg_type") != u"text" || text.isEmpty())
                return reply(9499, "Bad Request");
            if (!text.contains(u"Tollwick"))
                return reply(19024, "Key Words Not Found");
            // Bots made before the reply changed still answer the older way.
            return take(text, hook == u"older"
                                  ? QJsonObject{{"StatusCode", 0}, {"StatusMessage", "success"}}
                                  : reply(0, "success"));
        });
        // Execute Webhook: 204; content at most 2000 characters.
        server.route("/discord", [this](const Request& r) -> Response {
            const QString text = field(r, "content");
            if (text.isEmpty() || text.size() > 2000)
                return {QJsonObject{{"message", "Cannot send an empty message"}, {"code", 50006}},
                        Status::BadRequest};
            return take(text, Response(Status::NoContent));
        });
        // Incoming webhooks: "ok", or an error code as text with a 4xx.
        server.route("/slack/<arg>", [this](const QString& hook, const Request& r) -> Response {
            if (hook != u"T000")
                return {"text/html", "no_service", Status::NotFound};
            if (field(r, "text").isEmpty())
                return {"text/html", "no_text", Status::BadRequest};
            return take(field(r, "text"), Response("text/html", "ok"));
        });
        // Server酱: "code" 0 is right; Turbo's title is at most 32 characters.
        server.route("/sc/<arg>", [this](const QString& key, const Request& r) -> Response {
            const QString title = field(r, "title");
            if (key != u"SCTkey.send")
                return QJsonObject{{"code", 40001}, {"message", "bad pushkey"}};
            if (title.isEmpty() || title.size() > 32)
                return QJsonObject{{"code", 40002}, {"message", "bad title"}};
            return take(field(r, "desp"), QJsonObject{{"code", 0}, {"message", ""}});
        });
        // pushplus: "code" 200 is right, other codes are errors, in a 200.
        server.route("/send/<arg>", [this](const QString& token, const Request& r) -> Response {
            if (token != u"pp")
                return QJsonObject{{"code", 903}, {"msg", "无效的用户令牌"}};
            if (field(r, "content").isEmpty() || field(r, "template") != u"txt")
                return QJsonObject{{"code", 999}, {"msg", "服务端验证错误"}};
            return take(field(r, "content"), QJsonObject{{"code", 200}, {"msg", "请求成功"}});
        });
        // bark-server's /push: a 400 for a device it does not know.
        server.route("/bark/push", [this](const Request& r) -> Response {
            if (field(r, "device_key") != u"devkey")
                return {QJsonObject{{"code", 400}, {"message", "failed to get device token"}},
                        Status::BadRequest};
            return take(field(r, "body"), QJsonObject{{"code", 200}, {"message", "success"}});
        });
        // Publishing: the body is the message; beyond 4096 bytes an attachment.
        server.route("/ntfy/alerts", [this](const Request& r) -> Response {
            if (r.method() != Request::Method::Post || r.body().size() > 4096)
                return Response(Status::BadRequest);
            return take(QString::fromUtf8(r.body()), QJsonObject{{"event", "message"}});
        });
        // Push messages: a 401 without the application's token.
        server.route("/gotify/message", [this](const Request& r) -> Response {
            if (r.query().queryItemValue("token") != u"Atok" || field(r, "message").isEmpty())
                return {QJsonObject{{"error", "Unauthorized"}, {"errorCode", 401}},
                        Status::Unauthorized};
            return take(field(r, "message"), QJsonObject{{"id", 1}});
        });
        // sendMessage: "ok" true, or false with a description and a 4xx.
        server.route("/tg/<arg>/sendMessage", [this](const QString& bot, const Request& r) {
            const QString text = field(r, "text");
            if (bot != u"bot123:ABC" || field(r, "chat_id") != u"-100" || text.isEmpty() ||
                text.size() > 4096)
                return Response(QJsonObject{{"ok", false},
                                            {"error_code", 400},
                                            {"description", "Bad Request: chat not found"}},
                                Status::BadRequest);
            return take(text, QJsonObject{{"ok", true}});
        });
        // The owner's own page reads what its template put where.
        server.route("/custom", [this](const Request& r) -> Response {
            const bool form =
                r.value("Content-Type").startsWith("application/x-www-form-urlencoded");
            const QString text = r.method() == Request::Method::Get
                                     ? r.query().queryItemValue("t", QUrl::FullyDecoded)
                                 : form ? QUrlQuery(QString::fromLatin1(r.body()))
                                              .queryItemValue("t", QUrl::FullyDecoded)
                                        : field(r, "message", "text");
            if (r.query().queryItemValue("cause") != u"sessionLost" || text.isEmpty())
                return Response(Status::BadRequest);
            return take(text, Response(Status::Ok));
        });
        server.route("/down", [] { return Response(Status::ServiceUnavailable); });
        port = server.listen(QHostAddress::LocalHost, 0);
    }

    QString address(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
    }
};

} // namespace

class ChannelRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The expected values are what each documentation's own example code
    // (DingTalk's and Feishu's Python) prints for these inputs.
    void signaturesMatchTheDocumentedExamples()
    {
        QCOMPARE(dingTalkSign("this is secret", 1577836800000),
                 QByteArray("fFV9t5lBS7KH4+5B0JjR99ab+AJkXFauQXycgTkS/tc="));
        QCOMPARE(feishuSign(QStringLiteral("你的密钥"), 1599360473),
                 QByteArray("LGQ8uyis9+PUlaQz4PLURvxr+NWlGF+dpzH2lNT3ISQ="));
    }

    void addressesAsTheServicesGiveThem_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("address");
        const auto row = [](const char* name, Kind kind, QStringList parts, const char* address) {
            QTest::newRow(name) << int(kind) << parts << QString::fromUtf8(address);
        };
        row("Server酱³", Kind::ServerChan, {"", "sctp42tAbC", ""},
            "https://42.push.ft07.com/send/sctp42tAbC.send");
        row("Bark", Kind::Bark, {"https://push.example.invalid/bark", "k", ""},
            "https://push.example.invalid/bark/k");
        row("Gotify", Kind::Gotify, {"https://push.example.invalid", "AqS.x", ""},
            "https://push.example.invalid/message?token=AqS.x");
        row("Telegram", Kind::Telegram, {"", "123:ABC-def", "-1001"},
            "https://api.telegram.org/bot123:ABC-def/sendMessage?chat_id=-1001");
    }

    // What the dialog composes reaches the service, and reads back the same.
    void addressesAsTheServicesGiveThem()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, parts);
        QFETCH(QString, address);
        const AddressParts given{parts[0], parts[1], parts[2]};
        QCOMPARE(composeAddress(Kind(kind), given), address);
        QCOMPARE(splitAddress(Kind(kind), address), given);
    }

    void eachServiceJudgesWhatArrives_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("path");
        QTest::addColumn<Verdict>("outcome");
        // Part of the reason a failure gives.
        QTest::addColumn<QString>("reason");
        // The bot's secret, or the custom POST's body template: JSON when it
        // starts with a brace, else a form.
        QTest::addColumn<QString>("secret");
        const auto row = [](const char* name, Kind kind, const char* path,
                            Verdict outcome = Verdict::Delivered, const char* reason = "",
                            const QString& secret = {}) {
            QTest::newRow(name) << int(kind) << QString::fromLatin1(path) << outcome
                                << QString::fromUtf8(reason) << secret;
        };
        const Verdict refused = Verdict::Refused, delivered = Verdict::Delivered;
        row("WeCom", Kind::WeCom, "/wecom?key=K");
        row("WeCom, an address gone", Kind::WeCom, "/wecom?key=X", refused, "invalid webhook url");
        row("DingTalk with 加签", Kind::DingTalk, "/dingtalk?access_token=signed", delivered, "",
            DingTalkSecret);
        row("DingTalk without", Kind::DingTalk, "/dingtalk?access_token=plain");
        row("DingTalk, another secret", Kind::DingTalk, "/dingtalk?access_token=signed", refused,
            "sign not match", FeishuSecret);
        row("Feishu with 签名校验", Kind::Feishu, "/feishu/signed", delivered, "", FeishuSecret);
        row("Feishu's older reply", Kind::Feishu, "/feishu/older");
        row("Feishu, another secret", Kind::Feishu, "/feishu/signed", refused, "sign match fail",
            DingTalkSecret);
        row("WeCom's shape at Feishu", Kind::WeCom, "/feishu/plain", refused, "Bad Request");
        row("Discord", Kind::Discord, "/discord");
        row("Slack", Kind::Slack, "/slack/T000");
        row("Slack, a hook gone", Kind::Slack, "/slack/T999", refused, "no_service");
        row("Discord's shape at Slack", Kind::Discord, "/slack/T000", refused, "no_text");
        row("Server酱", Kind::ServerChan, "/sc/SCTkey.send");
        row("Server酱, a key gone", Kind::ServerChan, "/sc/SCTold.send", refused, "bad pushkey");
        row("PushPlus", Kind::PushPlus, "/send/pp");
        row("PushPlus, a token gone", Kind::PushPlus, "/send/old", refused, "无效的用户令牌");
        row("Bark", Kind::Bark, "/bark/devkey");
        row("ntfy", Kind::Ntfy, "/ntfy/alerts");
        row("Gotify", Kind::Gotify, "/gotify/message?token=Atok");
        row("Telegram", Kind::Telegram, "/tg/bot123:ABC/sendMessage?chat_id=-100");
        row("Telegram, a chat gone", Kind::Telegram, "/tg/bot123:ABC/sendMessage?chat_id=-7",
            refused, "chat not found");
        row("a service that is down", Kind::WeCom, "/down", Verdict::Transient, "服务出错 (503)");
        // The owner's page gets the message exactly, "{cause}" a payer typed
        // included, each placeholder escaped for where it stands.
        row("GET template", Kind::CustomGet, "/custom?cause={cause}&t={text}");
        row("POST template of JSON", Kind::CustomPost, "/custom?cause={cause}", delivered, "",
            R"({"message":{"text":"{text}","at":"{time}"}})");
        row("POST template of a form", Kind::CustomPost, "/custom?cause={cause}", delivered, "",
            "t={text}&at={time}");
    }

    // Through the real client: each kind delivers in the shape its service
    // documents, cut to its limits, and each refusal is judged a failure,
    // also one in the body of a 200.
    void eachServiceJudgesWhatArrives()
    {
        QFETCH(int, kind);
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QFETCH(QString, secret);
        m_services.taken.clear();
        const ChannelVerdict verdict =
            send({Kind(kind), m_services.address(path), secret, secret,
                  secret.startsWith(u'{') ? AlertChannel::ContentType::Json
                                          : AlertChannel::ContentType::Form});
        QTEST(verdict.outcome, "outcome");
        if (verdict.outcome != Verdict::Delivered) {
            QVERIFY2(verdict.reason.contains(reason), qPrintable(verdict.reason));
            return;
        }
        const QString& taken = m_services.taken;
        QVERIFY2(taken.startsWith(m_message.text.left(40)), qPrintable(taken.left(80)));
        QVERIFY(taken.endsWith(u'…') || taken == m_message.text);
        if (Kind(kind) == Kind::CustomGet || Kind(kind) == Kind::CustomPost)
            QCOMPARE(taken, m_message.text);
    }

private:
    ChannelVerdict send(const AlertChannel& channel)
    {
        std::optional<WebHookAnswer> answer;
        m_hook.call(channelRequest(channel, m_message, QDateTime::currentDateTime()),
                    [&answer](const WebHookAnswer& a) { answer = a; });
        if (!QTest::qWaitFor([&] { return answer.has_value(); }, 10000))
            return {ChannelVerdict::Outcome::Transient, QStringLiteral("timed out")};
        return judgeAnswer(channel.kind, *answer);
    }

    Services m_services;
    CurlMulti m_multi;
    CurlWebHook m_hook{m_multi};
    const AlertMessage m_message =
        alertMessage(QStringLiteral("sessionLost"), Hostile, QStringLiteral("shop-pc"),
                     QDateTime(QDate(2024, 3, 9), QTime(12, 0)));
};

TOLLWICK_TEST(ChannelRulesTest)
#include "ChannelRulesTest.moc"
