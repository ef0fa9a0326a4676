// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/TimerControl.h"

class QTimer;

// A window timer on one QTimer. Switching it off, or giving it a new
// interval, ends the countdown: the next tick comes a full period after the
// timer runs again.
class QtTimerControl : public TimerControl {
    Q_OBJECT

public:
    explicit QtTimerControl(QObject* parent = nullptr);

    bool Enabled() const override { return m_enabled; }
    int Interval() const override { return m_interval; }
    void setEnabled(bool enabled) override;
    void setInterval(int milliseconds) override;

private:
    void apply();

    QTimer* m_timer;
    bool m_enabled = false;
    int m_interval = 0;
};
