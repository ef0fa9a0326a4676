#include "alerts/AlertMessage.h"
#include "alerts/BotSignature.h"
#include "alerts/ChannelAddress.h"
#include "alerts/ChannelRequest.h"
#include "alerts/ChannelVerdict.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/CurlWebHook.h"

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
using Status = QHttpServerResponse::StatusCode;

// The keyword the owner set on the bots: every message must hold it.
const QString Keyword = QStringLiteral("Tollwick");
const QString DingTalkSecret = QStringLiteral("SECd1ng+/=");
const QString FeishuSecret = QStringLiteral("f3ishu密钥");
constexpr qint64 HourMs = 3600 * 1000;

// What a payer could type into a title to break a message: quotes, escapes,
// a line break, query delimiters and placeholders of our own. Long enough
// for every documented size limit.
const QString Hostile =
    QStringLiteral("付款“{cause}&x=1#\"\\\n{text}+%20</b>”") + QString(3000, QChar(0x6C34));

QJsonObject json(const QHttpServerRequest& request)
{
    return QJsonDocument::fromJson(request.body()).object();
}

// The text at `path` in `object`: field("text", "content") is text.content.
QString field(const QJsonObject& object, const char* name, const char* inner = nullptr)
{
    const QJsonValue value = object.value(QLatin1String(name));
    return (inner ? value.toObject().value(QLatin1String(inner)) : value).toString();
}

bool isPost(const QHttpServerRequest& request, const char* type)
{
    return request.method() == QHttpServerRequest::Method::Post &&
           request.value("Content-Type").startsWith(type);
}

QByteArray hmacBase64(const QByteArray& key, const QByteArray& message)
{
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256).toBase64();
}

// Local stand-ins for the services, each applying its documentation's rules
// to what arrives and answering as the service does, refusals included.
struct Services {
    QHttpServer server;
    quint16 port = 0;
    // The text each route took, by route.
    QHash<QString, QString> taken;

    Services()
    {
        server.route("/wecom/send", [this](const QHttpServerRequest& r) { return weCom(r); });
        server.route("/dingtalk/send", [this](const QHttpServerRequest& r) { return dingTalk(r); });
        server.route("/feishu/<arg>", [this](const QString& hook, const QHttpServerRequest& r) {
            return feishu(hook, r);
        });
        server.route("/discord/<arg>", [this](const QString& token, const QHttpServerRequest& r) {
            return discord(token, r);
        });
        server.route("/slack/<arg>", [this](const QString& hook, const QHttpServerRequest& r) {
            return slack(hook, r);
        });
        server.route("/sc/<arg>", [this](const QString& key, const QHttpServerRequest& r) {
            return serverChan(key, r);
        });
        server.route("/send/<arg>", [this](const QString& token, const QHttpServerRequest& r) {
            return pushPlus(token, r);
        });
        server.route("/bark/push", [this](const QHttpServerRequest& r) { return bark(r); });
        server.route("/ntfy/<arg>", [this](const QString& topic, const QHttpServerRequest& r) {
            return ntfy(topic, r);
        });
        server.route("/gotify/message", [this](const QHttpServerRequest& r) { return gotify(r); });
        server.route(
            "/tg/<arg>/sendMessage",
            [this](const QString& bot, const QHttpServerRequest& r) { return telegram(bot, r); });
        server.route("/custom", [this](const QHttpServerRequest& r) { return custom(r); });
        server.route("/down", [] { return QHttpServerResponse(Status::ServiceUnavailable); });
        port = server.listen(QHostAddress::LocalHost, 0);
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }

    // 群机器人配置说明: errors come as an errcode in a 200.
    QHttpServerResponse weCom(const QHttpServerRequest& r)
    {
        const auto error = [](int code, const char* message) {
            return QJsonObject{{"errcode", code}, {"errmsg", message}};
        };
        if (r.query().queryItemValue("key") != u"K")
            return error(93000, "invalid webhook url");
        const QJsonObject body = json(r);
        const QString content = field(body, "text", "content");
        if (!isPost(r, "application/json") || field(body, "msgtype") != u"text")
            return error(40008, "invalid message type");
        if (content.isEmpty())
            return error(44004, "empty content");
        if (content.toUtf8().size() > 2048)
            return error(40058, "content exceed max length");
        taken["wecom"] = content;
        return error(0, "ok");
    }

