// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/TimerControl.h"

class QTimer;

// A window timer on QTimer. Its tick is posted as an event, and switching the
// timer off or giving it a new interval drops a tick that is already posted:
// the next one comes a full period after the timer runs again.
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
    void stopCountdown();
    void deliverTick(quint64 countdown);

    // A child, so that a test can make it fall due at a chosen moment.
    QTimer* m_timer;
    bool m_enabled = false;
    int m_interval = 0;
    // Counts the countdowns stopped; a posted tick carries the one it ended.
    quint64 m_countdown = 0;
};
