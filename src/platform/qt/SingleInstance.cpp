// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Activate = QByteArrayLiteral("activate\n");
constexpr int ActivationTimeoutMs = 2000;

// Whether `path` is a folder of this user's that nobody else may enter. A
// symbolic link, which another user may have planted, is none.
bool isOwnPrivateFolder(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 07777) == S_IRWXU;
}

// `path` made a folder only this user may enter, when it is missing. False
// when what is there is not such a folder.
bool makeOwnPrivateFolder(const QString& path)
{
    ::mkdir(QFile::encodeName(path).constData(), S_IRWXU);
    return isOwnPrivateFolder(path);
}

// Another local user must not be able to hold the lock or answer on the
// socket in the owner's place: that would keep the owner's program from
// starting.
QString instanceFolder(const QString& name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isOwnPrivateFolder(runtime))
        return runtime;
    const QString temporary =
        QStringLiteral("%1/%2-%3").arg(QDir::tempPath(), name).arg(::geteuid());
    if (makeOwnPrivateFolder(temporary))
        return temporary;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(cache);
    const QString home = cache + u'/' + name;
    makeOwnPrivateFolder(home);
    return home;
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
    , m_folder(instanceFolder(name))
    , m_socketName(QStringLiteral("%1/%2.socket").arg(m_folder, name))
    , m_lock(QStringLiteral("%1/%2.lock").arg(m_folder, name))
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
