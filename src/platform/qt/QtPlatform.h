// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/qt/CurlHttpClient.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/CurlWebHook.h"
#include "platform/qt/QtBrowserControl.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtKeychainKeyring.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/qt/SharedCookieJar.h"

#include <QNetworkAccessManager>

// The real platform objects. The account's pages go through one network
// manager, whose cookie jar mirrors the browser's store, so the login made in
// the browser is seen by every request. The shop's two calls go through
// libcurl on fresh connections, since Qt's client can send a GET twice to a
// server that closes its connections; they share the same jar.
class QtPlatform {
public:
    QtPlatform();

    Platform platform();
    QtBrowserControl& browser() { return m_browser; }

private:
    QNetworkAccessManager m_network;
    SharedCookieJar* m_cookieJar;
    QtBrowserControl m_browser;
    // Before the calls made on it.
    CurlMulti m_curl;
    QtHttpClient m_accountPages;
    CurlHttpClient m_shopCalls;
    QtClock m_clock;
    QtTimerFactory m_timers;
    QtShell m_shell;
    CurlWebHook m_webHook;
    QtKeychainKeyring m_keyring;
};
