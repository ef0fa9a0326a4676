// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

#include <chrono>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class CurlCall;

// Runs libcurl transfers on the Qt event loop through curl's multi interface:
// curl says which sockets to watch and when to wake it, Qt's notifiers and a
// timer tell it when to go on, so no thread ever waits for the network.
// Must outlive every transfer and call made on it.
class CurlMulti {
public:
    CurlMulti();
    ~CurlMulti();

    // Runs `easy` to its end, then takes it out and calls `done` with curl's
    // result. The handle stays the caller's. False when it cannot start.
    bool start(CURL* easy, std::function<void(CURLcode)> done);
    // Ends a transfer at once; its `done` is not called.
    void stop(CURL* easy);
    // Transfers under way, calls left behind included.
    int transferCount() const { return int(m_transfers.size()); }

    // Takes a running call whose owner has gone: it goes on until its
    // answer begins, or for `limit` at most, and is freed then; one whose
    // answer has begun is freed at once.
    void leaveBehind(std::unique_ptr<CurlCall> call, std::chrono::milliseconds limit);

private:
    struct SocketWatch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };
    struct LeftBehind {
        std::unique_ptr<CurlCall> call;
        QDeadlineTimer deadline;
    };

    static int onSocket(CURL* easy, curl_socket_t socket, int what, void* self, void* socketData);
    static int onTimer(CURLM* multi, long timeoutMs, void* self);
    void watch(curl_socket_t socket, bool read, bool write);
    void watchDirection(QSocketNotifier*& notifier, curl_socket_t socket,
                        QSocketNotifier::Type type, bool enabled);
    void unwatch(curl_socket_t socket);
    void act(curl_socket_t socket, int events);
    void collectFinished();
    void forget(const CurlCall* call);
    void freeExpiredCalls();
    void armLeftBehindTimer();

    CURLM* m_multi = nullptr;
    // Parent of the socket notifiers. A notifier that curl no longer needs is
    // deleted later, since that often happens while it is emitting.
    QObject m_notifiers;
    std::unordered_map<curl_socket_t, SocketWatch> m_sockets;
    QTimer m_timer;
    std::unordered_map<CURL*, std::function<void(CURLcode)>> m_transfers;
    std::vector<LeftBehind> m_leftBehind;
    QTimer m_leftBehindTimer;
};
