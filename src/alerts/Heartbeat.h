// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class AlertSettings;
class ScanCycle;
class TimerControl;
struct WebHookAnswer;

// Tells a watcher elsewhere that the program is alive and reads the record
// page: a GET of the heartbeat address after a scan that read it, at most
// once per `spacing`. A program that has stopped, crashed, lost its network
// or its login sends none, and the shop's site or a monitor notices the
// silence. A failing heartbeat raises no alert of its own, since the alert
// address may fail for the same reason; it shows as a problem.
class Heartbeat : public QObject {
    Q_OBJECT

public:
    Heartbeat(ScanCycle& scan, const AlertSettings& settings, Platform platform,
              std::chrono::milliseconds spacing, QObject* parent = nullptr);
    ~Heartbeat() override;

    // Why the last heartbeat failed; empty once one gets through.
    QString problem() const { return m_problem; }

Q_SIGNALS:
    // The heartbeat's answer arrived: its HTTP status, 0 when none came.
    void sent(int status);
    void problemChanged(const QString& problem);

private:
    void onScanEnded(bool pageRead);
    void onAnswer(const WebHookAnswer& answer);

    const AlertSettings& m_settings;
    Platform m_platform;
    std::unique_ptr<TimerControl> m_spacing;
    bool m_sending = false;
    QString m_problem;
};
