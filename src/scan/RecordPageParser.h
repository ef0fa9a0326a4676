// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/TradeRecord.h"

#include <QString>
#include <QStringView>

#include <optional>

// The record page is not parsed as markup: records are cut out of its text by
// a handful of fixed markers and character counts. A cut copies only the
// record's own texts, never the page.

struct TradeCut {
    TradeRecord record;
    // Where the next cut starts: the end of the text that was cut, which must
    // outlive this view.
    QStringView remainder;
};

// The first record of `remaining`, or nothing when the text holds no record.
// Texts whose markers sit so close to the end that a fixed count would reach
// past it hold no record either.
std::optional<TradeCut> CutTradeRecord(QStringView remaining);
// The remainder would point into a text gone by the next statement.
std::optional<TradeCut> CutTradeRecord(QString&&) = delete;

// The amount in `afterTitle`, the text that starts right after a title's
// opening quote: the figure behind the first amount marker, without its sign.
std::optional<QString> ExtractAmount(QStringView afterTitle);
