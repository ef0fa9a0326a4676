#pragma once

#include "platform/Platform.h"
#include "platform/qt/QtBrowserControl.h"
#include "platform/qt/QtByteStreamFactory.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtHttpRequestFactory.h"
#include "platform/qt/QtMessagePump.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtTimerControl.h"
#include "platform/qt/QtTransferControl.h"
#include "platform/qt/SharedCookieJar.h"

#include <QNetworkAccessManager>

// The real platform objects. All requests of the program go through one
// network manager, whose cookie jar mirrors the browser's store, so the
// login made in the browser is seen by every request.
class QtPlatform {
public:
    QtPlatform();

    Platform platform();
    QtBrowserControl& browser() { return m_browser; }

private:
    QNetworkAccessManager m_network;
    SharedCookieJar* m_cookieJar;
    QtBrowserControl m_browser;
    QtTransferControl m_inet1;
    QtTransferControl m_inet2;
    QtHttpRequestFactory m_requests;
    QtByteStreamFactory m_streams;
    QtClock m_clock;
    QtMessagePump m_pump;
    QtShell m_shell;
    QtTimerControl m_timer1;
    QtTimerControl m_timer2;
};
