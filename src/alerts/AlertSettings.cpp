// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertSettings.h"

template <typename Value> void AlertSettings::change(Value& field, const Value& value)
{
    if (value == field)
        return;
    field = value;
    Q_EMIT changed();
}

void AlertSettings::setChannel(const AlertChannel& channel)
{
    change(m_channel, channel);
}

void AlertSettings::setHeartbeatAddress(const QString& address)
{
    change(m_heartbeat, address.trimmed());
}

void AlertSettings::setNotifyEachDelivery(bool notify)
{
    change(m_eachDelivery, notify);
}

void AlertSettings::setDailySummary(std::optional<QTime> time)
{
    change(m_dailySummary, time);
}

void AlertSettings::setLoaded(bool loaded)
{
    change(m_loaded, loaded);
}
