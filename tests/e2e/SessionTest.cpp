// SPDX-License-Identifier: GPL-3.0-or-later

#include "InProcessSandbox.h"

#include "platform/BrowserControl.h"
#include "platform/TimerControl.h"
#include "scan/ScanCycle.h"
#include "session/KeepAlive.h"
#include "state/StatusTexts.h"
#include "support/PageScripts.h"
#include "support/TestRegistry.h"
#include "ui/Form1.h"
#include "ui/TextBox.h"

#include <QApplication>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QNetworkCookie>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>
#include <optional>

namespace {
const QString Title = QStringLiteral("Order 1001");

SandboxOptions options()
{
    SandboxOptions options;
    options.payments = {{Title, QStringLiteral("12.50")}};
    options.interval = QStringLiteral("2");
    options.records = QStringLiteral("1");
    return options;
}

// A page outside the account whose link asks for a new window; placed
// absolutely so the test knows where to click.
QHttpServerResponse windowsPage(const QString& linkTarget)
{
    return QHttpServerResponse(
        QByteArrayLiteral("text/html; charset=utf-8"),
        QStringLiteral("<!DOCTYPE html><html><body><a id=\"blank\" href=\"%1\" target=\"_blank\" "
                       "style=\"position:absolute; left:20px; top:20px; font-size:30px\">"
                       "new window</a></body></html>")
            .arg(linkTarget.toHtmlEscaped())
            .toUtf8());
}

QSet<QWidget*> topLevelWidgets()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    return QSet<QWidget*>(widgets.begin(), widgets.end());
}

// What the window shows right after the browser completed a page.
struct CompletedPage {
    QString address;
    QString status;
    bool operator==(const CompletedPage&) const = default;
};

} // namespace

// One sandbox for the whole run: the session is what is under test, and each
// step starts where the one before left the window.
class SessionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void logInThroughTheBrowserStartsScanning();
    void scheduledScanReadsRecordsWithTheSession();
    void newWindowStaysInTheBrowser_data();
    void newWindowStaysInTheBrowser();
    void keepAliveRenewsTheSession();

private:
    QPoint centreOf(const QString& elementId);

    QHttpServer m_site;
    quint16 m_sitePort = 0;
    QString m_linkTarget;
    std::unique_ptr<InProcessSandbox> m_sandbox;
    std::unique_ptr<QSignalSpy> m_loggedIn;
    std::unique_ptr<QSignalSpy> m_recordPageServed;
    std::unique_ptr<QSignalSpy> m_ticks;
    QList<CompletedPage> m_completed;
    // Session cookies in the order the browser's store took them.
    QList<QNetworkCookie> m_sessionCookies;
};

void SessionTest::initTestCase()
{
    m_site.route("/windows.htm", [this] { return windowsPage(m_linkTarget); });
    m_sitePort = m_site.listen(QHostAddress::LocalHost, 0);
    QVERIFY(m_sitePort != 0);

    m_sandbox = std::make_unique<InProcessSandbox>(options());
    m_loggedIn = std::make_unique<QSignalSpy>(&m_sandbox->account(), &SimulatedAccount::loggedIn);
    m_recordPageServed =
        std::make_unique<QSignalSpy>(&m_sandbox->account(), &SimulatedAccount::recordPageServed);
    m_ticks = std::make_unique<QSignalSpy>(&m_sandbox->sandbox(), &Sandbox::scanEnded);
    const QString error = m_sandbox->start();
    QVERIFY2(error.isEmpty(), qPrintable(error));

    BrowserControl& browser = m_sandbox->browser();
    // Connected after the watch's own handler, so it sees what that did.
    connect(&browser, &BrowserControl::DocumentComplete, this, [this, &browser] {
        m_completed.append({browser.LocationURL(), m_sandbox->state().status()});
    });
    connect(m_sandbox->view().page()->profile()->cookieStore(), &QWebEngineCookieStore::cookieAdded,
            this, [this](const QNetworkCookie& cookie) {
                if (cookie.name() == SimulatedAccount::SessionCookie)
                    m_sessionCookies.append(cookie);
            });
}

void SessionTest::cleanupTestCase()
{
    m_ticks.reset();
    m_recordPageServed.reset();
    m_loggedIn.reset();
    m_sandbox.reset();
}

