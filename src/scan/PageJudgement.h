// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/PaymentMemory.h"

#include <QList>
#include <QStringList>

#include <optional>

// Which payments on a record page just read are new. Against the previous
// page read in this run, when it was empty or shares a payment with this
// one: those not on it and never seen. Otherwise against the memory: those
// above the newest payment it knows. With nothing known either, none.
struct PageJudgement {
    // Payments never seen, oldest first, each pending (new) or history.
    QList<PaymentMemory::Sighting> firstSightings;
    // Nothing on a page of payments was known, though payments were seen
    // before: another account, or more downtime than one page holds.
    bool allUnseen = false;
    // A payment on the page was known.
    bool anyKnown = false;
};

// The payments on `page`, newest first, each trade number once.
QList<TradeRecord> paymentsOn(QStringView page);

PageJudgement judgePage(const QList<TradeRecord>& payments,
                        const std::optional<QStringList>& previous, PaymentMemory& memory);
