// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/FakeWatch.h"
#include "support/RecordPages.h"

const QString NotifyUrl = QStringLiteral("http://localhost/notify.php");

// The watch on fake platform objects, logged in and scanning only when a
// test ticks. The record page shows `payments`; the shop answers `shopReply`,
// or "no" to the calls for the trade number `refused`.
struct ScanFixture : FakeWatch {
    QList<Payment> payments;
    QByteArray shopReply = "success";
    QString refused;
    int shopStatus = 200;
    qint64 shopDelayMs = 0;
    // How long each first call takes to end; the second is the one counted.
    qint64 firstCallDelayMs = 0;
    // Where the record page's request ends; empty for where it was sent.
    QString recordPageReachedAt;
    int recordPageStatus = 200;

    ScanFixture()
    {
        fake.http.respond = [this](const QString& address) {
            if (address.startsWith(Endpoints::service().RecordQueryUrl))
                return FakeResponse{recordPage(payments), recordPageStatus, recordPageReachedAt};
            const bool first = notifications().size() % 2 == 1;
            const bool refuse = !refused.isEmpty() && address.contains(refused);
            const qint64 delayMs = first ? firstCallDelayMs : shopDelayMs;
            return FakeResponse{refuse ? QByteArray("no") : shopReply, shopStatus, {}, delayMs};
        };
        state.setDeliveryUrl(NotifyUrl);
        // Long enough that only the test's own ticks scan.
        state.setScanInterval(QStringLiteral("100000"));
        logIn();
    }

    // One tick, run until its scan has ended.
    void tick()
    {
        Q_EMIT watch.Timer1->Timer();
        runScan();
    }
    void runScan()
    {
        for (int step = 0; step < 6000 && watch.scanCycle().running(); ++step)
            fake.clock.advance(100);
    }
    QString pageBox() const { return state.page(); }
    // Both calls of every payment, in the order sent.
    QStringList notifications() const
    {
        QStringList sent = fake.http.sent;
        sent.removeIf([](const QString& a) { return !a.startsWith(NotifyUrl); });
        return sent;
    }
};

inline Payment payment(int serial, const QString& title = QStringLiteral("Order"))
{
    return {tradeNumber(serial), title + QString::number(serial), QStringLiteral("0.01")};
}
