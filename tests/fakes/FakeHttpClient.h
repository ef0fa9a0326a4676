// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/FakeClock.h"
#include "platform/HttpClient.h"

#include <QStringList>

#include <functional>

// How the fake network answers one request.
struct FakeResponse {
    FakeResponse(QByteArray body = {}, int status = 200, QString finalAddress = {},
                 qint64 delayMs = 0, bool never = false)
        : body(std::move(body))
        , status(status)
        , finalAddress(std::move(finalAddress))
        , delayMs(delayMs)
        , never(never)
    {
    }
    // A server that never answers.
    static FakeResponse silent() { return {{}, 200, {}, 0, true}; }

    QByteArray body;
    int status;
    // Where the answer came from; empty for the address asked for.
    QString finalAddress;
    // How long the answer takes on the fake clock.
    qint64 delayMs;
    bool never;
};

// Records every request and answers it on the fake clock through `respond`.
class FakeHttpClient : public HttpClient {
public:
    explicit FakeHttpClient(FakeClock& clock)
        : m_clock(clock)
    {
    }

    // The body is read under `limit` as the real clients read it.
    std::unique_ptr<HttpRequest> get(const QString& address, const BodyLimit& limit) override;

    std::function<FakeResponse(const QString& address)> respond = [](const QString&) {
        return FakeResponse{};
    };
    // Every address requested, in order.
    QStringList sent;
    // Requests let go before their answer came.
    int abandoned = 0;

private:
    FakeClock& m_clock;
};
