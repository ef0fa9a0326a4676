// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <memory>

class TimerControl;
class TimerFactory;
class WindowState;

// Gives the scan timer the period the interval list holds, read when
// scanning starts and at every tick; while scanning, a value typed waits for
// the next tick. A list that holds no usable period makes the state
// interval-invalid rather than stopping the ticks unseen: the timer then
// stands still, and scanning resumes as soon as a usable value is typed.
class ScanSchedule : public QObject {
    Q_OBJECT

public:
    // Retyping a value passes through an empty list; only a list that stays
    // unusable this long is worth an alert.
    static constexpr int InvalidAlertMs = 60000;

    // `timer1` is the scan's timer, whose ticks come to tick().
    ScanSchedule(WindowState& state, TimerControl& timer1, TimerFactory& timers,
                 QObject* parent = nullptr);
    ~ScanSchedule() override;

    // Scanning from now on, at the period the list holds; false, and
    // interval-invalid, when it holds none.
    bool resume();
    // The scan timer's tick; true when it is to scan. A changed interval
    // applies from here: the next tick comes one new period later.
    bool tick();

Q_SIGNALS:
    // The list has held no usable period for InvalidAlertMs.
    void intervalStillInvalid();

private:
    void scanEvery(int milliseconds);
    void becomeInvalid();

    WindowState& m_state;
    TimerControl& m_timer1;
    std::unique_ptr<TimerControl> m_invalidFor;
};
