#include "platform/qt/QtHttpRequestFactory.h"

#include "platform/qt/QtHttpRequest.h"

QtHttpRequestFactory::QtHttpRequestFactory(QNetworkAccessManager& network,
                                           std::chrono::milliseconds leftBehindLimit)
    : m_network(network)
    , m_leftBehindLimit(leftBehindLimit)
{
}

std::unique_ptr<HttpRequest> QtHttpRequestFactory::createRequest()
{
    return std::make_unique<QtHttpRequest>(m_network, m_leftBehindLimit);
}
