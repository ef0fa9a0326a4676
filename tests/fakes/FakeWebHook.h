#pragma once

#include "platform/WebHook.h"

#include <QList>

// Keeps each call; the test answers them, in any order, with answer().
class FakeWebHook : public WebHook {
public:
    struct Call {
        QString address;
        QByteArray json;
        std::function<void(int status)> done;
    };

    void call(const QString& address, const QByteArray& json,
              std::function<void(int status)> done) override
    {
        calls.append({address, json, std::move(done)});
    }

    // Answers the oldest unanswered call with `status`.
    void answer(int status)
    {
        const Call call = calls.at(answered++);
        call.done(status);
    }

    QList<Call> calls;
    qsizetype answered = 0;
};
