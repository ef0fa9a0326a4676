#pragma once

#include "platform/HttpRequest.h"

#include <chrono>

class CurlMulti;
class QNetworkCookieJar;

class CurlHttpRequestFactory : public HttpRequestFactory {
public:
    // `jar` may be null. A call whose request is dropped goes on for
    // `leftBehindLimit` at most, so a server that never answers cannot pile
    // calls up.
    CurlHttpRequestFactory(CurlMulti& multi, QNetworkCookieJar* jar,
                           std::chrono::milliseconds leftBehindLimit = DroppedRequestLimit);

    std::unique_ptr<HttpRequest> createRequest() override;

private:
    CurlMulti& m_multi;
    QNetworkCookieJar* m_jar;
    std::chrono::milliseconds m_leftBehindLimit;
};
