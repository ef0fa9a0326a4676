// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtTimerControl.h"

#include <QTimer>

QtTimerControl::QtTimerControl(QObject* parent)
    : TimerControl(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(
            this, [this, countdown = m_countdown] { deliverTick(countdown); },
            Qt::QueuedConnection);
    });
}

void QtTimerControl::deliverTick(quint64 countdown)
{
    // A tick posted before the timer was switched off or given a new
    // interval belongs to a countdown that no longer runs.
    if (countdown == m_countdown)
        Q_EMIT Timer();
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
    stopCountdown();
    apply();
}

void QtTimerControl::apply()
{
    if (!m_enabled || m_interval <= 0)
        stopCountdown();
    else if (!m_timer->isActive())
        m_timer->start(m_interval);
}

void QtTimerControl::stopCountdown()
{
    m_timer->stop();
    ++m_countdown;
}
