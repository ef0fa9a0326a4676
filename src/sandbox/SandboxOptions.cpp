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

// A whole number in [minimum, maximum], written with digits only.
std::optional<int> wholeNumber(const QString& text, int minimum, int maximum)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

struct NumberRule {
    const QCommandLineOption& option;
    int minimum;
    int maximum;
};

// Why `rule`'s option cannot be used; nothing when it is unset or in range.
std::optional<QString> numberError(const QCommandLineParser& parser, const NumberRule& rule)
{
    const QString text = parser.value(rule.option);
    if (!parser.isSet(rule.option) || wholeNumber(text, rule.minimum, rule.maximum))
        return std::nullopt;
    const QString range = rule.maximum == INT_MAX
                              ? QStringLiteral("from %1 up").arg(rule.minimum)
                              : QStringLiteral("from %1 to %2").arg(rule.minimum).arg(rule.maximum);
    return QStringLiteral("--%1 \"%2\": expected a whole number %3")
        .arg(rule.option.names().constFirst(), text, range);
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

QString kindNames()
{
    QStringList names;
    for (const AlertService& service : alertServices())
        names.append(QString::fromLatin1(service.name));
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

struct AlertOptions {
    const QCommandLineOption& kind;
    const QCommandLineOption& url;
    const QCommandLineOption& secret;
    const QCommandLineOption& body;
    const QCommandLineOption& contentType;
};

// Why the alert options cannot be used; empty when `channel` holds them.
QString readAlertChannel(const QCommandLineParser& parser, const AlertOptions& given,
                         AlertChannel& channel)
{
    channel.address = parser.value(given.url);
    channel.secret = parser.value(given.secret);
    channel.body = parser.value(given.body);
    if (parser.isSet(given.kind)) {
        const auto kind = channelKindNamed(parser.value(given.kind));
        if (!kind)
            return QStringLiteral("--alert-kind \"%1\": not a kind of alert address")
                .arg(parser.value(given.kind));
        channel.kind = *kind;
    } else if (!channel.address.contains(QStringLiteral("{text}"))) {
        channel.kind = AlertChannel::Kind::CustomPost;
    }
    const QString contentType = parser.value(given.contentType);
    if (!contentType.isEmpty() && contentType != u"json" && contentType != u"form")
        return QStringLiteral("--alert-content-type \"%1\": expected json or form")
            .arg(contentType);
    if (contentType == u"form")
        channel.contentType = AlertChannel::ContentType::Form;
    // A template is checked with its placeholders filled in.
    const AlertMessage filler{QStringLiteral("x"), {}, QStringLiteral("x"), {}};
    if (parser.isSet(given.url) &&
        !isWebAddress(fillPlaceholders(channel.address, filler, PlaceholderContext::Url)))
        return QStringLiteral("--alert-url \"%1\": expected an http or https address")
            .arg(channel.address);
    return {};
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
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show these options and exit."));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("No visible window; the sandbox logs in by itself."));
    const QCommandLineOption payments(
        QStringLiteral("payment"),
        QStringLiteral("A payment on the account; repeatable, oldest first."),
        QStringLiteral("TITLE,AMOUNT"));
    const QCommandLineOption page(QStringLiteral("page"),
                                  QStringLiteral("Serve these bytes as the record page."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption notifyUrl(
        QStringLiteral("notify-url"),
        QStringLiteral("Typed into the delivery URL box (default: the simulated shop)."),
        QStringLiteral("URL"));
    const QCommandLineOption key(
        QStringLiteral("key"),
        QStringLiteral("Typed into the key box, and expected by the shop (default %1).")
            .arg(WindowState::DefaultInterfaceKey),
        QStringLiteral("KEY"));
    const QCommandLineOption records(
        QStringLiteral("records"),
        QStringLiteral("Typed into the record-count list (default %1).")
            .arg(WindowState::DefaultRecordCount),
        QStringLiteral("N"));
    const QCommandLineOption interval(
        QStringLiteral("interval"),
        QStringLiteral("Typed into the scan-interval list, in seconds (default %1).")
            .arg(WindowState::DefaultScanInterval),
        QStringLiteral("SECONDS"));
    const QCommandLineOption charset(
        QStringLiteral("charset"),
        QStringLiteral("Typed into the charset list, and the shop's charset (default %1).")
            .arg(WindowState::DefaultShopCharset),
        QStringLiteral("NAME"));
    const QCommandLineOption ticks(QStringLiteral("ticks"),
                                   QStringLiteral("Exit after K scans have ended."),
                                   QStringLiteral("K"));
    const QCommandLineOption port(
        QStringLiteral("port"), QStringLiteral("The account's port, 1000 to 9999 (default 8631)."),
        QStringLiteral("P"));
    const QCommandLineOption shopFail(
        QStringLiteral("shop-fail"),
        QStringLiteral("The shop fails the next K notifications with HTTP 500."),
        QStringLiteral("K"));

    const QCommandLineOption journal(
        QStringLiteral("journal"),
        QStringLiteral("The delivery journal's file (default: in the sandbox's data folder)."),
        QStringLiteral("FILE"));

    const QCommandLineOption alertKind(
        QStringLiteral("alert-kind"),
        QStringLiteral("The alert address's kind: %1 (default: get when the address holds {text}, "
                       "else post).")
            .arg(kindNames()),
        QStringLiteral("NAME"));
    const QCommandLineOption alertUrl(
        QStringLiteral("alert-url"),
        QStringLiteral("Send alerts here, for this run only: the webhook, the service's address "
                       "with its key or token, or a template with {text}, {cause}, {time}."),
        QStringLiteral("URL"));
    const QCommandLineOption alertSecret(
        QStringLiteral("alert-secret"),
        QStringLiteral("The DingTalk or Feishu bot's signing secret."), QStringLiteral("SECRET"));
    const QCommandLineOption alertBody(
        QStringLiteral("alert-body"),
        QStringLiteral("The body template of post (default: JSON of cause, text and time)."),
        QStringLiteral("TEMPLATE"));
    const QCommandLineOption alertContentType(
        QStringLiteral("alert-content-type"),
        QStringLiteral("How post's body is encoded: json (default) or form."),
        QStringLiteral("TYPE"));
    const QCommandLineOption heartbeatUrl(
        QStringLiteral("heartbeat-url"),
        QStringLiteral("GET this after a scan that read the record page, at most once a minute."),
        QStringLiteral("URL"));
    const QCommandLineOption alertRetryFirst(
        QStringLiteral("alert-retry-first"),
        QStringLiteral("Seconds before a failed alert is first tried again (default 30)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption heartbeatEvery(
        QStringLiteral("heartbeat-every"),
        QStringLiteral("Least seconds between two heartbeats (default 60)."),
        QStringLiteral("SECONDS"));

    const QCommandLineOption browserSleep(
        QStringLiteral("browser-sleep"),
        QStringLiteral("Seconds without input before the browser sleeps while scanning; 0: "
                       "never (default 60)."),
        QStringLiteral("SECONDS"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs Tollwick against a simulated payment account and shop on this "
                       "machine, and prints every step as a line of JSON."));
    parser.addOptions(
        {help,         headless,        payments,       page,        notifyUrl, key,
         records,      interval,        charset,        ticks,       port,      shopFail,
         journal,      alertKind,       alertUrl,       alertSecret, alertBody, alertContentType,
         heartbeatUrl, alertRetryFirst, heartbeatEvery, browserSleep});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help)) {
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

    for (const NumberRule& rule :
         {NumberRule{records, 1, INT_MAX}, NumberRule{interval, 1, INT_MAX},
          NumberRule{ticks, 1, INT_MAX}, NumberRule{port, 1000, 9999},
          NumberRule{shopFail, 0, INT_MAX}, NumberRule{alertRetryFirst, 1, INT_MAX},
          NumberRule{heartbeatEvery, 1, INT_MAX}, NumberRule{browserSleep, 0, INT_MAX / 1000}}) {
        if (const std::optional<QString> message = numberError(parser, rule)) {
            error = *message;
            return std::nullopt;
        }
    }

    SandboxOptions options;
    options.headless = parser.isSet(headless);
    for (const QString& text : parser.values(payments)) {
        const std::optional<Payment> parsed = payment(text, error);
        if (!parsed)
            return std::nullopt;
        options.payments.append(*parsed);
    }
    if (parser.isSet(page)) {
        QFile file(parser.value(page));
        if (!file.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("--page \"%1\": %2").arg(file.fileName(), file.errorString());
            return std::nullopt;
        }
        options.recordPage = file.readAll();
    }
    if (parser.isSet(notifyUrl)) {
        options.notifyUrl = parser.value(notifyUrl);
        if (!isWebAddress(options.notifyUrl)) {
            error = QStringLiteral("--notify-url \"%1\": expected an http or https address")
                        .arg(options.notifyUrl);
            return std::nullopt;
        }
    }
    if (parser.isSet(key))
        options.key = parser.value(key);
    if (parser.isSet(charset))
        options.charset = parser.value(charset);

    if (parser.isSet(records))
        options.records = parser.value(records);
    if (parser.isSet(interval))
        options.interval = parser.value(interval);
    if (parser.isSet(ticks))
        options.ticks = parser.value(ticks).toInt();
    if (parser.isSet(port))
        options.port = quint16(parser.value(port).toInt());
    if (parser.isSet(shopFail))
        options.shopFailures = parser.value(shopFail).toInt();
    if (parser.isSet(browserSleep))
        options.browserSleep = parser.value(browserSleep).toInt();
    options.journal = parser.value(journal);
    if (parser.isSet(alertRetryFirst))
        options.alertRetryFirstSeconds = parser.value(alertRetryFirst).toInt();
    if (parser.isSet(heartbeatEvery))
        options.heartbeatEverySeconds = parser.value(heartbeatEvery).toInt();
    if (parser.isSet(heartbeatUrl)) {
        options.heartbeatUrl = parser.value(heartbeatUrl);
        if (!isWebAddress(options.heartbeatUrl)) {
            error = QStringLiteral("--heartbeat-url \"%1\": expected an http or https address")
                        .arg(options.heartbeatUrl);
            return std::nullopt;
        }
    }
    error =
        readAlertChannel(parser, {alertKind, alertUrl, alertSecret, alertBody, alertContentType},
                         options.alertChannel);
    if (!error.isEmpty())
        return std::nullopt;
    return options;
}
