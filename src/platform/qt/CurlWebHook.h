// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WebHook.h"

#include <QObject>

#include <chrono>
#include <list>
#include <memory>

class CurlCall;
class CurlMulti;

// Web hook calls through libcurl, each on a connection of its own, so a
// message is sent exactly once; a call that takes longer than `limit` ends
// without an answer. Redirects are followed as for the shop's calls.
class CurlWebHook : public WebHook {
public:
    explicit CurlWebHook(CurlMulti& multi,
                         std::chrono::milliseconds limit = std::chrono::seconds(30));
    ~CurlWebHook() override;

    void call(const WebHookRequest& request,
              std::function<void(const WebHookAnswer& answer)> done) override;

private:
    // Frees `call`; false when it was gone already.
    bool end(CurlCall* call);

    CurlMulti& m_multi;
    std::chrono::milliseconds m_limit;
    // Ends the limits' timers with this object.
    QObject m_timers;
    std::list<std::unique_ptr<CurlCall>> m_calls;
};
