// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

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

    KeepAlive(WindowState& state, const Endpoints& endpoints, TransferControl& inet2,
              QObject* parent = nullptr);

    void Timer2_Timer();

Q_SIGNALS:
    void refreshed();

private:
    void refresh();

    WindowState& m_state;
    const Endpoints& m_endpoints;
    TransferControl& m_inet2;
};
