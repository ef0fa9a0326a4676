// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <memory>

// A window timer: Timer() every Interval() ms while Enabled(), and never with
// an interval of 0. A tick is an event of its own, delivered by the event
// loop once the handler that runs has returned.
class TimerControl : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool Enabled() const = 0;
    virtual int Interval() const = 0;
    // Switching on a timer that is on already keeps its countdown.
    virtual void setEnabled(bool enabled) = 0;
    // A new interval starts the countdown anew.
    virtual void setInterval(int milliseconds) = 0;

Q_SIGNALS:
    void Timer();
};

// Makes the program's timers, the scan's and the keep-alive's as well as
// those for pauses and limits; each starts off and without an interval.
class TimerFactory {
public:
    virtual ~TimerFactory() = default;

    virtual std::unique_ptr<TimerControl> createTimer() = 0;
};
