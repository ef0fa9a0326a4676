#pragma once

#include "scan/TradeRecord.h"

#include <QString>

#include <optional>

// The record page is not parsed as markup: records are cut out of its text by
// a handful of fixed markers and character counts.

struct TradeCut {
    TradeRecord record;
    // Where the next cut starts.
    QString remainder;
};

// The first record of `remaining`, or nothing when the text holds no record.
// Texts whose markers sit so close to the end that a fixed count would reach
// past it hold no record either.
std::optional<TradeCut> CutTradeRecord(const QString& remaining);

// The amount in `afterTitle`, the text that starts right after a title's
// opening quote: the figure behind the first amount marker, without its sign.
std::optional<QString> ExtractAmount(const QString& afterTitle);
