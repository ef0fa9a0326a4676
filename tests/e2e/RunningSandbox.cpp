// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/RunningSandbox.h"

#include <QJsonDocument>
#include <QProcessEnvironment>

#include <algorithm>

void RunningSandbox::start(const QStringList& arguments)
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

qsizetype RunningSandbox::find(const QString& key, const QString& value, qsizetype from) const
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        if (lines[i].value(key).toString() == value)
            return i;
    }
    return -1;
}

qsizetype RunningSandbox::count(const QString& key, qsizetype from, qsizetype to) const
{
    const auto end = to < 0 ? lines.cend() : lines.cbegin() + to;
    return std::count_if(lines.cbegin() + from, end,
                         [&](const QJsonObject& line) { return line.contains(key); });
}

RunningSandbox::~RunningSandbox()
{
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished();
}
