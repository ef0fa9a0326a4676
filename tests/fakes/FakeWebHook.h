// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WebHook.h"

#include <QList>

// Keeps each call; the test answers them, oldest first, with answer(), or
// has `respond` answer each at once.
class FakeWebHook : public WebHook {
public:
    struct Call {
        WebHookRequest request;
        std::function<void(const WebHookAnswer&)> done;
    };

    void call(const WebHookRequest& request,
              std::function<void(const WebHookAnswer&)> done) override
    {
        calls.append({request, std::move(done)});
        if (respond) {
            const WebHookAnswer given = respond(request);
            answer(given.status, given.body);
        }
    }

    // Answers the oldest unanswered call.
    void answer(int status, const QByteArray& body = {})
    {
        const Call call = calls.at(answered++);
        call.done({status, body});
    }
    qsizetype unanswered() const { return calls.size() - answered; }

    std::function<WebHookAnswer(const WebHookRequest&)> respond;
    QList<Call> calls;
    qsizetype answered = 0;
};
