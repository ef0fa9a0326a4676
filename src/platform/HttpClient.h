// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

// How much of an answer's body a request reads. A body is never taken whole
// on trust: a wrong address can point at a download of any size.
struct BodyLimit {
    static constexpr qint64 DefaultReadAtMost = 64 * 1024 * 1024;

    // Bytes kept from the start of the body; the rest is read and let go.
    qsizetype keep = 0;
    // Reading ends past this many bytes, and the request fails as one whose
    // body was cut short.
    qint64 readAtMost = DefaultReadAtMost;
    // Looked for in the bytes past `keep` as they stream by, so that a word
    // the caller looks for in the body is found there too.
    QByteArray sought{};
};

// How a request ended.
struct HttpAnswer {
    // The answer's HTTP status; 0 when no whole answer came (no connection,
    // a time-out, a body cut short or longer than the limit reads).
    int status = 0;
    // Where the answer came from after redirects; empty when none came.
    QString address;
    // The body, whatever the status, as far as the limit keeps it.
    QByteArray body;
    // The body went on past what the limit keeps: `body` is its beginning.
    bool cut = false;
    // The limit's sought bytes came past what was kept (possibly beginning
    // in its last bytes).
    bool soughtInRest = false;
};

// One GET under way. It reports its end once through finished(), also after
// a transport failure; that signal is its last act, so a slot may destroy
// it. Destroying it before then abandons it: finished() never comes, the
// request, once sent, still reaches the server, and reading ends as soon as
// the answer begins.
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
    virtual ~HttpClient() = default;

    virtual std::unique_ptr<HttpRequest> get(const QString& address, const BodyLimit& limit) = 0;
};

// How long a request that was abandoned before its answer began may go on:
// far beyond any real answer, so that a server that never answers cannot
// pile requests up over days.
inline constexpr std::chrono::minutes AbandonedRequestLimit{10};
