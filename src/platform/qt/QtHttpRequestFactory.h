#pragma once

#include "platform/HttpRequest.h"

class QNetworkAccessManager;

class QtHttpRequestFactory : public HttpRequestFactory {
public:
    explicit QtHttpRequestFactory(QNetworkAccessManager& network);

    std::unique_ptr<HttpRequest> createRequest() override;

private:
    QNetworkAccessManager& m_network;
};
