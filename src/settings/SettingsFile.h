// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

class AlertSettings;
class SecretStore;

// Keeps the alert settings across runs: the kind of address and its options
// in an INI file that only its owner may read (made 0600, in a folder of
// 0700, before anything is written to it), the address, its secret and the
// heartbeat address, which carry tokens, in the secret store. Until the
// store has answered, the settings say they are not loaded. Settings kept at
// `earlierPath` are moved in at the first start, an address saved as a GET
// or a JSON POST turning into the custom kind that sends the same.
class SettingsFile : public QObject {
    Q_OBJECT

public:
    SettingsFile(AlertSettings& settings, SecretStore& secrets, const QString& path,
                 const QString& earlierPath, QObject* parent = nullptr);

    // ~/.config/tollwick/tollwick.conf
    static QString defaultPath();
    // Where they were kept while the program named no organization.
    static QString earlierDefaultPath();

private:
    void moveIn(const QString& earlierPath);
    void load();
    void loadSecrets();
    void save();

    AlertSettings& m_settings;
    SecretStore& m_secrets;
    QString m_path;
};
