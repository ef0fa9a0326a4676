#pragma once

#include "platform/Shell.h"

#include <QStringList>

class FakeShell : public Shell {
public:
    void openAddress(const QString& address) override { opened.append(address); }

    QStringList opened;
};
