// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/SandboxLog.h"

#include "alerts/Alert.h"
#include "alerts/AlertSend.h"
#include "scan/DeliveryAttempt.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

// The names of DeliveryAttempt::Outcome and AlertSend::Verdict, in the order
// the enums list them.
const char* const OutcomeNames[] = {"delivered", "rejected", "alreadyDelivered", "busy"};
const char* const VerdictNames[] = {"delivered", "willRetry", "gaveUp"};

std::unique_ptr<QIODevice> standardOutput()
{
    auto file = std::make_unique<QFile>();
    (void)file->open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return file;
}

} // namespace

SandboxLog::SandboxLog()
    : m_ownDevice(standardOutput())
    , m_device(m_ownDevice.get())
{
}

SandboxLog::SandboxLog(QIODevice* device)
    : m_device(device)
{
}

SandboxLog::~SandboxLog() = default;

void SandboxLog::control(const QByteArray& token)
{
    write({{"control", QJsonObject{{"token", QString::fromLatin1(token)}}}});
}

void SandboxLog::status(const QString& text)
{
    write({{"box", "status"}, {"text", text}});
}

void SandboxLog::page(const QString& text)
{
    write({{"box", "page"}, {"text", text}});
}

void SandboxLog::shop(const ShopNotification& notification)
{
    write({{"shop", QJsonObject{{"act", notification.act},
                                {"jine", notification.jine},
                                {"tradeno", notification.tradeno},
                                {"title", notification.title}}}});
}

void SandboxLog::delivery(const DeliveryAttempt& attempt)
{
    write({{"event", OutcomeNames[int(attempt.outcome)]},
           {"tradeno", attempt.record.TradeNo},
           {"title", attempt.record.Title},
           {"amount", attempt.record.Amount},
           {"status", attempt.status},
           {"manual", attempt.manual}});
}

void SandboxLog::alert(const Alert& alert)
{
    write({{"alert", alert.causeName()}, {"text", alert.text}});
}

void SandboxLog::cleared(const Alert& alert)
{
    write({{"alert", "cleared"}, {"cause", alert.causeName()}, {"text", alert.text}});
}

void SandboxLog::alertSent(const AlertSend& send)
{
    write({{"alertSent", QJsonObject{{"cause", send.cause},
                                     {"kind", send.kind},
                                     {"verdict", VerdictNames[int(send.verdict)]},
                                     {"status", send.status}}}});
}

void SandboxLog::heartbeat(int status)
{
    write({{"heartbeat", QJsonObject{{"status", status}}}});
}

void SandboxLog::exit(int scans)
{
    write({{"exit", QJsonObject{{"ticks", scans}}}});
}

void SandboxLog::write(const QJsonObject& line)
{
    m_device->write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    // A reader of a pipe must see each line as soon as it is written.
    if (auto* file = qobject_cast<QFileDevice*>(m_device))
        file->flush();
}
