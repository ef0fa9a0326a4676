// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/SharedCookieJar.h"

bool SharedCookieJar::setCookiesFromUrl(const QList<QNetworkCookie>& cookies, const QUrl& url)
{
    // One cookie at a time, because the base only tells whether any was stored
    // and the browser must learn exactly the ones that were.
    bool stored = false;
    for (const QNetworkCookie& cookie : cookies) {
        if (!QNetworkCookieJar::setCookiesFromUrl({cookie}, url))
            continue;
        stored = true;
        QNetworkCookie normalized = cookie;
        normalized.normalize(url);
        Q_EMIT cookieReceived(normalized);
    }
    return stored;
}
