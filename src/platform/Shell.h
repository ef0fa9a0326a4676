#pragma once

#include <QString>

// Hands an address to the system's handler for web addresses.
class Shell {
public:
    virtual ~Shell() = default;

    virtual void openAddress(const QString& address) = 0;
};
