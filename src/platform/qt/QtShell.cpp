// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

bool QtShell::openAddress(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address));
}
