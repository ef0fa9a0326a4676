// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sandbox/SimulatedPayment.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The account's record page. The program cuts payments out of its text with
// fixed markers, so nothing but the payment rows may hold "tradeNo=",
// "title=" or an amount span.
namespace RecordPage {

// One payment's row; title text is escaped so it cannot end its attribute.
QString row(const SimulatedPayment& payment);

// The whole page listing `newestFirst` in that order, encoded as GBK.
QByteArray render(const QList<SimulatedPayment>& newestFirst);

} // namespace RecordPage
