// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/PaymentMemory.h"

class Clock;
class DeliveryJournal;

// The scan's memory of payments, kept in the journal's payments table: one
// row a payment, written at its first sighting and at each change of its
// state, never once a scan.
class PaymentBook : public PaymentMemory {
public:
    PaymentBook(DeliveryJournal& journal, const Clock& clock);

    // The state as the table stores it.
    static QString code(State state);
    static std::optional<State> stateOfCode(const QString& code);

    bool available() override;
    bool knowsAny() override;
    std::optional<State> stateOf(const QString& tradeNo) override;
    bool rememberFirstSightings(const QList<Sighting>& oldestFirst) override;
    void setState(const QString& tradeNo, State state) override;
    void addRefusal(const QString& tradeNo, const QDateTime& time) override;
    QList<Payment> pending() override;

private:
    DeliveryJournal& m_journal;
    const Clock& m_clock;
};
