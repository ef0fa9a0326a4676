#include "platform/qt/CurlWebHook.h"

#include "platform/qt/CurlCall.h"

#include <QTimer>

CurlWebHook::CurlWebHook(CurlMulti& multi, std::chrono::milliseconds limit)
    : m_multi(multi)
    , m_limit(limit)
{
}

CurlWebHook::~CurlWebHook() = default;

void CurlWebHook::call(const QString& address, const QByteArray& json,
                       std::function<void(int status)> done)
{
    auto call = std::make_unique<CurlCall>(m_multi, nullptr, BodyLimit{});
    CurlCall* running = call.get();
    call->setJsonBody(json);
    call->onFinished([this, running, done](const HttpAnswer& answer) {
        end(running);
        done(answer.status);
    });
    if (!call->start(address)) {
        done(0);
        return;
    }
    m_calls.push_back(std::move(call));
    QTimer::singleShot(m_limit, &m_timers, [this, running, done] {
        if (end(running))
            done(0);
    });
}

bool CurlWebHook::end(CurlCall* call)
{
    return m_calls.remove_if([call](const auto& c) { return c.get() == call; }) > 0;
}
