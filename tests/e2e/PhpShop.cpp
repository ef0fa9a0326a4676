// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/PhpShop.h"

#include "e2e/FreePort.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QThread>

namespace {

// bin2hex keeps the exact bytes, whatever charset they are in.
const QByteArray NotifyPage = QByteArrayLiteral(R"php(<?php
$line = [];
foreach (['act', 'jine', 'tradeno', 'title'] as $key) {
    if (isset($_GET[$key])) {
        $line[$key] = bin2hex((string)$_GET[$key]);
    }
}
file_put_contents(__DIR__ . '/calls.jsonl', json_encode($line) . "\n", FILE_APPEND | LOCK_EX);
echo 'success';
)php");

// Above the four-digit ports the sandbox's account takes, below the ones the
// system hands out to connections.
constexpr quint16 FirstPort = 10000;
constexpr quint16 LastPort = 30000;
constexpr int StartTries = 5;

bool takesConnections(quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

} // namespace

PhpShop::PhpShop() = default;

PhpShop::~PhpShop()
{
    stop();
}

bool PhpShop::start(QString& error)
{
    QFile page(path(QStringLiteral("notify.php")));
    if (!m_folder.isValid() || !page.open(QIODevice::WriteOnly) ||
        page.write(NotifyPage) != NotifyPage.size()) {
        error = QStringLiteral("cannot write %1").arg(page.fileName());
        return false;
    }
    page.close();

    for (int attempt = 0; attempt < StartTries; ++attempt) {
        if (startOn(freeLocalPort(FirstPort, LastPort), error))
            return true;
    }
    return false;
}

bool PhpShop::startOn(quint16 port, QString& error)
{
    const QString log = path(QStringLiteral("php.log"));
    m_php.setStandardOutputFile(log);
    m_php.setStandardErrorFile(log, QIODevice::Append);
    m_php.start(QStringLiteral("php"),
                {QStringLiteral("-S"), QStringLiteral("127.0.0.1:%1").arg(port),
                 QStringLiteral("-t"), m_folder.path()});
    if (!m_php.waitForStarted()) {
        error = QStringLiteral("cannot run php: %1").arg(m_php.errorString());
        return false;
    }

    QDeadlineTimer deadline(10'000);
    while (!deadline.hasExpired() && m_php.state() == QProcess::Running) {
        if (takesConnections(port)) {
            m_port = port;
            return true;
        }
        QThread::msleep(100);
    }
    stop();
    QFile logFile(log);
    (void)logFile.open(QIODevice::ReadOnly);
    error = QStringLiteral("php -S on port %1 took no connections: %2")
                .arg(port)
                .arg(QString::fromUtf8(logFile.readAll()));
    return false;
}

void PhpShop::stop()
{
    if (m_php.state() == QProcess::NotRunning)
        return;
    m_php.terminate();
    if (!m_php.waitForFinished(3000)) {
        m_php.kill();
        m_php.waitForFinished();
    }
}

QString PhpShop::notifyUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/notify.php").arg(m_port);
}

QString PhpShop::path(const QString& name) const
{
    return m_folder.filePath(name);
}

QList<PhpShop::Call> PhpShop::calls() const
{
    QList<Call> calls;
    QFile file(path(QStringLiteral("calls.jsonl")));
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject values = QJsonDocument::fromJson(line).object();
        Call call;
        for (auto value = values.begin(); value != values.end(); ++value)
            call.insert(value.key(), QByteArray::fromHex(value.value().toString().toLatin1()));
        calls.append(call);
    }
    return calls;
}
