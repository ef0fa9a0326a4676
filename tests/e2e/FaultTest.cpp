// SPDX-License-Identifier: GPL-3.0-or-later

#include "InProcessSandbox.h"

#include "platform/BrowserControl.h"
#include "scan/ScanCycle.h"
#include "session/KeepAlive.h"
#include "state/StatusTexts.h"
#include "support/TestRegistry.h"
#include "ui/Form1.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <memory>

namespace {

SandboxOptions onePayment()
{
    SandboxOptions options;
    options.payments = {{QStringLiteral("Order 1001"), QStringLiteral("12.50")}};
    // Far beyond a test's run: every tick here is started by the test.
    options.interval = QStringLiteral("3600");
    options.records = QStringLiteral("1");
    return options;
}

QString resultLine(const SimulatedPayment& payment, const QString& outcome)
{
    return payment.title + u',' + payment.amount + u',' + payment.tradeNo + u',' + outcome;
}

} // namespace

// Each case has a sandbox of its own, logged in, with one payment not yet
// delivered.
class FaultTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void shopDownIsTriedAgainUntilItIsBack_data();
    void shopDownIsTriedAgainUntilItIsBack();
    void shopErrorIsTriedAgainOnTheNextTick();
    void answerWithoutSuccessDeliversNothing();
    void expiredSessionShowsTheLoginFormAndResumes();
    void refreshDuringThePauseLeavesTheSecondCall();

private:
    QString rejectedLine() const;

    std::unique_ptr<InProcessSandbox> m_sandbox;
    SimulatedPayment m_payment;
};

void FaultTest::init()
{
    m_sandbox = std::make_unique<InProcessSandbox>(onePayment());
    const QString error = m_sandbox->start();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(m_sandbox->waitUntilScanning());
    m_payment = m_sandbox->account().payments().constFirst();
}

void FaultTest::cleanup()
{
    m_sandbox.reset();
}

QString FaultTest::rejectedLine() const
{
    return resultLine(m_payment, m_sandbox->state().deliveryUrl() + ScanCycle::RejectedOutcome);
}

void FaultTest::shopDownIsTriedAgainUntilItIsBack_data()
{
    QTest::addColumn<bool>("hangsUp");
    QTest::newRow("connection refused") << false;
    QTest::newRow("connection closed unanswered") << true;
}

void FaultTest::shopDownIsTriedAgainUntilItIsBack()
{
    QFETCH(bool, hangsUp);
    InProcessSandbox& sandbox = *m_sandbox;
    const quint16 port = sandbox.shop().port();
    sandbox.shop().close();

    // In place of the shop: reads each request line, then hangs up.
    QTcpServer hangingUp;
    QElapsedTimer sinceTick;
    QList<qint64> callTimes;
    if (hangsUp) {
        QVERIFY(hangingUp.listen(QHostAddress::LocalHost, port));
        connect(&hangingUp, &QTcpServer::newConnection, &hangingUp, [&] {
            while (QTcpSocket* socket = hangingUp.nextPendingConnection()) {
                connect(socket, &QIODevice::readyRead, socket, [&, socket] {
                    if (!socket->canReadLine())
                        return;
                    if (socket->readLine().contains(m_payment.tradeNo.toLatin1()))
                        callTimes.append(sinceTick.elapsed());
                    socket->abort();
                });
            }
        });
    }

    for (int attempt = 1; attempt <= 2; ++attempt) {
        callTimes.clear();
        sinceTick.start();
        QVERIFY(sandbox.tick());
        QCOMPARE(sandbox.resultLines(), QStringList{rejectedLine()});
        QCOMPARE(sandbox.watch().scanCycle().SentTradeNo[1], QString());
        if (hangsUp) {
            // One call before the pause and one after it, neither sent again
            // although the shop hung up on both.
            QCOMPARE(callTimes.size(), 2);
            QVERIFY2(callTimes[1] - callTimes[0] >= 2000,
                     qPrintable(QStringLiteral("attempt %1").arg(attempt)));
        }
    }
    QVERIFY(sandbox.shop().notifications().isEmpty());

    hangingUp.close();
    QVERIFY(sandbox.shop().listen(port));
    QVERIFY(sandbox.tick());
    QCOMPARE(sandbox.resultLines(),
             QStringList{resultLine(m_payment, ScanCycle::DeliveredOutcome)});
    QCOMPARE(sandbox.watch().scanCycle().SentTradeNo[1], m_payment.tradeNo);
    QCOMPARE(sandbox.shop().notifications().size(), 2);
}

