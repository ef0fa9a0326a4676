// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"
#include "session/BrowserSleep.h"
#include "state/WindowState.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The sandbox's command line. Records, interval and charset stay the texts
// given, since they are typed into the window's boxes as they are.
struct SandboxOptions {
    struct Payment {
        QString title;
        // With two decimals.
        QString amount;
    };

    static constexpr quint16 DefaultPort = 8631;

    // The options explained, when they were asked for; nothing else is set then.
    QString help;
    bool headless = false;
    // Oldest first.
    QList<Payment> payments;
    // Served instead of the generated record page.
    std::optional<QByteArray> recordPage;
    // Empty for the simulated shop's address.
    QString notifyUrl;
    // The window's defaults unless given.
    QString key = WindowState::DefaultInterfaceKey;
    QString records = WindowState::DefaultRecordCount;
    QString interval = WindowState::DefaultScanInterval;
    QString charset = WindowState::DefaultShopCharset;
    // Scans to run to their end before the sandbox exits; none to run until
    // closed.
    std::optional<int> ticks;
    // Four digits keep the account's home address 34 characters long.
    quint16 port = DefaultPort;
    int shopFailures = 0;
    // The delivery journal's file; empty for the sandbox's own data folder.
    QString journal;
    // Where alerts go, for this run only; unset for none. Without a kind
    // named, a GET when the address holds "{text}", otherwise a POST of the
    // usual JSON.
    AlertChannel alertChannel;
    // Empty for no heartbeat.
    QString heartbeatUrl;
    // The first pause before an alert is tried again, and the least time
    // between two heartbeats; shorter than the program's only in tests.
    int alertRetryFirstSeconds = 30;
    int heartbeatEverySeconds = 60;

    // Seconds without input before the browser sleeps while scanning; 0 for
    // never.
    int browserSleep = BrowserSleep::DefaultIdleMs / 1000;

    // Whether the notifications go to a shop on another machine: a real one,
    // which marks an order paid for every payment the sandbox adds.
    bool notifiesAnotherMachine() const;

    // `arguments` starts with the program name. Nothing, and `error` says
    // why, when they cannot be used.
    static std::optional<SandboxOptions> parse(const QStringList& arguments, QString& error);
};
