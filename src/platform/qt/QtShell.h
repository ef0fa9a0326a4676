#pragma once

#include "platform/Shell.h"

class QtShell : public Shell {
public:
    void openAddress(const QString& address) override;
};
