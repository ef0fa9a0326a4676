// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

class QtShell : public Shell {
public:
    bool openAddress(const QString& address) override
    {
        return QDesktopServices::openUrl(QUrl(address));
    }
};