    // 自定义机器人: a bot with 加签 checks the timestamp and sign in the query.
    QHttpServerResponse dingTalk(const QHttpServerRequest& r)
    {
        const auto error = [](int code, const char* message) {
            return QJsonObject{{"errcode", code}, {"errmsg", message}};
        };
        const QUrlQuery query = r.query();
        const QString token = query.queryItemValue("access_token");
        if (token != u"signed" && token != u"plain")
            return error(300001, "token is not exist");
        if (token == u"signed") {
            const QByteArray timestamp = query.queryItemValue("timestamp").toLatin1();
            const QByteArray sign = query.queryItemValue("sign", QUrl::FullyDecoded).toLatin1();
            const QByteArray secret = DingTalkSecret.toUtf8();
            if (qAbs(QDateTime::currentMSecsSinceEpoch() - timestamp.toLongLong()) > HourMs ||
                sign != hmacBase64(secret, timestamp + '\n' + secret))
                return error(310000, "sign not match");
        }
        const QJsonObject body = json(r);
        const QString content = field(body, "text", "content");
        if (!isPost(r, "application/json") || field(body, "msgtype") != u"text" ||
            content.isEmpty())
            return error(40035, "缺少参数 json");
        if (!content.contains(Keyword))
            return error(310000, "keywords not in content");
        taken["dingtalk"] = content;
        return error(0, "ok");
    }

    // 自定义机器人使用指南: 签名校验 reads timestamp and sign from the body.
    QHttpServerResponse feishu(const QString& hook, const QHttpServerRequest& r)
    {
        const auto error = [](int code, const char* message) {
            return QJsonObject{{"code", code}, {"msg", message}, {"data", QJsonObject()}};
        };
        const QJsonObject body = json(r);
        if (hook == u"signed") {
            const QString timestamp = field(body, "timestamp");
            const QByteArray key = timestamp.toLatin1() + '\n' + FeishuSecret.toUtf8();
            if (qAbs(QDateTime::currentSecsSinceEpoch() - timestamp.toLongLong()) > 3600 ||
                field(body, "sign").toLatin1() != hmacBase64(key, QByteArray()))
                return error(
                    19021, "sign match fail or timestamp is not within one hour from current time");
        } else if (hook != u"plain" && hook != u"older") {
            return error(19001, "param invalid: incoming webhook access token invalid");
        }
        const QString text = field(body, "content", "text");
        if (!isPost(r, "application/json") || r.body().size() > 20 * 1024 ||
            field(body, "msg_type") != u"text" || text.isEmpty())
            return error(9499, "Bad Request");
        if (!text.contains(Keyword))
            return error(19024, "Key Words Not Found");
        taken["feishu"] = text;
        // Bots made before the reply changed still answer in the older form.
        if (hook == u"older")
            return QJsonObject{
                {"Extra", QJsonValue()}, {"StatusCode", 0}, {"StatusMessage", "success"}};
        return error(0, "success");
    }

    // Execute Webhook: 204 without a body; errors with a 4xx.
    QHttpServerResponse discord(const QString& token, const QHttpServerRequest& r)
    {
        if (token != u"tok")
            return {QJsonObject{{"message", "Invalid Webhook Token"}, {"code", 50027}},
                    Status::Unauthorized};
        const QString content = field(json(r), "content");
        if (!isPost(r, "application/json") || content.isEmpty() || content.size() > 2000)
            return {QJsonObject{{"message", "Cannot send an empty message"}, {"code", 50006}},
                    Status::BadRequest};
        taken["discord"] = content;
        return QHttpServerResponse(Status::NoContent);
    }

