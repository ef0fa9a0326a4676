// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class PageTracking;
class TimerControl;
class TransferControl;
class WindowState;
struct Endpoints;

// Refreshes the account session every 121 seconds once the browser has shown
// a page. The scan's timer counts anew from the refresh, and a fetch still
// waiting is given up through refreshed(); the scan state is left as it is.
class KeepAlive : public QObject {
    Q_OBJECT

public:
    static constexpr qint16 TicksBetweenRefreshes = 121;

    // `timer1` is the scan's timer, held still while the session refreshes.
    KeepAlive(WindowState& state, const Endpoints& endpoints, TransferControl& inet2,
              const PageTracking& tracking, TimerControl& timer1, QObject* parent = nullptr);

    void Timer2_Timer();

    // Keep-alive ticks since the last refresh.
    qint16 RefreshTicks = 0;

Q_SIGNALS:
    void refreshed();

private:
    void refresh();

    WindowState& m_state;
    const Endpoints& m_endpoints;
    TransferControl& m_inet2;
    const PageTracking& m_tracking;
    TimerControl& m_timer1;
};
