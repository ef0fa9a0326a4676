#include "platform/qt/QtHttpRequestFactory.h"

#include "platform/qt/QtHttpRequest.h"

QtHttpRequestFactory::QtHttpRequestFactory(QNetworkAccessManager& network)
    : m_network(network)
{
}

std::unique_ptr<HttpRequest> QtHttpRequestFactory::createRequest()
{
    return std::make_unique<QtHttpRequest>(m_network);
}
