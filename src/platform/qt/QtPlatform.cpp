#include "platform/qt/QtPlatform.h"

namespace {

SharedCookieJar* installSharedJar(QNetworkAccessManager& network)
{
    auto* jar = new SharedCookieJar;
    network.setCookieJar(jar); // the manager takes ownership
    return jar;
}

} // namespace

QtPlatform::QtPlatform()
    : m_cookieJar(installSharedJar(m_network))
    , m_browser(*m_cookieJar)
    , m_inet1(m_curl, m_cookieJar)
    , m_inet2(m_network)
    , m_accountRequests(m_network)
    , m_shopRequests(m_curl, m_cookieJar)
    , m_webHook(m_curl)
{
}

Platform QtPlatform::platform()
{
    return {m_browser, m_inet1, m_inet2, m_accountRequests, m_shopRequests, m_streams,
            m_clock,   m_pump,  m_shell, m_timer1,          m_timer2,       m_webHook};
}
