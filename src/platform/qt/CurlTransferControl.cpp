#include "platform/qt/CurlTransferControl.h"

#include "platform/qt/CurlCall.h"

CurlTransferControl::CurlTransferControl(CurlMulti& multi, QNetworkCookieJar* jar,
                                         std::chrono::milliseconds limit)
    : m_multi(multi)
    , m_jar(jar)
    , m_limit(limit)
{
    m_limitTimer.setSingleShot(true);
    QObject::connect(&m_limitTimer, &QTimer::timeout, &m_limitTimer, [this] { Cancel(); });
}

CurlTransferControl::~CurlTransferControl()
{
    Cancel();
}

void CurlTransferControl::Execute(const QString& address, const QString& operation)
{
    if (m_call || operation.compare(u"get", Qt::CaseInsensitive) != 0)
        return;
    // Nobody reads the answer, so it is not kept.
    auto call = std::make_unique<CurlCall>(m_multi, m_jar, false);
    call->onFinished([this](const CurlCall::Answer&) { Cancel(); });
    if (!call->start(address))
        return;
    m_call = std::move(call);
    m_limitTimer.start(m_limit);
}

void CurlTransferControl::Cancel()
{
    m_limitTimer.stop();
    m_call.reset();
}
