#pragma once

#include <QObject>
#include <QTimer>

// A window timer: ticks every Interval() ms while Enabled(), and never with an
// interval of 0 (a QTimer would then fire continuously). A tick is posted as
// an event of its own, so a handler that handles events while it waits can
// receive the next tick of the same timer. Switching the timer off or giving
// it a new interval drops a tick that is already posted: the next one comes
// a full period after the timer runs again.
class WindowTimer : public QObject {
    Q_OBJECT

public:
    explicit WindowTimer(QObject* parent = nullptr);

    bool Enabled() const { return m_enabled; }
    int Interval() const { return m_interval; }
    // Switching on a timer that is on already keeps its countdown.
    void setEnabled(bool enabled);
    // A new interval starts the countdown anew.
    void setInterval(int milliseconds);

Q_SIGNALS:
    void Timer();

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
