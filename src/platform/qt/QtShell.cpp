#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

void QtShell::openAddress(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}
