// SPDX-License-Identifier: GPL-3.0-or-later

#include "InProcessSandbox.h"

#include "ProcessFootprint.h"
#include "platform/BrowserControl.h"
#include "scan/ScanCycle.h"
#include "state/StatusTexts.h"
#include "support/TestRegistry.h"
#include "ui/Form1.h"
#include "ui/InputWatch.h"
#include "ui/SleepPicture.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

// One sandbox whose browser sleeps after 5 s without input; each step starts
// where the one before left the window.
class SleepingBrowserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        SandboxOptions options;
        options.payments = {{QStringLiteral("Order 1001"), QStringLiteral("12.50")}};
        // Every tick here is started by the test.
        options.interval = QStringLiteral("3600");
        options.browserSleep = 5;
        m_sandbox = std::make_unique<InProcessSandbox>(options);
        m_loggedIn =
            std::make_unique<QSignalSpy>(&m_sandbox->account(), &SimulatedAccount::loggedIn);
        const QString error = m_sandbox->start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(m_sandbox->waitUntilScanning());
    }

    void cleanupTestCase()
    {
        m_loggedIn.reset();
        m_sandbox.reset();
    }

    void idleBrowserSleepsAndItsRendererEnds()
    {
        Form1& window = m_sandbox->window();
        QTRY_VERIFY_WITH_TIMEOUT(m_sandbox->watch().browserSleep().asleep(),
                                 InProcessSandbox::Timeout);
        QVERIFY(window.Picture1->isVisible());
        QCOMPARE(window.Picture1->geometry(), window.WebBrowser1->geometry());
        QVERIFY(!window.WebBrowser1->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!rendererRuns(readFamily(QCoreApplication::applicationPid())),
                                 InProcessSandbox::Timeout);
    }

    // The page comes back at its address, logged in, and input on the new
    // page's surface counts; the next scan delivers.
    void clickOnThePictureWakesItLoggedIn()
    {
        Form1& window = m_sandbox->window();
        QSignalSpy completed(&m_sandbox->browser(), &BrowserControl::DocumentComplete);
        QTest::mouseClick(window.Picture1, Qt::LeftButton);
        QVERIFY(window.WebBrowser1->isVisible());
        QVERIFY(!window.Picture1->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(m_sandbox->view().focusProxy(), InProcessSandbox::Timeout);
        QSignalSpy input(window.findChild<InputWatch*>(), &InputWatch::input);
        QTest::mouseMove(m_sandbox->view().focusProxy(), QPoint(10, 10));
        QCOMPARE(input.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(completed.size(), 1, InProcessSandbox::Timeout);
        QCOMPARE(m_sandbox->browser().LocationURL(),
                 m_sandbox->account().endpoints().PersonalHomeUrl);
        QCOMPARE(m_sandbox->state().status(), ScanningStatus);

        QVERIFY(m_sandbox->tick());
        QCOMPARE(m_sandbox->shop().notifications().size(), 2);
        QCOMPARE(m_loggedIn->size(), 1);
    }

    void lostSessionWakesItAndShowsTheLoginForm()
    {
        QTRY_VERIFY_WITH_TIMEOUT(m_sandbox->watch().browserSleep().asleep(),
                                 InProcessSandbox::Timeout);
        QSignalSpy addresses(&m_sandbox->view(), &QWebEngineView::urlChanged);
        m_sandbox->account().expireSessions();
        QVERIFY(m_sandbox->tick());
        QCOMPARE(m_sandbox->state().status(), SessionLostStatus);
        QVERIFY(m_sandbox->window().WebBrowser1->isVisible());

        QTRY_COMPARE_WITH_TIMEOUT(m_sandbox->state().status(), ScanningStatus,
                                  InProcessSandbox::Timeout);
        QVERIFY(addresses.contains(QVariantList{QUrl(m_sandbox->account().loginUrl())}));
        QCOMPARE(m_loggedIn->size(), 2);
    }

private:
    std::unique_ptr<InProcessSandbox> m_sandbox;
    std::unique_ptr<QSignalSpy> m_loggedIn;
};

TOLLWICK_TEST(SleepingBrowserTest)
#include "SleepingBrowserTest.moc"
