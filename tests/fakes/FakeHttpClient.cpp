// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeHttpClient.h"

#include "platform/LimitedBody.h"

namespace {

class FakeHttpRequest : public HttpRequest {
public:
    FakeHttpRequest(FakeClock& clock, int& abandoned, const QString& address,
                    const FakeResponse& response, const BodyLimit& limit)
        : m_clock(clock)
        , m_abandoned(abandoned)
    {
        if (response.never)
            return;
        LimitedBody body(limit);
        const HttpAnswer answer =
            body.take(response.body)
                ? body.answer(response.status,
                              response.finalAddress.isEmpty() ? address : response.finalAddress)
                : HttpAnswer{};
        m_pending = m_clock.schedule(response.delayMs, [this, answer] {
            m_pending = 0;
            m_answered = true;
            Q_EMIT finished(answer);
        });
    }

    ~FakeHttpRequest() override
    {
        m_clock.cancel(m_pending);
        if (!m_answered)
            ++m_abandoned;
    }

private:
    FakeClock& m_clock;
    int& m_abandoned;
    FakeClock::Handle m_pending = 0;
    bool m_answered = false;
};

} // namespace

std::unique_ptr<HttpRequest> FakeHttpClient::get(const QString& address, const BodyLimit& limit)
{
    sent.append(address);
    return std::make_unique<FakeHttpRequest>(m_clock, abandoned, address, respond(address), limit);
}
