// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/browser/BrowserTestSite.h"

#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponse>

namespace {

QHttpServerResponse page(const QByteArray& body)
{
    return QHttpServerResponse("text/html; charset=utf-8",
                               "<!DOCTYPE html><html><body>" + body + "</body></html>");
}

// Absolutely placed so the tests know where to point at them.
const QByteArray windowsPage =
    R"(<a id="blank" href="/other" target="_blank"
          style="position:absolute; left:20px; top:20px; font-size:30px">new window</a>
       <a id="plain" href="/portal/i.htm"
          style="position:absolute; left:20px; top:120px; font-size:30px">portal</a>)";

} // namespace

BrowserTestSite::BrowserTestSite()
{
    m_server.route("/login/form.htm", [this](const QHttpServerRequest& request) {
        remember(request);
        return page(R"(<form method="post" action="/login/check">
                         <input name="user" value="owner">
                         <input type="password" name="password" value="secret">
                       </form>)");
    });
    m_server.route("/login/check", QHttpServerRequest::Method::Post,
                   [this](const QHttpServerRequest& request) {
                       remember(request);
                       QHttpServerResponse response(QHttpServerResponse::StatusCode::Found);
                       response.addHeader("Location", "/portal/i.htm");
                       response.addHeader("Set-Cookie", "SESSION=s3ss10n; Path=/; HttpOnly");
                       return response;
                   });
    m_server.route("/portal/i.htm", [this](const QHttpServerRequest& request) {
        remember(request);
        return page("<p>portal</p>");
    });
    m_server.route("/windows.htm", [this](const QHttpServerRequest& request) {
        remember(request);
        return page(windowsPage);
    });
    m_server.route("/other", [this](const QHttpServerRequest& request) {
        remember(request);
        return page("<p>other</p>");
    });
    m_server.route("/api/records", [this](const QHttpServerRequest& request) {
        remember(request);
        return QHttpServerResponse("application/json", "[]");
    });
    m_server.route("/api/token", [this](const QHttpServerRequest& request) {
        remember(request);
        QHttpServerResponse response("application/json", "{}");
        response.addHeader("Set-Cookie", "TOKEN=t0k3n; Path=/; HttpOnly");
        return response;
    });
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl BrowserTestSite::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
}

void BrowserTestSite::remember(const QHttpServerRequest& request)
{
    m_cookieHeaders.insert(request.url().path(), request.value("Cookie"));
}
