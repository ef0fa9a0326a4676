// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

class SecretStore;
class WindowState;

// The window's five settings kept across runs, when the owner asks for it
// ("启动时恢复上次的设置"; off unless chosen, so a default start begins
// with the defaults): saved as they change, restored at start. The interface
// key is kept in the secret store; until the store has answered, the watch
// delivers nothing, since it would send the key the box showed before.
class RememberedSettings : public QObject {
    Q_OBJECT

public:
    // `path` is the settings file; empty: never kept.
    RememberedSettings(WindowState& state, SecretStore& secrets, const QString& path,
                       QObject* parent = nullptr);

    bool enabled() const;
    // Turned off, what was kept is forgotten; turned on, it is kept from now.
    void setEnabled(bool enabled);
    // Puts back what was kept, when the owner wants it.
    void restore();

private:
    void save();
    void saveKey();

    WindowState& m_state;
    SecretStore& m_secrets;
    QString m_path;
};
