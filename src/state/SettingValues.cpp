// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/SettingValues.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// A decimal number with blanks around it allowed, rounded down; nothing for
// any other text.
std::optional<double> wholeNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return std::floor(value);
}

} // namespace

std::optional<int> scanIntervalMilliseconds(const QString& text)
{
    constexpr double LongestSeconds = std::numeric_limits<int>::max() / 1000;
    const auto seconds = wholeNumber(text);
    if (!seconds || *seconds <= 0 || *seconds > LongestSeconds)
        return std::nullopt;
    return static_cast<int>(*seconds * 1000);
}

int positionsToScan(const QString& text)
{
    constexpr int MaxRecords = 12;
    const auto count = wholeNumber(text);
    if (!count)
        return 0;
    return static_cast<int>(std::clamp(*count, 0.0, double(MaxRecords)));
}

QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}
