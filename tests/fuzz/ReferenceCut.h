// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/TradeRecord.h"

#include <QString>

#include <optional>

// The record cut written out step by step on copies of the text, with the
// page format's 1-based positions, as the program first did it. The fuzz
// target holds the program's cut to it on every input.
namespace ReferenceCut {

struct Cut {
    TradeRecord record;
    QString remainder;
};

std::optional<Cut> cutTradeRecord(const QString& remaining);
std::optional<QString> extractAmount(const QString& afterTitle);

} // namespace ReferenceCut
