// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/BrowserSleep.h"

#include "platform/BrowserControl.h"
#include "platform/TimerControl.h"
#include "state/WindowState.h"

BrowserSleep::BrowserSleep(WindowState& state, BrowserControl& browser, TimerFactory& timers,
                           QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_browser(browser)
    , m_idle(timers.createTimer())
{
    m_idle->setInterval(DefaultIdleMs);
    connect(m_idle.get(), &TimerControl::Timer, this, &BrowserSleep::sleep);
    connect(&m_state, &WindowState::scanStateChanged, this, &BrowserSleep::countAnew);
}

BrowserSleep::~BrowserSleep() = default;

void BrowserSleep::setIdleTime(int milliseconds)
{
    // A timer without an interval never ticks.
    m_idle->setInterval(milliseconds);
    countAnew();
}

void BrowserSleep::wake()
{
    if (m_asleep) {
        m_asleep = false;
        m_browser.Wake();
        Q_EMIT asleepChanged(false);
    }
    countAnew();
}

void BrowserSleep::sleep()
{
    m_idle->setEnabled(false);
    m_asleep = true;
    Q_EMIT asleepChanged(true);
    m_browser.Sleep();
}

void BrowserSleep::countAnew()
{
    m_idle->setEnabled(false);
    m_idle->setEnabled(m_state.scanState() == ScanState::Scanning && !m_asleep);
}
