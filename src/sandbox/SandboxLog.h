// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sandbox/ShopNotification.h"

#include <QString>

#include <memory>

struct Alert;
struct AlertSend;
struct DeliveryAttempt;

class QIODevice;
class QJsonObject;

// What the sandbox shows, one compact JSON object per line, so that a script
// can follow a headless run as it happens.
class SandboxLog {
public:
    // Writes to standard output.
    SandboxLog();
    // Writes to `device`, which must stay open while the log is used.
    explicit SandboxLog(QIODevice* device);
    ~SandboxLog();

    // What a script needs to add payments through /sandbox/pay.
    void control(const QByteArray& token);
    // The window's status box and page box.
    void status(const QString& text);
    void page(const QString& text);
    void shop(const ShopNotification& notification);
    // What the scan told of a payment.
    void delivery(const DeliveryAttempt& attempt);
    void alert(const Alert& alert);
    void cleared(const Alert& alert);
    // A try to hand a message to the alert address.
    void alertSent(const AlertSend& send);
    void heartbeat(int status);
    void exit(int scans);

private:
    void write(const QJsonObject& line);

    std::unique_ptr<QIODevice> m_ownDevice;
    QIODevice* m_device;
};
