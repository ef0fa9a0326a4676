#pragma once

#include "platform/TimerControl.h"

// A timer that never ticks by itself: tests emit Timer() when they want a tick.
class FakeTimerControl : public TimerControl {
    Q_OBJECT

public:
    bool Enabled() const override { return m_enabled; }
    int Interval() const override { return m_interval; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    void setInterval(int milliseconds) override { m_interval = milliseconds; }

private:
    bool m_enabled = false;
    int m_interval = 0;
};
