// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertMessage.h"

#include <algorithm>

namespace {

const QString Ellipsis = QStringLiteral("…");

} // namespace

AlertMessage alertMessage(const QString& cause, const QString& what, const QString& computer,
                          const QDateTime& time)
{
    const QString title = computer.isEmpty() ? QStringLiteral("Tollwick ")
                                             : QStringLiteral("Tollwick（%1）").arg(computer);
    return {cause, title,
            QStringLiteral("%1%2 %3").arg(
                title, time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), what),
            time};
}

QString cutToLength(const QString& text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    qsizetype end = length - Ellipsis.size();
    // No half of a surrogate pair is left behind.
    if (end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end) + Ellipsis;
}

QString cutToUtf8Bytes(const QString& text, qsizetype bytes)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= bytes)
        return text;
    qsizetype end = std::max<qsizetype>(0, bytes - Ellipsis.toUtf8().size());
    // Back to the first byte of the character the cut falls in.
    while (end > 0 && (utf8[end] & 0xC0) == 0x80)
        --end;
    return QString::fromUtf8(utf8.first(end)) + Ellipsis;
}
