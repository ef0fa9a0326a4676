// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/BrowserControl.h"

#include <QPointer>

class QNetworkCookie;
class QWebEngineNewWindowRequest;
class QWebEngineProfile;
class QWebEngineView;
class SharedCookieJar;

// The embedded browser on QtWebEngine. It keeps a private, memory-only cookie
// store that is mirrored both ways with the program's own cookie jar, and it
// never opens a second window: pages asking for one are reported instead.
class QtBrowserControl : public BrowserControl {
    Q_OBJECT

public:
    explicit QtBrowserControl(SharedCookieJar& jar, QObject* parent = nullptr);
    ~QtBrowserControl() override;

    void Navigate(const QString& address) override;
    QString LocationURL() const override;
    void Sleep() override;
    void Wake() override;
    // The view to place in the window.
    QWidget* view();

private:
    void onLoadFinished(bool ok);
    void onNewWindowRequested(QWebEngineNewWindowRequest& request);
    void giveCookieToBrowser(const QNetworkCookie& cookie);

    QWebEngineProfile* m_profile;
    QPointer<QWebEngineView> m_view;
    bool m_lastLoadFailed = false;
};
