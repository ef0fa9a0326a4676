// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/FakeClock.h"
#include "platform/TimerControl.h"

// A timer on the fake clock: it ticks as the clock is advanced past its
// moments. Tests may also emit Timer() when they want a tick at once.
class FakeTimerControl : public TimerControl {
    Q_OBJECT

public:
    explicit FakeTimerControl(FakeClock& clock)
        : m_clock(clock)
    {
    }
    ~FakeTimerControl() override { m_clock.cancel(m_pending); }

    bool Enabled() const override { return m_enabled; }
    int Interval() const override { return m_interval; }
    void setEnabled(bool enabled) override;
    void setInterval(int milliseconds) override;

private:
    void restart();

    FakeClock& m_clock;
    bool m_enabled = false;
    int m_interval = 0;
    FakeClock::Handle m_pending = 0;
};

class FakeTimerFactory : public TimerFactory {
public:
    explicit FakeTimerFactory(FakeClock& clock)
        : m_clock(clock)
    {
    }

    std::unique_ptr<TimerControl> createTimer() override
    {
        return std::make_unique<FakeTimerControl>(m_clock);
    }

private:
    FakeClock& m_clock;
};
