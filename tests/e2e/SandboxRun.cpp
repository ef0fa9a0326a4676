// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/SandboxRun.h"

#include "e2e/FreePort.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// Ports the account may use: four digits keep its addresses as long as the
// program expects.
constexpr quint16 FirstAccountPort = 1000;
constexpr quint16 LastAccountPort = 9999;
constexpr int StartTries = 5;
// Far above the longest run the tests ask for, so only a hung run reaches it.
constexpr int RunTimeoutMs = 120'000;

void readEvents(SandboxRun& run)
{
    for (const QByteArray& line : run.standardOutput.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error == QJsonParseError::NoError && document.isObject())
            run.events.append(document.object());
        else
            run.strayLines.append(QString::fromUtf8(line));
    }
}

} // namespace

SandboxRun SandboxRun::withArguments(const QStringList& arguments)
{
    SandboxRun run;
    QProcess process;
    // The run's journal and settings go to a folder of its own.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TOLLWICK_SANDBOX), arguments);
    if (!process.waitForStarted()) {
        run.standardError = process.errorString().toUtf8();
        return run;
    }
    if (!process.waitForFinished(RunTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else {
        run.exitedByItself = process.exitStatus() == QProcess::NormalExit;
        run.exitCode = process.exitCode();
    }
    run.standardOutput = process.readAllStandardOutput();
    run.standardError = process.readAllStandardError();
    readEvents(run);
    return run;
}

SandboxRun SandboxRun::headless(const QStringList& arguments)
{
    SandboxRun run;
    for (int attempt = 0; attempt < StartTries; ++attempt) {
        const quint16 port = freeLocalPort(FirstAccountPort, LastAccountPort);
        run = withArguments(QStringList{QStringLiteral("--headless"), QStringLiteral("--port"),
                                        QString::number(port)} +
                            arguments);
        run.port = port;
        const bool portTaken = run.exitedByItself && run.exitCode == 1 &&
                               run.standardError.contains("for the account");
        if (!portTaken)
            break;
    }
    return run;
}

QStringList SandboxRun::boxTexts(const QString& box) const
{
    QStringList texts;
    for (const QJsonObject& event : events) {
        if (event.value(QStringLiteral("box")).toString() == box)
            texts.append(event.value(QStringLiteral("text")).toString());
    }
    return texts;
}

QList<QJsonObject> SandboxRun::shopCalls() const
{
    QList<QJsonObject> calls;
    for (const QJsonObject& event : events) {
        if (event.contains(QStringLiteral("shop")))
            calls.append(event.value(QStringLiteral("shop")).toObject());
    }
    return calls;
}

QString SandboxRun::diagnosis() const
{
    constexpr qsizetype StderrTail = 2000;
    return QStringLiteral("exited by itself: %1, exit code: %2, stray lines: [%3]\n"
                          "stdout:\n%4\nstderr (end):\n%5")
        .arg(exitedByItself ? "yes" : "no")
        .arg(exitCode)
        .arg(strayLines.join(QStringLiteral(" | ")), QString::fromUtf8(standardOutput),
             QString::fromUtf8(standardError.right(StderrTail)));
}
