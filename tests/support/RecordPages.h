// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct Payment {
    QString tradeNo;
    QString title;
    QString amount;
};

// One payment in the record page's markup.
QString paymentMarkup(const Payment& payment);
// A record page listing `payments` (newest first), encoded as GBK.
QByteArray recordPage(const QList<Payment>& payments);
// A distinct 28-digit trade number.
QString tradeNumber(int serial);
