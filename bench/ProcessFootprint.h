// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

#include <optional>

// What one process holds at one moment, read from /proc.
struct ProcessFootprint {
    qint64 pid = 0;
    qint64 parentPid = 0;
    // The engine helper's --type; empty for the program itself.
    QString engineType;
    // The zygote that forks GPU and utility processes rather than renderers.
    bool unsandboxedZygote = false;
    qint64 rssKiB = 0;
    // Missing where the kernel has no smaps_rollup.
    std::optional<qint64> pssKiB;
    int descriptors = 0;
    int threads = 0;
    double cpuSeconds = 0;

    // A readable name: "main", "renderer (forked)", "zygote"...
    QString describe(const QList<ProcessFootprint>& family) const;
};

// The footprint of `pid`; nothing when the process is gone or unreadable.
// `procRoot` is /proc except in tests.
std::optional<ProcessFootprint> readFootprint(qint64 pid,
                                              const QString& procRoot = QStringLiteral("/proc"));

// Every process below `pid`, children before grandchildren.
QList<qint64> descendantsOf(qint64 pid, const QString& procRoot = QStringLiteral("/proc"));

// `pid` and every process below it that could be read.
QList<ProcessFootprint> readFamily(qint64 pid);

// Whether one of `family` is a renderer of the browser engine.
bool rendererRuns(const QList<ProcessFootprint>& family);
