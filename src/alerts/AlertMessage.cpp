// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertMessage.h"

namespace {

const QString Ellipsis = QStringLiteral("…");

// Where a cut before `end` leaves no half of a surrogate pair behind.
qsizetype wholeCharacters(const QString& text, qsizetype end)
{
    return end > 0 && text.at(end - 1).isHighSurrogate() ? end - 1 : end;
}

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
    return text.left(wholeCharacters(text, length - Ellipsis.size())) + Ellipsis;
}

QString cutToUtf8Bytes(const QString& text, qsizetype bytes)
{
    if (text.toUtf8().size() <= bytes)
        return text;
    const qsizetype room = bytes - Ellipsis.toUtf8().size();
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype next = text.at(end).isHighSurrogate() ? end + 2 : end + 1;
        const qsizetype size = text.mid(end, next - end).toUtf8().size();
        if (used + size > room)
            break;
        used += size;
        end = next;
    }
    return text.left(end) + Ellipsis;
}
