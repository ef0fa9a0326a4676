// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/TransferControl.h"

#include "platform/HttpClient.h"
#include "platform/TimerControl.h"

#include <utility>

TransferControl::TransferControl(HttpClient& client, TimerFactory& timers, QObject* parent)
    : QObject(parent)
    , m_client(client)
    , m_limit(timers.createTimer())
{
    m_limit->setInterval(int(std::chrono::milliseconds(Limit).count()));
    connect(m_limit.get(), &TimerControl::Timer, this, &TransferControl::Cancel);
}

TransferControl::~TransferControl() = default;

void TransferControl::Execute(const QString& address)
{
    if (m_request)
        return;
    // Nobody reads the answer: none of it is kept.
    m_request = m_client.get(address, BodyLimit{});
    // The request's finished() is its last act, so it may go then.
    connect(m_request.get(), &HttpRequest::finished, this, &TransferControl::Cancel);
    m_limit->setEnabled(true);
}

void TransferControl::Cancel()
{
    m_limit->setEnabled(false);
    m_request.reset();
}
