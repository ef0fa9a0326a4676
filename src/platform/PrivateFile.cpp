// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(const QString& path)
{
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
}

bool makePrivateFolder(const QString& path, QString& error)
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(QDir(path).absolutePath()); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).path())
        missing.prepend(folder);
    for (const QString& folder : std::as_const(missing)) {
        // One that appeared meanwhile is somebody else's, and stays as it is.
        if (::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) != 0 && errno != EEXIST) {
            error = systemError(folder);
            return false;
        }
    }
    return true;
}

} // namespace

bool makePrivateFile(const QString& path, QString& error)
{
    if (!makePrivateFolder(QFileInfo(path).absolutePath(), error))
        return false;
    // open() applies the mode at creation, so there is no moment in which
    // the file is readable by others; fchmod narrows one that existed.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC,
                                  S_IRUSR | S_IWUSR);
    if (descriptor < 0) {
        error = systemError(path);
        return false;
    }
    const bool narrowed = ::fchmod(descriptor, S_IRUSR | S_IWUSR) == 0;
    if (!narrowed)
        error = systemError(path);
    ::close(descriptor);
    return narrowed;
}

FileIdentity identityOf(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {quint64(status.st_dev), quint64(status.st_ino)};
}

bool makePrivateFile(const QString& path, const char* what)
{
    QString error;
    if (makePrivateFile(path, error))
        return true;
    qWarning("%s not kept: %s", what, qPrintable(error));
    return false;
}
