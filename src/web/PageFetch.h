// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HttpClient.h"
#include "web/PageReply.h"

#include <QObject>
#include <QString>

#include <memory>

// Reads one web page at a time, taking the body as bytes under `limit` and
// decoding what it keeps in the charset the caller names rather than the one
// the server announces. The reply comes through finished(); a waiting fetch
// can be told to give up.
class PageFetch : public QObject {
    Q_OBJECT

public:
    PageFetch(HttpClient& client, BodyLimit limit, QObject* parent = nullptr);
    ~PageFetch() override;

    // Starts reading `address`; finished() follows, once. A fetch still
    // waiting is abandoned first, without a reply of its own.
    void GetResponse(const QString& address, const QString& charset);
    bool waiting() const { return m_request != nullptr; }
    // Ends a waiting fetch at once with the empty reply; nothing otherwise.
    void giveUp();

Q_SIGNALS:
    void finished(const PageReply& reply);

private:
    void onAnswer(const HttpAnswer& answer);

    HttpClient& m_client;
    const BodyLimit m_limit;
    std::unique_ptr<HttpRequest> m_request;
    QString m_charset;
};
