// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkReply>
#include <QString>

struct TestReply {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray contentType;
    QByteArray location;
    // The Set-Cookie headers as sent, one per cookie.
    QList<QNetworkCookie> setCookies;
    QByteArray body;
};

// A browser-like HTTP client for the local servers: keeps cookies, keeps
// connections alive, and does not follow redirects, so tests see them.
class TestClient {
public:
    TestReply get(const QString& url);
    TestReply postForm(const QString& url, const QByteArray& form);
    // A request with these headers besides the client's own, Host among them.
    TestReply send(const QByteArray& method, const QString& url,
                   const QList<std::pair<QByteArray, QByteArray>>& headers, const QByteArray& body);

    // The cookies the client would send to `url`.
    QList<QNetworkCookie> cookiesFor(const QString& url) const;

private:
    TestReply finish(QNetworkReply* reply);

    QNetworkAccessManager m_network;
};
