#include "session/KeepAlive.h"

#include "platform/TimerControl.h"
#include "platform/TransferControl.h"
#include "state/Endpoints.h"
#include "state/StatusTexts.h"
#include "state/WindowState.h"

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
    m_state.setStatus(RefreshingStatus);
    m_state.Timer1.setEnabled(false);
    if (m_inet2.StillExecuting())
        m_inet2.Cancel();
    m_inet2.Execute(m_endpoints.AccountRootUrl, QStringLiteral("get"));
    m_state.setStatus(ScanningStatus);
    // A home address in the page box also makes a waiting fetch give up.
    m_state.setPage(m_endpoints.PersonalHomeUrl);
    m_state.Timer1.setEnabled(true);
    m_state.RefreshTicks = 0;
    Q_EMIT refreshed();
}
