// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtPlatform.h"

QtPlatform::QtPlatform()
    : m_cookieJar(new SharedCookieJar)
    , m_browser(*m_cookieJar)
    , m_accountPages(m_network)
    , m_shopCalls(m_curl, m_cookieJar)
    , m_webHook(m_curl)
{
    m_network.setCookieJar(m_cookieJar); // the manager takes ownership
}

Platform QtPlatform::platform()
{
    return {m_browser, m_accountPages, m_shopCalls, m_clock,
            m_timers,  m_shell,        m_webHook,   m_keyring};
}
