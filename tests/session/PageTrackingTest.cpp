#include "session/PageTracking.h"
#include "fakes/FakeWindow.h"
#include "ui/TextBox.h"
#include "ui/WindowTimer.h"

#include <QComboBox>
#include <QPushButton>
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
        FakeWindow w;
        w.fake.browser.complete(address);

        QCOMPARE(w.window.CurrentUrl, address);
        QCOMPARE(w.window.Text2->text(), address.left(34));
        QCOMPARE(w.window.Text1->text(),
                 home ? QStringLiteral("扫描中") : QStringLiteral("请先登录您的支付宝"));
        QCOMPARE(w.window.Timer1->Enabled(), home);
        QCOMPARE(w.window.Timer1->Interval(), home ? 20000 : 0);
        QCOMPARE(w.window.Text2->isVisibleTo(&w.window), home);
        QCOMPARE(w.window.Command2->isVisibleTo(&w.window), home);
        QCOMPARE(w.window.Command1->isVisibleTo(&w.window), !home);
    }

    void otherPagesLeaveScanningAlone()
    {
        FakeWindow w;
        w.logIn();
        w.fake.browser.complete("https://auth.alipay.com/login/index.htm");
        QCOMPARE(w.window.Text1->text(), QStringLiteral("请先登录您的支付宝"));
        QVERIFY(w.window.Timer1->Enabled());
        QCOMPARE(w.window.Timer1->Interval(), 20000);
        QVERIFY(w.window.Text2->isVisibleTo(&w.window));
        QVERIFY(w.window.Command2->isVisibleTo(&w.window));
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
        FakeWindow w;
        w.logIn();
        w.window.Combo1->setEditText(interval);
        w.logIn();
        QTEST(w.window.Timer1->Interval(), "milliseconds");
    }

    void homePageAfterStopResumesScanning()
    {
        FakeWindow w;
        w.logIn();
        w.window.Command2_Click();
        w.logIn();
        QCOMPARE(w.window.Text1->text(), QStringLiteral("扫描中"));
        QVERIFY(w.window.Command2->isVisibleTo(&w.window));
        QVERIFY(!w.window.Command1->isVisibleTo(&w.window));
        // Hiding the Start button leaves its enabled flag as Stop set it.
        QVERIFY(w.window.Command1->isEnabled());
    }

    // New windows stay in the embedded browser, at the address asked for;
    // the hovered link is used only when the engine names none.
    void newWindowsOpenInTheEmbeddedBrowser()
    {
        FakeWindow w;
        w.fake.browser.hover("https://my.alipay.com/hovered");
        QCOMPARE(w.window.LinkUrl, QStringLiteral("https://my.alipay.com/hovered"));

        QVERIFY(w.fake.browser.requestNewWindow("https://my.alipay.com/requested"));
        QVERIFY(w.fake.browser.requestNewWindow(QString()));
        QCOMPARE(w.fake.browser.navigations.mid(1),
                 (QStringList{"https://my.alipay.com/requested", "https://my.alipay.com/hovered"}));
    }
};

QTEST_MAIN(PageTrackingTest)
#include "PageTrackingTest.moc"
