#pragma once

#include "platform/TransferControl.h"

#include <QTimer>

#include <chrono>
#include <memory>

class CurlCall;
class CurlMulti;
class QNetworkCookieJar;

// Fire-and-forget GETs through libcurl, each on a connection of its own, so
// the shop's delivery page is called exactly once per Execute().
class CurlTransferControl : public TransferControl {
public:
    // `jar` may be null. `limit` bounds each call, redirects included.
    CurlTransferControl(CurlMulti& multi, QNetworkCookieJar* jar,
                        std::chrono::milliseconds limit = std::chrono::seconds(60));
    ~CurlTransferControl() override;

    void Execute(const QString& address, const QString& operation) override;
    bool StillExecuting() const override { return m_call != nullptr; }
    void Cancel() override;

private:
    CurlMulti& m_multi;
    QNetworkCookieJar* m_jar;
    std::chrono::milliseconds m_limit;
    std::unique_ptr<CurlCall> m_call;
    QTimer m_limitTimer;
};
