// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/PageTracking.h"
#include "fakes/FakeWatch.h"
#include "state/StatusTexts.h"
#include "support/TestRegistry.h"

#include <QTest>

namespace {
const QString Login = QStringLiteral("https://auth.alipay.com/login/index.htm");
const QString Home = QStringLiteral("https://my.alipay.com/portal/i.htm");
} // namespace

class PageTrackingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void homePagesStartScanning_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("home");
        QTest::newRow("personal home") << Home << true;
        QTest::newRow("with a query") << Home + "?src=login" << true;
        QTest::newRow("portal home") << "https://my.alipay.com/portal/home.htm" << true;
        QTest::newRow("portal home, query") << "https://my.alipay.com/portal/home.htm?x=1" << true;
        QTest::newRow("merchant home") << "https://shanghu.alipay.com/home/i.htm" << true;
        QTest::newRow("shorter") << "https://my.alipay.com/portal/i.h" << false;
        QTest::newRow("capital scheme") << "HTTPS://my.alipay.com/portal/i.htm" << false;
        QTest::newRow("capital host") << "https://MY.alipay.com/portal/i.htm" << false;
        QTest::newRow("login page") << Login << false;
        QTest::newRow("error page") << "chrome-error://chromewebdata/" << false;
    }

    void homePagesStartScanning()
    {
        QFETCH(QString, address);
        QFETCH(bool, home);
        FakeWatch w;
        w.fake.browser.complete(address);

        QCOMPARE(w.watch.pageTracking().CurrentUrl(), address);
        QCOMPARE(w.state.page(), address.left(34));
        QCOMPARE(w.state.status(), home ? ScanningStatus : LoginRequestStatus);
        QCOMPARE(w.watch.Timer1->Enabled(), home);
        QCOMPARE(w.watch.Timer1->Interval(), home ? 20000 : 0);
        QCOMPARE(w.state.pageBoxShown(), home);
        QCOMPARE(w.state.stopButtonShown(), home);
        QCOMPARE(w.state.startButtonShown(), !home);
    }

    // New windows stay in the embedded browser, at the address asked for;
    // the hovered link is used only when the engine names none.
    void newWindowsOpenInTheEmbeddedBrowser()
    {
        FakeWatch w;
        w.fake.browser.hover("https://my.alipay.com/hovered");
        QCOMPARE(w.watch.pageTracking().LinkUrl(), QStringLiteral("https://my.alipay.com/hovered"));

        w.fake.browser.requestNewWindow("https://my.alipay.com/requested");
        w.fake.browser.requestNewWindow(QString());
        QCOMPARE(w.fake.browser.navigations,
                 (QStringList{"https://my.alipay.com/requested", "https://my.alipay.com/hovered"}));
    }

    // The program's own load of the home page is tried again every 30 s
    // while it fails; a page the owner opened that fails is not.
    void ownFailedLoadIsRetried()
    {
        FakeWatch w;
        w.watch.pageTracking().openHomePage();
        w.fake.browser.complete("chrome-error://chromewebdata/", false);
        QCOMPARE(w.state.status(), LoadFailedStatus);
        w.fake.clock.advanceSeconds(29);
        QCOMPARE(w.fake.browser.navigations.size(), 1);
        w.fake.clock.advanceSeconds(1);
        QCOMPARE(w.fake.browser.navigations, QStringList(2, Home));
        w.fake.browser.complete("chrome-error://chromewebdata/", false);
        w.fake.clock.advanceSeconds(30);
        QCOMPARE(w.fake.browser.navigations.size(), 3);

        w.fake.browser.complete(Login);
        QCOMPARE(w.state.status(), LoginRequestStatus);
        w.fake.browser.complete("chrome-error://chromewebdata/", false);
        w.fake.clock.advanceSeconds(300);
        QCOMPARE(w.fake.browser.navigations.size(), 3);
        QCOMPARE(w.state.status(), LoginRequestStatus);
    }

    // The personal home address is written into the page box by the
    // keep-alive; a text of another length would never be a home prefix.
    void refusesAHomeAddressThatIsNotAWholePrefix()
    {
        FakePlatform fake;
        Endpoints endpoints = Endpoints::service();
        endpoints.PersonalHomeUrl = "http://127.0.0.1:80/portal/i.htm";
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, AccountWatch(fake.platform(), endpoints));
    }
};

TOLLWICK_TEST(PageTrackingTest)
#include "PageTrackingTest.moc"
