// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SecretStore.h"

#include "platform/Keyring.h"
#include "platform/PrivateFile.h"

#include <QPointer>
#include <QSettings>

SecretStore::SecretStore(Keyring& keyring, const QString& settingsPath, QObject* parent)
    : QObject(parent)
    , m_keyring(keyring)
    , m_settingsPath(settingsPath)
    , m_place(settingsPath.isEmpty() ? Place::Memory : Place::NotYetKnown)
{
}

void SecretStore::read(const QString& name, std::function<void(const QString& secret)> done)
{
    if (m_settingsPath.isEmpty()) {
        done({});
        return;
    }
    QPointer<SecretStore> self(this);
    m_keyring.read(name, [self, name, done](const Keyring::Reading& reading) {
        if (!self)
            return;
        if (!reading.available) {
            self->m_place = Place::SettingsFile;
            done(self->fromFile(name));
            return;
        }
        self->m_place = Place::Keyring;
        if (reading.secret) {
            done(*reading.secret);
            return;
        }
        const QString kept = self->fromFile(name);
        if (!kept.isEmpty())
            self->write(name, kept);
        done(kept);
    });
}

void SecretStore::write(const QString& name, const QString& secret)
{
    if (m_settingsPath.isEmpty())
        return;
    if (secret.isEmpty()) {
        m_keyring.remove(name);
        toFile(name, {});
        return;
    }
    QPointer<SecretStore> self(this);
    m_keyring.write(name, secret, [self, name, secret](bool stored) {
        if (!self)
            return;
        // Never in both places: the file's copy goes once the keyring has it.
        self->toFile(name, stored ? QString() : secret);
        self->m_place = stored ? Place::Keyring : Place::SettingsFile;
    });
}

QString SecretStore::fromFile(const QString& name) const
{
    return QSettings(m_settingsPath, QSettings::IniFormat).value(name).toString();
}

void SecretStore::toFile(const QString& name, const QString& secret) const
{
    QSettings file(m_settingsPath, QSettings::IniFormat);
    if (secret.isEmpty()) {
        file.remove(name);
        return;
    }
    // Only into a file its owner alone may read.
    if (!makePrivateFile(m_settingsPath, "Secret"))
        return;
    file.setValue(name, secret);
}
