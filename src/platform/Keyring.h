// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>
#include <optional>

// The desktop's keyring, which keeps secrets out of files. Every answer comes
// later, once the keyring has answered.
class Keyring {
public:
    struct Reading {
        // False when no keyring answered at all.
        bool available = false;
        // Nothing when the keyring holds no such secret.
        std::optional<QString> secret;
    };

    virtual ~Keyring() = default;

    virtual void read(const QString& name, std::function<void(const Reading&)> done) = 0;
    // `done` tells whether the keyring took the secret.
    virtual void write(const QString& name, const QString& secret,
                       std::function<void(bool stored)> done) = 0;
    virtual void remove(const QString& name) = 0;
};
