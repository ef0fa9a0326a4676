// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeTimerControl.h"

#include <utility>

void FakeTimerControl::setEnabled(bool enabled)
{
    if (std::exchange(m_enabled, enabled) != enabled)
        restart();
}

void FakeTimerControl::setInterval(int milliseconds)
{
    if (std::exchange(m_interval, milliseconds) != milliseconds)
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
