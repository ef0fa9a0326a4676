#pragma once

#include "platform/HttpRequest.h"

#include <chrono>

class QNetworkAccessManager;

class QtHttpRequestFactory : public HttpRequestFactory {
public:
    // A reply whose request is dropped goes on for `leftBehindLimit` at most,
    // so a server that never answers cannot pile replies up.
    explicit QtHttpRequestFactory(QNetworkAccessManager& network,
                                  std::chrono::milliseconds leftBehindLimit = DroppedRequestLimit);

    std::unique_ptr<HttpRequest> createRequest() override;

private:
    QNetworkAccessManager& m_network;
    std::chrono::milliseconds m_leftBehindLimit;
};
