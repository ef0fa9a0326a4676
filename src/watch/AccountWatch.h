#pragma once

#include "platform/Platform.h"
#include "scan/ScanCycle.h"
#include "session/KeepAlive.h"
#include "session/PageTracking.h"
#include "state/Endpoints.h"
#include "state/WindowState.h"
#include "web/PageFetch.h"

#include <QObject>

// The program without its window: the shared state, and the scan, the page
// tracking and the keep-alive wired to the timers and the browser that drive
// them. The window binds to state(); a journal or an alarm subscribes to the
// handlers' events.
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

private:
    const Platform m_platform;
    const Endpoints m_endpoints;
    WindowState m_state;
    PageFetch m_accountPages;
    PageFetch m_shopPages;
    ScanCycle m_scanCycle;
    PageTracking m_pageTracking;
    KeepAlive m_keepAlive;
};
