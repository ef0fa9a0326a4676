// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QString>

// One message to the alert address, worded once when its event happens and
// sent as it is at every try.
struct AlertMessage {
    // The cause's name, "cleared" for a clearing, "test" for a test message.
    QString cause;
    // "Tollwick（computer）", for services that show a title.
    QString title;
    // The title, the event's local time and what happened. Its fixed first
    // word lets a bot's keyword check pass every alert.
    QString text;
    QDateTime time;
};

AlertMessage alertMessage(const QString& cause, const QString& what, const QString& computer,
                          const QDateTime& time);

// `text` with at most `length` UTF-16 units, ending in "…" when it was cut; a
// character is never split.
QString cutToLength(const QString& text, qsizetype length);
// The same for a limit in bytes of UTF-8.
QString cutToUtf8Bytes(const QString& text, qsizetype bytes);
