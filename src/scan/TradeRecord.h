// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// One payment as cut from the record page: plain text, nothing decoded.
struct TradeRecord {
    QString TradeNo;
    QString Title;
    QString Amount;

    friend bool operator==(const TradeRecord&, const TradeRecord&) = default;
};
