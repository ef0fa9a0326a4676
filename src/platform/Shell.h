// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Hands an address to the system's handler for web addresses.
class Shell {
public:
    virtual ~Shell() = default;

    // False when no handler took it.
    virtual bool openAddress(const QString& address) = 0;
};
