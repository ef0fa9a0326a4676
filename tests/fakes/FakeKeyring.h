// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/FakeClock.h"
#include "platform/Keyring.h"

#include <QMap>

// A keyring in memory that answers on the fake clock; one that is not
// `available` answers as a desktop without a keyring does.
class FakeKeyring : public Keyring {
public:
    explicit FakeKeyring(FakeClock& clock)
        : m_clock(clock)
    {
    }

    void read(const QString& name, std::function<void(const Reading&)> done) override
    {
        Reading reading{available, std::nullopt};
        if (available && secrets.contains(name))
            reading.secret = secrets.value(name);
        m_clock.schedule(0, [done, reading] { done(reading); });
    }
    void write(const QString& name, const QString& secret,
               std::function<void(bool stored)> done) override
    {
        if (available)
            secrets.insert(name, secret);
        m_clock.schedule(0, [done, stored = available] { done(stored); });
    }
    void remove(const QString& name) override { secrets.remove(name); }

    bool available = true;
    QMap<QString, QString> secrets;

private:
    FakeClock& m_clock;
};