    // Incoming webhooks: "ok", or an error code as text with a 4xx.
    QHttpServerResponse slack(const QString& hook, const QHttpServerRequest& r)
    {
        if (hook != u"T000")
            return {"text/html", "no_service", Status::NotFound};
        const QJsonObject body = json(r);
        if (!isPost(r, "application/json") || body.isEmpty())
            return {"text/html", "invalid_payload", Status::BadRequest};
        if (field(body, "text").isEmpty())
            return {"text/html", "no_text", Status::BadRequest};
        taken["slack"] = field(body, "text");
        return {"text/html", "ok"};
    }

    // Server酱: "code" 0 is right, anything else is an error.
    QHttpServerResponse serverChan(const QString& key, const QHttpServerRequest& r)
    {
        if (key != u"SCTkey.send")
            return QJsonObject{{"code", 40001}, {"message", "bad pushkey"}};
        const QJsonObject body = json(r);
        const QString title = field(body, "title");
        if (!isPost(r, "application/json") || title.isEmpty() || title.size() > 32)
            return QJsonObject{{"code", 40002},
                               {"message", "title required, 32 characters at most"}};
        taken["serverchan"] = field(body, "desp");
        return QJsonObject{{"code", 0}, {"message", ""}, {"data", QJsonObject{{"pushid", "1"}}}};
    }

    // pushplus: "code" 200 is right, other codes are errors, all in a 200.
    QHttpServerResponse pushPlus(const QString& token, const QHttpServerRequest& r)
    {
        if (token != u"pp")
            return QJsonObject{{"code", 903}, {"msg", "无效的用户令牌"}};
        const QJsonObject body = json(r);
        if (!isPost(r, "application/json") || field(body, "content").isEmpty())
            return QJsonObject{{"code", 999}, {"msg", "服务端验证错误"}};
        taken["pushplus"] = field(body, "content");
        return QJsonObject{{"code", 200}, {"msg", "请求成功"}, {"data", "075074e3c17e449e"}};
    }

    // bark-server's /push: "code" 200, or a 400 for a device it does not know.
    QHttpServerResponse bark(const QHttpServerRequest& r)
    {
        const QJsonObject body = json(r);
        if (!isPost(r, "application/json"))
            return {QJsonObject{{"code", 400}, {"message", "request bind failed"}},
                    Status::BadRequest};
        if (field(body, "device_key") != u"devkey")
            return {QJsonObject{{"code", 400},
                                {"message", "failed to get device token: device not registered"}},
                    Status::BadRequest};
        taken["bark"] = field(body, "body");
        return QJsonObject{{"code", 200}, {"message", "success"}, {"timestamp", 1}};
    }

    // Publishing: the body is the message; a reserved topic is refused.
    QHttpServerResponse ntfy(const QString& topic, const QHttpServerRequest& r)
    {
        if (topic != u"alerts")
            return {QJsonObject{{"code", 40301}, {"http", 403}, {"error", "forbidden"}},
                    Status::Forbidden};
        if (r.method() != QHttpServerRequest::Method::Post || r.body().size() > 4096)
            return {QJsonObject{{"code", 41301}, {"http", 413}, {"error", "too large"}},
                    Status::PayloadTooLarge};
        taken["ntfy"] = QString::fromUtf8(r.body());
        return QJsonObject{{"id", "sPs71M8A2T"}, {"event", "message"}, {"topic", topic}};
    }

    // Push messages: a 401 without a valid application token.
    QHttpServerResponse gotify(const QHttpServerRequest& r)
    {
        if (r.query().queryItemValue("token") != u"Atok")
            return {QJsonObject{{"error", "Unauthorized"},
                                {"errorCode", 401},
                                {"errorDescription", "you need to provide a valid access token or "
                                                     "user credentials to access this api"}},
                    Status::Unauthorized};
        const QJsonObject body = json(r);
        if (!isPost(r, "application/json") || field(body, "message").isEmpty())
            return {QJsonObject{{"error", "Bad Request"},
                                {"errorCode", 400},
                                {"errorDescription", "Field 'message' is required"}},
                    Status::BadRequest};
        taken["gotify"] = field(body, "message");
        return QJsonObject{{"id", 1}, {"appid", 1}, {"message", field(body, "message")}};
    }

