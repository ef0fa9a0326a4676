// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/KeepAlive.h"

#include "platform/TimerControl.h"
#include "session/PageTracking.h"
#include "state/Endpoints.h"
#include "state/WindowState.h"
#include "web/TransferControl.h"

KeepAlive::KeepAlive(WindowState& state, const Endpoints& endpoints, TransferControl& inet2,
                     const PageTracking& tracking, TimerControl& timer1, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_endpoints(endpoints)
    , m_inet2(inet2)
    , m_tracking(tracking)
    , m_timer1(timer1)
{
}

void KeepAlive::Timer2_Timer()
{
    if (m_tracking.CurrentUrl().isEmpty())
        return;
    if (++RefreshTicks != TicksBetweenRefreshes)
        return;
    refresh();
}

void KeepAlive::refresh()
{
    m_state.setActivity(Activity::Refreshing);
    // Switched off and on again, so the next scan tick comes one full period
    // after the refresh.
    const bool scanTimerOn = m_timer1.Enabled();
    m_timer1.setEnabled(false);
    m_inet2.Cancel();
    m_inet2.Execute(m_endpoints.AccountRootUrl);
    m_state.setPage(m_endpoints.PersonalHomeUrl);
    m_timer1.setEnabled(scanTimerOn);
    RefreshTicks = 0;
    m_state.setActivity(Activity::Idle);
    Q_EMIT refreshed();
}
