// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QObject>

#include <memory>

class Clock;
class TimerControl;
class TimerFactory;

// A pause measured on the wall clock in whole seconds with its date: it ends
// once the clock, read that way, has moved the seconds asked for on. A pause
// that starts just before a second ticks over is a little more than n - 1
// seconds long; one that spans midnight ends on time; a clock set back makes
// it last until the clock reads the end again.
class Delay : public QObject {
    Q_OBJECT

public:
    Delay(const Clock& clock, TimerFactory& timers, QObject* parent = nullptr);
    ~Delay() override;

    // Starts a pause of `seconds`; finished() follows, at once for 0 or less.
    // A pause under way is dropped first.
    void start(int seconds);
    bool running() const;

Q_SIGNALS:
    void finished();

private:
    void check();
    QDateTime reading() const;

    const Clock& m_clock;
    std::unique_ptr<TimerControl> m_timer;
    QDateTime m_end;
};
