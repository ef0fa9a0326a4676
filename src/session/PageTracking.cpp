// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/PageTracking.h"

#include "platform/BrowserControl.h"
#include "platform/TimerControl.h"
#include "state/Endpoints.h"
#include "state/WindowState.h"

#include <utility>

PageTracking::PageTracking(WindowState& state, const Endpoints& endpoints, BrowserControl& browser,
                           TimerFactory& timers, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_endpoints(endpoints)
    , m_browser(browser)
    , m_retry(timers.createTimer())
{
    m_retry->setInterval(RetryMs);
    connect(m_retry.get(), &TimerControl::Timer, this, &PageTracking::openHomePage);
}

PageTracking::~PageTracking() = default;

void PageTracking::openHomePage()
{
    m_retry->setEnabled(false);
    m_ownLoad = true;
    Q_EMIT openingHomePage();
    m_browser.Navigate(m_endpoints.PersonalHomeUrl);
}

void PageTracking::WebBrowser1_StatusTextChange(const QString& text)
{
    m_linkUrl = text;
}

void PageTracking::WebBrowser1_NewWindow2(const QString& requestedAddress)
{
    // Everything stays in the one embedded browser. The hovered link is only
    // a guess at the address, for when the engine does not name it.
    m_browser.Navigate(requestedAddress.isEmpty() ? m_linkUrl : requestedAddress);
}

void PageTracking::WebBrowser1_DocumentComplete(bool loaded)
{
    // The top-level address decides, whichever frame completed.
    const QString address = m_browser.LocationURL();
    m_state.setPage(address.left(Endpoints::HomePrefixLength));
    m_currentUrl = address;

    // Only the program's own load is tried again: a page the owner asked
    // for that fails is the owner's to retry.
    if (std::exchange(m_ownLoad, false) && !loaded) {
        m_state.setBrowserNote(BrowserNote::LoadFailed);
        m_retry->setEnabled(true);
        return;
    }
    m_retry->setEnabled(false);
    if (m_endpoints.homePagePrefixes().contains(m_state.page())) {
        Q_EMIT homePageCompleted();
        return;
    }
    m_state.setBrowserNote(BrowserNote::OtherPage);
}
