#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

// How a request ended.
struct HttpAnswer {
    // The answer's HTTP status; 0 when no whole answer came (no connection,
    // a time-out, a body cut short).
    int status = 0;
    // Where the answer came from after redirects; empty when none came.
    QString address;
    // The body, whatever the status; empty when the caller asked for none.
    QByteArray body;
};

// One GET under way. It reports its end once through finished(), also after
// a transport failure; that signal is its last act, so a slot may destroy
// it. Destroying it before then abandons it: finished() never comes, and the
// request, once sent, still reaches the server.
class HttpRequest : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    void finished(const HttpAnswer& answer);
};

// Starts GET requests. Calls never throw: an address that cannot be
// requested ends at once, as a transport failure, once control returns to the
// event loop.
class HttpClient {
public:
    // Whether the caller reads the body at all.
    enum class Body { Kept, Dropped };

    virtual ~HttpClient() = default;

    virtual std::unique_ptr<HttpRequest> get(const QString& address, Body body = Body::Kept) = 0;
};

// How long a request that was abandoned while running may go on: far beyond
// any real answer, so that a server that never answers cannot pile requests
// up over days.
inline constexpr std::chrono::minutes AbandonedRequestLimit{10};
