// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtBrowserControl.h"

#include "platform/qt/SharedCookieJar.h"

#include <QNetworkCookie>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// What Chromium shows for a page it could not load; reporting it keeps a
// failed load from passing for the address that was asked for.
const QString errorPageAddress = QStringLiteral("chrome-error://chromewebdata/");

// The profile is off the record, so its HTTP cache lives in memory; left at
// 0, Chromium sizes it from the machine's memory, up to tens of megabytes.
constexpr int HttpCacheBytes = 4 * 1024 * 1024;

// Features of the engine a login page does not need, each of which costs
// memory or work when on.
void leaveOutUnusedFeatures(QWebEngineProfile& profile)
{
    profile.setHttpCacheMaximumSize(HttpCacheBytes);
    QWebEngineSettings* settings = profile.settings();
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    settings->setAttribute(QWebEngineSettings::Accelerated2dCanvasEnabled, false);
    // The window shows no page icon, so none is fetched and decoded.
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
}

} // namespace

QtBrowserControl::QtBrowserControl(SharedCookieJar& jar, QObject* parent)
    : BrowserControl(parent)
    , m_profile(new QWebEngineProfile(this))
    , m_view(new QWebEngineView)
{
    leaveOutUnusedFeatures(*m_profile);
    auto* page = new QWebEnginePage(m_profile, m_view);
    // Without this, window.open() outside a user gesture is blocked silently and
    // never reaches onNewWindowRequested().
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    m_view->setPage(page);

    connect(page, &QWebEnginePage::loadFinished, this, &QtBrowserControl::onLoadFinished);
    connect(page, &QWebEnginePage::linkHovered, this, &BrowserControl::StatusTextChange);
    connect(page, &QWebEnginePage::newWindowRequested, this,
            &QtBrowserControl::onNewWindowRequested);

    QWebEngineCookieStore* store = m_profile->cookieStore();
    connect(store, &QWebEngineCookieStore::cookieAdded, &jar, &SharedCookieJar::insertCookie);
    connect(store, &QWebEngineCookieStore::cookieRemoved, &jar, &SharedCookieJar::deleteCookie);
    connect(&jar, &SharedCookieJar::cookieReceived, this, &QtBrowserControl::giveCookieToBrowser);
}

QtBrowserControl::~QtBrowserControl()
{
    // The page must go before its profile; the view may already be gone with
    // the window it was placed in.
    delete m_view;
}

void QtBrowserControl::Navigate(const QString& address)
{
    m_view->load(QUrl(address));
}

QString QtBrowserControl::LocationURL() const
{
    if (m_lastLoadFailed)
        return errorPageAddress;
    return m_view->url().toString(QUrl::FullyEncoded);
}

void QtBrowserControl::Sleep()
{
    // The engine discards no page that shows. A discarded page keeps its
    // address and history; its renderer ends.
    m_view->hide();
    m_view->page()->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
}

void QtBrowserControl::Wake()
{
    // An active page loads its last address again by itself.
    m_view->page()->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    m_view->show();
}

QWidget* QtBrowserControl::view()
{
    return m_view;
}

void QtBrowserControl::onLoadFinished(bool ok)
{
    m_lastLoadFailed = !ok;
    Q_EMIT DocumentComplete(ok);
}

void QtBrowserControl::onNewWindowRequested(QWebEngineNewWindowRequest& request)
{
    // The request is left unhandled, so the engine asks the view for a window,
    // gets none and drops it; the handler navigates this browser instead.
    Q_EMIT NewWindow2(request.requestedUrl().toString(QUrl::FullyEncoded));
}

void QtBrowserControl::giveCookieToBrowser(const QNetworkCookie& cookie)
{
    QString host = cookie.domain();
    if (host.startsWith(u'.'))
        host.remove(0, 1);
    QUrl origin;
    origin.setScheme(cookie.isSecure() ? QStringLiteral("https") : QStringLiteral("http"));
    origin.setHost(host);
    m_profile->cookieStore()->setCookie(cookie, origin);
}
