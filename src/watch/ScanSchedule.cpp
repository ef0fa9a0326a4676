// SPDX-License-Identifier: GPL-3.0-or-later

#include "watch/ScanSchedule.h"

#include "platform/TimerControl.h"
#include "state/SettingValues.h"
#include "state/WindowState.h"

ScanSchedule::ScanSchedule(WindowState& state, TimerControl& timer1, TimerFactory& timers,
                           QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_timer1(timer1)
    , m_invalidFor(timers.createTimer())
{
    m_invalidFor->setInterval(InvalidAlertMs);
    connect(m_invalidFor.get(), &TimerControl::Timer, this, [this] {
        m_invalidFor->setEnabled(false);
        if (m_state.scanState() == ScanState::IntervalInvalid)
            Q_EMIT intervalStillInvalid();
    });
    connect(&m_state, &WindowState::scanIntervalChanged, this, [this] {
        if (m_state.scanState() == ScanState::IntervalInvalid)
            resume();
    });
}

ScanSchedule::~ScanSchedule() = default;

bool ScanSchedule::resume()
{
    const auto period = scanIntervalMilliseconds(m_state.scanInterval());
    if (period)
        scanEvery(*period);
    else
        becomeInvalid();
    return period.has_value();
}

bool ScanSchedule::tick()
{
    return m_state.scanState() == ScanState::Scanning && resume();
}

void ScanSchedule::scanEvery(int milliseconds)
{
    m_invalidFor->setEnabled(false);
    // An unchanged period keeps the countdown under way.
    m_timer1.setInterval(milliseconds);
    m_timer1.setEnabled(true);
    m_state.setScanState(ScanState::Scanning);
}

void ScanSchedule::becomeInvalid()
{
    m_timer1.setEnabled(false);
    if (m_state.scanState() != ScanState::IntervalInvalid)
        m_invalidFor->setEnabled(true);
    m_state.setScanState(ScanState::IntervalInvalid);
}
