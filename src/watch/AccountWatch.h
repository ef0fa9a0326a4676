// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/TimerControl.h"
#include "scan/ScanCycle.h"
#include "session/BrowserSleep.h"
#include "session/KeepAlive.h"
#include "session/PageTracking.h"
#include "state/Endpoints.h"
#include "state/WindowState.h"
#include "watch/ScanSchedule.h"
#include "web/PageFetch.h"
#include "web/TransferControl.h"

#include <QObject>

#include <memory>

// The program without its window: the scan state and the shared state, and
// the scan, the page tracking, the keep-alive and the browser's sleep wired
// to the timers and the browser that drive them. It moves the scan state: a
// login starts scanning, a record page sent elsewhere means the session is
// lost, Stop holds until Start. The window binds to state(); a journal or an
// alarm subscribes to the state's and the handlers' events.
class AccountWatch : public QObject {
    Q_OBJECT

public:
    // Throws std::invalid_argument when the endpoints cannot be used.
    AccountWatch(const Platform& platform, const Endpoints& endpoints, QObject* parent = nullptr);

    const Platform& platform() const { return m_platform; }
    const Endpoints& endpoints() const { return m_endpoints; }
    WindowState& state() { return m_state; }
    ScanCycle& scanCycle() { return m_scanCycle; }
    PageTracking& pageTracking() { return m_pageTracking; }
    KeepAlive& keepAlive() { return m_keepAlive; }
    BrowserSleep& browserSleep() { return m_browserSleep; }
    ScanSchedule& schedule() { return m_schedule; }

    // The scan timer and the keep-alive timer. The schedule sets the scan
    // timer's period; the keep-alive holds it still while it refreshes.
    const std::unique_ptr<TimerControl> Timer1;
    const std::unique_ptr<TimerControl> Timer2;

    // Start resumes scanning after a Stop; Stop holds until Start. A scan
    // under way finishes the payment whose first call went out.
    void start();
    void stop();

private:
    void onHomePageCompleted();
    void onRecordPageRedirected();

    const Platform m_platform;
    const Endpoints m_endpoints;
    WindowState m_state;
    TransferControl m_inet1;
    TransferControl m_inet2;
    PageFetch m_accountPages;
    PageFetch m_shopPages;
    ScanCycle m_scanCycle;
    PageTracking m_pageTracking;
    KeepAlive m_keepAlive;
    BrowserSleep m_browserSleep;
    ScanSchedule m_schedule;
    // The last lost session came back without a login: the record page is
    // sent elsewhere for another reason, and that is no lost session until
    // the page has been read again.
    bool m_redirectsWithoutLogout = false;
};
