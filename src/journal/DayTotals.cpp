// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/DayTotals.h"

#include "journal/Cents.h"
#include "journal/DeliveryJournal.h"
#include "journal/PaymentBook.h"

#include <QSqlQuery>
#include <QVariant>

QString inWords(const DayTotals::Sum& sum)
{
    return QStringLiteral("%1 笔 %2 元").arg(sum.payments).arg(yuan(sum.cents));
}

DayTotals dayTotals(DeliveryJournal& journal, QDate day)
{
    using State = PaymentMemory::State;
    DayTotals totals;
    QSqlQuery query(journal.database());
    query.prepare(QStringLiteral("SELECT state, amount, title FROM %1 "
                                 "WHERE substr(first_seen, 1, 10) = ? AND state != ? ORDER BY seq")
                      .arg(DeliveryJournal::PaymentTable));
    if (!execWith(query, {day.toString(Qt::ISODate), PaymentBook::code(State::History)}))
        return totals;
    while (query.next()) {
        const qint64 cents = centsOf(query.value(1).toString()).value_or(0);
        const auto add = [cents](DayTotals::Sum& sum) {
            ++sum.payments;
            sum.cents += cents;
        };
        add(totals.seen);
        const State state =
            PaymentBook::stateOfCode(query.value(0).toString()).value_or(State::History);
        if (state == State::Delivered) {
            add(totals.delivered);
            continue;
        }
        add(state == State::GivenUp ? totals.givenUp : totals.pending);
        totals.undeliveredTitles.append(query.value(2).toString());
    }
    return totals;
}
