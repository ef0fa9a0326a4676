// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HttpClient.h"

#include <chrono>

class CurlMulti;
class QNetworkCookieJar;

// GETs through libcurl, each on a connection of its own, so the shop's
// delivery page is called exactly once per request.
class CurlHttpClient : public HttpClient {
public:
    // `jar` may be null. A call whose request is abandoned before its answer
    // begins goes on for `abandonedLimit` at most, so a server that never
    // answers cannot pile calls up.
    CurlHttpClient(CurlMulti& multi, QNetworkCookieJar* jar,
                   std::chrono::milliseconds abandonedLimit = AbandonedRequestLimit);

    std::unique_ptr<HttpRequest> get(const QString& address, const BodyLimit& limit) override;

private:
    CurlMulti& m_multi;
    QNetworkCookieJar* m_jar;
    std::chrono::milliseconds m_abandonedLimit;
};
