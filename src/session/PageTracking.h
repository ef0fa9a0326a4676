#pragma once

#include <QObject>
#include <QString>

class BrowserControl;
class WindowState;
struct Endpoints;

// Watches where the embedded browser is. A completed home page means the
// user is logged in, and scanning starts; any other page asks for a login.
class PageTracking : public QObject {
    Q_OBJECT

public:
    PageTracking(WindowState& state, const Endpoints& endpoints, BrowserControl& browser,
                 QObject* parent = nullptr);

    void WebBrowser1_StatusTextChange(const QString& text);
    void WebBrowser1_NewWindow2(const QString& requestedAddress, bool& cancel);
    void WebBrowser1_DocumentComplete();

Q_SIGNALS:
    // A home page completed, the first one or the first since scanning halted.
    void loginDetected();
    // A page that is not a home page completed after a login was detected:
    // the status now asks for a login, and the ticks scan nothing.
    void scanningHalted();

private:
    WindowState& m_state;
    const Endpoints& m_endpoints;
    BrowserControl& m_browser;
    bool m_loggedIn = false;
};
