// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// The settings are kept as the texts typed or picked, and converted where
// they are used.

// The scan interval in seconds, rounded down, as timer milliseconds; nothing
// when that is no usable period: not a number, 0 or less, or longer than a
// timer takes (2 147 483 s).
std::optional<int> scanIntervalMilliseconds(const QString& text);

// The record count: the number of newest payments to scan, rounded down. Anything that
// is not a number gives 0; there are slots for 12 positions only.
int positionsToScan(const QString& text);

// Trims spaces, and only spaces, from both ends.
QString trimSpaces(const QString& text);