void FaultTest::shopErrorIsTriedAgainOnTheNextTick()
{
    InProcessSandbox& sandbox = *m_sandbox;
    sandbox.shop().failNext(2);

    QVERIFY(sandbox.tick());
    QCOMPARE(sandbox.resultLines(), QStringList{rejectedLine()});
    QCOMPARE(sandbox.watch().scanCycle().SentTradeNo[1], QString());
    QCOMPARE(sandbox.shop().notifications().size(), 2);

    QVERIFY(sandbox.tick());
    QCOMPARE(sandbox.resultLines(),
             QStringList{resultLine(m_payment, ScanCycle::DeliveredOutcome)});
    QCOMPARE(sandbox.watch().scanCycle().SentTradeNo[1], m_payment.tradeNo);
    const QList<ShopNotification> calls = sandbox.shop().notifications();
    QCOMPARE(calls.size(), 4);
    for (const ShopNotification& call : calls)
        QCOMPARE(call.tradeno, m_payment.tradeNo);
}

void FaultTest::answerWithoutSuccessDeliversNothing()
{
    InProcessSandbox& sandbox = *m_sandbox;
    const QString wrongKey = QStringLiteral("not-the-key");
    sandbox.window().Text4->setText(wrongKey);

    QVERIFY(sandbox.tick());
    QCOMPARE(sandbox.resultLines(), QStringList{rejectedLine()});
    QCOMPARE(sandbox.watch().scanCycle().SentTradeNo[1], QString());
    const QList<ShopNotification> calls = sandbox.shop().notifications();
    QCOMPARE(calls.size(), 2);
    for (const ShopNotification& call : calls) {
        QCOMPARE(call.act, wrongKey);
        QCOMPARE(call.tradeno, m_payment.tradeNo);
    }
}

// The record page goes to the login form: the window says the login was
// lost, shows the form without the owner's help, and scans again once the
// owner (here the sandbox) has logged in.
void FaultTest::expiredSessionShowsTheLoginFormAndResumes()
{
    InProcessSandbox& sandbox = *m_sandbox;
    WindowState& state = sandbox.state();
    SimulatedAccount& account = sandbox.account();
    QSignalSpy served(&account, &SimulatedAccount::recordPageServed);
    QSignalSpy loggedIn(&account, &SimulatedAccount::loggedIn);
    QSignalSpy addresses(&sandbox.view(), &QWebEngineView::urlChanged);
    QSignalSpy status(&state, &WindowState::statusChanged);

    account.expireSessions();
    QVERIFY(sandbox.tick());
    QCOMPARE(state.scanState(), ScanState::SessionLost);
    QCOMPARE(state.status(), SessionLostStatus);
    QVERIFY(served.isEmpty());
    QVERIFY(sandbox.shop().notifications().isEmpty());

    QTRY_COMPARE_WITH_TIMEOUT(state.status(), ScanningStatus, InProcessSandbox::Timeout);
    QVERIFY(addresses.contains(QVariantList{QUrl(account.loginUrl())}));
    QVERIFY(status.contains(QVariantList{LoginRequestStatus}));
    QCOMPARE(loggedIn.count(), 1);

    const std::optional<SimulatedPayment> next =
        account.addPayment(QStringLiteral("Order 1002"), QStringLiteral("3.00"));
    QVERIFY(next);
    QVERIFY(sandbox.tick());
    QCOMPARE(sandbox.resultLines(), QStringList{resultLine(*next, ScanCycle::DeliveredOutcome)});
    QCOMPARE(sandbox.watch().scanCycle().SentTradeNo[1], next->tradeNo);
    const QList<ShopNotification> calls = sandbox.shop().notifications();
    QCOMPARE(calls.size(), 2);
    for (const ShopNotification& call : calls)
        QCOMPARE(call.tradeno, next->tradeNo);
}

// A refresh in the pause finds no fetch waiting: the second call goes out
// once, and its answer counts.
void FaultTest::refreshDuringThePauseLeavesTheSecondCall()
{
    InProcessSandbox& sandbox = *m_sandbox;
    connect(&sandbox.shop(), &SimulatedShop::notified, this, [&] {
        if (sandbox.shop().notifications().size() == 1) {
            QTimer::singleShot(500, this, [&] {
                sandbox.watch().keepAlive().RefreshTicks = KeepAlive::TicksBetweenRefreshes - 1;
                sandbox.watch().keepAlive().Timer2_Timer();
            });
        }
    });

    QVERIFY(sandbox.tick());
    QCOMPARE(sandbox.resultLines(),
             QStringList{resultLine(m_payment, ScanCycle::DeliveredOutcome)});
    const QString firstLine = sandbox.state().page().section("\r\n", 0, 0);
    QVERIFY(firstLine.endsWith(sandbox.account().endpoints().PersonalHomeUrl));
    // A call the refresh sent again would have come by the next scan's end.
    QVERIFY(sandbox.tick());
    QCOMPARE(sandbox.shop().notifications().size(), 2);
}

TOLLWICK_TEST(FaultTest)
#include "FaultTest.moc"
