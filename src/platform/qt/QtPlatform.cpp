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
    , m_inet1(m_network)
    , m_inet2(m_network)
    , m_requests(m_network)
{
}

Platform QtPlatform::platform()
{
    return {m_browser, m_inet1, m_inet2, m_requests, m_requests, m_streams,
            m_clock,   m_pump,  m_shell, m_timer1,   m_timer2};
}
