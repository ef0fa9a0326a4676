// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// One run of the tollwick-sandbox executable, from start to exit, with the
// JSON lines it wrote to standard output.
struct SandboxRun {
    // Runs the executable with exactly `arguments`, for two minutes at most.
    static SandboxRun withArguments(const QStringList& arguments);
    // Runs it with --headless on a free account port, then `arguments`;
    // starts again on another port when the chosen one was taken meanwhile.
    static SandboxRun headless(const QStringList& arguments);

    // False when the process could not start, crashed or had to be killed
    // for running too long.
    bool exitedByItself = false;
    int exitCode = -1;
    // The account's port, for headless runs.
    quint16 port = 0;
    // Every standard output line that is a JSON object, in order.
    QList<QJsonObject> events;
    // Standard output lines that are not.
    QStringList strayLines;
    QByteArray standardOutput;
    QByteArray standardError;

    // The texts of the status box ("status") or page box ("page"), in order.
    QStringList boxTexts(const QString& box) const;
    // The "shop" objects, in order.
    QList<QJsonObject> shopCalls() const;
    // What went wrong, for a failure message: exit, stray lines, stderr's end.
    QString diagnosis() const;
};
