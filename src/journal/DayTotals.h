// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QStringList>

class DeliveryJournal;

// The payments the journal first saw on one day, history left out, by
// state with their sums in cents, and the titles of those not delivered.
struct DayTotals {
    struct Sum {
        int payments = 0;
        qint64 cents = 0;
    };
    Sum seen;
    Sum delivered;
    Sum pending;
    Sum givenUp;
    // Pending and given up, oldest first.
    QStringList undeliveredTitles;
};

DayTotals dayTotals(DeliveryJournal& journal, QDate day);
// "3 笔 12.50 元".
QString inWords(const DayTotals::Sum& sum);
