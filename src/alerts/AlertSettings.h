// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"

#include <QObject>
#include <QString>
#include <QTime>

#include <optional>

// The owner's choices about alerts. The program keeps them across runs (see
// SettingsFile); the sandbox keeps them for its run only.
class AlertSettings : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Unset when alerts go to this computer's desktop only.
    AlertChannel channel() const { return m_channel; }
    // Empty when no heartbeat is sent.
    QString heartbeatAddress() const { return m_heartbeat; }
    // A desktop notification for every payment delivered.
    bool notifyEachDelivery() const { return m_eachDelivery; }
    // When the day's summary goes to the alert address; none when off.
    std::optional<QTime> dailySummary() const { return m_dailySummary; }
    // False while the kept settings are still being read: an alert raised
    // meanwhile waits for the address.
    bool loaded() const { return m_loaded; }

    void setChannel(const AlertChannel& channel);
    void setHeartbeatAddress(const QString& address);
    void setNotifyEachDelivery(bool notify);
    void setDailySummary(std::optional<QTime> time);
    void setLoaded(bool loaded);

Q_SIGNALS:
    void changed();

private:
    // Stores `value` and announces the change when it differs.
    template <typename Value> void change(Value& field, const Value& value);
    AlertChannel m_channel;
    QString m_heartbeat;
    bool m_eachDelivery = true;
    std::optional<QTime> m_dailySummary;
    bool m_loaded = true;
};
