// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// PHP's own web server on 127.0.0.1 serving a delivery page that answers
// "success" and writes down, for every call, the bytes PHP decoded for each
// of act, jine, tradeno and title.
class PhpShop {
public:
    // The values of one call that PHP found in $_GET, by name.
    using Call = QHash<QString, QByteArray>;

    PhpShop();
    ~PhpShop();

    // Starts PHP on a free port and waits until it takes connections. False,
    // with `error` saying why, when it does not.
    bool start(QString& error);
    QString notifyUrl() const;
    // A file in the served folder, for other files a test needs.
    QString path(const QString& name) const;
    // Every call so far, in order.
    QList<Call> calls() const;

private:
    bool startOn(quint16 port, QString& error);
    void stop();

    QTemporaryDir m_folder;
    QProcess m_php;
    quint16 m_port = 0;
};
