#include "ui/WindowTimer.h"

WindowTimer::WindowTimer(QObject* parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this,
            [this] { QMetaObject::invokeMethod(this, &WindowTimer::Timer, Qt::QueuedConnection); });
}

void WindowTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    apply();
}

void WindowTimer::setInterval(int milliseconds)
{
    if (milliseconds == m_interval)
        return;
    m_interval = milliseconds;
    m_timer.stop();
    apply();
}

void WindowTimer::apply()
{
    if (m_enabled && m_interval > 0) {
        if (!m_timer.isActive())
            m_timer.start(m_interval);
    } else {
        m_timer.stop();
    }
}
