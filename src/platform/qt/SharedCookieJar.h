// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QNetworkCookie>
#include <QNetworkCookieJar>

// The one cookie store of the program's own requests. The embedded browser
// keeps its own store, so the two are mirrored: cookies the browser receives
// come in through insertCookie()/deleteCookie(), which announce nothing, so
// the change is not echoed back to the browser; cookies that replies to our
// requests set are announced through cookieReceived() so the browser can
// take them.
class SharedCookieJar : public QNetworkCookieJar {
    Q_OBJECT

public:
    using QNetworkCookieJar::QNetworkCookieJar;

    bool setCookiesFromUrl(const QList<QNetworkCookie>& cookies, const QUrl& url) override;

Q_SIGNALS:
    // A reply to one of our requests set this cookie (domain and path filled in).
    void cookieReceived(const QNetworkCookie& cookie);
};
