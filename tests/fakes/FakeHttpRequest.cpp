#include "fakes/FakeHttpRequest.h"

namespace {
constexpr int Completed = 4;
constexpr int Opened = 1;
} // namespace

FakeHttpRequest::FakeHttpRequest(FakeHttpRequestFactory& factory)
    : m_factory(factory)
{
}

void FakeHttpRequest::Open(const QString& method, const QString& address, bool async)
{
    m_factory.calls.append(QStringLiteral("Open %1 %2 %3").arg(method, address).arg(async));
    m_address = address;
    m_opened = true;
}

void FakeHttpRequest::send()
{
    m_factory.calls.append(QStringLiteral("send"));
    if (!m_opened)
        return;
    m_factory.sentAddresses.append(m_address);
    m_response = m_factory.respond(m_address);
    m_sent = true;
}

int FakeHttpRequest::ReadyState() const
{
    m_factory.calls.append(QStringLiteral("ReadyState"));
    if (!m_sent)
        return m_opened ? Opened : 0;
    if (m_response.pendingReads < 0)
        return Opened;
    if (m_response.pendingReads > 0) {
        --m_response.pendingReads;
        return Opened;
    }
    return Completed;
}

QByteArray FakeHttpRequest::responseBody() const
{
    return m_sent ? m_response.body : QByteArray();
}

int FakeHttpRequest::status() const
{
    return completed() ? m_response.status : 0;
}

QString FakeHttpRequest::responseURL() const
{
    if (!completed())
        return {};
    return m_response.finalAddress.isEmpty() ? m_address : m_response.finalAddress;
}

std::unique_ptr<HttpRequest> FakeHttpRequestFactory::createRequest()
{
    if (creationFails)
        return nullptr;
    return std::make_unique<FakeHttpRequest>(*this);
}
