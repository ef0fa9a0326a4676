// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// An incoming payment on the simulated account. The amount is text with two
// decimals, as the record page shows it.
struct SimulatedPayment {
    QString tradeNo;
    QString title;
    QString amount;
};
