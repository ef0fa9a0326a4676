// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"
#include "platform/WebHook.h"

#include <QString>

// What a service's answer says of a message, judged by the service's own
// rule: a 2xx, and for the services that report a refusal in the body of a
// 200, the documented field.
struct ChannelVerdict {
    enum class Outcome {
        Delivered,
        // May pass: no answer, a 5xx, a 429.
        Transient,
        // Will repeat: any other 4xx, or an error code in the reply.
        Refused,
    };

    Outcome outcome;
    // Why it failed, in the owner's words or the service's own; empty when
    // delivered.
    QString reason;
};

ChannelVerdict judgeAnswer(AlertChannel::Kind kind, const WebHookAnswer& answer);
