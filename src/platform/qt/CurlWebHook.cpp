// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/CurlWebHook.h"

#include "platform/qt/CurlCall.h"

#include <QTimer>

namespace {
// A service answers in a few hundred bytes; what it says is judged from the
// beginning, and the rest is let go as it arrives.
const BodyLimit ReplyLimit{64 * 1024};
} // namespace

CurlWebHook::CurlWebHook(CurlMulti& multi, std::chrono::milliseconds limit)
    : m_multi(multi)
    , m_limit(limit)
{
}

CurlWebHook::~CurlWebHook() = default;

void CurlWebHook::call(const WebHookRequest& request,
                       std::function<void(const WebHookAnswer& answer)> done)
{
    auto call = std::make_unique<CurlCall>(m_multi, nullptr, ReplyLimit);
    CurlCall* running = call.get();
    call->setBody(request.body, request.contentType);
    call->onFinished([this, running, done](const HttpAnswer& answer) {
        end(running);
        done({answer.status, answer.body});
    });
    if (!call->start(request.address)) {
        done({});
        return;
    }
    m_calls.push_back(std::move(call));
    QTimer::singleShot(m_limit, &m_timers, [this, running, done] {
        if (end(running))
            done({});
    });
}

bool CurlWebHook::end(CurlCall* call)
{
    return m_calls.remove_if([call](const auto& c) { return c.get() == call; }) > 0;
}
