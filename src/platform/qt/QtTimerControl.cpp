// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtTimerControl.h"

#include <QTimer>

QtTimerControl::QtTimerControl(QObject* parent)
    : TimerControl(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &TimerControl::Timer);
}

void QtTimerControl::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    apply();
}

void QtTimerControl::setInterval(int milliseconds)
{
    if (milliseconds == m_interval)
        return;
    m_interval = milliseconds;
    m_timer->stop();
    apply();
}

void QtTimerControl::apply()
{
    // A QTimer without an interval would fire at every pass of the event loop.
    if (!m_enabled || m_interval <= 0)
        m_timer->stop();
    else if (!m_timer->isActive())
        m_timer->start(m_interval);
}
