// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/TradeRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// What the scan knows of every payment seen on the record page before, in
// this run or an earlier one, and what it learns: first sightings, each
// payment's state and the shop's refusals. The journal keeps it.
class PaymentMemory {
public:
    // Stored as codes; never renamed.
    enum class State {
        // Seen without anything to judge it by; never delivered by itself.
        History,
        // To be delivered.
        Pending,
        Delivered,
        // Refused for a day; delivered again only by hand.
        GivenUp,
    };

    struct Payment {
        TradeRecord record;
        QDateTime firstSeen;
        // The shop's refusals so far, and the last one's time.
        int refusals = 0;
        QDateTime lastRefusal;
    };

    virtual ~PaymentMemory() = default;

    // False while nothing can be read or written; the scan then judges
    // nothing new and leaves its reference as it was.
    virtual bool available() = 0;
    // Whether any payment was ever seen.
    virtual bool knowsAny() = 0;
    // Nothing for a payment never seen.
    virtual std::optional<State> stateOf(const QString& tradeNo) = 0;
    struct Sighting {
        TradeRecord record;
        State state;
    };
    // Keeps payments seen for the first time, oldest first, all or none;
    // false when nothing was kept. A trade number already known keeps its
    // state and first values.
    virtual bool rememberFirstSightings(const QList<Sighting>& oldestFirst) = 0;
    virtual void setState(const QString& tradeNo, State state) = 0;
    // A refusal by the shop at `time`; the payment stays pending.
    virtual void addRefusal(const QString& tradeNo, const QDateTime& time) = 0;
    // The pending payments, oldest first.
    virtual QList<Payment> pending() = 0;
};
