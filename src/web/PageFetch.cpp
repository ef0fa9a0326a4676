// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/PageFetch.h"

#include "web/EncodingConvertor.h"

#include <utility>

PageFetch::PageFetch(HttpClient& client, BodyLimit limit, QObject* parent)
    : QObject(parent)
    , m_client(client)
    , m_limit(std::move(limit))
{
}

PageFetch::~PageFetch() = default;

void PageFetch::GetResponse(const QString& address, const QString& charset)
{
    m_request.reset();
    m_charset = charset;
    m_request = m_client.get(address, m_limit);
    connect(m_request.get(), &HttpRequest::finished, this, &PageFetch::onAnswer);
}

void PageFetch::giveUp()
{
    // Giving up only lets go of the request, which runs on to its end.
    if (!std::exchange(m_request, nullptr))
        return;
    Q_EMIT finished({});
}

void PageFetch::onAnswer(const HttpAnswer& answer)
{
    // The request's finished() is its last act, so it may go now.
    const auto done = std::exchange(m_request, nullptr);
    Q_EMIT finished({EncodingConvertor(answer.body, m_charset), answer.status, answer.address,
                     answer.cut, answer.soughtInRest});
}
