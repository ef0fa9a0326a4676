// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HttpClient.h"
#include "platform/LimitedBody.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QUrl>

#include <curl/curl.h>

#include <functional>

class CurlMulti;
class QNetworkCookieJar;

// One call of one address, the way the shop's delivery page is called: every
// hop goes over a fresh connection that is closed afterwards, so no path
// exists that sends the call twice. Redirects are followed here, hop by hop,
// as Qt's default policy follows them, and every hop takes its cookies from
// the program's jar and gives back the ones its answer sets, and goes
// through the proxy Qt's network access would use for its address.
class CurlCall {
public:
    // How the call ended: status 0, no body and no address when no whole
    // answer came.
    using Finished = std::function<void(const HttpAnswer&)>;

    // `jar` may be null. The body is read under `limit`.
    CurlCall(CurlMulti& multi, QNetworkCookieJar* jar, BodyLimit limit);
    // Stops the call if it still runs, without calling `finished`.
    ~CurlCall();
    CurlCall(const CurlCall&) = delete;
    CurlCall& operator=(const CurlCall&) = delete;

    // Makes the call a POST of `body` as `contentType` rather than a GET;
    // before start().
    void setBody(const QByteArray& body, const QByteArray& contentType);
    // Starts the call. False, with nothing sent, for an address that is not
    // a valid http or https one, or when curl cannot start.
    bool start(const QString& address);
    bool running() const { return m_easy != nullptr; }
    // Whether the answer of the hop under way has begun: the request has
    // reached the server.
    bool answerBegun() const { return m_answerBegun; }
    // From now on the call fails as soon as an answer begins, reading none
    // of it.
    void endAtAnswer() { m_endAtAnswer = true; }
    // Called once, when the call ends; it may free this call.
    void onFinished(Finished finished) { m_finished = std::move(finished); }

private:
    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    bool startHop(const QUrl& url);
    void hopEnded(CURLcode result);
    bool followRedirect(long status, const QByteArray& locationHeader);
    void storeCookies(const QByteArrayList& setCookies) const;
    void finish(const HttpAnswer& answer);

    CurlMulti& m_multi;
    QNetworkCookieJar* m_jar;
    BodyLimit m_limit;
    Finished m_finished;
    QByteArray m_post;
    QByteArray m_contentType;
    CURL* m_easy = nullptr;
    curl_slist* m_headers = nullptr;
    int m_redirects = 0;
    bool m_endAtAnswer = false;
    // Of the hop under way.
    QUrl m_url;
    bool m_answerBegun = false;
    LimitedBody m_body;
};
