// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/TradeRecord.h"

#include <QString>

// How one payment fared at one scan, or at a manual re-notify.
struct DeliveryAttempt {
    enum class Outcome {
        // The shop's reply to the second call contained "success".
        Delivered,
        // It did not, or there was none.
        Rejected,
        // Delivered at an earlier scan; nothing was sent.
        AlreadyDelivered,
        // The first call of an earlier payment was still running; nothing was sent.
        Busy,
    };

    TradeRecord record;
    Outcome outcome = Outcome::Rejected;
    // Asked for by the owner, outside any scan.
    bool manual = false;
    // A payment below the positions the scan reads, delivered from memory.
    bool belowPositions = false;
    // For the two outcomes that called the shop: the second call's address
    // with the interface key masked, the charset its reply was read in, the
    // reply's HTTP status (0 when the transport knows none) and the first 200
    // characters of the reply, the key masked there in any form the shop
    // may have echoed it; whether the reply was longer than the scan reads.
    QString address{};
    QString charset{};
    int status = 0;
    QString reply{};
    bool replyCut = false;
};
