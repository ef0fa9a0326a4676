// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Keyring.h"

// The desktop's keyring through QtKeychain (the Secret Service or KWallet),
// under the service name "tollwick".
class QtKeychainKeyring : public Keyring {
public:
    void read(const QString& name, std::function<void(const Reading&)> done) override;
    void write(const QString& name, const QString& secret,
               std::function<void(bool stored)> done) override;
    void remove(const QString& name) override;
};
