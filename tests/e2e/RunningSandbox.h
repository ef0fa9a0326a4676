// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>

// The sandbox executable running, its JSON lines read as they come, each
// with the moment it arrived.
struct RunningSandbox {
    QProcess process;
    QTemporaryDir home;
    QList<QJsonObject> lines;
    QList<qint64> arrivals;
    QElapsedTimer clock;
    QByteArray pending;
    // Called with each line as it arrives, after it was added.
    std::function<void(const QJsonObject&)> onLine;

    void start(const QStringList& arguments);
    // The index of the first line from `from` on whose `key` is `value`.
    qsizetype find(const QString& key, const QString& value, qsizetype from = 0) const;
    // The lines in [from, to) that hold `key`.
    qsizetype count(const QString& key, qsizetype from = 0, qsizetype to = -1) const;
    ~RunningSandbox();
};