void SessionTest::logInThroughTheBrowserStartsScanning()
{
    QVERIFY(m_sandbox->waitUntilScanning());

    QCOMPARE(m_loggedIn->count(), 1);
    QCOMPARE(m_sandbox->browser().LocationURL(), m_sandbox->account().endpoints().PersonalHomeUrl);
    // The login form was shown first, and the window asked for a login then.
    QVERIFY(!m_completed.isEmpty());
    QCOMPARE(m_completed.first(),
             (CompletedPage{m_sandbox->account().loginUrl(), LoginRequestStatus}));
    QVERIFY(m_sandbox->watch().Timer1->Enabled());
    QCOMPARE(m_sandbox->watch().Timer1->Interval(), 2000);
    const Form1& window = m_sandbox->window();
    QVERIFY(window.Command2->isVisible());
    QVERIFY(!window.Command1->isVisible());
    QVERIFY(window.Text2->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(m_sessionCookies.size(), 1, InProcessSandbox::Timeout);
}

void SessionTest::scheduledScanReadsRecordsWithTheSession()
{
    // The window's own timer runs the tick.
    QTRY_VERIFY_WITH_TIMEOUT(!m_ticks->isEmpty(), InProcessSandbox::Timeout);

    // The account serves its record page to a logged-in request only.
    QVERIFY(!m_recordPageServed->isEmpty());
    const SimulatedPayment payment = m_sandbox->account().payments().constFirst();
    QCOMPARE(m_sandbox->resultLines(),
             QStringList{Title + u',' + payment.amount + u',' + payment.tradeNo + u',' +
                         ScanCycle::DeliveredOutcome});
    QCOMPARE(m_sandbox->watch().scanCycle().SentTradeNo[1], payment.tradeNo);
    const QList<ShopNotification> calls = m_sandbox->shop().notifications();
    QCOMPARE(calls.size(), 2);
    for (const ShopNotification& call : calls)
        QCOMPARE(call.tradeno, payment.tradeNo);
}

void SessionTest::newWindowStaysInTheBrowser_data()
{
    QTest::addColumn<bool>("byClick");
    QTest::newRow("target=_blank link") << true;
    QTest::newRow("window.open()") << false;
}

void SessionTest::newWindowStaysInTheBrowser()
{
    QFETCH(bool, byClick);
    Form1& window = m_sandbox->window();
    QVERIFY(QTest::qWaitForWindowExposed(&window, InProcessSandbox::Timeout));

    const QString page = QStringLiteral("http://127.0.0.1:%1/windows.htm").arg(m_sitePort);
    m_linkTarget = m_sandbox->account().endpoints().PersonalHomeUrl +
                   (byClick ? QStringLiteral("?opened=link") : QStringLiteral("?opened=script"));
    m_completed.clear();
    m_sandbox->browser().Navigate(page);
    // Browsing away from the home page leaves scanning on.
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.contains(CompletedPage{page, ScanningStatus}),
                             InProcessSandbox::Timeout);

    const QSet<QWidget*> before = topLevelWidgets();
    const qsizetype logins = m_loggedIn->count();
    if (byClick)
        QTest::mouseClick(m_sandbox->view().focusProxy(), Qt::LeftButton, {}, centreOf("blank"));
    else
        m_sandbox->evaluate(QStringLiteral("window.open('%1')").arg(m_linkTarget));

    // The address asked for opened here, still logged in, and as a home page
    // it put the window back to scanning.
    QTRY_VERIFY_WITH_TIMEOUT(m_completed.contains(CompletedPage{m_linkTarget, ScanningStatus}),
                             InProcessSandbox::Timeout);
    QCOMPARE(m_loggedIn->count(), logins);
    QCOMPARE(topLevelWidgets(), before);
    QVERIFY(before.contains(&window));
    for (QWidget* widget : before)
        QVERIFY(!qobject_cast<QWebEngineView*>(widget));
}

void SessionTest::keepAliveRenewsTheSession()
{
    AccountWatch& watch = m_sandbox->watch();
    WindowState& state = watch.state();
    QVERIFY(m_sandbox->waitUntilScanning());
    QSignalSpy status(&state, &WindowState::statusChanged);
    const qsizetype cookiesBefore = m_sessionCookies.size();

    // What the window shows once the refreshing tick has been handled.
    struct AfterRefresh {
        QString status;
        QString page;
        bool scanning;
    };
    std::optional<AfterRefresh> after;
    QObject receiver;
    connect(watch.Timer2.get(), &TimerControl::Timer, &receiver, [&] {
        if (!after && watch.keepAlive().RefreshTicks == 0)
            after = AfterRefresh{state.status(), state.page(), watch.Timer1->Enabled()};
    });
    watch.keepAlive().RefreshTicks = KeepAlive::TicksBetweenRefreshes - 1;

    QTRY_VERIFY_WITH_TIMEOUT(after.has_value(), 5000);
    QVERIFY(status.contains(QVariantList{RefreshingStatus}));
    QCOMPARE(after->status, ScanningStatus);
    QCOMPARE(after->page, m_sandbox->account().endpoints().PersonalHomeUrl);
    QVERIFY(after->scanning);

    // The account renews the cookie only on a request that carries a live
    // session; the browser's store takes what our own requests received.
    QTRY_VERIFY_WITH_TIMEOUT(m_sessionCookies.size() > cookiesBefore, InProcessSandbox::Timeout);
    QCOMPARE(m_sessionCookies.last().value(), m_sessionCookies.first().value());
    QCOMPARE(m_loggedIn->count(), 1);
}

QPoint SessionTest::centreOf(const QString& elementId)
{
    return centreOfElement(*m_sandbox->view().page(), elementId, InProcessSandbox::Timeout);
}

TOLLWICK_TEST(SessionTest)
#include "SessionTest.moc"
