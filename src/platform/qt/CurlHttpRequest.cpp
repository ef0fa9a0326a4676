#include "platform/qt/CurlHttpRequest.h"

#include "platform/qt/CurlMulti.h"

namespace {

constexpr int Opened = 1;
constexpr int Done = 4;

} // namespace

CurlHttpRequest::CurlHttpRequest(CurlMulti& multi, QNetworkCookieJar* jar,
                                 std::chrono::milliseconds leftBehindLimit)
    : m_multi(multi)
    , m_jar(jar)
    , m_leftBehindLimit(leftBehindLimit)
{
}

CurlHttpRequest::~CurlHttpRequest()
{
    leaveCallBehind();
}

void CurlHttpRequest::Open(const QString& method, const QString& address, bool /*async*/)
{
    // Every request runs asynchronously; the caller polls ReadyState().
    leaveCallBehind();
    m_method = method;
    m_address = address;
    m_body.clear();
    m_status = 0;
    m_responseUrl.clear();
    m_state = Opened;
}

void CurlHttpRequest::send()
{
    if (m_state != Opened || m_call || m_method.compare(u"GET", Qt::CaseInsensitive) != 0)
        return;
    auto call = std::make_unique<CurlCall>(m_multi, m_jar, true);
    call->onFinished([this](const CurlCall::Answer& answer) { finish(answer); });
    if (call->start(m_address))
        m_call = std::move(call);
    else
        m_state = Done;
}

void CurlHttpRequest::finish(const CurlCall::Answer& answer)
{
    m_body = answer.body;
    m_status = answer.status;
    m_responseUrl = answer.url.toString(QUrl::FullyEncoded);
    m_state = Done;
    m_call.reset();
}

void CurlHttpRequest::leaveCallBehind()
{
    // The shop must still get a call whose answer nobody waits for any more.
    if (m_call)
        m_multi.leaveBehind(std::move(m_call), m_leftBehindLimit);
}
