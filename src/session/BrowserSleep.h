// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <memory>

class BrowserControl;
class TimerControl;
class TimerFactory;
class WindowState;

// Puts the login browser to sleep while the watch scans and nobody uses it:
// the scan and the keep-alive make their own requests with the session's
// cookies, so the page and its renderer only hold memory then. The browser
// sleeps once the browser area has had no mouse or keyboard input for the
// idle time while scanning; it wakes at the next input and before the
// program navigates it, as it does at once when the session is lost, so
// that the login form shows.
class BrowserSleep : public QObject {
    Q_OBJECT

public:
    static constexpr int DefaultIdleMs = 60000;

    BrowserSleep(WindowState& state, BrowserControl& browser, TimerFactory& timers,
                 QObject* parent = nullptr);
    ~BrowserSleep() override;

    // 0: the browser never sleeps.
    void setIdleTime(int milliseconds);
    bool asleep() const { return m_asleep; }

    // Input in the browser area, or a navigation about to start: the browser
    // wakes if it sleeps, and the idle time counts from now.
    void wake();

Q_SIGNALS:
    // Announced while the page still shows, just before the browser sleeps,
    // and just after it woke.
    void asleepChanged(bool asleep);

private:
    void sleep();
    // The idle time counts while scanning and awake, from now.
    void countAnew();

    WindowState& m_state;
    BrowserControl& m_browser;
    std::unique_ptr<TimerControl> m_idle;
    bool m_asleep = false;
};
