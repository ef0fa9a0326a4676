// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// The amount as the record page writes it ("25.00", "1,280.50"), in cents;
// nothing for any other text, so no sum is ever rounded.
std::optional<qint64> centsOf(const QString& amount);
// Cents as yuan: "1280.50".
QString yuan(qint64 cents);
