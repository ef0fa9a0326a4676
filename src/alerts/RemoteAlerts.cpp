#include "alerts/RemoteAlerts.h"

#include "alerts/AlertPolicy.h"
#include "platform/Clock.h"
#include "platform/WebHook.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

} // namespace

RemoteAlerts::RemoteAlerts(AlertPolicy& policy, const AlertSettings& settings, WebHook& webHook,
                           const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_webHook(webHook)
    , m_clock(clock)
{
    connect(&policy, &AlertPolicy::raised, this,
            [this](const Alert& alert) { queue(alert.causeName(), alert.text); });
    connect(&policy, &AlertPolicy::cleared, this,
            [this](const Alert& alert) { queue(QStringLiteral("cleared"), alert.clearedText()); });
}

void RemoteAlerts::sendTest(const QString& address, AlertSettings::Method method,
                            std::function<void(int status)> done)
{
    send(address, method,
         {QStringLiteral("test"), QStringLiteral("Tollwick 提醒测试：这条消息说明提醒设置可用。"),
          m_clock.now()},
         std::move(done));
}

void RemoteAlerts::queue(const QString& cause, const QString& text)
{
    if (m_settings.address().isEmpty())
        return;
    m_waiting.append({cause, text, m_clock.now()});
    if (!m_sending)
        sendNext();
}

void RemoteAlerts::sendNext()
{
    const QString address = m_settings.address();
    if (m_waiting.isEmpty() || address.isEmpty())
        return;
    m_sending = true;
    send(address, m_settings.method(), m_waiting.constFirst(), [this](int status) {
        m_sending = false;
        // Kept when it failed: it goes first when the next message comes.
        if (!isSuccess(status))
            return;
        m_waiting.removeFirst();
        sendNext();
    });
}

void RemoteAlerts::send(const QString& address, AlertSettings::Method method,
                        const Message& message, std::function<void(int status)> done)
{
    if (method == AlertSettings::Method::PostJson) {
        const QJsonObject body{
            {QStringLiteral("cause"), message.cause},
            {QStringLiteral("text"), message.text},
            {QStringLiteral("time"),
             message.time.toOffsetFromUtc(message.time.offsetFromUtc()).toString(Qt::ISODate)}};
        m_webHook.call({address, QJsonDocument(body).toJson(QJsonDocument::Compact),
                        QByteArrayLiteral("application/json")},
                       [done](const WebHookAnswer& answer) { done(answer.status); });
        return;
    }
    QString filled = address;
    filled.replace(QStringLiteral("{text}"),
                   QString::fromLatin1(QUrl::toPercentEncoding(message.text)));
    m_webHook.call({filled, {}, {}}, [done](const WebHookAnswer& answer) { done(answer.status); });
}
