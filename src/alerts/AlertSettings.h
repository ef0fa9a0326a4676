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

    void setChannel(const AlertChannel& channel) { change(m_channel, channel); }
    void setHeartbeatAddress(const QString& address) { change(m_heartbeat, address.trimmed()); }
    void setNotifyEachDelivery(bool notify) { change(m_eachDelivery, notify); }
    void setDailySummary(std::optional<QTime> time) { change(m_dailySummary, time); }
    void setLoaded(bool loaded) { change(m_loaded, loaded); }

Q_SIGNALS:
    void changed();

private:
    // Stores `value` and announces the change when it differs.
    template <typename Value> void change(Value& field, const Value& value)
    {
        if (value == field)
            return;
        field = value;
        Q_EMIT changed();
    }

    AlertChannel m_channel;
    QString m_heartbeat;
    bool m_eachDelivery = true;
    std::optional<QTime> m_dailySummary;
    bool m_loaded = true;
};
