#include "session/PageTracking.h"

#include "platform/BrowserControl.h"
#include "platform/TimerControl.h"
#include "state/Endpoints.h"
#include "state/SettingValues.h"
#include "state/StatusTexts.h"
#include "state/WindowState.h"

#include <utility>

PageTracking::PageTracking(WindowState& state, const Endpoints& endpoints, BrowserControl& browser,
                           QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_endpoints(endpoints)
    , m_browser(browser)
{
}

void PageTracking::WebBrowser1_StatusTextChange(const QString& text)
{
    m_state.LinkUrl = text;
}

void PageTracking::WebBrowser1_NewWindow2(const QString& requestedAddress, bool& cancel)
{
    // Everything stays in the one embedded browser. The hovered link is only
    // a guess at the address, for when the engine does not name it.
    cancel = true;
    m_browser.Navigate(requestedAddress.isEmpty() ? m_state.LinkUrl : requestedAddress);
}

void PageTracking::WebBrowser1_DocumentComplete()
{
    // The top-level address decides, whichever frame completed.
    const QString address = m_browser.LocationURL();
    m_state.setPage(address.left(Endpoints::HomePrefixLength));
    m_state.CurrentUrl = address;

    if (!m_endpoints.homePagePrefixes().contains(m_state.page())) {
        m_state.setStatus(LoginRequestStatus);
        if (std::exchange(m_loggedIn, false))
            Q_EMIT scanningHalted();
        return;
    }

    m_state.setPageBoxShown(true);
    m_state.Timer1.setEnabled(true);
    m_state.Timer1.setInterval(scanIntervalMilliseconds(m_state.scanInterval()));
    m_state.setStopButtonShown(true);
    m_state.setStartButtonShown(false);
    m_state.setStatus(ScanningStatus);
    if (!std::exchange(m_loggedIn, true))
        Q_EMIT loginDetected();
}
