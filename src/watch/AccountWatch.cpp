// SPDX-License-Identifier: GPL-3.0-or-later

#include "watch/AccountWatch.h"

#include "platform/BrowserControl.h"

#include <stdexcept>

namespace {

constexpr int KeepAliveTickMs = 1000;

const Endpoints& usable(const Endpoints& endpoints)
{
    if (const QString error = endpoints.validationError(); !error.isEmpty())
        throw std::invalid_argument(error.toStdString());
    return endpoints;
}

} // namespace

AccountWatch::AccountWatch(const Platform& platform, const Endpoints& endpoints, QObject* parent)
    : QObject(parent)
    , Timer1(platform.timers.createTimer())
    , Timer2(platform.timers.createTimer())
    , m_platform(platform)
    , m_endpoints(usable(endpoints))
    , m_inet1(platform.shopCalls, platform.timers)
    , m_inet2(platform.accountPages, platform.timers)
    , m_accountPages(platform.accountPages, ScanCycle::RecordPageLimit)
    , m_shopPages(platform.shopCalls, ScanCycle::ShopReplyLimit)
    , m_scanCycle(m_state, m_endpoints, m_accountPages, m_shopPages, m_inet1, platform.clock,
                  platform.timers)
    , m_pageTracking(m_state, m_endpoints, platform.browser, platform.timers)
    , m_keepAlive(m_state, m_endpoints, m_inet2, m_pageTracking, *Timer1)
    , m_browserSleep(m_state, platform.browser, platform.timers)
    , m_schedule(m_state, *Timer1, platform.timers)
{
    // The keep-alive's rhythm runs from the start; the scan timer waits for a login.
    Timer2->setInterval(KeepAliveTickMs);
    Timer2->setEnabled(true);

    connect(Timer1.get(), &TimerControl::Timer, this, [this] {
        if (m_schedule.tick())
            m_scanCycle.Timer1_Timer();
    });
    connect(Timer2.get(), &TimerControl::Timer, this, [this] { m_keepAlive.Timer2_Timer(); });
    BrowserControl& browser = platform.browser;
    connect(&browser, &BrowserControl::StatusTextChange, &m_pageTracking,
            &PageTracking::WebBrowser1_StatusTextChange);
    connect(&browser, &BrowserControl::NewWindow2, &m_pageTracking,
            &PageTracking::WebBrowser1_NewWindow2);
    connect(&browser, &BrowserControl::DocumentComplete, &m_pageTracking,
            &PageTracking::WebBrowser1_DocumentComplete);

    connect(&m_pageTracking, &PageTracking::homePageCompleted, this,
            &AccountWatch::onHomePageCompleted);
    // A sleeping page given another address would load its old one first.
    // This also wakes it when the session is lost, so the login form shows.
    connect(&m_pageTracking, &PageTracking::openingHomePage, &m_browserSleep, &BrowserSleep::wake);
    connect(&m_keepAlive, &KeepAlive::refreshed, &m_scanCycle, &ScanCycle::giveUpWaitingFetch);
    connect(&m_scanCycle, &ScanCycle::recordPageRedirected, this,
            &AccountWatch::onRecordPageRedirected);
    connect(&m_scanCycle, &ScanCycle::scanEnded, this, [this](int, bool pageRead) {
        if (pageRead)
            m_redirectsWithoutLogout = false;
    });
}

void AccountWatch::start()
{
    if (m_state.scanState() == ScanState::Stopped)
        m_schedule.resume();
}

void AccountWatch::stop()
{
    if (m_state.scanState() == ScanState::WaitingForLogin)
        return;
    m_state.setScanState(ScanState::Stopped);
    m_state.setPage(QString());
}

void AccountWatch::onHomePageCompleted()
{
    const ScanState state = m_state.scanState();
    if (state == ScanState::WaitingForLogin || state == ScanState::SessionLost) {
        // Straight back to a home page, with no login form in between: the
        // session was not what sent the record page away.
        if (state == ScanState::SessionLost && m_state.browserNote() != BrowserNote::OtherPage)
            m_redirectsWithoutLogout = true;
        m_state.setPageBoxShown(true);
        m_schedule.resume();
        m_state.setBrowserNote(BrowserNote::None);
    }
    m_scanCycle.giveUpWaitingFetch();
}

void AccountWatch::onRecordPageRedirected()
{
    // Redirects that are no lost session count as unreadable pages instead.
    if (m_redirectsWithoutLogout || m_state.scanState() != ScanState::Scanning)
        return;
    m_state.setBrowserNote(BrowserNote::None);
    m_state.setScanState(ScanState::SessionLost);
    // The login form shows in the browser once; the next login is awaited.
    m_pageTracking.openHomePage();
}
