// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Shell.h"

#include <QStringList>

class FakeShell : public Shell {
public:
    bool openAddress(const QString& address) override
    {
        opened.append(address);
        return handlerAvailable;
    }

    QStringList opened;
    bool handlerAvailable = true;
};
