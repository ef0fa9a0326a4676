// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/PaymentMemory.h"

#include <QDateTime>

// When a pending payment below the scanned positions is tried again. Only a
// refusal starts a schedule: 1, 2, 4, 8 and 16 minutes after the last one,
// then every 30 minutes, until a day after the payment was first seen.
namespace RetrySchedule {

enum class Decision { TryNow, Wait, GiveUp };

Decision decide(const PaymentMemory::Payment& payment, const QDateTime& now);
// When a payment the shop refused is tried next.
QDateTime nextTry(const PaymentMemory::Payment& payment);

} // namespace RetrySchedule