    // sendMessage: "ok" true, or false with a description and a 4xx.
    QHttpServerResponse telegram(const QString& bot, const QHttpServerRequest& r)
    {
        const auto error = [](int code, const char* description) {
            return QHttpServerResponse(
                QJsonObject{{"ok", false}, {"error_code", code}, {"description", description}},
                Status(code));
        };
        if (bot != u"bot123:ABC")
            return error(401, "Unauthorized");
        const QJsonObject body = json(r);
        const QString text = field(body, "text");
        if (field(body, "chat_id") != u"-100")
            return error(400, "Bad Request: chat not found");
        if (!isPost(r, "application/json") || text.isEmpty() || text.size() > 4096)
            return error(400, "Bad Request: message text is empty");
        taken["telegram"] = text;
        return QJsonObject{{"ok", true}, {"result", QJsonObject{{"message_id", 42}}}};
    }

    // The owner's own page: it reads what its template put where.
    QHttpServerResponse custom(const QHttpServerRequest& r)
    {
        QString text;
        if (r.method() == QHttpServerRequest::Method::Get)
            text = r.query().queryItemValue("t", QUrl::FullyDecoded);
        else if (isPost(r, "application/json"))
            text = field(json(r), "message", "text");
        else if (isPost(r, "application/x-www-form-urlencoded"))
            text = QUrlQuery(QString::fromLatin1(r.body())).queryItemValue("t", QUrl::FullyDecoded);
        if (r.query().queryItemValue("cause") != u"sessionLost" || text.isEmpty())
            return QHttpServerResponse(Status::BadRequest);
        taken["custom"] = text;
        return QHttpServerResponse(Status::Ok);
    }
};

const char* outcomeName(ChannelVerdict::Outcome outcome)
{
    switch (outcome) {
    case ChannelVerdict::Outcome::Delivered:
        return "delivered";
    case ChannelVerdict::Outcome::Transient:
        return "transient";
    case ChannelVerdict::Outcome::Refused:
        return "refused";
    }
    Q_UNREACHABLE();
}

} // namespace

class ChannelRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The expected values are what each documentation's own example code
    // (DingTalk's and Feishu's Python) prints for these inputs.
    void signaturesMatchTheDocumentedExamples_data()
    {
        QTest::addColumn<bool>("dingTalk");
        QTest::addColumn<QString>("secret");
        QTest::addColumn<qint64>("timestamp");
        QTest::addColumn<QByteArray>("sign");
        QTest::newRow("DingTalk 加签")
            << true << "this is secret" << qint64(1577836800000)
            << QByteArray("fFV9t5lBS7KH4+5B0JjR99ab+AJkXFauQXycgTkS/tc=");
        QTest::newRow("Feishu 签名校验")
            << false << QStringLiteral("你的密钥") << qint64(1599360473)
            << QByteArray("LGQ8uyis9+PUlaQz4PLURvxr+NWlGF+dpzH2lNT3ISQ=");
    }

    void signaturesMatchTheDocumentedExamples()
    {
        QFETCH(bool, dingTalk);
        QFETCH(QString, secret);
        QFETCH(qint64, timestamp);
        QTEST(dingTalk ? dingTalkSign(secret, timestamp) : feishuSign(secret, timestamp), "sign");
    }

    void addressesAsTheServicesGiveThem_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("address");
        const auto row = [](const char* name, Kind kind, QStringList parts, const char* address) {
            QTest::newRow(name) << int(kind) << parts << QString::fromUtf8(address);
        };
        row("Server酱 Turbo", Kind::ServerChan, {"", "SCT12ab", ""},
            "https://sctapi.ftqq.com/SCT12ab.send");
        row("Server酱³", Kind::ServerChan, {"", "sctp42tAbC", ""},
            "https://42.push.ft07.com/send/sctp42tAbC.send");
        row("PushPlus", Kind::PushPlus, {"", "be8652e9", ""},
            "https://www.pushplus.plus/send/be8652e9");
        row("Bark", Kind::Bark, {"https://api.day.app", "yourkey", ""},
            "https://api.day.app/yourkey");
        row("Bark on the owner's server", Kind::Bark,
            {"https://push.example.invalid/bark", "k", ""}, "https://push.example.invalid/bark/k");
        row("ntfy", Kind::Ntfy, {"https://ntfy.sh", "shop_alerts", ""},
            "https://ntfy.sh/shop_alerts");
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
        QTest::addColumn<QString>("secret");
        QTest::addColumn<QString>("outcome");
        // Part of the reason for a failure; for a delivery, the route that took it.
        QTest::addColumn<QString>("detail");
        const auto row = [](const char* name, Kind kind, const char* path, const QString& secret,
                            const char* outcome, const char* detail) {
            QTest::newRow(name) << int(kind) << QString::fromLatin1(path) << secret
                                << QString::fromLatin1(outcome) << QString::fromUtf8(detail);
        };
        row("WeCom", Kind::WeCom, "/wecom/send?key=K", {}, "delivered", "wecom");
        row("WeCom, an address gone", Kind::WeCom, "/wecom/send?key=X", {}, "refused",
            "invalid webhook url");
        row("DingTalk with 加签", Kind::DingTalk, "/dingtalk/send?access_token=signed",
            DingTalkSecret, "delivered", "dingtalk");
        row("DingTalk without", Kind::DingTalk, "/dingtalk/send?access_token=plain", {},
            "delivered", "dingtalk");
        row("DingTalk, another secret", Kind::DingTalk, "/dingtalk/send?access_token=signed",
            QStringLiteral("SECother"), "refused", "sign not match");
        row("DingTalk, no secret given", Kind::DingTalk, "/dingtalk/send?access_token=signed", {},
            "refused", "sign not match");
        row("Feishu with 签名校验", Kind::Feishu, "/feishu/signed", FeishuSecret, "delivered",
            "feishu");
        row("Feishu without", Kind::Feishu, "/feishu/plain", {}, "delivered", "feishu");
        row("Feishu's older reply", Kind::Feishu, "/feishu/older", {}, "delivered", "feishu");
        row("Feishu, another secret", Kind::Feishu, "/feishu/signed", DingTalkSecret, "refused",
            "sign match fail");
        row("WeCom's shape at Feishu", Kind::WeCom, "/feishu/plain", {}, "refused", "Bad Request");
        row("Discord", Kind::Discord, "/discord/tok", {}, "delivered", "discord");
        row("Discord, a token gone", Kind::Discord, "/discord/old", {}, "refused",
            "Invalid Webhook Token");
        row("Slack", Kind::Slack, "/slack/T000", {}, "delivered", "slack");
        row("Slack, a hook gone", Kind::Slack, "/slack/T999", {}, "refused", "no_service");
        row("Discord's shape at Slack", Kind::Discord, "/slack/T000", {}, "refused", "no_text");
        row("Server酱", Kind::ServerChan, "/sc/SCTkey.send", {}, "delivered", "serverchan");
        row("Server酱, a key gone", Kind::ServerChan, "/sc/SCTold.send", {}, "refused",
            "bad pushkey");
        row("PushPlus", Kind::PushPlus, "/send/pp", {}, "delivered", "pushplus");
        row("PushPlus, a token gone", Kind::PushPlus, "/send/old", {}, "refused", "无效的用户令牌");
        row("Bark", Kind::Bark, "/bark/devkey", {}, "delivered", "bark");
        row("Bark, a device gone", Kind::Bark, "/bark/old", {}, "refused",
            "failed to get device token");
        row("ntfy", Kind::Ntfy, "/ntfy/alerts", {}, "delivered", "ntfy");
        row("ntfy, a reserved topic", Kind::Ntfy, "/ntfy/private", {}, "refused", "forbidden");
        row("Gotify", Kind::Gotify, "/gotify/message?token=Atok", {}, "delivered", "gotify");
        row("Gotify, a token gone", Kind::Gotify, "/gotify/message?token=old", {}, "refused",
            "valid access token");
        row("Telegram", Kind::Telegram, "/tg/bot123:ABC/sendMessage?chat_id=-100", {}, "delivered",
            "telegram");
        row("Telegram, a chat gone", Kind::Telegram, "/tg/bot123:ABC/sendMessage?chat_id=-7", {},
            "refused", "chat not found");
        row("a service that is down", Kind::WeCom, "/down", {}, "transient", "服务出错 (503)");
    }

    // Through the real client: each kind delivers in the shape its service
    // documents, cut to its limits, and each refusal is judged a failure,
    // also one in the body of a 200.
    void eachServiceJudgesWhatArrives()
    {
        QFETCH(int, kind);
        QFETCH(QString, path);
        QFETCH(QString, secret);
        QFETCH(QString, outcome);
        QFETCH(QString, detail);
        AlertChannel channel;
        channel.kind = Kind(kind);
        channel.address = m_services.base() + path;
        channel.secret = secret;
        const ChannelVerdict verdict = send(channel);
        QCOMPARE(outcomeName(verdict.outcome), outcome);
        if (verdict.outcome != ChannelVerdict::Outcome::Delivered) {
            QVERIFY2(verdict.reason.contains(detail), qPrintable(verdict.reason));
            return;
        }
        const QString taken = m_services.taken.value(detail);
        QVERIFY2(taken.startsWith(m_message.text.left(40)), qPrintable(taken.left(80)));
        QVERIFY(taken.endsWith(u'…') || taken == m_message.text);
    }

    void placeholdersAreEscapedWhereTheyStand_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("contentType");
        const int json = int(AlertChannel::ContentType::Json);
        const int form = int(AlertChannel::ContentType::Form);
        QTest::newRow("GET, in the query")
            << int(Kind::CustomGet) << "/custom?cause={cause}&t={text}"
            << "" << json;
        QTest::newRow("POST of JSON") << int(Kind::CustomPost) << "/custom?cause={cause}"
                                      << R"({"message":{"text":"{text}","at":"{time}"}})" << json;
        QTest::newRow("POST of a form") << int(Kind::CustomPost) << "/custom?cause={cause}"
                                        << "t={text}&at={time}" << form;
    }

    // The page gets the message exactly, "{cause}" a payer typed included.
    void placeholdersAreEscapedWhereTheyStand()
    {
        QFETCH(int, kind);
        QFETCH(QString, address);
        QFETCH(QString, body);
        QFETCH(int, contentType);
        m_services.taken.clear();
        const AlertChannel channel{Kind(kind),
                                   m_services.base() + address,
                                   {},
                                   body,
                                   AlertChannel::ContentType(contentType)};
        QCOMPARE(outcomeName(send(channel).outcome), "delivered");
        QCOMPARE(m_services.taken.value("custom"), m_message.text);
    }

private:
    ChannelVerdict send(const AlertChannel& channel)
    {
        std::optional<WebHookAnswer> answer;
        m_hook.call(channelRequest(channel, m_message, QDateTime::currentDateTime()),
                    [&answer](const WebHookAnswer& a) { answer = a; });
        if (!QTest::qWaitFor([&] { return answer.has_value(); }, 10000))
            return {ChannelVerdict::Outcome::Transient, QStringLiteral("test timed out")};
        return judgeAnswer(channel.kind, *answer);
    }

    Services m_services;
    CurlMulti m_multi;
    CurlWebHook m_hook{m_multi};
    const AlertMessage m_message =
        alertMessage(QStringLiteral("sessionLost"), Hostile, QStringLiteral("shop-pc"),
                     QDateTime(QDate(2024, 3, 9), QTime(12, 0)));
};

QTEST_GUILESS_MAIN(ChannelRulesTest)
#include "ChannelRulesTest.moc"
