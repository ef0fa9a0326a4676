// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/RetrySchedule.h"

#include <algorithm>

namespace {

constexpr qint64 Minute = 60 * 1000;
constexpr qint64 LongestPause = 30 * Minute;
constexpr qint64 Day = 24 * 60 * Minute;

} // namespace

RetrySchedule::Decision RetrySchedule::decide(const PaymentMemory::Payment& payment,
                                              const QDateTime& now)
{
    if (payment.refusals == 0)
        return Decision::TryNow;
    if (payment.firstSeen.msecsTo(now) >= Day)
        return Decision::GiveUp;
    return now >= nextTry(payment) ? Decision::TryNow : Decision::Wait;
}

QDateTime RetrySchedule::nextTry(const PaymentMemory::Payment& payment)
{
    const int doublings = std::clamp(payment.refusals - 1, 0, 5);
    return payment.lastRefusal.addMSecs(std::min(Minute << doublings, LongestPause));
}
