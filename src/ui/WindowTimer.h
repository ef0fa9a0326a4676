#pragma once

#include <QObject>
#include <QTimer>

// A window timer: ticks every Interval() ms while Enabled(), and never with an
// interval of 0 (a QTimer would then fire continuously). A tick is posted as
// an event of its own, so a handler that handles events while it waits can
// receive the next tick of the same timer.
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

    QTimer m_timer;
    bool m_enabled = false;
    int m_interval = 0;
};
