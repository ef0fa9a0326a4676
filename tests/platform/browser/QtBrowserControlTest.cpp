// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtBrowserControl.h"
#include "ProcessFootprint.h"
#include "platform/browser/BrowserTestSite.h"
#include "platform/qt/SharedCookieJar.h"
#include "support/PageScripts.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// WebEngine start-up alone can take seconds on a small machine.
constexpr int timeout = 20000;

// The engine's processes below this one, by what they are, sorted.
QString engineProcesses()
{
    QList<ProcessFootprint> family;
    for (qint64 pid : descendantsOf(QCoreApplication::applicationPid())) {
        if (const auto footprint = readFootprint(pid))
            family.append(*footprint);
    }
    QStringList names;
    for (const ProcessFootprint& process : family)
        names.append(process.describe(family));
    names.sort();
    return names.join(QStringLiteral(", "));
}

} // namespace

class QtBrowserControlTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void loginCookieReachesOwnRequests();
    void cookieFromOwnRequestReachesBrowser();
    void newWindowStaysInThisBrowser_data();
    void newWindowStaysInThisBrowser();
    void hoveredLinkIsReported();
    void refusedConnectionShowsErrorPage();
    void leavesOutWhatALoginPageDoesNotNeed();
    void runsOneRendererAndNoIdleHelper();

private:
    bool load(const QUrl& url);
    bool waitForLocation(const QString& pathEnd);
    QVariant evaluate(const QString& script);
    QPoint centreOf(const QString& elementId);
    QWebEngineView* webView() { return qobject_cast<QWebEngineView*>(m_browser->view()); }
    bool get(const QUrl& url);

    BrowserTestSite m_site;
    std::unique_ptr<QNetworkAccessManager> m_network;
    SharedCookieJar* m_jar = nullptr; // owned by m_network
    std::unique_ptr<QtBrowserControl> m_browser;
    std::unique_ptr<QSignalSpy> m_complete;
};

void QtBrowserControlTest::initTestCase()
{
    QVERIFY(m_site.isListening());
}

void QtBrowserControlTest::init()
{
    m_network = std::make_unique<QNetworkAccessManager>();
    m_jar = new SharedCookieJar;
    m_network->setCookieJar(m_jar);
    m_browser = std::make_unique<QtBrowserControl>(*m_jar);
    m_complete = std::make_unique<QSignalSpy>(m_browser.get(), &BrowserControl::DocumentComplete);
    QWidget* view = m_browser->view();
    view->resize(800, 600);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
}

void QtBrowserControlTest::cleanup()
{
    m_complete.reset();
    m_browser.reset();
    m_network.reset();
}

bool QtBrowserControlTest::load(const QUrl& url)
{
    const qsizetype before = m_complete->count();
    m_browser->Navigate(url.toString());
    return QTest::qWaitFor([&] { return m_complete->count() > before; }, timeout);
}

bool QtBrowserControlTest::waitForLocation(const QString& pathEnd)
{
    return QTest::qWaitFor([&] { return m_browser->LocationURL().endsWith(pathEnd); }, timeout);
}

QVariant QtBrowserControlTest::evaluate(const QString& script)
{
    return evaluateInPage(*webView()->page(), script, timeout);
}

QPoint QtBrowserControlTest::centreOf(const QString& elementId)
{
    return centreOfElement(*webView()->page(), elementId, timeout);
}

bool QtBrowserControlTest::get(const QUrl& url)
{
    QNetworkReply* reply = m_network->get(QNetworkRequest(url));
    const bool finished = QTest::qWaitFor([reply] { return reply->isFinished(); }, timeout);
    const bool ok = finished && reply->error() == QNetworkReply::NoError;
    reply->deleteLater();
    return ok;
}

void QtBrowserControlTest::loginCookieReachesOwnRequests()
{
    QVERIFY(load(m_site.url("/login/form.htm")));
    QVERIFY(m_browser->LocationURL().endsWith("/login/form.htm"));

    const qsizetype before = m_complete->count();
    evaluate("document.forms[0].submit()");
    QTRY_VERIFY_WITH_TIMEOUT(m_complete->count() > before, timeout);
    QVERIFY(waitForLocation("/portal/i.htm"));
    QCOMPARE(m_browser->LocationURL(), m_site.url("/portal/i.htm").toString());
    QCOMPARE(m_site.cookieHeaderOf("/portal/i.htm"), "SESSION=s3ss10n");

    // The browser announces its cookies on its own schedule.
    const auto sessionCookie = [this] {
        for (const QNetworkCookie& cookie : m_jar->cookiesForUrl(m_site.url("/api/records")))
            if (cookie.name() == "SESSION")
                return cookie;
        return QNetworkCookie();
    };
    QTRY_COMPARE_WITH_TIMEOUT(sessionCookie().value(), "s3ss10n", timeout);
    QVERIFY(sessionCookie().isHttpOnly());

    QVERIFY(get(m_site.url("/api/records")));
    QCOMPARE(m_site.cookieHeaderOf("/api/records"), "SESSION=s3ss10n");
}

