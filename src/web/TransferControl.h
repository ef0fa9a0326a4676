// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class HttpClient;
class HttpRequest;
class TimerControl;
class TimerFactory;

// Fire-and-forget GETs, one at a time: Execute() starts one and returns at
// once; nobody reads the answer. A call that runs longer than the limit is
// let go, so one server that never answers cannot keep the control busy.
class TransferControl : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds Limit{60};

    TransferControl(HttpClient& client, TimerFactory& timers, QObject* parent = nullptr);
    ~TransferControl() override;

    // Does nothing while a call still runs.
    void Execute(const QString& address);
    bool StillExecuting() const { return m_request != nullptr; }
    void Cancel();

private:
    HttpClient& m_client;
    std::unique_ptr<TimerControl> m_limit;
    std::unique_ptr<HttpRequest> m_request;
};
