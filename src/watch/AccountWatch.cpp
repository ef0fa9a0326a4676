#include "watch/AccountWatch.h"

#include "platform/BrowserControl.h"
#include "platform/TimerControl.h"

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
    , m_platform(platform)
    , m_endpoints(usable(endpoints))
    , m_state(platform.timer1, platform.timer2)
    , m_accountPages(platform.accountRequests, platform.streams, platform.pump, m_state,
                     m_endpoints.homePagePrefixes())
    , m_shopPages(platform.shopRequests, platform.streams, platform.pump, m_state,
                  m_endpoints.homePagePrefixes())
    , m_scanCycle(m_state, m_endpoints, m_accountPages, m_shopPages, platform.inet1, platform.clock,
                  platform.pump)
    , m_pageTracking(m_state, m_endpoints, platform.browser)
    , m_keepAlive(m_state, m_endpoints, platform.inet2)
{
    // The keep-alive's rhythm runs from the start; the scan timer waits for a login.
    m_state.Timer2.setInterval(KeepAliveTickMs);
    m_state.Timer2.setEnabled(true);

    connect(&m_state.Timer1, &TimerControl::Timer, this, [this] { m_scanCycle.Timer1_Timer(); });
    connect(&m_state.Timer2, &TimerControl::Timer, this, [this] { m_keepAlive.Timer2_Timer(); });
    BrowserControl& browser = platform.browser;
    connect(&browser, &BrowserControl::StatusTextChange, this,
            [this](const QString& text) { m_pageTracking.WebBrowser1_StatusTextChange(text); });
    connect(&browser, &BrowserControl::NewWindow2, this,
            [this](const QString& requested, bool& cancel) {
                m_pageTracking.WebBrowser1_NewWindow2(requested, cancel);
            });
    connect(&browser, &BrowserControl::DocumentComplete, this,
            [this] { m_pageTracking.WebBrowser1_DocumentComplete(); });
}