void QtBrowserControlTest::cookieFromOwnRequestReachesBrowser()
{
    QVERIFY(load(m_site.url("/login/form.htm")));
    QVERIFY(get(m_site.url("/api/token")));

    QVERIFY(load(m_site.url("/other")));
    QCOMPARE(m_site.cookieHeaderOf("/other"), "TOKEN=t0k3n");
}

void QtBrowserControlTest::newWindowStaysInThisBrowser_data()
{
    QTest::addColumn<bool>("byClick");
    QTest::addColumn<bool>("handlerNavigates");

    QTest::newRow("target=_blank link, handler navigates") << true << true;
    QTest::newRow("window.open(), handler navigates") << false << true;
    QTest::newRow("window.open(), handler ignores it") << false << false;
}

void QtBrowserControlTest::newWindowStaysInThisBrowser()
{
    QFETCH(bool, byClick);
    QFETCH(bool, handlerNavigates);

    QVERIFY(load(m_site.url("/windows.htm")));
    QStringList requested;
    connect(m_browser.get(), &BrowserControl::NewWindow2, [&](const QString& address) {
        requested << address;
        if (handlerNavigates)
            m_browser->Navigate(address);
    });

    if (byClick)
        QTest::mouseClick(webView()->focusProxy(), Qt::LeftButton, {}, centreOf("blank"));
    else
        evaluate("window.open('/other')");

    QTRY_COMPARE_WITH_TIMEOUT(requested, QStringList{m_site.url("/other").toString()}, timeout);
    QVERIFY(waitForLocation(handlerNavigates ? "/other" : "/windows.htm"));
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList{m_browser->view()});
}

void QtBrowserControlTest::hoveredLinkIsReported()
{
    QVERIFY(load(m_site.url("/windows.htm")));
    QSignalSpy status(m_browser.get(), &BrowserControl::StatusTextChange);
    QWidget* surface = webView()->focusProxy();

    QTest::mouseMove(surface, centreOf("plain"));
    QTRY_VERIFY_WITH_TIMEOUT(!status.isEmpty(), timeout);
    QCOMPARE(status.last().first().toString(), m_site.url("/portal/i.htm").toString());

    QTest::mouseMove(surface, QPoint(600, 500));
    QTRY_COMPARE_WITH_TIMEOUT(status.last().first().toString(), QString(), timeout);
}

void QtBrowserControlTest::refusedConnectionShowsErrorPage()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 refusedPort = closed.serverPort();
    closed.close();

    QVERIFY(load(QUrl(QStringLiteral("http://127.0.0.1:%1/portal/i.htm").arg(refusedPort))));
    QCOMPARE(m_browser->LocationURL(), "chrome-error://chromewebdata/");

    // A later good load must not keep reporting the error page.
    QVERIFY(load(m_site.url("/portal/i.htm")));
    QCOMPARE(m_browser->LocationURL(), m_site.url("/portal/i.htm").toString());
}

void QtBrowserControlTest::leavesOutWhatALoginPageDoesNotNeed()
{
    const QWebEngineProfile* profile = webView()->page()->profile();
    QVERIFY(profile->isOffTheRecord());
    QCOMPARE(profile->httpCacheType(), QWebEngineProfile::MemoryHttpCache);
    QCOMPARE(profile->httpCacheMaximumSize(), 4 * 1024 * 1024);
    QCOMPARE(profile->persistentCookiesPolicy(), QWebEngineProfile::NoPersistentCookies);

    const QWebEngineSettings* settings = webView()->page()->settings();
    QVERIFY(!settings->testAttribute(QWebEngineSettings::PdfViewerEnabled));
    QVERIFY(!settings->testAttribute(QWebEngineSettings::WebGLEnabled));
    QVERIFY(!settings->testAttribute(QWebEngineSettings::Accelerated2dCanvasEnabled));
    QVERIFY(!settings->testAttribute(QWebEngineSettings::AutoLoadIconsForPage));
    // What the login pages do need.
    QVERIFY(settings->testAttribute(QWebEngineSettings::JavascriptEnabled));
    QVERIFY(settings->testAttribute(QWebEngineSettings::AutoLoadImages));
    QVERIFY(settings->testAttribute(QWebEngineSettings::LocalStorageEnabled));
}

void QtBrowserControlTest::runsOneRendererAndNoIdleHelper()
{
    // 127.0.0.1 and localhost are two sites, each wanting its own renderer.
    QVERIFY(load(m_site.url("/portal/i.htm")));
    QUrl otherSite = m_site.url("/portal/i.htm");
    otherSite.setHost(QStringLiteral("localhost"));
    QVERIFY(load(otherSite));
    QTRY_COMPARE_WITH_TIMEOUT(engineProcesses(), QStringLiteral("renderer (forked), zygote"),
                              timeout);
}

TOLLWICK_TEST(QtBrowserControlTest)
#include "QtBrowserControlTest.moc"
