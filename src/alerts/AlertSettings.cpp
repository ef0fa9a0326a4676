// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertSettings.h"

void AlertSettings::setChannel(const AlertChannel& channel)
{
    if (channel == m_channel)
        return;
    m_channel = channel;
    Q_EMIT changed();
}

void AlertSettings::setHeartbeatAddress(const QString& address)
{
    if (address.trimmed() == m_heartbeat)
        return;
    m_heartbeat = address.trimmed();
    Q_EMIT changed();
}

void AlertSettings::setNotifyEachDelivery(bool notify)
{
    if (notify == m_eachDelivery)
        return;
    m_eachDelivery = notify;
    Q_EMIT changed();
}

void AlertSettings::setDailySummary(std::optional<QTime> time)
{
    if (time == m_dailySummary)
        return;
    m_dailySummary = time;
    Q_EMIT changed();
}

void AlertSettings::setLoaded(bool loaded)
{
    if (loaded == m_loaded)
        return;
    m_loaded = loaded;
    Q_EMIT changed();
}
