#pragma once

#include "platform/HttpRequest.h"

#include <QObject>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

// A GET over the program's shared network access manager, so that it carries
// the cookies of the shared jar.
class QtHttpRequest : public HttpRequest {
public:
    // A reply whose request is dropped goes on for `leftBehindLimit` at most.
    explicit QtHttpRequest(QNetworkAccessManager& network,
                           std::chrono::milliseconds leftBehindLimit = DroppedRequestLimit);
    ~QtHttpRequest() override;

    void Open(const QString& method, const QString& address, bool async) override;
    void send() override;
    int ReadyState() const override { return m_state; }
    QByteArray responseBody() const override { return m_body; }
    int status() const override { return m_status; }
    QString responseURL() const override { return m_responseUrl; }

private:
    void finish(QNetworkReply* reply);
    void leaveReplyBehind();

    QNetworkAccessManager& m_network;
    std::chrono::milliseconds m_leftBehindLimit;
    // Ends the connections to the reply when this request goes.
    QObject m_replyContext;
    QString m_method;
    QUrl m_address;
    int m_state = 0;
    QByteArray m_body;
    int m_status = 0;
    QString m_responseUrl;
    QNetworkReply* m_reply = nullptr;
};
