// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/Heartbeat.h"

#include "alerts/AlertSettings.h"
#include "alerts/ChannelVerdict.h"
#include "platform/TimerControl.h"
#include "platform/WebHook.h"
#include "scan/ScanCycle.h"

#include <QPointer>

Heartbeat::Heartbeat(ScanCycle& scan, const AlertSettings& settings, Platform platform,
                     std::chrono::milliseconds spacing, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_platform(platform)
    , m_spacing(platform.timers.createTimer())
{
    m_spacing->setInterval(int(spacing.count()));
    connect(m_spacing.get(), &TimerControl::Timer, this, [this] { m_spacing->setEnabled(false); });
    connect(&scan, &ScanCycle::scanEnded, this,
            [this](int, bool pageRead) { onScanEnded(pageRead); });
}

Heartbeat::~Heartbeat() = default;

void Heartbeat::onScanEnded(bool pageRead)
{
    const QString address = m_settings.heartbeatAddress();
    if (!pageRead || address.isEmpty() || m_sending || m_spacing->Enabled())
        return;
    m_sending = true;
    m_spacing->setEnabled(true);
    QPointer<Heartbeat> self(this);
    m_platform.webHook.call({address, {}, {}}, [self](const WebHookAnswer& answer) {
        if (self)
            self->onAnswer(answer);
    });
}

void Heartbeat::onAnswer(const WebHookAnswer& answer)
{
    m_sending = false;
    // Any 2xx will do: the receiver is the owner's own page.
    const ChannelVerdict verdict = judgeAnswer(AlertChannel::Kind::CustomGet, answer);
    if (verdict.reason != m_problem) {
        m_problem = verdict.reason;
        Q_EMIT problemChanged(m_problem);
    }
    Q_EMIT sent(answer.status);
}
