// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <memory>

class BrowserControl;
class TimerControl;
class TimerFactory;
class WindowState;
struct Endpoints;

// Watches where the embedded browser is: every completed page shows in the
// page box, a home page is reported, any other page is noted as what the
// owner sees while a login is awaited. The account's home page, when the
// program itself opens it and it fails to load, is loaded again every 30 s
// until it loads.
class PageTracking : public QObject {
    Q_OBJECT

public:
    static constexpr int RetryMs = 30000;

    PageTracking(WindowState& state, const Endpoints& endpoints, BrowserControl& browser,
                 TimerFactory& timers, QObject* parent = nullptr);
    ~PageTracking() override;

    // Sends the browser to the personal home page.
    void openHomePage();

    // The whole address of the last page the browser completed.
    const QString& CurrentUrl() const { return m_currentUrl; }
    // The browser's last status text: the link under the pointer.
    const QString& LinkUrl() const { return m_linkUrl; }

    void WebBrowser1_StatusTextChange(const QString& text);
    void WebBrowser1_NewWindow2(const QString& requestedAddress);
    void WebBrowser1_DocumentComplete(bool loaded);

Q_SIGNALS:
    // The program is about to send the browser to the home page.
    void openingHomePage();
    // A home page completed: the account is logged in.
    void homePageCompleted();

private:
    WindowState& m_state;
    const Endpoints& m_endpoints;
    BrowserControl& m_browser;
    std::unique_ptr<TimerControl> m_retry;
    QString m_currentUrl;
    QString m_linkUrl;
    // The next completion is of a load the program started.
    bool m_ownLoad = false;
};
