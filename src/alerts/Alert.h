// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Something the owner must hear of while away from the window: the watching
// has stopped or keeps failing.
struct Alert {
    enum class Cause {
        // The record page answered from elsewhere, as the login page.
        SessionLost,
        // The interval list has held no usable number of seconds for a minute.
        IntervalInvalid,
        // The same payment was rejected by the shop at three scans in a row.
        PaymentRejected,
        // The record page could not be read at three scans in a row.
        RecordPageUnreadable,
        // The delivery journal cannot keep records.
        JournalFailed,
        // A payment below the scanned positions was refused for a day.
        PaymentGivenUp,
        // The record page held only payments never seen, though payments
        // were seen before.
        UnseenPayments,
    };

    Cause cause;
    // Tells apart alerts of one cause, such as the payment rejected.
    QString subject;
    QString text;

    // The cause's name in messages to other programs.
    QString causeName() const;
    // What the owner is told when the cause has cleared: what works again.
    QString clearedText() const;
};
