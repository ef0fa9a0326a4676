// SPDX-License-Identifier: GPL-3.0-or-later

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
    , m_accountPages(m_network)
    , m_shopCalls(m_curl, m_cookieJar)
    , m_webHook(m_curl)
{
}

Platform QtPlatform::platform()
{
    return {m_browser, m_accountPages, m_shopCalls, m_clock,
            m_timers,  m_shell,        m_webHook,   m_keyring};
}
