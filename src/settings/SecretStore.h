// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <functional>

class Keyring;

// Keeps secrets (the interface key, the alert address and its tokens) in the
// desktop's keyring, and, where no keyring answers, in the owner-only
// settings file. A secret an earlier version kept in that file moves into the
// keyring the first time it is read where a keyring answers.
class SecretStore : public QObject {
    Q_OBJECT

public:
    enum class Place { NotYetKnown, Keyring, SettingsFile, Memory };

    // `settingsPath` empty: secrets are kept in memory for this run only.
    SecretStore(Keyring& keyring, const QString& settingsPath, QObject* parent = nullptr);

    // `done` gets the secret, the empty text when there is none.
    void read(const QString& name, std::function<void(const QString& secret)> done);
    // The empty text forgets it.
    void write(const QString& name, const QString& secret);
    // Where the secrets went, as far as the last answer tells.
    Place place() const { return m_place; }

private:
    QString fromFile(const QString& name) const;
    void toFile(const QString& name, const QString& secret) const;

    Keyring& m_keyring;
    QString m_settingsPath;
    Place m_place;
};
