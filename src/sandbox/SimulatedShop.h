// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sandbox/ShopNotification.h"

#include <QList>
#include <QObject>
#include <QString>

class QHttpServer;
class QHttpServerRequest;
class QHttpServerResponse;

// A shop's delivery page (/notify.php) on 127.0.0.1 that reads its query as
// a PHP site in `charset` does, and accepts calls that carry its key.
class SimulatedShop : public QObject {
    Q_OBJECT

public:
    // `charset` is named as in the program's charset box and resolved the
    // same way ("gb2312" is GBK); a name no browser knows leaves the shop
    // on UTF-8, PHP's default, as the program then sends UTF-8 too.
    SimulatedShop(const QString& key, const QString& charset, QObject* parent = nullptr);
    ~SimulatedShop() override;

    // Port 0 takes any free one.
    bool listen(quint16 port);
    // Stops listening at once and drops open connections when control
    // returns to the event loop, as a shop that went down. Safe to call from
    // a notified() handler.
    void close();
    quint16 port() const { return m_port; }
    QString notifyUrl() const;

    // The next `count` notifications are recorded but fail with HTTP 500.
    void failNext(int count) { m_failuresLeft = count; }
    QList<ShopNotification> notifications() const { return m_notifications; }

Q_SIGNALS:
    void notified(const ShopNotification& notification);

private:
    QHttpServerResponse notify(const QHttpServerRequest& request);
    QString decoded(const QByteArray& bytes) const;

    QString m_key;
    QString m_charset;
    // Rebuilt on every listen: deleting it is what closes its connections.
    QHttpServer* m_server = nullptr;
    quint16 m_port = 0;
    int m_failuresLeft = 0;
    QList<ShopNotification> m_notifications;
};
