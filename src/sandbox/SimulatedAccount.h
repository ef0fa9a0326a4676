// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sandbox/SimulatedPayment.h"
#include "state/Endpoints.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class QHttpServer;
class QHttpServerRequest;
class QHttpServerResponse;

// A personal payment account on 127.0.0.1: a login form, home pages, the
// session refresh, the GBK record page the program scans, and /sandbox where
// a person adds payments from a browser on this machine. It serves only
// requests addressed to 127.0.0.1, localhost or [::1] on its port and, when
// they carry an Origin, sent from its own pages; adding a payment is a POST
// that carries the run's control token, which /sandbox embeds in its form.
class SimulatedAccount : public QObject {
    Q_OBJECT

public:
    static const QString User;
    static const QString Password;
    static const QByteArray SessionCookie;

    explicit SimulatedAccount(QObject* parent = nullptr);
    ~SimulatedAccount() override;

    // Port 0 takes any free one. The program recognises home pages by 34
    // characters, which the addresses below have with a 4-digit port.
    bool listen(quint16 port);
    quint16 port() const { return m_port; }
    // Made anew for every account: what a script needs to add payments.
    QByteArray controlToken() const { return m_controlToken; }

    // The account's addresses, as the program is configured with them; the
    // help page and the shop are not the account's.
    Endpoints endpoints() const;
    // The one record page address that lists payments on `today`.
    QString recordPageUrl(QDate today) const;
    QString loginUrl() const;

    // Adds a payment as the newest; nothing when the amount is not valid.
    std::optional<SimulatedPayment> addPayment(const QString& title, const QString& amount);
    // Newest first, as the record page lists them.
    QList<SimulatedPayment> payments() const { return m_payments; }

    // The record page answers with exactly these bytes from now on, still
    // only to a logged-in request for today's window.
    void setRecordPage(const QByteArray& page) { m_recordPage = page; }
    // Logs every browser and client out.
    void expireSessions() { m_sessions.clear(); }

Q_SIGNALS:
    void paymentAdded(const SimulatedPayment& payment);
    void loggedIn();
    // A logged-in request for today's window got the record page.
    void recordPageServed();

private:
    using Page = std::function<QHttpServerResponse(const QHttpServerRequest&)>;

    // Serves `page` at `path` to requests from this machine's own pages only.
    void serve(const QString& path, Page page);
    bool isOwnRequest(const QHttpServerRequest& request) const;
    QString address(const QString& path) const;
    QString nextTradeNo();
    // The request's session token when it is one we issued; empty otherwise.
    QByteArray sessionOf(const QHttpServerRequest& request) const;

    QHttpServerResponse login(const QHttpServerRequest& request);
    QHttpServerResponse home(const QHttpServerRequest& request) const;
    QHttpServerResponse keepAlive(const QHttpServerRequest& request);
    QHttpServerResponse recordPage(const QHttpServerRequest& request);
    QHttpServerResponse sandbox() const;
    QHttpServerResponse pay(const QHttpServerRequest& request);

    QHttpServer* m_server;
    const QByteArray m_controlToken;
    quint16 m_port = 0;
    QList<SimulatedPayment> m_payments;
    std::optional<QByteArray> m_recordPage;
    QSet<QByteArray> m_sessions;
    qint64 m_tradeCounter = 0;
};
