#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

// How long a request that was dropped while running may go on: far beyond
// any real answer, so that a server that never answers cannot pile requests
// up over days.
inline constexpr std::chrono::minutes DroppedRequestLimit{10};

// An asynchronous GET whose completion is polled. ReadyState() reaches 4 when
// the request has ended, also after a transport failure (then with an empty
// body). Calls never throw; a call that cannot be carried out does nothing.
// Dropping a request that is still running does not stop it: it goes on to
// its end, or to a generous limit, on its own.
class HttpRequest {
public:
    virtual ~HttpRequest() = default;

    virtual void Open(const QString& method, const QString& address, bool async) = 0;
    virtual void send() = 0;
    virtual int ReadyState() const = 0;
    // The body of the answer, whatever its status.
    virtual QByteArray responseBody() const = 0;
    // The answer's HTTP status; 0 while there is none, and after a transport
    // failure.
    virtual int status() const = 0;
    // The address the answer came from, after redirects; empty while there
    // is none.
    virtual QString responseURL() const = 0;
};

class HttpRequestFactory {
public:
    virtual ~HttpRequestFactory() = default;

    // Null when no request object can be made.
    virtual std::unique_ptr<HttpRequest> createRequest() = 0;
};
