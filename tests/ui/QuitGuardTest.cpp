// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/QuitGuard.h"
#include "fakes/FakeWindow.h"
#include "support/TestRegistry.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QMessageBox* question(const Form1& window)
{
    return window.findChild<QMessageBox*>("quitQuestion");
}

void answer(const Form1& window, const QString& button)
{
    for (QAbstractButton* choice : question(window)->buttons()) {
        if (choice->text() == button)
            choice->click();
    }
}

} // namespace

// Closing ends every delivery: while they are meant to go on, the owner is
// asked, and only "退出" ends the program.
class QuitGuardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // With a tray the program can go on out of sight instead.
    void closingAsksWhileDeliveriesRun_data()
    {
        QTest::addColumn<ScanState>("scanState");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("asks");
        QTest::newRow("waiting for a login") << ScanState::WaitingForLogin << false << false;
        QTest::newRow("stopped") << ScanState::Stopped << false << false;
        QTest::newRow("scanning") << ScanState::Scanning << false << true;
        QTest::newRow("session lost") << ScanState::SessionLost << false << true;
        QTest::newRow("interval invalid") << ScanState::IntervalInvalid << false << true;
        QTest::newRow("scanning, with a tray") << ScanState::Scanning << true << true;
    }

    void closingAsksWhileDeliveriesRun()
    {
        QFETCH(ScanState, scanState);
        QFETCH(bool, tray);
        QFETCH(bool, asks);
        FakeWindow w;
        QuitGuard guard(w.window, w.state, tray);
        QSignalSpy quit(&guard, &QuitGuard::quitConfirmed);
        w.window.show();
        w.state.setScanState(scanState);

        QCOMPARE(w.window.close(), !asks);
        QCOMPARE(quit.size(), asks ? 0 : 1);
        if (!asks)
            return;
        QVERIFY(question(w.window)->isVisible());
        QCOMPARE(question(w.window)->text(), QStringLiteral("关闭后将停止自动发货，确定退出吗？"));
        QCOMPARE(question(w.window)->defaultButton()->text(), QStringLiteral("取消"));
        answer(w.window, tray ? QStringLiteral("最小化到托盘") : QStringLiteral("取消"));
        QCOMPARE(w.window.isVisible(), !tray);
        QCOMPARE(quit.size(), 0);

        guard.requestQuit();
        answer(w.window, QStringLiteral("退出"));
        QCOMPARE(quit.size(), 1);
    }
};

TOLLWICK_TEST(QuitGuardTest)
#include "QuitGuardTest.moc"
