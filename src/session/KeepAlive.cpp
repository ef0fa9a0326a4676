// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/KeepAlive.h"

#include "platform/TimerControl.h"
#include "state/Endpoints.h"
#include "state/WindowState.h"
#include "web/TransferControl.h"

KeepAlive::KeepAlive(WindowState& state, const Endpoints& endpoints, TransferControl& inet2,
                     QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_endpoints(endpoints)
    , m_inet2(inet2)
{
}

void KeepAlive::Timer2_Timer()
{
    if (m_state.CurrentUrl.isEmpty())
        return;
    if (++m_state.RefreshTicks != TicksBetweenRefreshes)
        return;
    refresh();
}

void KeepAlive::refresh()
{
    m_state.setActivity(Activity::Refreshing);
    // Switched off and on again, so the next scan tick comes one full period
    // after the refresh.
    const bool scanTimerOn = m_state.Timer1.Enabled();
    m_state.Timer1.setEnabled(false);
    if (m_inet2.StillExecuting())
        m_inet2.Cancel();
    m_inet2.Execute(m_endpoints.AccountRootUrl);
    m_state.setPage(m_endpoints.PersonalHomeUrl);
    m_state.Timer1.setEnabled(scanTimerOn);
    m_state.RefreshTicks = 0;
    m_state.setActivity(Activity::Idle);
    Q_EMIT refreshed();
}
