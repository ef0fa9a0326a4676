#include "session/PageTracking.h"
#include "fakes/FakeWatch.h"

#include <QSignalSpy>
#include <QTest>

class PageTrackingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void homePagesStartScanning_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("home");
        QTest::newRow("personal home") << "https://my.alipay.com/portal/i.htm" << true;
        QTest::newRow("with a query") << "https://my.alipay.com/portal/i.htm?src=login" << true;
        QTest::newRow("portal home") << "https://my.alipay.com/portal/home.htm" << true;
        QTest::newRow("portal home, query") << "https://my.alipay.com/portal/home.htm?x=1" << true;
        QTest::newRow("merchant home") << "https://shanghu.alipay.com/home/i.htm" << true;
        QTest::newRow("shorter") << "https://my.alipay.com/portal/i.h" << false;
        QTest::newRow("capital scheme") << "HTTPS://my.alipay.com/portal/i.htm" << false;
        QTest::newRow("capital host") << "https://MY.alipay.com/portal/i.htm" << false;
        QTest::newRow("login page") << "https://auth.alipay.com/login/index.htm" << false;
        QTest::newRow("error page") << "chrome-error://chromewebdata/" << false;
    }

    void homePagesStartScanning()
    {
        QFETCH(QString, address);
        QFETCH(bool, home);
        FakeWatch w;
        w.fake.browser.complete(address);

        QCOMPARE(w.state.CurrentUrl, address);
        QCOMPARE(w.state.page(), address.left(34));
        QCOMPARE(w.state.status(),
                 home ? QStringLiteral("扫描中") : QStringLiteral("请先登录您的支付宝"));
        QCOMPARE(w.state.Timer1.Enabled(), home);
        QCOMPARE(w.state.Timer1.Interval(), home ? 20000 : 0);
        QCOMPARE(w.state.pageBoxShown(), home);
        QCOMPARE(w.state.stopButtonShown(), home);
        QCOMPARE(w.state.startButtonShown(), !home);
    }

    void otherPagesLeaveScanningAlone()
    {
        FakeWatch w;
        w.logIn();
        w.fake.browser.complete("https://auth.alipay.com/login/index.htm");
        QCOMPARE(w.state.status(), QStringLiteral("请先登录您的支付宝"));
        QVERIFY(w.state.Timer1.Enabled());
        QCOMPARE(w.state.Timer1.Interval(), 20000);
        QVERIFY(w.state.pageBoxShown());
        QVERIFY(w.state.stopButtonShown());
    }

    void intervalIsReadAtEveryHomePage_data()
    {
        QTest::addColumn<QString>("interval");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("listed") << "20" << 20000;
        QTest::newRow("typed") << "35" << 35000;
        QTest::newRow("fraction rounds down") << "20.9" << 20000;
        QTest::newRow("longest listed") << "70" << 70000;
        QTest::newRow("not a number: no ticks") << "soon" << 0;
    }

    void intervalIsReadAtEveryHomePage()
    {
        QFETCH(QString, interval);
        FakeWatch w;
        w.logIn();
        w.state.setScanInterval(interval);
        w.logIn();
        QTEST(w.state.Timer1.Interval(), "milliseconds");
    }

    // Events for listeners: one per change between logged in and halted.
    void loginAndHaltAreEvents()
    {
        FakeWatch w;
        QSignalSpy logins(&w.watch.pageTracking(), &PageTracking::loginDetected);
        QSignalSpy halts(&w.watch.pageTracking(), &PageTracking::scanningHalted);
        const QString login = QStringLiteral("https://auth.alipay.com/login/index.htm");

        w.fake.browser.complete(login);
        QCOMPARE(halts.size(), 0);
        w.logIn();
        w.logIn();
        QCOMPARE(logins.size(), 1);
        w.fake.browser.complete(login);
        w.fake.browser.complete(login);
        QCOMPARE(halts.size(), 1);
        w.logIn();
        QCOMPARE(logins.size(), 2);
    }

    // New windows stay in the embedded browser, at the address asked for;
    // the hovered link is used only when the engine names none.
    void newWindowsOpenInTheEmbeddedBrowser()
    {
        FakeWatch w;
        w.fake.browser.hover("https://my.alipay.com/hovered");
        QCOMPARE(w.state.LinkUrl, QStringLiteral("https://my.alipay.com/hovered"));

        QVERIFY(w.fake.browser.requestNewWindow("https://my.alipay.com/requested"));
        QVERIFY(w.fake.browser.requestNewWindow(QString()));
        QCOMPARE(w.fake.browser.navigations,
                 (QStringList{"https://my.alipay.com/requested", "https://my.alipay.com/hovered"}));
    }
    // The personal home address is written into the page box to make a
    // waiting fetch give up; a text of another length would never match.
    void refusesAHomeAddressThatIsNotAWholePrefix()
    {
        FakePlatform fake;
        Endpoints endpoints = Endpoints::service();
        endpoints.PersonalHomeUrl = "http://127.0.0.1:80/portal/i.htm";
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, AccountWatch(fake.platform(), endpoints));
    }
};

QTEST_MAIN(PageTrackingTest)
#include "PageTrackingTest.moc"
