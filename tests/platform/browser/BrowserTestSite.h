// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QHttpServer>
#include <QString>
#include <QUrl>

// A small web site on 127.0.0.1: a login form whose answer sets a session
// cookie, a portal page, a page with links that ask for new windows, and an
// address that sets a cookie on the program's own requests. It remembers the
// Cookie header each path was last asked with.
class BrowserTestSite {
public:
    BrowserTestSite();

    bool isListening() const { return m_port != 0; }
    QUrl url(const QString& path) const;
    // Empty when the path was never asked for or came without cookies.
    QByteArray cookieHeaderOf(const QString& path) const { return m_cookieHeaders.value(path); }
    bool wasRequested(const QString& path) const { return m_cookieHeaders.contains(path); }

private:
    void remember(const QHttpServerRequest& request);

    QHttpServer m_server;
    quint16 m_port = 0;
    QHash<QString, QByteArray> m_cookieHeaders;
};
