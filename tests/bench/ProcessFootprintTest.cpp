// SPDX-License-Identifier: GPL-3.0-or-later

#include "ProcessFootprint.h"
#include "support/TestRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// A /proc entry as the kernel writes it; `name` goes between the
// parentheses of stat.
struct FakeProcess {
    qint64 pid;
    qint64 parent;
    QByteArray name = "QtWebEngineProc";
    QByteArray commandLine = {};
    QByteArray smapsRollup = "Rss:  2048 kB\nPss:  1024 kB\n";
    int descriptors = 3;
};

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void add(const QTemporaryDir& proc, const FakeProcess& process)
{
    const QString dir = proc.filePath(QString::number(process.pid));
    QVERIFY(QDir().mkpath(dir + QStringLiteral("/fd")));
    // Fields 3 to 20: state, ppid, six zeros, four fault counts, utime 250,
    // stime 50, two child times, priority, nice, 7 threads.
    write(dir + QStringLiteral("/stat"), QByteArray::number(process.pid) + " (" + process.name +
                                             ") S " + QByteArray::number(process.parent) +
                                             " 0 0 0 0 0 0 0 0 0 250 50 0 0 20 0 7 0\n");
    write(dir + QStringLiteral("/status"), "Name:\tx\nVmRSS:\t   4096 kB\nThreads:\t7\n");
    write(dir + QStringLiteral("/cmdline"), process.commandLine);
    if (!process.smapsRollup.isEmpty())
        write(dir + QStringLiteral("/smaps_rollup"), process.smapsRollup);
    for (int fd = 0; fd < process.descriptors; ++fd)
        write(dir + QStringLiteral("/fd/%1").arg(fd), {});
}

QByteArray arguments(std::initializer_list<const char*> list)
{
    QByteArray joined;
    for (const char* argument : list)
        joined += QByteArray(argument) + '\0';
    return joined;
}

const QByteArray Zygote =
    arguments({"/usr/lib/qt6/libexec/QtWebEngineProcess", "--type=zygote", "--no-sandbox"});
const QByteArray UnsandboxedZygote =
    arguments({"/usr/lib/qt6/libexec/QtWebEngineProcess", "--type=zygote", "--no-zygote-sandbox"});

} // namespace

class ProcessFootprintTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheFieldsAfterTheNameWhateverTheNameHolds()
    {
        QTemporaryDir proc;
        // A name with spaces and parentheses shifts every field for a reader
        // that splits from the front.
        add(proc, {.pid = 41, .parent = 1, .name = "a) (b c", .commandLine = Zygote});
        const auto footprint = readFootprint(41, proc.path());
        QVERIFY(footprint);
        QCOMPARE(footprint->parentPid, 1);
        QCOMPARE(footprint->threads, 7);
        QCOMPARE(footprint->cpuSeconds, 300.0 / sysconf(_SC_CLK_TCK));
        QCOMPARE(footprint->rssKiB, 4096);
        QCOMPARE(footprint->pssKiB, 1024);
        QCOMPARE(footprint->descriptors, 3);
        QCOMPARE(footprint->engineType, QStringLiteral("zygote"));
    }

    void pssIsUnknownWithoutSmapsRollupAndGoneProcessesAreSkipped()
    {
        QTemporaryDir proc;
        add(proc, {.pid = 5, .parent = 1, .smapsRollup = {}});
        const auto footprint = readFootprint(5, proc.path());
        QVERIFY(footprint);
        QVERIFY(!footprint->pssKiB.has_value());
        QVERIFY(!readFootprint(6, proc.path()));
    }

    void findsChildrenAndGrandchildrenOnly()
    {
        QTemporaryDir proc;
        add(proc, {.pid = 10, .parent = 1});
        add(proc, {.pid = 12, .parent = 10});
        add(proc, {.pid = 11, .parent = 10});
        add(proc, {.pid = 30, .parent = 12});
        add(proc, {.pid = 20, .parent = 1});
        add(proc, {.pid = 21, .parent = 20});
        QVERIFY(QDir().mkpath(proc.filePath(QStringLiteral("self"))));
        QCOMPARE(descendantsOf(10, proc.path()), (QList<qint64>{11, 12, 30}));
        QCOMPARE(descendantsOf(30, proc.path()), QList<qint64>{});
    }

    void namesTheEngineHelpersByWhatForkedThem()
    {
        QTemporaryDir proc;
        add(proc, {.pid = 10, .parent = 1, .commandLine = arguments({"tollwick-sandbox"})});
        add(proc, {.pid = 11, .parent = 10, .commandLine = UnsandboxedZygote});
        add(proc, {.pid = 12, .parent = 10, .commandLine = Zygote});
        // Forked helpers keep the command line of their zygote.
        add(proc, {.pid = 13, .parent = 12, .commandLine = Zygote});
        add(proc, {.pid = 14, .parent = 11, .commandLine = UnsandboxedZygote});
        add(proc, {.pid = 15,
                   .parent = 10,
                   .commandLine = arguments({"QtWebEngineProcess", "--type=renderer"})});

        QList<ProcessFootprint> family;
        for (qint64 pid : {10, 11, 12, 13, 14, 15})
            family.append(*readFootprint(pid, proc.path()));
        QStringList names;
        for (const ProcessFootprint& process : family)
            names.append(process.describe(family));
        QCOMPARE(names, (QStringList{"main", "zygote (unsandboxed)", "zygote", "renderer (forked)",
                                     "gpu/utility (forked)", "renderer"}));
    }

    void readsThisProcess()
    {
        const auto footprint = readFootprint(QCoreApplication::applicationPid());
        QVERIFY(footprint);
        QCOMPARE(footprint->parentPid, qint64(getppid()));
        QVERIFY(footprint->rssKiB > 0);
        QVERIFY(footprint->threads >= 1);
        // Standard input, output and error at least.
        QVERIFY(footprint->descriptors >= 3);
        QVERIFY(footprint->engineType.isEmpty());
    }
};

TOLLWICK_TEST(ProcessFootprintTest)
#include "ProcessFootprintTest.moc"
