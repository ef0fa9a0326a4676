#pragma once

#include "platform/HttpRequest.h"
#include "platform/qt/CurlCall.h"

#include <chrono>
#include <memory>

class CurlMulti;
class QNetworkCookieJar;

// A GET through libcurl, each on a connection of its own, so the shop's
// delivery page is called exactly once per send().
class CurlHttpRequest : public HttpRequest {
public:
    // `jar` may be null. A call whose request is dropped goes on for
    // `leftBehindLimit` at most.
    CurlHttpRequest(CurlMulti& multi, QNetworkCookieJar* jar,
                    std::chrono::milliseconds leftBehindLimit);
    ~CurlHttpRequest() override;

    void Open(const QString& method, const QString& address, bool async) override;
    void send() override;
    int ReadyState() const override { return m_state; }
    QByteArray responseBody() const override { return m_body; }
    int status() const override { return m_status; }
    QString responseURL() const override { return m_responseUrl; }

private:
    void finish(const CurlCall::Answer& answer);
    void leaveCallBehind();

    CurlMulti& m_multi;
    QNetworkCookieJar* m_jar;
    std::chrono::milliseconds m_leftBehindLimit;
    QString m_method;
    QString m_address;
    int m_state = 0;
    QByteArray m_body;
    int m_status = 0;
    QString m_responseUrl;
    std::unique_ptr<CurlCall> m_call;
};
