#include "platform/qt/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

const QByteArray Activate = QByteArrayLiteral("activate\n");
constexpr int ActivationTimeoutMs = 2000;

QString runtimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
    , m_socketName(QStringLiteral("%1/%2.socket").arg(runtimeFolder(), name))
    , m_lock(QStringLiteral("%1/%2.lock").arg(runtimeFolder(), name))
{
    // Held for as long as the program runs; only a dead holder frees it.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = m_server.nextPendingConnection()) {
            connect(caller, &QLocalSocket::readyRead, caller, [this, caller] {
                if (caller->readAll().contains(Activate))
                    Q_EMIT activated();
                caller->disconnectFromServer();
            });
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::claim()
{
    if (m_lock.tryLock(0)) {
        // A socket file left by a crashed holder would block listening.
        QLocalServer::removeServer(m_socketName);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        m_server.listen(m_socketName);
        return true;
    }
    QLocalSocket running;
    running.connectToServer(m_socketName);
    if (running.waitForConnected(ActivationTimeoutMs)) {
        running.write(Activate);
        running.waitForBytesWritten(ActivationTimeoutMs);
        running.waitForDisconnected(ActivationTimeoutMs);
    }
    return false;
}
