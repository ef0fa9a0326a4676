// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeTimerControl.h"

void FakeTimerControl::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

void FakeTimerControl::setInterval(int milliseconds)
{
    if (milliseconds == m_interval)
        return;
    m_interval = milliseconds;
    restart();
}

void FakeTimerControl::restart()
{
    m_clock.cancel(m_pending);
    m_pending = 0;
    if (!m_enabled || m_interval <= 0)
        return;
    m_pending = m_clock.schedule(m_interval, [this] {
        // The next countdown runs from this tick, as a window timer's does.
        m_pending = 0;
        restart();
        Q_EMIT Timer();
    });
}
