// SPDX-License-Identifier: GPL-3.0-or-later

#include "TestClient.h"

#include <QNetworkCookieJar>
#include <QNetworkRequest>
#include <QSignalSpy>
#include <QUrl>

#include <memory>

namespace {

QNetworkRequest request(const QString& url)
{
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(5000);
    return request;
}

} // namespace

TestReply TestClient::get(const QString& url)
{
    return finish(m_network.get(request(url)));
}

TestReply TestClient::postForm(const QString& url, const QByteArray& form)
{
    QNetworkRequest post = request(url);
    post.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    return finish(m_network.post(post, form));
}

TestReply TestClient::send(const QByteArray& method, const QString& url,
                           const QList<std::pair<QByteArray, QByteArray>>& headers,
                           const QByteArray& body)
{
    QNetworkRequest custom = request(url);
    custom.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    for (const auto& [name, value] : headers)
        custom.setRawHeader(name, value);
    return finish(m_network.sendCustomRequest(custom, method, body));
}

QList<QNetworkCookie> TestClient::cookiesFor(const QString& url) const
{
    return m_network.cookieJar()->cookiesForUrl(QUrl(url));
}

TestReply TestClient::finish(QNetworkReply* reply)
{
    const std::unique_ptr<QNetworkReply> owned(reply);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished() && !finished.wait(10000))
        return {QNetworkReply::TimeoutError, 0, {}, {}, {}, {}};

    TestReply result;
    result.error = reply->error();
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.contentType = reply->rawHeader("Content-Type");
    result.location = reply->rawHeader("Location");
    result.setCookies =
        reply->header(QNetworkRequest::SetCookieHeader).value<QList<QNetworkCookie>>();
    result.body = reply->readAll();
    return result;
}
