// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/Alert.h"
#include "alerts/AlertChannel.h"
#include "alerts/AlertMessage.h"
#include "alerts/AlertSend.h"
#include "platform/Platform.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <list>
#include <memory>

class AlertPolicy;
class AlertSettings;
class TimerControl;
struct WebHookAnswer;

// Sends every alert and every clearing to the owner's alert address, so it
// reaches a phone through whatever push service or group bot the owner
// uses. Each message is tried on its own: one that fails never holds back
// another. A failure that may pass (no answer, a 5xx, a 429) is tried again
// after a pause that doubles from `firstRetry` up to 30 minutes, until the
// message is a day old; a refusal is given up after its third try. A
// message whose cause clears before it got through is dropped, so a late
// alert never follows its clearing.
class RemoteAlerts : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::minutes LongestPause{30};
    static constexpr std::chrono::hours GiveUpAfter{24};
    static constexpr int RefusalsToGiveUp = 3;

    // Messages name `computer`, so that an owner of several can tell them apart.
    RemoteAlerts(AlertPolicy& policy, const AlertSettings& settings, Platform platform,
                 const QString& computer, std::chrono::milliseconds firstRetry,
                 QObject* parent = nullptr);
    ~RemoteAlerts() override;

    // Sends a test message to `channel` once, judged by the same rule as an
    // alert; `done` gets the outcome in the owner's words.
    void sendTest(const AlertChannel& channel, std::function<void(const QString& answer)> done);
    // A message of its own kind, `cause`, sent with the alerts' retries;
    // nothing while no address is set.
    void send(const QString& cause, const QString& text);
    // Why the last message tried failed; empty once one gets through.
    QString problem() const { return m_problem; }

Q_SIGNALS:
    // After every try.
    void sent(const AlertSend& send);
    void problemChanged(const QString& problem);

private:
    struct Pending;

    void queue(const AlertMessage& message, const QString& alert);
    void tryToSend(Pending& pending);
    void onAnswer(quint64 id, const WebHookAnswer& answer);
    void onCleared(const Alert& alert);
    void onSettingsChanged();
    void setProblem(const QString& problem);

    const AlertSettings& m_settings;
    Platform m_platform;
    QString m_computer;
    std::chrono::milliseconds m_firstRetry;
    std::list<Pending> m_pending;
    quint64 m_lastId = 0;
    QString m_problem;
};
