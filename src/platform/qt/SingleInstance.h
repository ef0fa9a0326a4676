// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// One running program per user: two would scan the same account and deliver
// every payment twice. The first start holds a lock and listens; a later
// start finds the lock held, asks the running one to come to the front, and
// gives up. A lock left by a program that crashed does not count.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `name` tells programs apart. The lock and the socket live in a folder
    // only this user may enter: the session's runtime folder; without one, a
    // folder named after `name` and the user id in the temporary folder,
    // made 0700; when another user took that name first, or it is open to
    // others, one in the user's cache folder.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);

    // True when this is the one instance now. False when another runs; it
    // has been asked to show itself.
    bool claim();

Q_SIGNALS:
    // A later start asked this instance to show itself.
    void activated();

private:
    QString m_folder;
    QString m_socketName;
    QLockFile m_lock;
    QLocalServer m_server;
};
