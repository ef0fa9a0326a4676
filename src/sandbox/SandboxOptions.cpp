// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SandboxOptions.h"

#include "alerts/AlertServices.h"
#include "alerts/ChannelRequest.h"
#include "sandbox/AmountText.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QRegularExpression>
#include <QUrl>

#include <climits>

namespace {

struct NumberRule {
    const char* name;
    int minimum;
    int maximum;
};

// Why `rule`'s option cannot be used; empty when it is unset or a whole
// number in range, written with digits only.
QString numberError(const QCommandLineParser& parser, const NumberRule& rule)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    const QString text = parser.value(QLatin1String(rule.name));
    const int value = text.toInt();
    if (!parser.isSet(QLatin1String(rule.name)) ||
        (digits.match(text).hasMatch() && value >= rule.minimum && value <= rule.maximum))
        return {};
    const QString range = rule.maximum == INT_MAX
                              ? QStringLiteral("from %1 up").arg(rule.minimum)
                              : QStringLiteral("from %1 to %2").arg(rule.minimum).arg(rule.maximum);
    return QStringLiteral("--%1 \"%2\": expected a whole number %3")
        .arg(QLatin1String(rule.name), text, range);
}

std::optional<SandboxOptions::Payment> payment(const QString& text, QString& error)
{
    // Titles may hold commas; amounts never do.
    const qsizetype comma = text.lastIndexOf(QLatin1Char(','));
    if (comma < 0) {
        error = QStringLiteral("--payment \"%1\": expected TITLE,AMOUNT").arg(text);
        return std::nullopt;
    }
    const QString amountText = text.mid(comma + 1);
    const std::optional<QString> amount = normalizedAmount(amountText);
    if (!amount) {
        error = QStringLiteral("--payment \"%1\": bad amount \"%2\" (a positive number with at "
                               "most two decimals)")
                    .arg(text, amountText);
        return std::nullopt;
    }
    return SandboxOptions::Payment{text.left(comma), *amount};
}

