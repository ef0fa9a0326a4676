// SPDX-License-Identifier: GPL-3.0-or-later

#include "ProcessFootprint.h"

#include <QDir>
#include <QFile>
#include <QMultiHash>

#include <algorithm>

#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The number after `key` in a "Key:   1234 kB" table such as status or
// smaps_rollup.
std::optional<qint64> tableValue(const QByteArray& table, const QByteArray& key)
{
    for (const QByteArray& line : table.split('\n')) {
        if (!line.startsWith(key))
            continue;
        bool ok = false;
        const qint64 value = line.mid(key.size()).simplified().split(' ').value(0).toLongLong(&ok);
        if (ok)
            return value;
    }
    return std::nullopt;
}

// The fields of /proc/PID/stat after the program's name. The name sits in
// parentheses and may itself hold spaces and parentheses, so the fields
// start after the last ')'.
QList<QByteArray> statFields(const QByteArray& stat)
{
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return {};
    return stat.mid(close + 1).simplified().split(' ');
}

void readCommandLine(const QByteArray& cmdline, ProcessFootprint& footprint)
{
    for (const QByteArray& argument : cmdline.split('\0')) {
        if (argument.startsWith("--type="))
            footprint.engineType = QString::fromLatin1(argument.mid(7));
        else if (argument == "--no-zygote-sandbox")
            footprint.unsandboxedZygote = true;
    }
}

} // namespace

std::optional<ProcessFootprint> readFootprint(qint64 pid, const QString& procRoot)
{
    const QString dir = QStringLiteral("%1/%2/").arg(procRoot).arg(pid);
    // Fields 4 (ppid), 14 (utime), 15 (stime), 20 (threads), counted from 1
    // with the pid and the name as fields 1 and 2.
    const QList<QByteArray> fields = statFields(readAll(dir + QStringLiteral("stat")));
    const QByteArray status = readAll(dir + QStringLiteral("status"));
    if (fields.size() < 18 || status.isEmpty())
        return std::nullopt;

    ProcessFootprint footprint;
    footprint.pid = pid;
    footprint.parentPid = fields[1].toLongLong();
    static const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));
    footprint.cpuSeconds = (fields[11].toLongLong() + fields[12].toLongLong()) / ticksPerSecond;
    footprint.threads = fields[17].toInt();
    footprint.rssKiB = tableValue(status, "VmRSS:").value_or(0);
    footprint.pssKiB = tableValue(readAll(dir + QStringLiteral("smaps_rollup")), "Pss:");

    readCommandLine(readAll(dir + QStringLiteral("cmdline")), footprint);
    footprint.descriptors =
        int(QDir(dir + QStringLiteral("fd"))
                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                .size());
    return footprint;
}

QList<qint64> descendantsOf(qint64 pid, const QString& procRoot)
{
    QMultiHash<qint64, qint64> children;
    const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 child = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        const QList<QByteArray> fields =
            statFields(readAll(QStringLiteral("%1/%2/stat").arg(procRoot, entry)));
        if (fields.size() > 1)
            children.insert(fields[1].toLongLong(), child);
    }

    QList<qint64> found;
    QList<qint64> parents{pid};
    while (!parents.isEmpty()) {
        QList<qint64> next;
        for (qint64 parent : parents)
            next += children.values(parent);
        std::sort(next.begin(), next.end());
        found += next;
        parents = next;
    }
    return found;
}

QString ProcessFootprint::describe(const QList<ProcessFootprint>& family) const
{
    if (engineType.isEmpty())
        return QStringLiteral("main");
    // A helper forked from a zygote keeps the zygote's command line. The
    // zygote started with --no-zygote-sandbox forks the GPU and utility
    // processes; the other one forks renderers.
    for (const ProcessFootprint& parent : family) {
        if (parent.pid == parentPid && parent.engineType == QLatin1String("zygote")) {
            return parent.unsandboxedZygote ? QStringLiteral("gpu/utility (forked)")
                                            : QStringLiteral("renderer (forked)");
        }
    }
    if (unsandboxedZygote)
        return QStringLiteral("zygote (unsandboxed)");
    return engineType;
}

QList<ProcessFootprint> readFamily(qint64 pid)
{
    QList<ProcessFootprint> family;
    for (qint64 member : QList<qint64>{pid} + descendantsOf(pid)) {
        if (const auto footprint = readFootprint(member))
            family.append(*footprint);
    }
    return family;
}

bool rendererRuns(const QList<ProcessFootprint>& family)
{
    return std::any_of(family.begin(), family.end(), [&](const ProcessFootprint& process) {
        return process.describe(family).startsWith(QLatin1String("renderer"));
    });
}
