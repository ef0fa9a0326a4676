// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HttpClient.h"

#include <chrono>

class QNetworkAccessManager;

// GETs over the program's shared network access manager, so that they carry
// the cookies of the shared jar.
class QtHttpClient : public HttpClient {
public:
    // A reply whose request is abandoned before its answer begins goes on for
    // `abandonedLimit` at most.
    explicit QtHttpClient(QNetworkAccessManager& network,
                          std::chrono::milliseconds abandonedLimit = AbandonedRequestLimit);

    std::unique_ptr<HttpRequest> get(const QString& address, const BodyLimit& limit) override;

private:
    QNetworkAccessManager& m_network;
    std::chrono::milliseconds m_abandonedLimit;
};
