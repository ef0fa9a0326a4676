// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/PageJudgement.h"

#include "scan/RecordPageParser.h"

#include <QSet>

#include <algorithm>

QList<TradeRecord> paymentsOn(QStringView page)
{
    QList<TradeRecord> payments;
    QSet<QString> seen;
    for (auto cut = CutTradeRecord(page); cut; cut = CutTradeRecord(cut->remainder)) {
        if (!seen.contains(cut->record.TradeNo)) {
            seen.insert(cut->record.TradeNo);
            payments.append(cut->record);
        }
    }
    return payments;
}

PageJudgement judgePage(const QList<TradeRecord>& payments,
                        const std::optional<QStringList>& previous, PaymentMemory& memory)
{
    using State = PaymentMemory::State;
    PageJudgement judgement;
    QList<bool> known;
    for (const TradeRecord& payment : payments)
        known.append(memory.stateOf(payment.TradeNo).has_value());
    judgement.anyKnown = known.contains(true);

    const bool sharesWithPrevious =
        previous && std::any_of(payments.cbegin(), payments.cend(), [&](const TradeRecord& p) {
            return previous->contains(p.TradeNo);
        });
    // Payments above this index are new, those from it on are history.
    qsizetype firstOld = 0;
    if (previous && (previous->isEmpty() || sharesWithPrevious))
        firstOld = payments.size();
    else if (judgement.anyKnown)
        firstOld = known.indexOf(true);
    else
        judgement.allUnseen = !payments.isEmpty() && memory.knowsAny();

    for (qsizetype i = payments.size() - 1; i >= 0; --i) {
        if (known[i])
            continue;
        const bool onPrevious = previous && previous->contains(payments[i].TradeNo);
        const bool isNew = i < firstOld && !onPrevious;
        judgement.firstSightings.append({payments[i], isNew ? State::Pending : State::History});
    }
    return judgement;
}