bool isWebAddress(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

// Why the option's address cannot be used; empty when it is unset or usable.
// A template is checked with its placeholders filled in.
QString addressError(const QCommandLineParser& parser, const char* name, bool isTemplate = false)
{
    const QString text = parser.value(QLatin1String(name));
    const AlertMessage filler{QStringLiteral("x"), {}, QStringLiteral("x"), {}};
    if (!parser.isSet(QLatin1String(name)) ||
        isWebAddress(isTemplate ? fillPlaceholders(text, filler, PlaceholderContext::Url) : text))
        return {};
    return QStringLiteral("--%1 \"%2\": expected an http or https address")
        .arg(QLatin1String(name), text);
}

QString kindNames()
{
    QStringList names;
    for (const AlertService& service : alertServices())
        names.append(QString::fromLatin1(service.name));
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

// Why the alert options cannot be used; empty when `channel` holds them.
QString readAlertChannel(const QCommandLineParser& parser, AlertChannel& channel)
{
    channel.address = parser.value(QStringLiteral("alert-url"));
    channel.secret = parser.value(QStringLiteral("alert-secret"));
    channel.body = parser.value(QStringLiteral("alert-body"));
    const QString kindName = parser.value(QStringLiteral("alert-kind"));
    if (!kindName.isEmpty()) {
        const auto kind = channelKindNamed(kindName);
        if (!kind)
            return QStringLiteral("--alert-kind \"%1\": not a kind of alert address").arg(kindName);
        channel.kind = *kind;
    } else if (!channel.address.contains(QStringLiteral("{text}"))) {
        channel.kind = AlertChannel::Kind::CustomPost;
    }
    const QString contentType = parser.value(QStringLiteral("alert-content-type"));
    if (!contentType.isEmpty() && contentType != u"json" && contentType != u"form")
        return QStringLiteral("--alert-content-type \"%1\": expected json or form")
            .arg(contentType);
    if (contentType == u"form")
        channel.contentType = AlertChannel::ContentType::Form;
    return addressError(parser, "alert-url", true);
}

} // namespace

bool SandboxOptions::notifiesAnotherMachine() const
{
    if (notifyUrl.isEmpty())
        return false;
    const QString host = QUrl(notifyUrl).host();
    return host != u"localhost" && !QHostAddress(host).isLoopback();
}

std::optional<SandboxOptions> SandboxOptions::parse(const QStringList& arguments, QString& error)
{
    const SandboxOptions defaults;
    const auto option = [](const char* name, const QString& description, const char* valueName = "",
                           const QString& value = {}) {
        return QCommandLineOption(QString::fromLatin1(name), description,
                                  QString::fromLatin1(valueName), value);
    };
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs Tollwick against a simulated payment account and shop on this "
                       "machine, and prints every step as a line of JSON."));
    parser.addOptions({
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                           QStringLiteral("Show these options and exit.")),
        option("headless", QStringLiteral("No visible window; the sandbox logs in by itself.")),
        option("payment", QStringLiteral("A payment on the account; repeatable, oldest first."),
               "TITLE,AMOUNT"),
        option("page", QStringLiteral("Serve these bytes as the record page."), "FILE"),
        option("notify-url",
               QStringLiteral("Typed into the delivery URL box (default: the simulated shop)."),
               "URL"),
        option("key",
               QStringLiteral("Typed into the key box, and expected by the shop (default %1).")
                   .arg(defaults.key),
               "KEY", defaults.key),
        option(
            "records",
            QStringLiteral("Typed into the record-count list (default %1).").arg(defaults.records),
            "N", defaults.records),
        option("interval",
               QStringLiteral("Typed into the scan-interval list, in seconds (default %1).")
                   .arg(defaults.interval),
               "SECONDS", defaults.interval),
        option("charset",
               QStringLiteral("Typed into the charset list, and the shop's charset (default %1).")
                   .arg(defaults.charset),
               "NAME", defaults.charset),
        option("ticks", QStringLiteral("Exit after K scans have ended."), "K"),
        option("port",
               QStringLiteral("The account's port, 1000 to 9999 (default %1).").arg(DefaultPort),
               "P", QString::number(DefaultPort)),
        option("shop-fail",
               QStringLiteral("The shop fails the next K notifications with HTTP 500."), "K",
               QString::number(0)),
        option(
            "journal",
            QStringLiteral("The delivery journal's file (default: in the sandbox's data folder)."),
            "FILE"),
        option("alert-kind",
               QStringLiteral("The alert address's kind: %1 (default: get when the address holds "
                              "{text}, else post).")
                   .arg(kindNames()),
               "NAME"),
        option("alert-url",
               QStringLiteral("Send alerts here, for this run only: the webhook, the service's "
                              "address with its key or token, or a template with {text}, {cause}, "
                              "{time}."),
               "URL"),
        option("alert-secret", QStringLiteral("The DingTalk or Feishu bot's signing secret."),
               "SECRET"),
        option("alert-body",
               QStringLiteral("The body template of post (default: JSON of cause, text and time)."),
               "TEMPLATE"),
        option("alert-content-type",
               QStringLiteral("How post's body is encoded: json (default) or form."), "TYPE"),
        option("heartbeat-url",
               QStringLiteral(
                   "GET this after a scan that read the record page, at most once a minute."),
               "URL"),
        option("alert-retry-first",
               QStringLiteral("Seconds before a failed alert is first tried again (default %1).")
                   .arg(defaults.alertRetryFirstSeconds),
               "SECONDS", QString::number(defaults.alertRetryFirstSeconds)),
        option("heartbeat-every",
               QStringLiteral("Least seconds between two heartbeats (default %1).")
                   .arg(defaults.heartbeatEverySeconds),
               "SECONDS", QString::number(defaults.heartbeatEverySeconds)),
        option("browser-sleep",
               QStringLiteral("Seconds without input before the browser sleeps while scanning; 0: "
                              "never (default %1).")
                   .arg(defaults.browserSleep),
               "SECONDS", QString::number(defaults.browserSleep)),
    });
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    const auto value = [&parser](const char* name) {
        return parser.value(QLatin1String(name));
    };
    if (parser.isSet(QStringLiteral("help"))) {
        SandboxOptions options;
        // Qt's own usage line names the program only once an application
        // object exists, and there is none yet.
        options.help =
            QStringLiteral("Usage: %1 [options]\n").arg(QFileInfo(arguments.value(0)).fileName()) +
            parser.helpText().section(u'\n', 1);
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments()[0]);
        return std::nullopt;
    }
    const NumberRule numberRules[] = {
        {"records", 1, INT_MAX},         {"interval", 1, INT_MAX},
        {"ticks", 1, INT_MAX},           {"port", 1000, 9999},
        {"shop-fail", 0, INT_MAX},       {"alert-retry-first", 1, INT_MAX},
        {"heartbeat-every", 1, INT_MAX}, {"browser-sleep", 0, INT_MAX / 1000}};
    for (const NumberRule& rule : numberRules) {
        error = numberError(parser, rule);
        if (!error.isEmpty())
            return std::nullopt;
    }
    for (const char* name : {"notify-url", "heartbeat-url"}) {
        error = addressError(parser, name);
        if (!error.isEmpty())
            return std::nullopt;
    }

    SandboxOptions options;
    options.headless = parser.isSet(QStringLiteral("headless"));
    for (const QString& text : parser.values(QStringLiteral("payment"))) {
        const std::optional<Payment> parsed = payment(text, error);
        if (!parsed)
            return std::nullopt;
        options.payments.append(*parsed);
    }
    if (parser.isSet(QStringLiteral("page"))) {
        QFile file(value("page"));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("--page \"%1\": %2").arg(file.fileName(), file.errorString());
            return std::nullopt;
        }
        options.recordPage = file.readAll();
    }
    options.notifyUrl = value("notify-url");
    options.key = value("key");
    options.charset = value("charset");
    options.records = value("records");
    options.interval = value("interval");
    if (parser.isSet(QStringLiteral("ticks")))
        options.ticks = value("ticks").toInt();
    options.port = quint16(value("port").toInt());
    options.shopFailures = value("shop-fail").toInt();
    options.browserSleep = value("browser-sleep").toInt();
    options.journal = value("journal");
    options.alertRetryFirstSeconds = value("alert-retry-first").toInt();
    options.heartbeatEverySeconds = value("heartbeat-every").toInt();
    options.heartbeatUrl = value("heartbeat-url");
    error = readAlertChannel(parser, options.alertChannel);
    if (!error.isEmpty())
        return std::nullopt;
    return options;
}
