// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// Amounts are positive decimals of at most two places, written with exactly
// two ("25" becomes "25.00"). Nothing for any other text.
std::optional<QString> normalizedAmount(const QString& text);
