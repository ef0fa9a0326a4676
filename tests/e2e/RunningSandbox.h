// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

// The sandbox executable running, its JSON lines read as they come, each
// with the moment it arrived and, once added, handed to `onLine` if set.
struct RunningSandbox {
    QProcess process;
    QTemporaryDir home;
    QList<QJsonObject> lines;
    QList<qint64> arrivals;
    QElapsedTimer clock;
    QByteArray pending;
    std::function<void(const QJsonObject&)> onLine;

    void start(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("d")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("c")));
        process.setProcessEnvironment(environment);
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] {
            pending += process.readAllStandardOutput();
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                lines.append(QJsonDocument::fromJson(pending.left(end)).object());
                arrivals.append(clock.elapsed());
                pending.remove(0, end + 1);
                if (onLine)
                    onLine(lines.constLast());
            }
        });
        clock.start();
        process.start(QStringLiteral(TOLLWICK_SANDBOX), arguments);
    }
    // The index of the first line from `from` on whose `key` is `value`.
    qsizetype find(const QString& key, const QString& value, qsizetype from = 0) const
    {
        for (qsizetype i = from; i < lines.size(); ++i) {
            if (lines[i].value(key).toString() == value)
                return i;
        }
        return -1;
    }
    // The lines in [from, to) that hold `key`.
    qsizetype count(const QString& key, qsizetype from = 0, qsizetype to = -1) const
    {
        const auto end = to < 0 ? lines.cend() : lines.cbegin() + to;
        return std::count_if(lines.cbegin() + from, end,
                             [&](const QJsonObject& line) { return line.contains(key); });
    }
    ~RunningSandbox()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished();
    }
};
