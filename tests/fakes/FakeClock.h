// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Clock.h"

#include <functional>
#include <map>
#include <utility>

// A clock that moves only when told to, and runs what falls due as it moves:
// the fake timers and the fake network's answers. Minutes pass in a test
// without a wait.
class FakeClock : public Clock {
public:
    using Handle = quint64;

    explicit FakeClock(QDateTime start = QDateTime(QDate(2024, 3, 9), QTime(12, 0)))
        : m_now(std::move(start))
    {
    }

    QDateTime now() const override { return m_now; }

    // Sets the wall clock, as a person setting the system's clock does;
    // nothing runs, and what is due stays due after the same time passes.
    void set(const QDateTime& now) { m_now = now; }
    // Lets time pass: everything that falls due meanwhile runs at its moment,
    // in order, also what falls due during it (0 ms: within this call).
    void advance(qint64 milliseconds);
    void advanceSeconds(int seconds) { advance(qint64(seconds) * 1000); }

    // Runs `action` once `delayMs` have passed from now.
    Handle schedule(qint64 delayMs, std::function<void()> action);
    void cancel(Handle handle);

private:
    QDateTime m_now;
    // Time passed since the start, untouched by set().
    qint64 m_elapsed = 0;
    Handle m_next = 0;
    // By moment, then by order of scheduling.
    std::map<std::pair<qint64, Handle>, std::function<void()>> m_due;
};
