#include "platform/qt/CurlHttpRequestFactory.h"

#include "platform/qt/CurlHttpRequest.h"

CurlHttpRequestFactory::CurlHttpRequestFactory(CurlMulti& multi, QNetworkCookieJar* jar,
                                               std::chrono::milliseconds leftBehindLimit)
    : m_multi(multi)
    , m_jar(jar)
    , m_leftBehindLimit(leftBehindLimit)
{
}

std::unique_ptr<HttpRequest> CurlHttpRequestFactory::createRequest()
{
    return std::make_unique<CurlHttpRequest>(m_multi, m_jar, m_leftBehindLimit);
}
