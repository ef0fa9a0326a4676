// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/Delay.h"

#include "platform/Clock.h"
#include "platform/TimerControl.h"

#include <algorithm>

Delay::Delay(const Clock& clock, TimerFactory& timers, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_timer(timers.createTimer())
{
    connect(m_timer.get(), &TimerControl::Timer, this, &Delay::check);
}

Delay::~Delay() = default;

void Delay::start(int seconds)
{
    m_end = reading().addSecs(seconds);
    check();
}

bool Delay::running() const
{
    return m_timer->Enabled();
}

// Date plus time of day in whole seconds, from one reading of the clock,
// compared as plain calendar values: a pause spans midnight and ignores
// daylight-saving shifts.
QDateTime Delay::reading() const
{
    const QDateTime now = m_clock.now();
    return QDateTime(now.date(), now.time(), Qt::UTC).addMSecs(-now.time().msec());
}

void Delay::check()
{
    const QDateTime now = reading();
    if (now >= m_end) {
        m_timer->setEnabled(false);
        Q_EMIT finished();
        return;
    }
    // To the next whole second of the wall clock, or to the end if sooner.
    // The clock is read in whole seconds, so waking at least once a second
    // is enough to end on time, and also notices the clock being set forward.
    const qint64 toNextSecond = 1000 - m_clock.now().time().msec();
    const qint64 sleep = std::min(now.msecsTo(m_end), toNextSecond);
    m_timer->setInterval(int(std::max<qint64>(sleep, 1)));
    m_timer->setEnabled(true);
}
