// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/CurlHttpClient.h"

#include "platform/qt/CurlCall.h"
#include "platform/qt/CurlMulti.h"

#include <QTimer>

namespace {

class CurlHttpRequest : public HttpRequest {
public:
    CurlHttpRequest(CurlMulti& multi, QNetworkCookieJar* jar, const BodyLimit& limit,
                    std::chrono::milliseconds abandonedLimit)
        : m_multi(multi)
        , m_call(std::make_unique<CurlCall>(multi, jar, limit))
        , m_abandonedLimit(abandonedLimit)
    {
        m_call->onFinished([this](const HttpAnswer& answer) { finish(answer); });
    }

    ~CurlHttpRequest() override
    {
        // The shop must still get a call whose answer nobody waits for any more.
        if (m_call)
            m_multi.leaveBehind(std::move(m_call), m_abandonedLimit);
    }

    // A call that cannot start ends as a transport failure, once the caller
    // has had the request and connected to it.
    void start(const QString& address)
    {
        if (m_call->start(address))
            return;
        m_call.reset();
        QTimer::singleShot(0, this, [this] { Q_EMIT finished({}); });
    }

private:
    void finish(const HttpAnswer& answer)
    {
        // The call is done with; let go of before the signal, which is the last act.
        const auto call = std::move(m_call);
        Q_EMIT finished(answer);
    }

    CurlMulti& m_multi;
    std::unique_ptr<CurlCall> m_call;
    std::chrono::milliseconds m_abandonedLimit;
};

} // namespace

CurlHttpClient::CurlHttpClient(CurlMulti& multi, QNetworkCookieJar* jar,
                               std::chrono::milliseconds abandonedLimit)
    : m_multi(multi)
    , m_jar(jar)
    , m_abandonedLimit(abandonedLimit)
{
}

std::unique_ptr<HttpRequest> CurlHttpClient::get(const QString& address, const BodyLimit& limit)
{
    auto request = std::make_unique<CurlHttpRequest>(m_multi, m_jar, limit, m_abandonedLimit);
    request->start(address);
    return request;
}
