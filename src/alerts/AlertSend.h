// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// One try to hand a message to the alert address, as the journal keeps it:
// what was sent and how it fared, never the address, a secret or a token.
struct AlertSend {
    enum class Verdict { Delivered, WillRetry, GaveUp };

    // The message's cause name, "cleared" or "test".
    QString cause;
    // The channel kind's name.
    QString kind;
    Verdict verdict = Verdict::GaveUp;
    // Why the try failed; empty when delivered.
    QString reason;
    // 0 when no answer came.
    int status = 0;
    // The first 200 characters of the reply.
    QString reply;
};
