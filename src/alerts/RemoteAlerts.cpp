// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/RemoteAlerts.h"

#include "alerts/AlertPolicy.h"
#include "alerts/AlertServices.h"
#include "alerts/AlertSettings.h"
#include "alerts/ChannelRequest.h"
#include "alerts/ChannelVerdict.h"
#include "platform/Clock.h"
#include "platform/LimitedBody.h"
#include "platform/TimerControl.h"
#include "platform/WebHook.h"

#include <QPointer>

#include <algorithm>

namespace {

QString alertKey(const Alert& alert)
{
    return alert.causeName() + u'\n' + alert.subject;
}

AlertSend sendOf(const AlertMessage& message, AlertChannel::Kind kind,
                 const ChannelVerdict& verdict, const WebHookAnswer& answer,
                 AlertSend::Verdict outcome)
{
    return {message.cause, channelKindName(kind),
            outcome,       verdict.reason,
            answer.status, QString::fromUtf8(answer.body).left(ReplyExcerptLength)};
}

} // namespace

struct RemoteAlerts::Pending {
    quint64 id;
    AlertMessage message;
    // The alert it tells of; empty for a clearing.
    QString alert;
    std::unique_ptr<TimerControl> retry;
    std::chrono::milliseconds pause;
    int refusals = 0;
    bool sending = false;
    // Its alert cleared while a try was under way.
    bool dropped = false;
};

RemoteAlerts::RemoteAlerts(AlertPolicy& policy, const AlertSettings& settings, Platform platform,
                           const QString& computer, std::chrono::milliseconds firstRetry,
                           QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_platform(platform)
    , m_computer(computer)
    , m_firstRetry(firstRetry)
{
    connect(&policy, &AlertPolicy::raised, this, [this](const Alert& alert) {
        queue(alertMessage(alert.causeName(), alert.text, m_computer, m_platform.clock.now()),
              alertKey(alert));
    });
    connect(&policy, &AlertPolicy::cleared, this, &RemoteAlerts::onCleared);
    connect(&settings, &AlertSettings::changed, this, &RemoteAlerts::onSettingsChanged);
}

RemoteAlerts::~RemoteAlerts() = default;

void RemoteAlerts::sendTest(const AlertChannel& channel,
                            std::function<void(const QString& answer)> done)
{
    if (!channel.isSet()) {
        done(QStringLiteral("发送失败：请先填写提醒网址"));
        return;
    }
    const AlertMessage message =
        alertMessage(QStringLiteral("test"), QStringLiteral("提醒测试：这条消息说明提醒设置可用。"),
                     m_computer, m_platform.clock.now());
    // The answer may come after the program has begun to close.
    QPointer<RemoteAlerts> self(this);
    m_platform.webHook.call(
        channelRequest(channel, message, m_platform.clock.now()),
        [self, channel, message, done](const WebHookAnswer& answer) {
            const ChannelVerdict verdict = judgeAnswer(channel.kind, answer);
            const bool delivered = verdict.outcome == ChannelVerdict::Outcome::Delivered;
            const AlertSend send =
                sendOf(message, channel.kind, verdict, answer,
                       delivered ? AlertSend::Verdict::Delivered : AlertSend::Verdict::GaveUp);
            if (self)
                Q_EMIT self->sent(send);
            QString words = delivered ? QStringLiteral("发送成功")
                                      : QStringLiteral("发送失败：") + verdict.reason;
            if (send.status != 0)
                words += QStringLiteral("\nHTTP 状态：%1").arg(send.status);
            if (!send.reply.isEmpty())
                words += QStringLiteral("\n回复：") + send.reply;
            done(words);
        });
}

void RemoteAlerts::send(const QString& cause, const QString& text)
{
    queue(alertMessage(cause, text, m_computer, m_platform.clock.now()), {});
}

void RemoteAlerts::queue(const AlertMessage& message, const QString& alert)
{
    if (m_settings.loaded() && !m_settings.channel().isSet())
        return;
    Pending& pending = m_pending.emplace_back(
        Pending{++m_lastId, message, alert, m_platform.timers.createTimer(), m_firstRetry});
    connect(pending.retry.get(), &TimerControl::Timer, this, [this, id = pending.id] {
        const auto found = std::ranges::find(m_pending, id, &Pending::id);
        found->retry->setEnabled(false);
        if (m_settings.channel().isSet())
            tryToSend(*found);
        else
            m_pending.erase(found);
    });
    // Raised before the address was read: sent once it is.
    if (m_settings.loaded())
        tryToSend(pending);
}

void RemoteAlerts::tryToSend(Pending& pending)
{
    pending.sending = true;
    QPointer<RemoteAlerts> self(this);
    m_platform.webHook.call(
        channelRequest(m_settings.channel(), pending.message, m_platform.clock.now()),
        [self, id = pending.id](const WebHookAnswer& answer) {
            if (self)
                self->onAnswer(id, answer);
        });
}

void RemoteAlerts::onAnswer(quint64 id, const WebHookAnswer& answer)
{
    const auto found = std::ranges::find(m_pending, id, &Pending::id);
    if (found == m_pending.end())
        return;
    Pending& pending = *found;
    pending.sending = false;
    const AlertChannel::Kind kind = m_settings.channel().kind;
    const ChannelVerdict verdict = judgeAnswer(kind, answer);
    using Outcome = ChannelVerdict::Outcome;
    AlertSend::Verdict outcome = AlertSend::Verdict::GaveUp;
    if (verdict.outcome == Outcome::Delivered) {
        outcome = AlertSend::Verdict::Delivered;
    } else if (!pending.dropped) {
        const bool refused = verdict.outcome == Outcome::Refused;
        const std::chrono::milliseconds age(pending.message.time.msecsTo(m_platform.clock.now()));
        if (refused ? ++pending.refusals < RefusalsToGiveUp : age + pending.pause <= GiveUpAfter)
            outcome = AlertSend::Verdict::WillRetry;
    }
    setProblem(verdict.reason);
    const AlertSend send = sendOf(pending.message, kind, verdict, answer, outcome);
    if (outcome == AlertSend::Verdict::WillRetry) {
        pending.retry->setInterval(int(pending.pause.count()));
        pending.retry->setEnabled(true);
        pending.pause = std::min<std::chrono::milliseconds>(pending.pause * 2, LongestPause);
    } else {
        m_pending.erase(found);
    }
    Q_EMIT sent(send);
}

void RemoteAlerts::onCleared(const Alert& alert)
{
    const QString key = alertKey(alert);
    // A try under way learns of it at its answer; the others go now.
    for (Pending& pending : m_pending) {
        if (pending.alert == key)
            pending.dropped = true;
    }
    std::erase_if(m_pending,
                  [](const Pending& pending) { return pending.dropped && !pending.sending; });
    queue(alertMessage(QStringLiteral("cleared"), alert.clearedText(), m_computer,
                       m_platform.clock.now()),
          {});
}

void RemoteAlerts::onSettingsChanged()
{
    if (!m_settings.loaded())
        return;
    // A new address deserves a fresh start; none at all ends what waits.
    setProblem({});
    if (!m_settings.channel().isSet()) {
        std::erase_if(m_pending, [](const Pending& pending) { return !pending.sending; });
        return;
    }
    for (Pending& pending : m_pending) {
        if (!pending.sending && !pending.retry->Enabled())
            tryToSend(pending);
    }
}

void RemoteAlerts::setProblem(const QString& problem)
{
    if (problem == m_problem)
        return;
    m_problem = problem;
    Q_EMIT problemChanged(problem);
}
