// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/AmountText.h"

#include <QRegularExpression>

std::optional<QString> normalizedAmount(const QString& text)
{
    // Nine whole digits keep every amount far from overflow and from
    // scientific notation anywhere it is printed.
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 whole = match.captured(1).toLongLong();
    const QString fraction = match.captured(2).leftJustified(2, QLatin1Char('0'));
    if (whole == 0 && fraction == QLatin1String("00"))
        return std::nullopt;
    return QStringLiteral("%1.%2").arg(whole).arg(fraction);
}
