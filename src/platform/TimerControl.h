#pragma once

#include <QObject>

// A window timer: Timer() every Interval() ms while Enabled(), and never with
// an interval of 0. A tick is an event of its own, so a handler that handles
// events while it waits can receive the next tick of the same timer.
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
