#pragma once

#include "platform/HttpRequest.h"

#include <QStringList>

#include <functional>

// How a fake request answers.
struct FakeResponse {
    FakeResponse(QByteArray answer = {}, int pending = 0)
        : body(std::move(answer))
        , pendingReads(pending)
    {
    }

    QByteArray body;
    // Reads of ReadyState() that still find the request running; negative:
    // it never completes.
    int pendingReads = 0;
    int status = 200;
    // Where the answer came from; empty for the address asked for.
    QString finalAddress;
};

class FakeHttpRequestFactory;

class FakeHttpRequest : public HttpRequest {
public:
    explicit FakeHttpRequest(FakeHttpRequestFactory& factory);

    void Open(const QString& method, const QString& address, bool async) override;
    void send() override;
    int ReadyState() const override;
    QByteArray responseBody() const override;
    int status() const override;
    QString responseURL() const override;

private:
    FakeHttpRequestFactory& m_factory;
    QString m_address;
    bool m_opened = false;
    mutable FakeResponse m_response;
    bool m_sent = false;

    bool completed() const { return m_sent && m_response.pendingReads == 0; }
};

// Records every address requested and answers through `respond`.
class FakeHttpRequestFactory : public HttpRequestFactory {
public:
    std::unique_ptr<HttpRequest> createRequest() override;

    std::function<FakeResponse(const QString& address)> respond = [](const QString&) {
        return FakeResponse{};
    };
    bool creationFails = false;
    // "GET <address>" per send, and "ReadyState" per read, in order.
    QStringList calls;
    QStringList sentAddresses;
};
