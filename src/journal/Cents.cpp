// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/Cents.h"

#include <QRegularExpression>

std::optional<qint64> centsOf(const QString& amount)
{
    static const QRegularExpression plain(
        QStringLiteral("^(\\d{1,13}|\\d{1,3}(?:,\\d{3}){1,4})(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch match = plain.match(amount);
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 whole = match.captured(1).remove(u',').toLongLong();
    const qint64 fraction = match.captured(2).leftJustified(2, u'0').toLongLong();
    return whole * 100 + fraction;
}

QString yuan(qint64 cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}
